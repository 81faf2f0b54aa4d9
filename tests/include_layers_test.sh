#!/usr/bin/env bash
# Every include between the source folders points down the stages: resources and core at the bottom, win32
# (the program's state, the registry and disk files) on core, then
# art (bytes to cells), raster and text (cells to pixels and to characters), view, document, shell and about,
# export, and app on top. An include that points up or sideways fails the test, and so does any platform header in
# the folders that must build without one.
set -u
cd "$(dirname "$0")/../src"
declare -A rank=([resources]=0 [core]=1 [win32]=2 [art]=2 [raster]=3 [text]=3 [view]=4 [document]=5 [shell]=6 [about]=6 [export]=6
  [app]=7)
bad=0
while IFS=: read -r file line text; do
  from=${file%%/*}
  to=$(sed -E 's#.*"\.\./([a-z0-9]+)/.*#\1#' <<<"$text")
  if [ -z "${rank[$to]:-}" ] || [ "${rank[$to]}" -ge "${rank[$from]}" ]; then
    echo "$file:$line includes upward: $text"
    bad=1
  fi
done < <(grep -rn '#include "\.\./' --include='*.h' --include='*.cpp' .  | sed 's#^\./##')
# The pure folders: no <windows.h> nor any other Win32 header, directly or through a header of theirs.
if grep -rniE '#include <(windows|winbase|winuser|wingdi|shellapi|commdlg|commctrl|shlobj)\.h>' core art raster text; then
  echo "a pure folder includes a Win32 header"
  bad=1
fi
exit $bad
