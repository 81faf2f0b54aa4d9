#!/usr/bin/env bash
# A page taller than the work area gets a vertical scroll bar beside the
# view; a click on its down arrow moves the view down by exactly one row.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"

# 120 numbered lines of 52 bytes, line feeds only.
document="$QP_SOURCE_DIR/tests/data/e2e_tall_120_rows.txt"
width=$((53 * 8))
rows=120

qp_start_viewer "$document"
qp_rect work_area work_left work_top work_right work_bottom
# The view takes all the height the work area leaves.
height=$((work_bottom - 80))
[ $((rows * 8)) -gt "$height" ] || qp_fail "the work area ($(qp_get work_area)) is too tall for this test"

qp_expect_eq "scroll bar" shown "$(qp_get scrollbar)"
qp_expect_eq "window size (view + 48 x view + 80)" "$((width + 48))x$((height + 80))" "$(qp_get window_size)"
qp_rect client client_left client_top client_right client_bottom
qp_rect scrollbar_rect bar_left bar_top bar_right bar_bottom
qp_expect_eq "scroll bar in the client area (x y width height)" "$((width + 20)) 0 18 $((height + 12))" \
  "$((bar_left - client_left)) $((bar_top - client_top)) $((bar_right - bar_left)) $((bar_bottom - bar_top))"
qp_expect_eq "scroll range (min max page)" "0 $((rows * 8)) $height" "$(qp_get scroll_range)"
qp_expect_eq "scroll position" 0 "$(qp_get scroll_pos)"
qp_expect_picture "top ten rows" "$document" 0 "$width" 80

# The down arrow is the bottom end of the bar.
qp_click $(((bar_left + bar_right) / 2)) $((bar_bottom - 8))
qp_until 'scroll_pos!=0' "a click on the scroll bar's down arrow did not scroll"
qp_expect_eq "scroll position after the down arrow (one row)" 8 "$(qp_get scroll_pos)"
qp_expect_picture "ten rows from the second" "$document" 1 "$width" 80

echo "PASS: scroll bar and line down"
