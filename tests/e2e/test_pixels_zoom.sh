#!/usr/bin/env bash
# The picture and the zoom keys. At the start zoom every cell of the page is
# its 8 x 8 glyph, pixel for pixel, from client point (10, 10). Keypad plus
# makes every cell one pixel larger, so the window grows by one pixel per
# page column and row; the main keyboard's plus, equals and minus do not
# zoom; keypad minus returns to the start size and picture.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# Seven lines of at most 48 bytes, line feeds only: printable ASCII, the
# code page 437 shades, lines and blocks (0xB0-0xDF), the range 0x80-0x9F,
# accented letters and Greek, and control bytes drawn as glyphs.
document="$QP_SOURCE_DIR/tests/data/e2e_glyph_rows.txt"
columns=49 # the longest line and its line feed
rows=7
width=$((columns * 8))
height=$((rows * 8))

qp_start_viewer "$document"
qp_expect_eq "window size at zoom 8 (view + 30 x view + 80)" \
  "$((width + 30))x$((height + 80))" "$(qp_get window_size)"
qp_expect_eq "scroll bar of a short page" none "$(qp_get scrollbar)"
size8=$(qp_get window_size)
IFS=x read -r client_width client_height <<<"$(qp_get client_size)"
qp_expect_picture "zoom 8" "$document" 0 "$width" "$height"

qp_keys KP_Add
qp_until "window_size!=$size8" "keypad plus did not change the window"
qp_expect_eq "window size after keypad plus" \
  "$((width + 30 + columns))x$((height + 80 + rows))" "$(qp_get window_size)"
qp_expect_eq "client size after keypad plus" \
  "$((client_width + columns))x$((client_height + rows))" "$(qp_get client_size)"
size9=$(qp_get window_size)

# Had the main keyboard's keys zoomed, keypad minus would not land on the
# start size.
qp_keys plus equal minus KP_Subtract
qp_until "window_size!=$size9" "keypad minus did not change the window"
qp_expect_eq "window size after plus, equal, minus, keypad minus" "$size8" "$(qp_get window_size)"
qp_expect_picture "back at zoom 8" "$document" 0 "$width" "$height"

echo "PASS: glyph pixels and zoom keys"
