#!/usr/bin/env bash
# The first start on a fresh machine: the Configuration dialog opens over
# the main window, the user ticks NFO and presses OK with the mouse, and
# .NFO opens with the program from then on (its old handler's backup is the
# Windows shell test's). The second start only counts.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
qp_reg delete 'HKLM\Software\Molvo\Quillpane' /v Times /f
document="$QP_SOURCE_DIR/samples/lighthouse.asc"

# The dialog opens at the first paint, before the document is laid out: the
# window gets its title and status texts only once the dialog is closed.
qp_launch "$document"
qp_until 'config!=' "the first start opened no Configuration dialog"
qp_expect_eq "first start: the dialog's owner" main "$(qp_get config_owner)"
qp_click_in config_1002 # NFO
qp_until config_1002_check=1 "a click on NFO did not tick it"
qp_click_in config_1010 # OK
qp_shown "OK did not close the dialog and show the document"
qp_expect_eq '.NFO' Quillpane "$(qp_reg_value 'HKCR\.NFO')"
qp_expect_eq 'open command' "\"$(qp_winpath "$QP_EXE")\" %1" "$(qp_reg_value 'HKCR\Quillpane\shell\open\command')"
qp_expect_exit "Esc after the first start" qp_keys Escape

qp_start_viewer "$document"
[ -z "$(qp_get config)" ] || qp_fail "the second start opened the Configuration dialog"
qp_expect_eq "second start: the run count" runtimes:2 "$(qp_get status0 | grep -o 'runtimes:.*')"
echo "PASS: the first start registers and asks; the second only counts"
