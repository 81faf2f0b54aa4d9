#!/usr/bin/env bash
# A pack zip makes of the whole corpus (in its folders, the BinaryText and XBin files stored, the rest
# deflated), exported in colour into a folder by one quillpane-export call, gives each art file the PNG the
# same file gives from disk, pixel for pixel, under its flattened name, and fails where the file fails.
#   pack_export_test.sh QUILLPANE_EXPORT PNG_COMPARE CORPUS_DIR   (77: skipped, no corpus or no zip)
set -euo pipefail
exe=$1 compare=$2 corpus=$3
[ -d "$corpus" ] && command -v zip >/dev/null || { echo "no corpus at '$corpus' or no zip: skipped"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/qp-pack-export.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/pack" "$work/disk"
(cd "$corpus" && zip -q -r -n .bin:.BIN:.xb:.XB "$work/corpus.zip" .)

status=0
"$exe" --colour --png "$work/pack/" "$work/corpus.zip" 2>"$work/pack.txt" || status=$?
args=()
while IFS= read -r -d '' file; do
  name=${file#./} && args+=(--png "$work/disk/${name//\//_}.png" "$corpus/$name")
done < <(cd "$corpus" && find . -type f -regextype posix-extended \
  -iregex '.*\.(nfo|diz|ans|asc|xb|bin|adf|idf|tnd|pcb|avt)' -print0)
expected=0
"$exe" --colour "${args[@]}" 2>"$work/disk.txt" || expected=$?

failed=0
check() { [ "$2" = "$3" ] || { echo "FAIL: $1: got '$2', expected '$3'" && failed=1; }; } # WHAT GOT EXPECTED
check "exit code" "$status" "$expected"
check "the PNGs written" "$(ls "$work/pack")" "$(ls "$work/disk")"
check "the files that fail" "$(grep -c '^quillpane: cannot' "$work/pack.txt" || true)" \
  "$(grep -c '^quillpane: cannot' "$work/disk.txt" || true)"
for png in "$work"/disk/*.png; do
  "$compare" "$png" "$work/pack/${png##*/}" >"$work/compare.txt" || { echo "FAIL: ${png##*/}: $(cat "$work/compare.txt")" && failed=1; }
done
[ "$failed" -eq 0 ] && echo "PASS: $(ls "$work/pack" | wc -l) entries of the corpus pack are their files' PNGs"
exit "$failed"
