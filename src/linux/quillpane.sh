#!/bin/sh
# quillpane [FILE|FOLDER/]: shows text-mode art in Quillpane under Wine.
#
# The program runs in a Wine prefix of its own, made on first use under the
# XDG data folder, so that its settings, recent files and run counter last
# from one start to the next and the user's other prefixes stay untouched.
# Wine's exit code is the launcher's.
#
#   quillpane --windows-path PATH    prints the Windows path the program
#                                    would be given, without starting Wine
set -eu

usage="usage: quillpane [FILE|FOLDER/]"

# Z: is the Linux root in every Wine prefix, so the Windows path needs no
# Wine to work out. A folder keeps its trailing separator, and an existing
# folder named without one gets it: the program shows the first recognised
# file of a path that ends with a backslash, and cannot open a folder named
# any other way. Symbolic links are kept as named, so the title shows the
# path the user chose.
windows_path() {
  path=$(realpath -ms -- "$1")
  case $1 in
    */) folder=1 ;;
    *) if [ -d "$1" ]; then folder=1; else folder=0; fi ;;
  esac
  case $folder$path in 1*[!/]) path=$path/ ;; esac
  # shellcheck disable=SC1003 # a backslash, not an escaped quote
  printf 'Z:%s\n' "$path" | tr / '\\'
}

# Wine puts an argument that holds a blank in double quotes, and the
# program takes everything between the first and the last double quote of
# its command line as its own path. So the path goes to Wine cut at its
# blanks, and Wine joins the pieces with one blank each into exactly the
# path. Pieces that Wine would quote (a double quote, a tab, or an empty
# piece from two blanks in a row or a final blank) cannot go that way.
passable() {
  case $1 in *'"'* | *'	'* | *'  '* | *' ') return 1 ;; esac
}

missing_wine() {
  echo "quillpane: $1. On Debian, as root: dpkg --add-architecture i386 && apt-get update && apt-get install wine wine32:i386" >&2
  exit 127
}

usage_error() {
  echo "$usage" >&2
  exit 2
}

case ${1-} in
  -h | --help) echo "$usage"; exit 0 ;;
  --windows-path)
    if [ $# -ne 2 ] || [ -z "$2" ]; then usage_error; fi
    windows_path "$2"
    exit 0 ;;
esac
if [ $# -gt 1 ] || [ "${1-x}" = "" ]; then usage_error; fi

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

share=$(realpath -m -- "$(dirname -- "$(realpath -- "$0")")/../share/quillpane")
# Without a path, the samples installed beside the program rather than the
# program's own file.
[ $# -eq 1 ] || set -- "$share/samples/"

export WINEPREFIX="${XDG_DATA_HOME:-$HOME/.local/share}/quillpane/prefix"
export WINEDEBUG=-all
# No desktop entries or file types of Wine's own, and no offer to install
# .NET or a browser engine the program does not use.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
# Wine makes the prefix itself on first use, but not the folders above it.
mkdir -p -- "${WINEPREFIX%/*}"
# Wine reads the document's name in the locale's character set. Linux names
# are UTF-8 almost everywhere, and the plain C locale (where no locale is
# set) would read them as ASCII and lose every other character.
if [ "$(locale charmap 2>/dev/null)" = ANSI_X3.4-1968 ]; then export LC_ALL=C.UTF-8; fi

document=$(windows_path "$1")
if ! passable "$document"; then
  # Wine's short form of an existing path has no blanks.
  short=$(winepath -s "$document" 2>/dev/null || true)
  if [ -z "$short" ] || ! passable "$short"; then
    echo "quillpane: Wine cannot hand this path to the viewer (a double quote, a tab or two blanks in a row): $1" >&2
    exit 2
  fi
  document=$short
fi
set -f
IFS=' '
# shellcheck disable=SC2086 # cut at blanks on purpose
exec wine "$share/quillpane.exe" $document
