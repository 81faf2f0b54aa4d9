#!/usr/bin/env bash
# A page taller than the work area gets a vertical scroll bar beside the
# view; a click on its down arrow moves the view down by exactly one row.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"

# 120 numbered lines of 52 bytes, line feeds only: 53 columns, 120 rows,
# 960 pixels high at zoom 8.
document="$QP_SOURCE_DIR/tests/data/e2e_tall_120_rows.txt"
columns=53
rows=120
view_width=$((columns * 8))

qp_start_viewer "$document"
qp_rect work_area work_left work_top work_right work_bottom
# The view takes all the height the work area leaves (bottom - 80).
view_height=$((work_bottom - 80))
[ $((rows * 8)) -gt "$view_height" ] || qp_fail "the work area ($(qp_get work_area)) is too tall for this test"

qp_expect_eq "scroll bar present" 1 "$(qp_get scrollbar)"
qp_expect_eq "scroll bar shown" 1 "$(qp_get scrollbar_visible)"
qp_expect_eq "window width (view + 48 with a scroll bar)" $((view_width + 48)) "$(qp_get window_width)"
qp_expect_eq "window height (view + 80)" $((view_height + 80)) "$(qp_get window_height)"
qp_rect client client_left client_top client_right client_bottom
qp_rect scrollbar_rect bar_left bar_top bar_right bar_bottom
qp_expect_eq "scroll bar rectangle in the client area (x y width height)" \
  "$((view_width + 20)) 0 18 $((view_height + 12))" \
  "$((bar_left - client_left)) $((bar_top - client_top)) $((bar_right - bar_left)) $((bar_bottom - bar_top))"
qp_expect_eq "scroll range, page and position (min max page pos)" "0 $((rows * 8)) $view_height 0" \
  "$(qp_get scroll_min) $(qp_get scroll_max) $(qp_get scroll_page) $(qp_get scroll_pos)"

# The top ten rows of the view, before and after.
band_height=80
qp_expect_picture "top of the page" "$document" 10 10 "$view_width" "$band_height"

# The down arrow is the bottom end of the bar.
qp_click $(((bar_left + bar_right) / 2)) $((bar_bottom - 8))
qp_until 'scroll_pos!=0' "a click on the scroll bar's down arrow did not scroll"
qp_expect_eq "scroll position after one click on the down arrow (one row at zoom 8)" 8 "$(qp_get scroll_pos)"
qp_expect_picture "one row down" "$document" 10 10 "$view_width" "$band_height" --first-row 1

echo "PASS: scroll bar and line down"
