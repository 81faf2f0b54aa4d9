#!/usr/bin/env bash
# F11 takes the caption, menu and status bar away and covers the monitor; F11 again brings the same window
# back; Esc then closes the viewer.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
printf '%-30s\r\n' abcdef ghijkl mnopqr >"$QP_TMP/rows.nfo"

qp_start_viewer "$QP_TMP/rows.nfo"
qp_until caption=1 menu=1 "the viewer did not start with its caption and menu"
before=$(qp_get window)
monitor=$(qp_get monitor)
qp_keys F11
qp_until caption=0 menu=0 "window=$monitor" status_bar=0 "F11 did not cover the monitor without caption, menu and status bar"
qp_keys F11
qp_until caption=1 menu=1 "window=$before" status_bar=1 "F11 again did not bring back the window as it was"
qp_expect_exit "Esc" qp_keys Escape
echo "PASS: F11 covers the monitor and comes back to the same window; Esc closes"
