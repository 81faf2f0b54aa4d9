#!/usr/bin/env bash
# Every include between the source folders points down the stages. The pure side: core at the bottom, art
# (bytes to cells) on it, raster and text (cells to pixels and to characters) on art. The platform side:
# win32 (the program's state, the registry and disk files) on core, view on both sides, then document,
# shell, about and export, and app on top; resources may be included by any. An include that points up or
# sideways fails, in either form ("../view/view.h" or "view/view.h"), and so does a Win32 header in a pure
# folder. The pure list of CMakeLists.txt (CORE_SOURCES, built natively without a platform) must hold every
# file of the pure folders, and nothing in it may reach a Win32 header, directly or through its headers.
set -u
cd "$(dirname "$0")/../src"
art="art core resources"
declare -A below=([resources]= [core]=resources [art]="core resources" [raster]="$art" [text]="$art"
  [win32]="core resources" [view]="win32 raster text $art")
below[document]="view ${below[view]}"
for folder in shell about export; do below[$folder]="document ${below[document]}"; done
below[app]="export about shell ${below[shell]}"
pure=(core art raster text)
win32_header='#include[[:space:]]*<(windows|win[a-z0-9_]*|shellapi|shlobj|shlwapi|commdlg|commctrl|objbase|ole2|richedit|mmsystem|dwmapi|uxtheme)\.h>'
bad=0
fail() { echo "$*"; bad=1; }

# The file (below src) an include in FILE names, in either form; empty for one from elsewhere (generated).
target() { # FILE INCLUDED
  local path=${1%/*}/$2
  case $2 in
    ../*) ;;
    */*) [ -f "$path" ] || path=$2 ;;  # from the folder of FILE, else from src
  esac
  # "a/../" steps out, as the compiler reads them.
  while [[ $path =~ ^(.*/)?[^/.][^/]*/\.\./(.*)$ ]]; do path=${BASH_REMATCH[1]}${BASH_REMATCH[2]}; done
  [ -f "$path" ] && echo "$path"
}

includes() { # FILE: the files below src it includes
  local name
  grep -oE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' "$1" | sed -E 's/.*"(.*)"/\1/' |
    while read -r name; do target "$1" "$name"; done
}

while IFS= read -r file; do
  from=${file%%/*}
  [ -n "${below[$from]+set}" ] || { fail "$file: src/$from is a folder this test does not know"; continue; }
  while IFS= read -r to; do
    to=${to%%/*}
    [ "$to" = "$from" ] || [[ " ${below[$from]} " == *" $to "* ]] || fail "$file includes $to, which is not below $from"
  done < <(includes "$file")
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) | sed 's#^\./##' | sort)

# The pure list: every source of a pure folder is in it, and nothing in it reaches a Win32 header.
mapfile -t listed < <(sed -n '/^set(CORE_SOURCES/,/)/p' ../CMakeLists.txt | grep -oE 'src/[A-Za-z0-9_/.]+' |
  sed 's#^src/##')
[ ${#listed[@]} -gt 0 ] || fail "CMakeLists.txt has no CORE_SOURCES list"
for folder in "${pure[@]}"; do
  while IFS= read -r file; do
    [[ " ${listed[*]} " == *" $file "* ]] || fail "$file is in a pure folder but not in CORE_SOURCES"
  done < <(find "$folder" -name '*.cpp' | sort)
done
declare -A seen=()
reaches_win32() { # FILE [VIA]: fails when FILE or anything it includes names a Win32 header
  [ -z "${seen[$1]+set}" ] || return 0
  seen[$1]=1
  if grep -qE "$win32_header" "$1"; then
    fail "${2:-$1} is pure but reaches a Win32 header through $1"
    return
  fi
  local next
  while IFS= read -r next; do reaches_win32 "$next" "${2:-$1}"; done < <(includes "$1")
}
for file in "${listed[@]}"; do
  [ -f "$file" ] || { fail "CORE_SOURCES names $file, which does not exist"; continue; }
  seen=()
  reaches_win32 "$file"
done
for folder in "${pure[@]}"; do
  grep -rnE "$win32_header" "$folder" && fail "a pure folder includes a Win32 header"
done
exit $bad
