#!/usr/bin/env bash
# quillpane.exe --png from a Linux shell writes a PNG that ImageMagick reads
# at the page's size; a document that cannot be read gives a non-zero exit,
# a message on the shell's error output and no PNG; a swapped pair is
# refused, and a cut document says so. A real wheel turn over
# the viewer scrolls it three rows.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"
document="$QP_TMP/tall.asc"
for i in $(seq 120); do printf 'line %03d\n' "$i"; done >"$document" # 9 x 120 cells

"$WINE" "$QP_EXE" --png "$QP_TMP/tall.png" "$document" 2>"$QP_TMP/export.err" ||
  qp_fail "the export failed: $(cat "$QP_TMP/export.err")"
# Colour type 3: a palette, of 1 bit a pixel.
qp_expect_eq "PNG size, bit depth and colour type" "72x960 1 3" \
  "$(identify -format '%wx%h %[png:IHDR.bit-depth-orig] %[png:IHDR.color-type-orig]' "$QP_TMP/tall.png")"

status=0
"$WINE" "$QP_EXE" --png "$QP_TMP/missing.png" "$QP_TMP/missing.nfo" 2>"$QP_TMP/missing.err" || status=$?
qp_expect_eq "exit code for a missing document" 1 "$status"
grep -q '^quillpane: cannot read ".*missing.nfo"' "$QP_TMP/missing.err" ||
  qp_fail "no message names the missing document: $(cat "$QP_TMP/missing.err")"
[ ! -e "$QP_TMP/missing.png" ] || qp_fail "a PNG was written for a missing document"

# OUT and FILE swapped: exit 1 and one line. A document cut at 512 KB: exit
# 0 and one line that says so.
swapped=0 long=0
"$WINE" "$QP_EXE" --png "$document" "$QP_TMP/other.nfo" 2>"$QP_TMP/swapped.err" || swapped=$?
head -c 600000 /dev/zero | tr '\0' x >"$QP_TMP/long.nfo"
"$WINE" "$QP_EXE" --png "$QP_TMP/long.png" "$QP_TMP/long.nfo" 2>"$QP_TMP/long.err" || long=$?
qp_expect_eq "exit codes and lines of a swapped pair and a cut document" "1 1 0 1" \
  "$swapped $(wc -l <"$QP_TMP/swapped.err") $long $(grep -c '" is longer than 524288 bytes: only' "$QP_TMP/long.err")"

qp_start_viewer "$document"
qp_focus
qp_rect client left top _right _bottom
xdotool mousemove $((left + 40)) $((top + 40)) click 5
qp_until 'scroll_pos!=0' "a wheel turn over the view did not scroll it"
qp_expect_eq "scroll position after one notch (three rows)" 24 "$(qp_get scroll_pos)"
echo "PASS: export from the shell and the wheel"
