#!/usr/bin/env bash
# The three ways a user closes the viewer, with real input: Esc, the File
# menu's Exit and the close box each end the process with exit code 0.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"
document="$QP_SOURCE_DIR/samples/lighthouse.asc"

qp_start_viewer "$document"
qp_watch_exit
qp_keys Escape
qp_expect_ended "Esc"

qp_start_viewer "$document"
qp_focus
qp_rect client left top _right _bottom
qp_click $((left + 12)) $((top - 12)) # "File", just above the client area
qp_until 'menu_popup!=<absent>' "a click on File did not open the File menu"
qp_rect menu_popup left _top _right bottom
qp_watch_exit
qp_click $((left + 20)) $((bottom - 10)) # "Exit", the last item
qp_expect_ended "File, Exit"

qp_start_viewer "$document"
qp_focus
qp_rect close left top right bottom
qp_watch_exit
qp_click $(((left + right) / 2)) $(((top + bottom) / 2))
qp_expect_ended "the close box"
echo "PASS: Esc, File Exit and the close box end the viewer"
