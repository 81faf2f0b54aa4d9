#!/usr/bin/env bash
# The first start on a fresh machine: the Configuration dialog opens over
# the main window, the user ticks NFO and presses OK with the mouse, and
# .NFO opens with the program from then on, its old handler kept in
# "backup". The second start only counts.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"

qp_reg delete 'HKLM\Software\Molvo\Quillpane' /v Times /f
qp_reg add 'HKCR\.NFO' /ve /d txtfile /f
document="$QP_SOURCE_DIR/samples/lighthouse.asc"

click_control() {
  qp_rect "config_$1" left top right bottom
  qp_click $(((left + right) / 2)) $(((top + bottom) / 2))
}

# The dialog opens at the first paint, before the document is laid out: the
# window gets its title and status texts only once the dialog is closed.
QP_DESKTOP="qp-e2e-$$-first"
qp_launch "$(qp_winpath "$QP_EXE")" "$(qp_winpath "$document")"
qp_until 'config!=<absent>' "the first start opened no Configuration dialog"
QP_VIEWER_PID=$(qp_get pid)
qp_expect_eq "first start: the dialog's owner" main "$(qp_get config_owner)"
click_control 1002
qp_until config_1002_check=1 "a click on NFO did not tick it"
click_control 1010
qp_until config=\<absent\> "OK did not close the dialog"
qp_probe_start wait && qp_probe_result || qp_fail "the viewer did not show the document after the dialog"
qp_expect_eq '.NFO' Quillpane "$(qp_reg_value 'HKCR\.NFO')"
qp_expect_eq '.NFO backup' txtfile "$(qp_reg_value 'HKCR\.NFO' backup)"
qp_expect_eq 'open command' "\"$(qp_winpath "$QP_EXE")\" %1" "$(qp_reg_value 'HKCR\Quillpane\shell\open\command')"

qp_watch_exit
qp_keys Escape
qp_expect_ended "Esc after the first start"

qp_start_viewer "$document"
[ -z "$(qp_get config)" ] || qp_fail "the second start opened the Configuration dialog"
qp_expect_eq "second start: the run count" runtimes:2 "$(qp_get status0 | grep -o 'runtimes:.*')"
echo "PASS: the first start registers and asks; the second only counts"
