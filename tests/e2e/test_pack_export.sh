#!/usr/bin/env bash
# quillpane.exe --png DIR\ pack.zip, the pack made here of corpus files (several formats, deflated and stored,
# in folders) with a non-art entry and one whose bytes no longer match their CRC-32: a PNG per art entry under
# its flattened name, each the PNG of the same file exported from disk; the damaged one fails with its line.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
corpus=${QP_CORPUS_DIR:-} native=${QP_NATIVE_DIR:?} art=$QP_TMP/art
[ -d "$corpus/image-textmode" ] || { echo "e2e: no corpus at '$corpus': skipped"; exit 0; }
[ -x "$native/png_compare" ] || cmake --build "$native" -j2 --target png_compare >/dev/null
input=$corpus/image-textmode/corpus/input
declare -A from=([UP-17PCE.NFO]=$corpus/up-17/UP-17PCE.NFO [LD-AF1.ANS]=$input/LD-AF1.ANS # each PNG's file
  [GROUP_42_WOLVR.XB]=$input/42_WOLVR.XB [GROUP_HU-ERMAG.BIN]=$input/HU-ERMAG.BIN
  [GROUP_deep_zv_steve.tnd]=$input/zv_steve.tnd)
args=() && mkdir -p "$QP_TMP/out" "$QP_TMP/disk"
for name in "${!from[@]}"; do
  folder=${name%"${from[$name]##*/}"} && mkdir -p "$art/${folder//_//}" && cp "${from[$name]}" "$art/${folder//_//}"
  args+=(--png "$QP_TMP/disk/$name.png" "${from[$name]}")
done
printf 'not art\n' >"$art/readme.txt" && printf 'this entry is damaged\r\n' >"$art/bad.nfo"
# .XB, .BIN and the damaged entry stored, the rest deflated; then a stored byte changed under its CRC-32.
(cd "$art" && zip -q -r -n .XB:.BIN:.nfo "$QP_TMP/pack.zip" . -x UP-17PCE.NFO && zip -q "$QP_TMP/pack.zip" UP-17PCE.NFO)
perl -0777 -pi -e 's/entry is damaged/entry is Damaged/' "$QP_TMP/pack.zip"

status=0
(cd "$QP_TMP" && "$WINE" "$QP_EXE" --colour --png "$(qp_winpath "$QP_TMP/out")\\" pack.zip) \
  >"$QP_TMP/lines.txt" 2>&1 || status=$?
qp_expect_eq "the lines and exit code" "quillpane.exe: cannot read \"pack.zip/bad.nfo\": Its CRC-32 is not the one \
recorded: the bytes may be damaged 1" "$(tr -d '\r' <"$QP_TMP/lines.txt" | grep '^quillpane.exe:') $status"
qp_expect_eq "the PNGs written" "$(printf '%s.png\n' "${!from[@]}" | LC_ALL=C sort)" "$(LC_ALL=C ls "$QP_TMP/out")"
"$WINE" "$QP_EXE" --colour "${args[@]}" >>"$QP_TMP/wine.log" 2>&1 || qp_fail "the export from disk failed"
for png in "$QP_TMP"/out/*.png; do
  "$native/png_compare" "$png" "$QP_TMP/disk/${png##*/}" >"$QP_TMP/compare.txt" ||
    qp_fail "${png##*/}: $(cat "$QP_TMP/compare.txt")"
done
echo "PASS: a pack exports into a folder, each entry as its file, its damaged entry refused"
