#!/usr/bin/env bash
# The Linux launcher's translation of the path it is given into the Windows
# path the viewer gets, and its message when Wine is missing; neither
# starts Wine.
set -euo pipefail
launcher=$(cd "$(dirname "$0")/../../src/linux" && pwd)/quillpane.sh
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
mkdir "Art Folder" "Ünï"
touch "Art Folder/a b.nfo" "Ünï/Жук.ans"
win="Z:${dir//\//\\}"
passed=0 failed=0

check() { # WHAT GOT EXPECTED
  if [ "$2" = "$3" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1))
    echo "FAIL: $1: got '$2', expected '$3'"
  fi
}

while IFS='|' read -r argument expected; do
  check "$argument" "$("$launcher" --windows-path "$argument")" "$expected"
done <<TABLE
Art Folder/a b.nfo|$win\\Art Folder\\a b.nfo
Ünï/Жук.ans|$win\\Ünï\\Жук.ans
Art Folder/|$win\\Art Folder\\
Art Folder|$win\\Art Folder\\
Ünï/../missing.nfo|$win\\missing.nfo
/|Z:\\
TABLE

status=0
PATH=/nonexistent /bin/sh "$launcher" "Art Folder/" 2>err || status=$?
check "without Wine" "$status $(grep -o 'apt-get install wine wine32:i386' err)" "127 apt-get install wine wine32:i386"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
