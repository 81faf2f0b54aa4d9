#!/usr/bin/env bash
# Across restarts: the document shown at exit is the File menu's first
# recent item, and the window reopens where a caption drag left it.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"

# One extension each, so the folder lists them in this order.
art="$QP_TMP/Art"
mkdir -p "$art"
printf 'one\r\n' >"$art/one.nfo"
printf 'two\r\n' >"$art/two.diz"
printf 'three\r\n' >"$art/three.ans"
third=$(qp_winpath "$art/three.ans")

qp_start_viewer "$art/one.nfo"
qp_keys Next Next
qp_until status1=3/3 "Page Down twice did not reach the third file"
qp_watch_exit
qp_keys Escape
qp_expect_ended "Esc"

qp_start_viewer "$art/one.nfo"
# Alt+F opens the File menu on Load; Config, then the first recent item.
qp_keys alt+f Down Down Return
qp_until "title=${third,,} - Quillpane 0.8.8 beta" "the first recent item did not show the third file"

qp_focus
qp_rect window left top right _bottom
x=$(((left + right) / 2)) y=$((top + 10))
xdotool mousedown 1 mousemove $((x + 40)) $((y + 30)) mousemove $((x + 150)) $((y + 100)) mouseup 1
qp_until "window!=$(qp_get window)" "dragging the caption did not move the window"
qp_rect window moved_left moved_top _right _bottom
qp_rect close close_left close_top close_right close_bottom
qp_watch_exit
qp_click $(((close_left + close_right) / 2)) $(((close_top + close_bottom) / 2))
qp_expect_ended "the close box"

qp_start_viewer "$art/two.diz"
qp_rect window again_left again_top _right _bottom
qp_expect_eq "place after a drag, the close box and a new start" "$moved_left $moved_top" "$again_left $again_top"
echo "PASS: the document shown at exit is the first recent item; the window reopens where it was left"
