#!/usr/bin/env bash
# A pack zip makes of the whole corpus (in its folders; BinaryText and XBin stored, the rest deflated) exported
# into a folder by one quillpane-export call gives each art file, under its flattened name, the PNG the file
# gives from disk, pixel for pixel, and the same exit code. 77: skipped, no corpus or no zip.
#   pack_export_test.sh QUILLPANE_EXPORT PNG_COMPARE CORPUS_DIR FORMAT_FILES
set -euo pipefail
exe=$1 compare=$2 corpus=$3 extensions=$("$4" extensions)
[ -d "$corpus" ] && command -v zip >/dev/null || { echo "no corpus at '$corpus' or no zip: skipped"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/qp-pack-export.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/pack" "$work/disk" && (cd "$corpus" && zip -q -r -n .bin:.BIN:.xb:.XB "$work/corpus.zip" .)
args=()
while IFS= read -r -d '' name; do args+=(--png "$work/disk/${name//\//_}.png" "$corpus/$name"); done < <(cd "$corpus" &&
  find . -type f -regextype posix-extended -iregex ".*\.($extensions)" -printf '%P\0')
status=$("$exe" --colour --png "$work/pack/" "$work/corpus.zip" 2>/dev/null; echo $?)
expected=$("$exe" --colour "${args[@]}" 2>/dev/null; echo $?)
[ "$status $(ls "$work/pack")" = "$expected $(ls "$work/disk")" ] || { echo "FAIL: exit $status, expected $expected,
or the PNGs differ: $(diff <(ls "$work/pack") <(ls "$work/disk"))"; exit 1; }
for png in "$work"/disk/*.png; do
  "$compare" "$png" "$work/pack/${png##*/}" >/dev/null || { echo "FAIL: ${png##*/} differs" && exit 1; }
done
echo "PASS: the $(ls "$work/pack" | wc -l) art entries of the corpus pack are their files' PNGs"
