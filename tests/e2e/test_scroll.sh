#!/usr/bin/env bash
# A page taller than the work area gets a scroll bar beside the view; a
# click on its down arrow moves the view down by exactly one row.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"
document="$QP_TMP/tall.asc"
for i in $(seq 120); do printf 'line %03d\n' "$i"; done >"$document"

qp_start_viewer "$document"
qp_expect_eq "scroll bar" shown "$(qp_get scrollbar)"
qp_expect_eq "scroll position" 0 "$(qp_get scroll_pos)"
before=$(qp_get view_pixels)
qp_rect scrollbar_rect bar_left bar_top bar_right bar_bottom
qp_click $(((bar_left + bar_right) / 2)) $((bar_bottom - 8)) # the down arrow
qp_until 'scroll_pos!=0' "a click on the scroll bar's down arrow did not scroll"
qp_expect_eq "scroll position after the down arrow (one row)" 8 "$(qp_get scroll_pos)"
qp_until "view_pixels!=$before" "the view did not move"
echo "PASS: scroll bar arrow"
