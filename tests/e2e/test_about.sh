#!/usr/bin/env bash
# Help, About with the mouse opens the dialog, which idles while it is
# open; its OK button closes it. Then File, Exit ends the viewer with exit
# code 0 (Esc and the close box end it in test_recent_files.sh).
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"

qp_start_viewer "$QP_SOURCE_DIR/samples/lighthouse.asc"
qp_focus
qp_rect client left top _right _bottom
qp_click $((left + 12)) $((top - 12))
qp_until 'menu_popup!=' "a click on File did not open the File menu"
# Sliding along the menu bar opens each menu in turn up to the last, Help.
for x in $(seq $((left + 12)) 6 $((left + 240))); do xdotool mousemove "$x" $((top - 12)) && sleep 0.02; done
qp_until 'menu_popup!=' "menu_popup!=$(qp_get menu_popup)" "sliding along the menu bar opened no other menu"
qp_rect menu_popup menu_left _top _right menu_bottom
qp_click $((menu_left + 20)) $((menu_bottom - 10)) # About, the last item
qp_until 'about_ok!=' "Help, About did not open the About dialog"

ticks() { awk '{ print $14 + $15 }' "/proc/$QP_VIEWER/stat"; } # the viewer's processor time
start=$(ticks)
sleep 3 # the span measured, not a wait for anything
cpu=$(awk -v t=$(($(ticks) - start)) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f", t * 100 / 3 / hz }')
echo "e2e: processor use over 3 s with the About dialog open: $cpu% of one core"
# Not a timing: a dialog that paints without pause keeps about 40% here
# (the Wine server takes the rest of the core), an idle one about 1%.
awk -v cpu="$cpu" 'BEGIN { exit !(cpu < 20) }' || qp_fail "the About dialog keeps the processor busy"

qp_click_in about_ok
qp_until 'about_ok=' "a click on OK did not close the About dialog"
qp_click $((left + 12)) $((top - 12))
qp_until 'menu_popup!=' "a click on File did not open the File menu"
qp_rect menu_popup menu_left _top _right menu_bottom
qp_expect_exit "File, Exit" qp_click $((menu_left + 20)) $((menu_bottom - 10)) # the last item
echo "PASS: Help, About opens an idle dialog that OK closes; File, Exit ends the viewer"
