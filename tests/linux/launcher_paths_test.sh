#!/usr/bin/env bash
# The Linux launcher's Windows path for the path it is given, and its message
# when Wine is missing; neither starts Wine.
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
exit "$failed"
