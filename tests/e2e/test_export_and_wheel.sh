#!/usr/bin/env bash
# quillpane.exe --png from a Linux shell writes a PNG that ImageMagick reads
# at the page's size (its lines and exit codes are compared with the native
# exporter's in test_native_export.sh). A real wheel turn over the viewer
# scrolls it three rows.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"
document="$QP_TMP/tall.asc"
for i in $(seq 120); do printf 'line %03d\n' "$i"; done >"$document" # 9 x 120 cells

"$WINE" "$QP_EXE" --png "$QP_TMP/tall.png" "$document" 2>"$QP_TMP/export.err" ||
  qp_fail "the export failed: $(cat "$QP_TMP/export.err")"
# Colour type 3: a palette, of 1 bit a pixel.
qp_expect_eq "PNG size, bit depth and colour type" "72x960 1 3" \
  "$(identify -format '%wx%h %[png:IHDR.bit-depth-orig] %[png:IHDR.color-type-orig]' "$QP_TMP/tall.png")"

qp_start_viewer "$document"
qp_focus
qp_rect client left top _right _bottom
xdotool mousemove $((left + 40)) $((top + 40)) click 5
qp_until 'scroll_pos!=0' "a wheel turn over the view did not scroll it"
qp_expect_eq "scroll position after one notch (three rows)" 24 "$(qp_get scroll_pos)"
echo "PASS: export from the shell and the wheel"
