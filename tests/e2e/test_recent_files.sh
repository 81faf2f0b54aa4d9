#!/usr/bin/env bash
# Across restarts: the window reopens where a caption drag and the close box
# left it, and the File menu's first recent item is the document it showed.
# Esc and the close box end the viewer with exit code 0.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"
# One row of three cells each: the window has the same size for both.
printf 'one\r\n' >"$QP_TMP/one.nfo"
printf 'two\r\n' >"$QP_TMP/two.diz"

qp_start_viewer "$QP_TMP/one.nfo"
qp_focus
qp_rect window left top right _bottom
x=$(((left + right) / 2)) y=$((top + 10))
xdotool mousedown 1 mousemove $((x + 40)) $((y + 30)) mousemove $((x + 150)) $((y + 100)) mouseup 1
qp_until "window!=$(qp_get window)" "dragging the caption did not move the window"
moved=$(qp_get window)
qp_expect_exit "the close box" qp_click_in close

qp_start_viewer "$QP_TMP/two.diz"
qp_expect_eq "place after a drag, the close box and a new start" "$moved" "$(qp_get window)"
# Alt+F opens the File menu on Load; Config, then the first recent item.
qp_keys alt+f Down Down Return
qp_until "title=$(qp_title "$QP_TMP/one.nfo")" "the first recent item did not show the document left open"
qp_expect_exit "Esc" qp_keys Escape
echo "PASS: the window reopens where it was left; the document shown at the close is the first recent item"
