#!/usr/bin/env bash
# A real drag at zoom 8 leaves the cells' text on the clipboard. Keypad plus and minus make every cell a pixel
# larger and smaller, and the window follows; the main keyboard's plus, equals and minus do not zoom. Help,
# About opens the dialog, which idles while it is open; its OK button closes it. File, Exit ends the viewer
# with exit code 0 (Esc and Alt+F4 end it in test_starts.sh).
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"
printf '%-30s\r\n' abcdef ghijkl mnopqr >"$QP_TMP/rows.nfo" # 31 x 4 cells

qp_start_viewer "$QP_TMP/rows.nfo"
qp_rect client left top _right _bottom
# From the first glyph of the first row to the fourth of the third.
xdotool mousemove $((left + 12)) $((top + 12)) mousedown 1 mousemove $((left + 24)) $((top + 20)) \
  mousemove $((left + 36)) $((top + 28)) mouseup 1
qp_until "clipboard=$(printf 'abc\r\nghi' | od -An -tx1 | tr -d ' \n')" "the clipboard does not hold the dragged cells"
qp_keys KP_Add
qp_until "window_size=$((31 * 9 + 30))x$((4 * 9 + 80))" "keypad plus did not make the window a pixel larger a cell"
# Each main-keyboard key a different number of times: no mix of them that
# zooms comes back to the start size with keypad minus.
qp_keys plus equal equal minus minus minus minus KP_Subtract
qp_until "window_size=$((31 * 8 + 30))x$((4 * 8 + 80))" "the window is not back at its start size"

qp_keys alt+h End Return # Help, About: the last item
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
qp_expect_exit "File, Exit" qp_keys alt+f End Return # the last item
echo "PASS: a drag to the clipboard, the zoom keys, an idle About dialog that OK closes, File, Exit"
