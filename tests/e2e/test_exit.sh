#!/usr/bin/env bash
# The File menu's Exit, clicked, ends the process with exit code 0 (Esc and
# the close box end it in test_recent_files.sh).
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"

qp_start_viewer "$QP_SOURCE_DIR/samples/lighthouse.asc"
qp_focus
qp_rect client left top _right _bottom
qp_click $((left + 12)) $((top - 12)) # "File", just above the client area
qp_until 'menu_popup!=<absent>' "a click on File did not open the File menu"
qp_rect menu_popup left _top _right bottom
qp_watch_exit
qp_click $((left + 20)) $((bottom - 10)) # "Exit", the last item
qp_expect_ended "File, Exit"
echo "PASS: File, Exit ends the viewer"
