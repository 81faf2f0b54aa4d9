#!/usr/bin/env bash
# quillpane.exe --png DIR\ pack.zip on a pack made here of corpus files (several formats, deflated and
# stored, in folders) with an entry whose bytes no longer match their CRC-32 and one that is not art: one PNG
# per art entry under its flattened name, each the PNG of the same file exported from disk, and the damaged
# entry failing with its line and the exit code.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
corpus=${QP_CORPUS_DIR:-} native=${QP_NATIVE_DIR:?}
[ -d "$corpus/image-textmode" ] || { echo "e2e: no corpus at '$corpus': skipped"; exit 0; }
[ -x "$native/png_compare" ] || cmake --build "$native" -j2 --target png_compare >/dev/null

art=$QP_TMP/art input=$corpus/image-textmode/corpus/input
# Each PNG the pack gives, and the file it is drawn from.
declare -A from=([UP-17PCE.NFO]=$corpus/up-17/UP-17PCE.NFO [LD-AF1.ANS]=$input/LD-AF1.ANS
  [GROUP_42_WOLVR.XB]=$input/42_WOLVR.XB [GROUP_HU-ERMAG.BIN]=$input/HU-ERMAG.BIN
  [GROUP_deep_zv_steve.tnd]=$input/zv_steve.tnd)
mkdir -p "$QP_TMP/out" "$QP_TMP/disk"
for name in "${!from[@]}"; do
  folder=${name%"${from[$name]##*/}"} && mkdir -p "$art/${folder//_//}" && cp "${from[$name]}" "$art/${folder//_//}"
done
printf 'this entry is damaged\r\n' >"$art/bad.nfo"
printf 'not art\n' >"$art/readme.txt"
# The .xb and .bin and the damaged entry stored, the rest deflated; then a byte of the stored damaged text
# changed in place, so that it no longer matches the CRC-32 the pack records.
(cd "$art" && zip -q -r -n .XB:.BIN:.nfo "$QP_TMP/pack.zip" . -x UP-17PCE.NFO &&
  zip -q "$QP_TMP/pack.zip" UP-17PCE.NFO)
perl -0777 -pi -e 's/entry is damaged/entry is Damaged/' "$QP_TMP/pack.zip"

status=0
(cd "$QP_TMP" && "$WINE" "$QP_EXE" --colour --png "$(qp_winpath "$QP_TMP/out")\\" pack.zip) \
  >"$QP_TMP/lines.txt" 2>&1 || status=$?
qp_expect_eq "the damaged entry's line" \
  'quillpane: cannot read "pack.zip/bad.nfo": Its CRC-32 is not the one recorded: the bytes may be damaged' \
  "$(tr -d '\r' <"$QP_TMP/lines.txt" | grep '^quillpane:')"
qp_expect_eq "exit code" 1 "$status"
qp_expect_eq "the PNGs written" "$(printf '%s.png\n' "${!from[@]}" | LC_ALL=C sort)" "$(LC_ALL=C ls "$QP_TMP/out")"

args=()
for name in "${!from[@]}"; do args+=(--png "$QP_TMP/disk/$name.png" "${from[$name]}"); done
"$WINE" "$QP_EXE" --colour "${args[@]}" >>"$QP_TMP/wine.log" 2>&1 || qp_fail "the export from disk failed"
for png in "$QP_TMP"/out/*.png; do
  "$native/png_compare" "$png" "$QP_TMP/disk/${png##*/}" >"$QP_TMP/compare.txt" ||
    qp_fail "${png##*/}: $(cat "$QP_TMP/compare.txt")"
  echo "e2e: ok: ${png##*/} from the pack is its file's from disk: $(cat "$QP_TMP/compare.txt")"
done
echo "PASS: a pack exports into a folder, its damaged entry refused"
