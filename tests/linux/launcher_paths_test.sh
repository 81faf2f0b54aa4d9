#!/usr/bin/env bash
# The Linux launcher's message when Wine is missing, and where it sends a command line: an export to the
# native exporter, art to Wine (stand-ins for both), after making an unfinished Wine prefix again; never to
# another file: a path Windows would read otherwise goes through a link in a folder that is gone after.
set -euo pipefail
launcher=$(cd "$(dirname "$0")/../../src/linux" && pwd)/quillpane.sh
dir=$(realpath "$(mktemp -d)")
trap 'rm -rf "$dir"' EXIT
cd "$dir"
mkdir -p "Art Ünï" d/back 'd/x\y' d/dot. tmp 't  t' && ln -s d/back link
for file in "Art Ünï/Жук b.nfo" 'd/back\slash.nfo' d/back/slash.nfo 'd/x\y/a.nfo' d/dot./a.nfo; do
  printf '%s' "$file" >"$file" # its name, to show which one Wine reads
done
printf pack >d/p.zip # a pack's entry is looked up by the program
odd=$'d/a*?"<>|:\t  b\n .nfo.' && printf odd >"$odd" # ODD in the table
win="Z:${dir//\//\\}" failed=0

check() { [ "$2" = "$3" ] || { echo "FAIL: $1: got '$2', expected '$3'" && failed=1; }; } # WHAT GOT EXPECTED

mkdir no-wine && for tool in dirname realpath od tr; do ln -s "$(command -v $tool)" no-wine/; done
status=$(PATH=$dir/no-wine /bin/bash "$launcher" "Art Ünï/" 2>err || echo $?)
check "without Wine" "$status $(grep -o 'apt-get install wine wine32:i386' err)" "127 apt-get install wine wine32:i386"

# An installed tree whose exporter and Wine only say how they were called, Wine what it reads there (in a
# folder, its files). Its prefix is made by wineboot and ready once the run counter is added, as in Wine's.
mkdir -p inst/bin inst/share/quillpane stand-ins && cp "$launcher" inst/bin/quillpane
for program in inst/share/quillpane/quillpane-export stand-ins/wine stand-ins/wine64 stand-ins/wineserver; do
  cat >"$program" <<'STAND_IN'
#!/bin/sh
line="${0##*/} $*"
case $1 in *.exe) p=$(shift && printf %s "$*" | sed 's/^Z://; s|\\|/|g') && line="$line: $(cat "$p"* 2>/dev/null)" ;; esac
printf '%s\n' "$line" >>"$CALLS"
case $* in
  'wineboot -i') mkdir -p "$WINEPREFIX" && : >"$WINEPREFIX/system.reg" ;;
  'reg add HKLM\Software\Molvo\Quillpane /v Times /t REG_DWORD /d 1 /f /reg:32')
    printf '[Software\\\\Wow6432Node\\\\Molvo\\\\Quillpane] 1\n"Times"=dword:00000001\n' >>"$WINEPREFIX/system.reg" ;;
  'reg add HKLM\Software\Molvo\Quillpane /v Times /t REG_DWORD /d 1 /f /reg:64')
    printf '[Software\\\\Molvo\\\\Quillpane] 1\n"Times"=dword:00000001\n' >>"$WINEPREFIX/system.reg" ;;
esac
exit "${STATUS:-0}"
STAND_IN
  chmod +x "$program"
done
export CALLS=$dir/calls XDG_DATA_HOME=$dir/data PATH=$dir/stand-ins:$PATH TMPDIR=$dir/tmp
prefix=$XDG_DATA_HOME/quillpane/prefix
exe=$dir/inst/share/quillpane/quillpane.exe
tmp="$win\\tmp\\quillpane.?" # the link's folder
# The installed program is the 64-bit build (its header says so: the 64-bit loader, its registry view), or
# the 32-bit one where this kernel can start 32-bit Wine. NAME|ARGUMENTS (: between; a first TMPDIR=... holds
# from there on)|STATUS the stand-ins give|PREFIX before (none, unfinished, ready)|CALLS (: between) and what
# is left in TMPDIR|EXIT CODE|LINES ON STDERR
for bits in 64 32; do
  if [ $bits = 64 ]; then
    { printf MZ && head -c 58 /dev/zero && printf '\100\0\0\0PE\0\0\144\206'; } >"$exe"
    wine=wine64 ready='[Software\\Molvo\\Quillpane]'
  else
    rm "$exe"
    wine=wine ready='[Software\\Wow6432Node\\Molvo\\Quillpane]'
  fi
  export TMPDIR=$dir/tmp
while IFS='|' read -r name arguments status before calls code lines; do
  if [ $bits = 32 ] && [ "$before" != - ] && ! { [ ! -x /usr/lib/wine/wine ] || /usr/lib/wine/wine --version >/dev/null 2>&1; }; then
    echo "SKIP: $name, 32-bit: 32-bit Wine cannot start here" && continue
  fi
  rm -rf "$XDG_DATA_HOME" && : >"$CALLS"
  case $before in
    unfinished) mkdir -p "$prefix" ;;
    ready) mkdir -p "$prefix" && printf '%s 1\n"Times"=dword:00000003\n' "$ready" >"$prefix/system.reg" ;;
  esac
  IFS=: read -r -a argv <<<"$arguments"
  argv=("${argv[@]//ODD/$odd}")
  [[ ${argv[0]} != TMPDIR=* ]] || { export "${argv[0]}" && argv=("${argv[@]:1}"); }
  got=0
  STATUS=$status inst/bin/quillpane "${argv[@]}" 2>err || got=$?
  calls_made=$(sed 's/quillpane\.[[:alnum:]]\{10\}/quillpane.?/' "$CALLS" | paste -sd:) # a random name
  check "$name, $bits-bit: calls" "$calls_made$(ls -A tmp)" "$calls"
  check "$name, $bits-bit: exit code, lines on stderr" "$got $(wc -l <err)" "$code $lines"
done <<TABLE
export|--png:o.png:Art Ünï/Жук b.nfo|0|-|quillpane-export --png o.png Art Ünï/Жук b.nfo|0|0
colour thumbnail|--thumbnail:128:--colour:--png:o.png:d/back|2|-|quillpane-export --thumbnail 128 --colour --png o.png d/back|2|0
help, no Wine|--help|0|-|quillpane-export --help|0|0
art, any script|Art Ünï/Жук b.nfo|3|ready|$wine $exe $win\Art Ünï\Жук b.nfo: Art Ünï/Жук b.nfo|3|0
folder|Art Ünï|0|ready|$wine $exe $win\Art Ünï\: Art Ünï/Жук b.nfo|0|0
.. after a link|link/../back/slash.nfo|0|ready|$wine $exe $win\d\back\slash.nfo: d/back/slash.nfo|0|0
backslash|d/back\slash.nfo|4|ready|$wine $exe $tmp\back_slash.nfo: d/back\slash.nfo|4|0
folder to browse|d/dot./|0|ready|$wine $exe $tmp\dot_\: d/dot./a.nfo|0|0
in such a folder|d/x\y/a.nfo|0|ready|$wine $exe $tmp\x_y\a.nfo: d/x\y/a.nfo|0|0
every other kind|ODD|0|ready|$wine $exe $tmp\a________ b_ .nfo_: odd|0|0
entry of a pack|d/p.zip/G/x.ans|0|ready|$wine $exe $win\d\p.zip\G\x.ans: |0|0
leads nowhere|d/BACK/slash.nfo|0|none||1|1
unfinished prefix|--make-prefix|0|unfinished|wineserver -k:$wine wineboot -i:$wine reg add HKLM\Software\Molvo\Quillpane /v Times /t REG_DWORD /d 1 /f /reg:$bits:wineserver -w|0|1
TMPDIR not plain|TMPDIR=$dir/t  t:d/back\slash.nfo|0|none||1|1
TABLE
done
exit "$failed"
