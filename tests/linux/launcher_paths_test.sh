#!/usr/bin/env bash
# The Linux launcher's Windows path for the path it is given, its message when Wine is missing, and where it
# sends a command line: an export to the native exporter, art to Wine (stand-ins for both), after making the
# Wine prefix again when the one there is unfinished.
set -euo pipefail
launcher=$(cd "$(dirname "$0")/../../src/linux" && pwd)/quillpane.sh
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
mkdir "Art Folder" "Ünï"
touch "Art Folder/a b.nfo" "Ünï/Жук.ans"
win="Z:${dir//\//\\}"
failed=0

check() { # WHAT GOT EXPECTED
  [ "$2" = "$3" ] || { echo "FAIL: $1: got '$2', expected '$3'" && failed=1; }
}

# A folder named with its trailing separator is left to the install test.
while IFS='|' read -r argument expected; do
  check "$argument" "$("$launcher" --windows-path "$argument")" "$expected"
done <<TABLE
Art Folder/a b.nfo|$win\\Art Folder\\a b.nfo
Ünï/Жук.ans|$win\\Ünï\\Жук.ans
Art Folder|$win\\Art Folder\\
Ünï/../missing.nfo|$win\\missing.nfo
/|Z:\\
TABLE

status=$(PATH=/nonexistent /bin/sh "$launcher" "Art Folder/" 2>err || echo $?)
check "without Wine" "$status $(grep -o 'apt-get install wine wine32:i386' err)" "127 apt-get install wine wine32:i386"

# An installed tree whose exporter and Wine only say how they were called. The stand-in Wine's prefix is made
# by wineboot and ready once the run counter is added, as in Wine's saved registry.
mkdir -p inst/bin inst/share/quillpane stand-ins
cp "$launcher" inst/bin/quillpane
for program in inst/share/quillpane/quillpane-export stand-ins/wine stand-ins/wineserver; do
  cat >"$program" <<'STAND_IN'
#!/bin/sh
printf '%s\n' "${0##*/} $*" >>"$CALLS"
case $* in
  'wineboot -i') mkdir -p "$WINEPREFIX" && : >"$WINEPREFIX/system.reg" ;;
  'reg add HKLM\Software\Molvo\Quillpane /v Times /t REG_DWORD /d 1 /f /reg:32')
    printf '[Software\\\\Wow6432Node\\\\Molvo\\\\Quillpane] 1\n"Times"=dword:00000001\n' >>"$WINEPREFIX/system.reg" ;;
esac
exit "${STATUS:-0}"
STAND_IN
  chmod +x "$program"
done
export CALLS=$dir/calls XDG_DATA_HOME=$dir/data PATH=$dir/stand-ins:$PATH
prefix=$XDG_DATA_HOME/quillpane/prefix
exe=$dir/inst/share/quillpane/quillpane.exe
# NAME|ARGUMENTS (: between)|STATUS the stand-ins give|PREFIX before (none,
# unfinished, ready)|CALLS (: between)|EXIT CODE|LINES ON STDERR
while IFS='|' read -r name arguments status before calls code lines; do
  if [ "$before" != - ] && ! { [ ! -x /usr/lib/wine/wine ] || /usr/lib/wine/wine --version >/dev/null 2>&1; }; then
    echo "SKIP: $name: 32-bit Wine cannot start here"
    continue
  fi
  rm -rf "$XDG_DATA_HOME" "$CALLS"
  case $before in
    unfinished) mkdir -p "$prefix" ;;
    ready) mkdir -p "$prefix" && printf '[Software\\\\Molvo\\\\Quillpane] 1\n"Times"=dword:00000003\n' >"$prefix/system.reg" ;;
  esac
  IFS=: read -r -a argv <<<"$arguments"
  got=0
  STATUS=$status inst/bin/quillpane "${argv[@]}" 2>err || got=$?
  check "$name: calls" "$(paste -sd: "$CALLS" 2>/dev/null)" "$calls"
  check "$name: exit code" "$got" "$code"
  check "$name: lines on stderr" "$(wc -l <err)" "$lines"
done <<TABLE
export|--png:o.png:Art Folder/a b.nfo|0|-|quillpane-export --png o.png Art Folder/a b.nfo|0|0
colour thumbnail|--thumbnail:128:--colour:--png:o.png:Ünï/Жук.ans|2|-|quillpane-export --thumbnail 128 --colour --png o.png Ünï/Жук.ans|2|0
art|Art Folder/a b.nfo|3|ready|wine $exe $win\Art Folder\a b.nfo|3|0
unfinished prefix|--make-prefix|0|unfinished|wineserver -k:wine wineboot -i:wine reg add HKLM\Software\Molvo\Quillpane /v Times /t REG_DWORD /d 1 /f /reg:32:wineserver -w|0|1
TABLE
exit "$failed"
