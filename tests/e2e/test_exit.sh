#!/usr/bin/env bash
# The three ways a user closes the viewer, each with real input: the Esc
# key, the File menu's Exit item and the caption's close box. Each must end
# the process with exit code 0 and take the window away.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"

document="$QP_SOURCE_DIR/samples/lighthouse.asc"

qp_start_viewer "$document"
qp_watch_exit
qp_keys Escape
qp_expect_ended "Esc"

qp_start_viewer "$document"
qp_focus
qp_rect client client_left client_top client_right client_bottom
# GetMenuBarInfo does not work across processes in Wine; "File", the menu
# bar's first item, lies just above the client area's sunken edge.
qp_click $((client_left + 12)) $((client_top - 12))
qp_until 'menu_popup!=<absent>' "a click on File did not open the File menu"
qp_rect menu_popup menu_left menu_top menu_right menu_bottom
qp_watch_exit
# "Exit" is the menu's last item, a menu line high above its lower border.
qp_click $((menu_left + 20)) $((menu_bottom - 10))
qp_expect_ended "File, Exit"

qp_start_viewer "$document"
qp_focus
qp_rect close close_left close_top close_right close_bottom
qp_watch_exit
qp_click $(((close_left + close_right) / 2)) $(((close_top + close_bottom) / 2))
qp_expect_ended "the close box"

echo "PASS: Esc, File Exit and the close box end the viewer"
