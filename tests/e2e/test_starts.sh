#!/usr/bin/env bash
# Two starts. The first on a fresh machine opens the Configuration dialog over the main window; the user ticks
# NFO and presses OK with the mouse, and .NFO is the program's from then on (its command and its old
# handler's backup are the shell test's); the second start opens no dialog, and the File menu's first recent
# item is the document the first showed; Alt+F4 and Esc end the viewer with exit code 0. Names in any script
# open from the command line, Page Down and the recent files.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
"$WINE" reg delete 'HKLM\Software\Molvo\Quillpane' /v Times /f "$QP_REG_VIEW" >>"$QP_TMP/wine.log" 2>&1
mkdir "$QP_TMP/art"
printf 'one\r\n' >"$QP_TMP/art/日本.nfo"
printf 'two\r\n' >"$QP_TMP/art/Ελλάδα.diz"
printf 'two\r\n' >"$QP_TMP/two.diz"

# From a console in the program's folder, by its bare name. The dialog opens at the first paint, before the
# document is laid out: the window gets its title and status texts only once the dialog is closed.
cd "$(dirname "$QP_EXE")"
"$WINE" cmd /c quillpane.exe "$(qp_winpath "$QP_TMP/art/日本.nfo")" >>"$QP_TMP/wine.log" 2>&1 & QP_VIEWER=$!
qp_until 'config!=' "the first start opened no Configuration dialog"
qp_expect_eq "first start: the dialog's owner" main "$(qp_get config_owner)"
qp_click_in config_1002 # NFO
qp_until config_1002_check=1 "a click on NFO did not tick it"
qp_click_in config_1010 # OK
qp_shown "OK did not close the dialog and show the document"
qp_expect_eq '.NFO' Quillpane "$(qp_reg_value 'HKCR\.NFO')"

qp_expect_eq "the title of a name in any script" "$(qp_title "$QP_TMP/art/日本.nfo")" "$(qp_get title)"
qp_expect_eq "its length and place" "anttkn:5 1/2" "$(qp_get status0 | cut -d, -f1) $(qp_get status1)"
qp_keys Next
qp_until "title=$(qp_title "$QP_TMP/art/Ελλάδα.diz")" status1=2/2 "Page Down did not show the Greek name"
qp_expect_exit "Alt+F4" qp_keys alt+F4

qp_start_viewer "$QP_TMP/two.diz"
[ -z "$(qp_get config)" ] || qp_fail "the second start opened the Configuration dialog"
# Alt+F opens the File menu on Load; Save as, Copy picture, Config, Information, then the first recent item.
qp_keys alt+f Down Down Down Down Down Return
qp_until "title=$(qp_title "$QP_TMP/art/Ελλάδα.diz")" "the first recent item did not show the document left open"
qp_expect_exit "Esc" qp_keys Escape
echo "PASS: the first start registers and asks, the second does not; the recent item comes back; names in any script open"
