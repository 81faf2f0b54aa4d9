# shellcheck shell=bash
# Helpers of the end-to-end tests, sourced by tests/e2e/test_*.sh inside `scripts/wine-session exec --fresh`
# (DISPLAY, WINE, a WINEPREFIX of their own, whose programs all run in one virtual desktop); CTest sets
# QP_EXE, QP_PROBE and QP_SOURCE_DIR. The probe (probe.cpp) watches the viewer from the same desktop. Input is
# real X input from xdotool: the desktop's X window sits at the root's (0, 0), so Wine screen coordinates are
# X ones.
set -euo pipefail
: "${QP_EXE:?}" "${QP_PROBE:?}" "${QP_SOURCE_DIR:?}" "${WINE:?}" "${DISPLAY:?}" "${QP_REG_VIEW:?}"

QP_TMP=$(mktemp -d "${TMPDIR:-/tmp}/qp-e2e.XXXXXX")
QP_WAIT=${QP_WAIT:-60} # seconds for the viewer's start and each reaction
QP_RUNS=0

qp_cleanup() { # only what this script started; the session stops Wine
  [ -z "${QP_VIEWER:-}" ] || kill "$QP_VIEWER" 2>/dev/null || true
  wait
  if [ -n "${QP_KEEP_TMP:-}" ]; then echo "e2e: kept $QP_TMP" >&2; else rm -rf "$QP_TMP"; fi
}
trap qp_cleanup EXIT

qp_fail() {
  echo "FAIL: $*" >&2
  [ -f "${QP_OUT:-}" ] && sed 's/^/  probe: /' "$QP_OUT" >&2
  QP_KEEP_TMP=1
  exit 1
}

qp_expect_eq() {
  [ "$2" = "$3" ] || qp_fail "$1: expected '$2', got '$3'"
  echo "e2e: ok: $1 = '$3'"
}

qp_winpath() { realpath -m "$1" | sed 's|/|\\|g; s|^|Z:|'; } # Z: maps the Linux root in every prefix

qp_title() { echo "$(qp_winpath "$1") - Quillpane 0.8.8 beta"; } # of FILE shown, its case kept

qp_poll() { # SECONDS COMMAND...: every 0.1 s until COMMAND succeeds
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

qp_get() { sed -n "s/^$1=//p" "$QP_OUT"; } # from the last probe's output

# CONDITION... MESSAGE: fails with MESSAGE unless the probe sees every
# CONDITION (KEY=VALUE or KEY!=VALUE) come true.
qp_until() {
  QP_OUT=$QP_TMP/probe-$((++QP_RUNS)).txt
  timeout $((QP_WAIT + 60)) "$WINE" "$QP_PROBE" $((QP_WAIT * 1000)) "${@:1:$#-1}" 2>>"$QP_TMP/wine.log" |
    tr -d '\r' >"$QP_OUT" || qp_fail "${@: -1}"
}

qp_rect() { # KEY VAR...: the probe's rectangle KEY into variables named by the caller
  [ -n "$(qp_get "$1")" ] || qp_fail "the probe reported no $1"
  read -r "${@:2}" <<<"$(qp_get "$1")"
}

qp_shown() { qp_until 'status0!=' 'title!=Quillpane' "$1"; } # the first paint titled the window

# Starts the viewer on a document. Wine quotes an argument that holds a blank, and the viewer's path is what
# follows the last double quote of its command line: the path goes cut at its blanks, which Wine joins again.
qp_start_viewer() {
  # shellcheck disable=SC2046
  "$WINE" "$QP_EXE" $(qp_winpath "$1") >>"$QP_TMP/wine.log" 2>&1 &
  QP_VIEWER=$!
  qp_shown "the viewer did not start on $1"
}

qp_click_in() { # KEY: a click in the middle of the probe's rectangle KEY
  local left top right bottom
  qp_rect "$1" left top right bottom
  xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 1 # not --sync: it can stall in Wine
}

# Makes the viewer the foreground window (a click on its caption does nothing else) and leaves the pointer
# over it, so that keys reach it.
qp_focus() {
  local left top right _bottom
  qp_until found=1 "no viewer window"
  qp_rect window left top right _bottom
  xdotool mousemove $(((left + right) / 2)) $((top + 10))
  [ "$(qp_get foreground)" = 1 ] || { xdotool click 1 && qp_until foreground=1 "the viewer is not in front"; }
}

qp_keys() { qp_focus && xdotool key --delay 50 "$@"; }

qp_expect_exit() { # WHAT COMMAND...: COMMAND ends the viewer's process with exit code 0
  local status=0
  "${@:2}"
  qp_poll "$QP_WAIT" test ! -e "/proc/$QP_VIEWER" || qp_fail "$1: the viewer's process did not end"
  wait "$QP_VIEWER" || status=$?
  qp_expect_eq "$1: exit code" 0 "$status"
}

qp_reg_value() { # KEY [NAME]: the text of the value (the default one without NAME), in the viewer's view
  "$WINE" reg query "$1" ${2:+/v} "${2:-/ve}" "$QP_REG_VIEW" 2>/dev/null | tr -d '\r' |
    sed -n 's/^    .*    REG_[A-Z_]*    //p'
}
