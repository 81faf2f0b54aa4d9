# shellcheck shell=bash
# Helpers of the end-to-end tests, sourced by tests/e2e/test_*.sh. They run
# inside `scripts/wine-session exec --fresh` (DISPLAY, WINE, a WINEPREFIX of
# their own); CTest sets QP_EXE, QP_PROBE and QP_SOURCE_DIR, and its
# resource lock keeps two tests off the display at once.
#
# Each viewer runs in a Wine virtual desktop of its own. The probe
# (probe.cpp) is started in the same desktop and writes what it sees into a
# file, since explorer /desktop does not pass a program's stdout back. Input
# is real X input from xdotool: the desktop's X window sits at the root's
# (0, 0), so Wine screen coordinates are X coordinates. Every wait is a
# bounded poll.
set -euo pipefail
: "${QP_EXE:?}" "${QP_PROBE:?}" "${QP_SOURCE_DIR:?}" "${WINE:?}" "${DISPLAY:?}"

QP_TMP=$(mktemp -d "${TMPDIR:-/tmp}/qp-e2e.XXXXXX")
QP_START_MS=${QP_START_MS:-60000} # the viewer's start
QP_REACT_MS=${QP_REACT_MS:-20000} # each reaction to input
QP_RUNS=0
QP_PIDS=()
declare -A QP_INFO=()

qp_cleanup() {
  # Only what this script started; the session then stops the prefix's
  # wineserver, and with it every Windows process.
  local pid
  for pid in "${QP_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait
  if [ -n "${QP_KEEP_TMP:-}" ]; then echo "e2e: kept $QP_TMP" >&2; else rm -rf "$QP_TMP"; fi
}
trap qp_cleanup EXIT

qp_log() { echo "e2e: $*"; }

qp_fail() {
  echo "FAIL: $*" >&2
  if [ -f "${QP_OUT:-}" ]; then sed 's/^/  probe: /' "$QP_OUT" >&2; fi
  QP_KEEP_TMP=1
  exit 1
}

qp_expect_eq() {
  [ "$2" = "$3" ] || qp_fail "$1: expected '$2', got '$3'"
  qp_log "ok: $1 = '$3'"
}

# Z: maps the Linux root in every prefix.
qp_winpath() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s\n' "${path//\//\\}"
}

# Runs COMMAND every 0.1 s until it succeeds, for at most SECONDS.
qp_poll() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# Starts a Windows program with arguments in the current desktop.
qp_launch() {
  "$WINE" explorer "/desktop=$QP_DESKTOP,1024x768" "$@" >>"$QP_TMP/wine.log" 2>&1 &
  QP_PIDS+=("$!")
}

# Starts the probe with ARGS (see probe.cpp) and returns at once.
qp_probe_start() {
  QP_RUNS=$((QP_RUNS + 1))
  QP_OUT="$QP_TMP/probe-$QP_RUNS.txt"
  qp_launch "$(qp_winpath "$QP_PROBE")" "$(qp_winpath "$QP_OUT")" "$@"
}

# Waits for the output of the probe started last, reads it into QP_INFO and
# returns the probe's exit status.
qp_probe_result() {
  local line
  qp_poll $((QP_START_MS / 1000 + 60)) test -f "$QP_OUT" || qp_fail "the probe wrote nothing"
  QP_INFO=()
  while IFS= read -r line; do
    line=${line%$'\r'}
    QP_INFO["${line%%=*}"]=${line#*=}
  done <"$QP_OUT"
  return "${QP_INFO[exit]:-2}"
}

qp_probe() {
  qp_probe_start "$@"
  qp_probe_result
}

# KEY's value in the last probe output.
qp_get() { printf '%s' "${QP_INFO[$1]:-}"; }

# Starts the viewer on DOCUMENT in a new desktop, so that the probe sees
# only this viewer, and waits for its first paint.
qp_start_viewer() {
  QP_DESKTOP="qp-e2e-$$-$QP_RUNS"
  qp_launch "$(qp_winpath "$QP_EXE")" "$(qp_winpath "$1")"
  qp_probe wait "$QP_START_MS" || qp_fail "the viewer did not start on $1"
  QP_VIEWER_PID=$(qp_get pid)
}

qp_until() { qp_probe until "$QP_REACT_MS" "$1" || qp_fail "$2"; }

qp_info() { qp_until found=1 "no viewer window"; }

# The four numbers of rectangle KEY ("left top right bottom") into the
# variables named next.
qp_rect() {
  [ -n "$(qp_get "$1")" ] || qp_fail "the probe reported no $1"
  read -r "$2" "$3" "$4" "$5" <<<"$(qp_get "$1")"
}

# Not mousemove --sync: it can stall in a Wine desktop.
qp_click() { xdotool mousemove "$1" "$2" click 1; }

# Makes the viewer the foreground window, with a click on its caption (which
# does nothing else) when needed, and leaves the pointer over the desktop's
# X window, so that keys reach it whatever X's focus mode.
qp_focus() {
  local left top right _bottom
  qp_info
  qp_rect window left top right _bottom
  xdotool mousemove $(((left + right) / 2)) $((top + 10))
  if [ "$(qp_get foreground)" != 1 ]; then
    xdotool click 1
    qp_until foreground=1 "the viewer did not become the foreground window"
  fi
}

qp_keys() {
  qp_focus
  xdotool key --delay 50 "$@"
}

# Before an action that should end the viewer: a probe takes hold of its
# process, so that its exit code can be read after the end.
qp_watch_exit() {
  qp_probe_start exited "$QP_START_MS" "$QP_VIEWER_PID"
  QP_WATCH=$QP_OUT
  qp_poll 60 test -e "$QP_OUT.ready" || qp_fail "the probe did not take hold of the viewer"
}

# After it: the process has ended with exit code 0 and the window is gone.
qp_expect_ended() {
  QP_OUT=$QP_WATCH
  qp_probe_result || qp_fail "$1: the viewer's process did not end"
  qp_expect_eq "$1: exit code" 0 "$(qp_get exit_code)"
  qp_until found=0 "$1: the viewer's window is still there"
}

# Polls until the W x H pixels at the picture's origin show DOCUMENT's
# glyphs at zoom 8 from line FIRST_LINE on (a paint reaches the screen a
# little after the state the probe reads), drawn from SHEET (the built-in
# sheet when none is named).
qp_expect_picture() {
  local what=$1 document=$2 first_line=$3 width=$4 height=$5
  local sheet=${6:-$QP_SOURCE_DIR/src/resources/glyphs.bmp}
  qp_probe picture "$QP_REACT_MS" "$(qp_winpath "$sheet")" \
    "$(qp_winpath "$document")" "$first_line" "$width" "$height" ||
    qp_fail "$what: the picture is not the document's glyphs"
  qp_log "ok: $what: picture"
}
