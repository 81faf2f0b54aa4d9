#!/usr/bin/env bash
# A real wheel turn over the viewer scrolls it three rows (the export: test_native_export.sh).
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"
document="$QP_TMP/tall.asc"
for i in $(seq 120); do printf 'line %03d\n' "$i"; done >"$document" # 9 x 120 cells

qp_start_viewer "$document"
qp_focus
qp_rect client left top _right _bottom
xdotool mousemove $((left + 40)) $((top + 40)) click 5
qp_until 'scroll_pos!=0' "a wheel turn over the view did not scroll it"
qp_expect_eq "scroll position after one notch (three rows)" 24 "$(qp_get scroll_pos)"
echo "PASS: the wheel"
