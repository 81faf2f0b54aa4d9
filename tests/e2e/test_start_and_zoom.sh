#!/usr/bin/env bash
# The real program started on a document: the title names it in lower case,
# the status bar counts its bytes and its place in the folder. The keypad's
# plus makes every cell one pixel larger, so the window grows by one pixel a
# page column and row; the main keyboard's plus, equals and minus do not
# zoom, so keypad minus lands on the start size again.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
document="$QP_TMP/Zoom Test.NFO"
for i in $(seq 7); do printf '%048d\n' "$i"; done >"$document" # 49 x 7 cells

qp_start_viewer "$document"
path=$(qp_winpath "$document")
qp_expect_eq "title" "${path,,} - Quillpane 0.8.8 beta" "$(qp_get title)"
[[ $(qp_get status0) =~ ^anttkn:343,\ filhantag:[0-9]+,\ runtimes:[0-9]+$ ]] ||
  qp_fail "status part 0 reads '$(qp_get status0)'"
qp_expect_eq "status part 1" "1/1" "$(qp_get status1)"
qp_expect_eq "window size at zoom 8" "$((49 * 8 + 30))x$((7 * 8 + 80))" "$(qp_get window_size)"
size8=$(qp_get window_size)

qp_keys KP_Add
qp_until "window_size!=$size8" "keypad plus did not change the window"
qp_expect_eq "window size after keypad plus" "$((49 * 9 + 30))x$((7 * 9 + 80))" "$(qp_get window_size)"
size9=$(qp_get window_size)

qp_keys plus equal minus KP_Subtract
qp_until "window_size!=$size9" "keypad minus did not change the window"
qp_expect_eq "window size after plus, equal, minus, keypad minus" "$size8" "$(qp_get window_size)"
echo "PASS: start and zoom keys"
