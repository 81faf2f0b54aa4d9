#!/usr/bin/env bash
# The picture and the zoom keys. At the start zoom every cell of the page is
# its 8 x 8 glyph, pixel for pixel, with the page's top-left corner at client
# point (10, 10). Keypad plus makes every cell one pixel larger, so the
# window grows by one pixel per page column and per page row; the main
# keyboard's plus, equals and minus keys do not zoom; keypad minus returns
# to the start size and the same picture.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"

# Seven lines of at most 48 bytes, line feeds only: printable ASCII, the
# code page 437 shades, lines and blocks (0xB0-0xDF), the reversed range
# 0x80-0x9F, accented letters and Greek, and control bytes drawn as glyphs.
document="$QP_SOURCE_DIR/tests/data/e2e_glyph_rows.txt"
columns=49 # the longest line, and its line feed
rows=7
view_width=$((columns * 8))
view_height=$((rows * 8))

expect_picture() {
  qp_expect_picture "$1" "$document" 10 10 "$view_width" "$view_height"
}

qp_start_viewer "$document"
qp_expect_eq "window width at zoom 8 (view + 30)" $((view_width + 30)) "$(qp_get window_width)"
qp_expect_eq "window height at zoom 8 (view + 80)" $((view_height + 80)) "$(qp_get window_height)"
qp_expect_eq "scroll bar for a short page" 0 "$(qp_get scrollbar)"
width8=$(qp_get window_width)
height8=$(qp_get window_height)
client_width8=$(qp_get client_width)
client_height8=$(qp_get client_height)
expect_picture "start"

qp_keys KP_Add
qp_until "window_width!=$width8" "keypad plus did not change the window"
qp_expect_eq "window width after keypad plus" $((width8 + columns)) "$(qp_get window_width)"
qp_expect_eq "window height after keypad plus" $((height8 + rows)) "$(qp_get window_height)"
qp_expect_eq "client width after keypad plus" $((client_width8 + columns)) "$(qp_get client_width)"
qp_expect_eq "client height after keypad plus" $((client_height8 + rows)) "$(qp_get client_height)"
width9=$(qp_get window_width)

# The main keyboard's keys go first; keypad minus after them must land on
# the start size in one step. Had any of them zoomed, keypad minus would
# leave the window at another size.
qp_keys plus equal minus KP_Subtract
qp_until "window_width!=$width9" "keypad minus did not change the window"
qp_expect_eq "window width after plus, equal, minus and keypad minus" "$width8" "$(qp_get window_width)"
qp_expect_eq "window height after plus, equal, minus and keypad minus" "$height8" "$(qp_get window_height)"
expect_picture "back at zoom 8"

echo "PASS: glyph pixels and zoom keys"
