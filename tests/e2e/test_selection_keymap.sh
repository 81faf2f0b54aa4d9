#!/usr/bin/env bash
# A sheet chosen with the mouse from the Keymap menu redraws the picture; a
# real drag at zoom 8 leaves the cells' text on the clipboard. Keypad plus
# and minus make every cell a pixel larger and smaller, and the window
# follows; the main keyboard's plus, equals and minus do not zoom.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"
printf '%-30s\r\n' abcdef ghijkl mnopqr >"$QP_TMP/rows.nfo" # 31 x 4 cells

qp_start_viewer "$QP_TMP/rows.nfo"
qp_focus
qp_rect client left top _right _bottom
picture=$(qp_get view_pixels)
# With File's menu open, the pointer moves right onto Keymap; its second
# item (the sheets come in name order: blue, bold, thin) is bold.
qp_click $((left + 12)) $((top - 12))
qp_until 'menu_popup!=' "a click on File did not open the File menu"
xdotool mousemove $((left + 50)) $((top - 12))
qp_until 'menu_popup!=' "menu_popup!=$(qp_get menu_popup)" "the Keymap menu did not open"
qp_rect menu_popup menu_left menu_top _menu_right menu_bottom
qp_click $((menu_left + 20)) $((menu_top + (menu_bottom - menu_top) * 3 / 8))
qp_until 'menu_popup=' "view_pixels!=$picture" "choosing a Keymap sheet did not redraw the picture"

# From the first glyph of the first row to the fourth of the third.
xdotool mousemove $((left + 12)) $((top + 12)) mousedown 1 mousemove $((left + 24)) $((top + 20)) \
  mousemove $((left + 36)) $((top + 28)) mouseup 1
qp_until "clipboard=$(printf 'abc\r\nghi' | od -An -tx1 | tr -d ' \n')" "the clipboard does not hold the dragged cells"
qp_expect_eq "window size at zoom 8" $((31 * 8 + 30))x$((4 * 8 + 80)) "$(qp_get window_size)"
qp_keys KP_Add
qp_until "window_size=$((31 * 9 + 30))x$((4 * 9 + 80))" "keypad plus did not make the window a pixel larger a cell"
# Each main-keyboard key a different number of times: no mix of them that
# zooms comes back to the start size with keypad minus.
qp_keys plus equal equal minus minus minus minus KP_Subtract
qp_until "window_size=$((31 * 8 + 30))x$((4 * 8 + 80))" "the window is not back at its start size"
echo "PASS: a Keymap sheet, a drag to the clipboard and the zoom keys"
