#!/usr/bin/env bash
# The real program started on a document: the title names it in lower case,
# the status bar counts its bytes and its place in the folder. Keypad plus
# and minus make every cell a pixel larger and smaller, and the window
# follows; the main keyboard's plus, equals and minus do not zoom.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
document="$QP_TMP/Zoom Test.NFO"
for i in $(seq 7); do printf '%048d\n' "$i"; done >"$document" # 49 x 7 cells
size8=$((49 * 8 + 30))x$((7 * 8 + 80)) size9=$((49 * 9 + 30))x$((7 * 9 + 80))

qp_start_viewer "$document"
qp_expect_eq "title" "$(qp_title "$document")" "$(qp_get title)"
[[ "$(qp_get status0) $(qp_get status1)" =~ ^anttkn:343,\ filhantag:[0-9]+,\ runtimes:[0-9]+\ 1/1$ ]] ||
  qp_fail "the status bar reads '$(qp_get status0)', '$(qp_get status1)'"
qp_expect_eq "window size at zoom 8" "$size8" "$(qp_get window_size)"
qp_keys KP_Add
qp_until "window_size=$size9" "keypad plus did not make the window a pixel larger a page column and row"
# Each main-keyboard key a different number of times: no mix of them that
# zooms comes back to the start size with keypad minus.
qp_keys plus equal equal minus minus minus minus KP_Subtract
qp_until "window_size=$size8" "the window is not back at its start size"
echo "PASS: start and zoom keys"
