#!/usr/bin/env bash
# A real drag at zoom 8 leaves the cells' text on the clipboard (read inside
# the session: X's copy turns CR LF into LF); a sheet chosen with the mouse
# from the Keymap menu redraws the picture.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"

document="$QP_SOURCE_DIR/tests/data/e2e_glyph_rows.txt"
qp_start_viewer "$document"
qp_focus
qp_rect client left top _right _bottom
# From the first glyph of the first row to the fourth of the third.
xdotool mousemove $((left + 12)) $((top + 12)) mousedown 1 mousemove $((left + 24)) $((top + 20)) \
  mousemove $((left + 36)) $((top + 28)) mouseup 1
qp_probe clipboard "$QP_REACT_MS" "$(printf 'Qui\r\n!"#' | od -An -tx1 | tr -d ' \n')" ||
  qp_fail "the clipboard does not hold the dragged cells"

# With File's menu open, the pointer moves right onto Keymap; its second
# item (the sheets come in name order: blue, bold, thin) is bold.
qp_click $((left + 12)) $((top - 12))
qp_until 'menu_popup!=<absent>' "a click on File did not open the File menu"
file_menu=$(qp_get menu_popup)
xdotool mousemove $((left + 50)) $((top - 12))
qp_until "menu_popup!=$file_menu" "the Keymap menu did not open"
qp_rect menu_popup menu_left menu_top _menu_right menu_bottom
qp_click $((menu_left + 20)) $((menu_top + (menu_bottom - menu_top) * 3 / 8))
qp_expect_picture "bold sheet" "$document" 0 $((49 * 8)) $((7 * 8)) "$QP_SOURCE_DIR/src/resources/fonts/bold.bmp"

echo "PASS: drag to the clipboard and a Keymap sheet"
