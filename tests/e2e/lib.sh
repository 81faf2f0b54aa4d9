# shellcheck shell=bash
# Helpers of the end-to-end tests, sourced by tests/e2e/test_*.sh inside
# `scripts/wine-session exec --fresh` (DISPLAY, WINE, a WINEPREFIX of their
# own); CTest sets QP_EXE, QP_PROBE and QP_SOURCE_DIR. Each viewer runs in a
# Wine virtual desktop of its own, where the probe (probe.cpp) watches it.
# Input is real X input from xdotool: the desktop's X window sits at the
# root's (0, 0), so Wine screen coordinates are X coordinates.
set -euo pipefail
: "${QP_EXE:?}" "${QP_PROBE:?}" "${QP_SOURCE_DIR:?}" "${WINE:?}" "${DISPLAY:?}" "${QP_REG_VIEW:?}"

QP_TMP=$(mktemp -d "${TMPDIR:-/tmp}/qp-e2e.XXXXXX")
QP_WAIT=${QP_WAIT:-60} # seconds for the viewer's start and each reaction
QP_RUNS=0
QP_PIDS=()
declare -A QP_INFO=()

qp_cleanup() { # only what this script started; the session stops Wine
  local pid
  for pid in "${QP_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
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

qp_winpath() { # Z: maps the Linux root in every prefix
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s\n' "${path//\//\\}"
}

qp_poll() { # SECONDS COMMAND...: every 0.1 s until COMMAND succeeds
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

qp_launch() { # a Windows program with arguments, in the current desktop
  "$WINE" explorer "/desktop=$QP_DESKTOP,1024x768" "$@" >>"$QP_TMP/wine.log" 2>&1 &
  QP_PIDS+=("$!")
}

qp_probe_start() { # the probe's arguments after OUT; returns at once
  QP_RUNS=$((QP_RUNS + 1))
  QP_OUT="$QP_TMP/probe-$QP_RUNS.txt"
  qp_launch "$(qp_winpath "$QP_PROBE")" "$(qp_winpath "$QP_OUT")" "$1" $((QP_WAIT * 1000)) "${@:2}"
}

qp_probe_result() { # the last probe's output into QP_INFO; returns its status
  local line
  qp_poll $((QP_WAIT + 60)) test -f "$QP_OUT" || qp_fail "the probe wrote nothing"
  QP_INFO=()
  while IFS= read -r line; do
    line=${line%$'\r'}
    QP_INFO["${line%%=*}"]=${line#*=}
  done <"$QP_OUT"
  return "${QP_INFO[exit]:-2}"
}

qp_get() { printf '%s' "${QP_INFO[$1]:-}"; }

qp_until() { qp_probe_start until "$1" && qp_probe_result || qp_fail "$2"; } # KEY=VALUE or KEY!=VALUE

qp_rect() { # KEY LEFT TOP RIGHT BOTTOM: a rectangle into variables named by the caller
  [ -n "$(qp_get "$1")" ] || qp_fail "the probe reported no $1"
  read -r "$2" "$3" "$4" "$5" <<<"$(qp_get "$1")"
}

# Starts the viewer on a document in a desktop of its own, so that the probe
# sees only this viewer, and waits for its first paint.
qp_start_viewer() {
  QP_DESKTOP="qp-e2e-$$-$QP_RUNS"
  qp_launch "$(qp_winpath "$QP_EXE")" "$(qp_winpath "$1")"
  qp_probe_start wait && qp_probe_result || qp_fail "the viewer did not start on $1"
  QP_VIEWER_PID=$(qp_get pid)
}

qp_click() { xdotool mousemove "$1" "$2" click 1; } # not --sync: it can stall in a Wine desktop

# Makes the viewer the foreground window (a click on its caption does
# nothing else) and leaves the pointer over it, so that keys reach it.
qp_focus() {
  local left top right _bottom
  qp_until found=1 "no viewer window"
  qp_rect window left top right _bottom
  xdotool mousemove $(((left + right) / 2)) $((top + 10))
  [ "$(qp_get foreground)" = 1 ] || { xdotool click 1 && qp_until foreground=1 "the viewer is not in front"; }
}

qp_keys() { qp_focus && xdotool key --delay 50 "$@"; }

# Before an action that should end the viewer, a probe takes hold of its
# process (its exit code is lost once it has ended unheld); after it,
# qp_expect_ended checks exit code 0 and that the window is gone.
qp_watch_exit() {
  qp_probe_start exited "$QP_VIEWER_PID"
  QP_WATCH=$QP_OUT
  qp_poll 60 test -e "$QP_OUT.ready" || qp_fail "the probe did not take hold of the viewer"
}

qp_expect_ended() {
  QP_OUT=$QP_WATCH
  qp_probe_result || qp_fail "$1: the viewer's process did not end"
  qp_expect_eq "$1: exit code" 0 "$(qp_get exit_code)"
  qp_until found=0 "$1: the viewer's window is still there"
}

qp_reg() { "$WINE" reg "$@" "$QP_REG_VIEW" >>"$QP_TMP/wine.log" 2>&1; } # in the viewer's registry view

qp_reg_value() { # KEY [NAME]: the text of the value (the default one without NAME); fails without it
  local which=(/ve) out
  if [ -n "${2:-}" ]; then which=(/v "$2"); fi
  out=$("$WINE" reg query "$1" "${which[@]}" "$QP_REG_VIEW" 2>/dev/null) || return 1
  printf '%s\n' "$out" | tr -d '\r' | sed -n 's/^    .*    REG_[A-Z_]*    //p'
}
