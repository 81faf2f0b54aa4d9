#!/bin/bash
# quillpane [FILE|FOLDER/]: shows text-mode art in Quillpane under Wine.
#
# The program runs in a Wine prefix of its own under the XDG data folder,
# so that its settings, recent files and run counter last from one start to
# the next and the user's other prefixes stay untouched. `make install`
# makes it; one that is missing or was left unfinished is made here again.
# Wine's exit code is the launcher's.
#
#   quillpane --png OUT.png FILE ...  (or --text, --ansi, --html, or any
#                                    other switch first) the
#                                    export, run natively by
#                                    share/quillpane/quillpane-export with
#                                    the arguments as they are; its exit
#                                    code is the launcher's
#   quillpane --help | --version     answered by the native exporter, which
#                                    prints the one usage text; no Wine
#   quillpane --make-prefix          makes the Wine prefix if it is missing
#                                    or unfinished, and starts nothing else
#
# The program installed is the 32-bit build where this kernel runs 32-bit
# programs, else the 64-bit build of the same sources, which runs under the
# 64-bit Wine loader; the launcher reads which from the program's header.
# Bash for `exec -a`: the exporter names itself by the name it is called by.
set -eu

# A name Windows reads as it is: none of the characters it refuses or reads as a separator, a wildcard or a
# stream, no control character, and no final dot or blank, which it drops (and would open the name
# without them). Two blanks in a row cannot pass Wine's command line (below).
plain() {
  case $1 in *[\\*?\"\<\>\|:[:cntrl:]]* | *'  '* | *[.\ ]) return 1 ;; esac
}

plain_path() ( # every name of an absolute path
  set -f
  IFS=/
  for name in $1; do plain "$name" || return 1; done
)

# The same name made plain, for a link to it: every such character becomes an underscore, blanks in a row
# one blank, and a final dot or blank an underscore.
plain_name() {
  printf '%s' "$1" | sed -z 's/[\\*?"<>|:[:cntrl:]]/_/g; s/  */ /g; s/[. ]$/_/'
}

refuse() { # MESSAGE, on one line whatever the name in it holds
  printf 'quillpane: %s' "$1" | tr '[:cntrl:]' '?' >&2
  echo >&2
  exit 1
}

share_folder() { # the program's, installed beside the launcher
  realpath -m -- "$(dirname -- "$(realpath -- "$0")")/../share/quillpane"
}

missing_wine() {
  echo "quillpane: $1. On Debian, as root: ${2:-dpkg --add-architecture i386 && apt-get update && apt-get install wine wine32:i386}" >&2
  exit 127
}

exporter() { # ARGUMENTS: the native exporter, under the launcher's name
  local share
  share=$(share_folder)
  if [ ! -x "$share/quillpane-export" ]; then
    echo "quillpane: $share/quillpane-export is missing: install Quillpane with make install" >&2
    exit 127
  fi
  exec -a quillpane "$share/quillpane-export" "$@"
}

usage_error() {
  (exporter --help) >&2 || true
  exit 2
}

case ${1-} in
  # The export needs no Wine: the same engine, built for Linux. The
  # program's command line takes Linux paths as they are.
  # Every other switch is the exporter's, which refuses one it does not know.
  --make-prefix) ;;
  --*) exporter "$@" ;;
  -h) exporter --help ;;
esac
if [ "${1-}" = --make-prefix ]; then
  [ $# -eq 1 ] || usage_error
  make_only=1
else
  make_only=0
  if [ $# -gt 1 ] || [ "${1-x}" = "" ]; then usage_error; fi
fi

share=$(share_folder)
# The machine of the installed program: 8664 for the 64-bit build (read from its PE header, little-endian).
machine=
offset=$(od -An -tu4 -j60 -N4 -- "$share/quillpane.exe" 2>/dev/null | tr -d ' ') || true
[ -z "$offset" ] || machine=$(od -An -tx2 -j$((offset + 4)) -N2 -- "$share/quillpane.exe" 2>/dev/null | tr -d ' ') || true
if [ "$machine" = 8664 ]; then
  # The 64-bit loader: wine64 where a distribution puts it on the PATH, in Debian's own folder otherwise.
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
  [ -x "$wine" ] || missing_wine "64-bit Wine is not installed" "apt-get install wine wine64"
  export WINELOADER=$wine
  registry_view=/reg:64
  registry_key='[Software\\\\Molvo\\\\Quillpane]'
else
  wine=wine
  command -v wine >/dev/null 2>&1 || missing_wine "Wine is not installed"
  # Debian's layout: the 32-bit loader comes in a package of its own, and a
  # kernel built without IA-32 emulation cannot start it at all.
  if [ -e /usr/lib/wine/wine64 ] && [ ! -e /usr/lib/wine/wine ]; then
    missing_wine "32-bit Wine is not installed"
  fi
  if [ -x /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "quillpane: this Linux kernel cannot run 32-bit programs (it was built without IA-32 emulation), so Wine cannot start Quillpane" >&2
    exit 126
  fi
  registry_view=/reg:32
  # In Wine's 32-bit view of the registry, wherever the prefix keeps it.
  registry_key='\\\\Molvo\\\\Quillpane]'
fi

# Without a path, the samples installed beside the program rather than the
# program's own file.
[ $# -eq 1 ] || set -- "$share/samples/"

export WINEPREFIX="${XDG_DATA_HOME:-$HOME/.local/share}/quillpane/prefix"
export WINEDEBUG=-all
# No desktop entries or file types of Wine's own, and no offer to install
# .NET or a browser engine the program does not use.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
# Wine reads the document's name in the locale's character set. Linux names
# are UTF-8 almost everywhere, and the plain C locale (where no locale is
# set) would read them as ASCII and lose every other character.
if [ "$(locale charmap 2>/dev/null)" = ANSI_X3.4-1968 ]; then export LC_ALL=C.UTF-8; fi

# The Windows path for the program (in document) that leads to exactly the file or folder PATH names, or a
# refusal. A path that leads nowhere is refused here: Wine would take a name in another case for it.
windows_document() { # PATH
  # A path that runs through a ZIP pack on disk names an entry of the pack, which the program looks up
  # itself: the pack goes as any file does, the entry's name after it as it is.
  if [ ! -e "$1" ]; then
    pack=$1 in_pack=
    while case $pack in */*) true ;; *) false ;; esac; do
      pack=${pack%/*}
      case $pack in *.[zZ][iI][pP]) if [ -f "$pack" ]; then in_pack=${1#"$pack"} && break; fi ;; esac
    done
    if [ -n "$in_pack" ]; then
      plain_path "$in_pack" || refuse "Wine cannot be handed the name of the entry in $1"
      windows_document "$pack"
      # shellcheck disable=SC1003 # a backslash, not an escaped quote
      document=$document$(printf '%s' "$in_pack" | tr / '\\')
      return
    fi
  fi
  [ -e "$1" ] || refuse "cannot open $1: $(realpath -e -- "$1" 2>&1 | sed 's/.*: //')"
  # Symbolic links are kept as named, so that the title shows the path the user chose; but a ".." is read
  # as Linux reads it, in the folder a link before it leads to. The dot keeps final line breaks.
  case /$1/ in
    */../*) path=$(realpath -m -- "$1" && echo .) ;;
    *) path=$(realpath -ms -- "$1" && echo .) ;;
  esac
  path=${path%?.}
  # The program shows the first recognised file of a path that ends with a backslash, and cannot open a
  # folder named any other way.
  case $1 in */) folder=1 ;; *) if [ -d "$1" ]; then folder=1; else folder=0; fi ;; esac
  if ! plain_path "$path"; then
    # Reached through a symbolic link of a plain name instead, in a folder of this start's own that goes
    # once Wine has ended: a link to the file itself when its own name is not plain (the title shows the
    # link's name, and Page Up and Page Down have only that file), else to its folder, so that they go
    # through that folder as ever. A folder to browse is linked itself.
    if [ "$folder" = 1 ] || ! plain "${path##*/}"; then
      target=$path rest=
    else
      target=${path%/*} rest=/${path##*/}
    fi
    tmp=$(mktemp -d --tmpdir quillpane.XXXXXXXXXX)
    trap 'rm -rf -- "$tmp"' EXIT
    link=$tmp/$(plain_name "${target##*/}")
    ln -s -- "$target" "$link"
    path=$link$rest
    plain_path "$path" || refuse "Wine cannot be handed $1, nor a link to it in $tmp (TMPDIR)"
  fi
  # Z: is the Linux root in every Wine prefix.
  # shellcheck disable=SC1003 # a backslash, not an escaped quote
  document=$(printf 'Z:%s' "$path" | tr / '\\')
  case $folder$document in 1*[!\\]) document=$document\\ ;; esac
}

# A prefix is ready once the program's run counter is in its saved
# registry: it is the last thing made, and the program counts every start
# there, so a prefix the program has run in never lacks it. Without it the
# prefix holds no setting of the program's, and is made again whole.
ready() {
  [ -f "$WINEPREFIX/system.reg" ] &&
    awk -v key="$registry_key" '/^\[/ { inside = index($0, key) > 0; next }
      inside && /^"Times"=dword:/ { found = 1; exit } END { exit !found }' "$WINEPREFIX/system.reg"
}

# Made once, here or by `make install` (which runs --make-prefix), so that
# the first open shows the art: with the run counter at one start, as if
# the program had run once, the first start (the one whose count is 0 or 1)
# and its Configuration dialog are behind; on Linux the install registered
# the file types. The count is in the registry view of the program's build
# (32-bit or 64-bit). wineserver -w waits until Wine has saved the registry, so
# the prefix is whole once this returns. Wine's programs do not inherit the
# lock's descriptor, which would hold the lock as long as they run.
make_prefix() {
  if [ -d "$WINEPREFIX" ]; then
    echo "quillpane: the Wine prefix $WINEPREFIX was left unfinished; making it again (about 20 s)" >&2
    # Only this prefix's Wine: a start-up that hung in it.
    wineserver -k 9<&- 2>/dev/null || true
    rm -rf -- "$WINEPREFIX"
  else
    echo "quillpane: making the Wine prefix $WINEPREFIX (once, about 20 s)" >&2
  fi
  if "$wine" wineboot -i 9<&- >/dev/null 2>&1; then
    "$wine" reg add 'HKLM\Software\Molvo\Quillpane' /v Times /t REG_DWORD /d 1 /f $registry_view 9<&- >/dev/null 2>&1 || true
    wineserver -w 9<&- || true
  fi
  ready || { echo "quillpane: Wine could not make its prefix $WINEPREFIX" >&2; exit 1; }
}

tmp=
[ "$make_only" = 1 ] || windows_document "$1"
if ! ready; then
  mkdir -p -- "${WINEPREFIX%/*}"
  # Two opens at once make it once: the second waits, then finds it ready.
  exec 9<"${WINEPREFIX%/*}"
  flock 9
  ready || make_prefix
  exec 9<&-
fi
[ "$make_only" = 0 ] || exit 0

# Wine puts an argument that holds a blank in double quotes, and the program takes everything between the
# first and the last double quote of its command line as its own path. So the path goes to Wine cut at its
# blanks, and Wine joins the pieces with one blank each into exactly the path (plain names have no blanks
# in a row, none at their end).
set -f
IFS=' '
# shellcheck disable=SC2086 # cut at blanks on purpose
[ -n "$tmp" ] || exec "$wine" "$share/quillpane.exe" $document
# Wine runs as a child, so that the link lasts as long as the viewer; a signal that would end the launcher
# ends the viewer, and the launcher once the viewer has ended.
# shellcheck disable=SC2086
"$wine" "$share/quillpane.exe" $document &
child=$!
trap 'kill "$child" 2>/dev/null || true' HUP INT TERM
status=0
wait "$child" || status=$?
while kill -0 "$child" 2>/dev/null; do
  status=0
  wait "$child" || status=$?
done
exit "$status"
