# Shared helpers of the end-to-end tests, sourced by tests/e2e/test_*.sh.
#
# Each test runs inside `scripts/wine-session exec --fresh`, which provides
# DISPLAY, WINEPREFIX (a copy of the booted prefix for this test alone) and
# WINE, and stops this prefix's wineserver afterwards. CTest adds QP_EXE,
# QP_PROBE and QP_SOURCE_DIR.
#
# The viewer runs in a Wine virtual desktop of its own name; the probe
# (tests/e2e/probe.cpp) is started in the same desktop to look at it, and
# writes what it sees into a file, since a program started through explorer
# has no way back to our stdout. Input is real X input from xdotool: the
# desktop's X window sits at the root's (0, 0), so Wine screen coordinates
# are X coordinates.
#
# Every wait is a poll with a bound; nothing sleeps for a fixed time to let
# the program "settle".

set -euo pipefail

: "${QP_EXE:?QP_EXE must name the built quillpane.exe}"
: "${QP_PROBE:?QP_PROBE must name the built qp_probe.exe}"
: "${QP_SOURCE_DIR:?QP_SOURCE_DIR must name the source tree}"
: "${WINE:?run inside scripts/wine-session exec}"
: "${DISPLAY:?run inside scripts/wine-session exec}"

QP_DESKTOP="qp-e2e-$$"
QP_DESKTOP_SIZE=1024x768
QP_TMP=$(mktemp -d "${TMPDIR:-/tmp}/qp-e2e.XXXXXX")
QP_GLYPHS="$QP_SOURCE_DIR/src/resources/glyphs.bmp"
QP_COMPARE="$QP_SOURCE_DIR/tests/e2e/compare_glyphs.py"
# Bounds, in milliseconds, for the viewer's start and for each reaction to
# input. Generous: a loaded machine is slow, but a hung viewer still fails.
QP_START_MS=${QP_START_MS:-60000}
QP_REACT_MS=${QP_REACT_MS:-20000}

QP_PIDS=()
QP_PROBE_RUNS=0
QP_VIEWER_PID=""
declare -A QP_INFO=()

qp_cleanup() {
  local pid
  # Only what this script started; the session stops the prefix's
  # wineserver, and with it every Windows process, after the test.
  for pid in "${QP_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${QP_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  if [ -n "${QP_KEEP_TMP:-}" ]; then
    echo "e2e: kept $QP_TMP" >&2
  else
    rm -rf "$QP_TMP"
  fi
}
trap qp_cleanup EXIT

qp_log() { echo "e2e: $*" >&2; }

qp_fail() {
  echo "FAIL: $*" >&2
  if [ -n "${QP_LAST_PROBE:-}" ] && [ -f "$QP_LAST_PROBE" ]; then
    echo "--- last probe output ($QP_LAST_PROBE)" >&2
    cat "$QP_LAST_PROBE" >&2
  fi
  exit 1
}

# Checks that two values are equal; the message names what was checked.
qp_expect_eq() {
  local what=$1 expected=$2 actual=$3
  if [ "$expected" != "$actual" ]; then
    qp_fail "$what: expected '$expected', got '$actual'"
  fi
  qp_log "ok: $what = '$actual'"
}

# Z: maps the Linux root in every prefix.
qp_winpath() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s\n' "${path//\//\\}"
}

# Polls CONDITION (a command) every 0.1 s until it succeeds or SECONDS pass.
qp_poll() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# Runs the probe in the viewer's desktop with ARGS; its output file's path is
# left in QP_LAST_PROBE and its key=value lines in QP_INFO. Returns the
# probe's own exit status (0 done, 1 a wait ran out or no window, 2 misuse).
# The bound on the whole run is the largest millisecond count among ARGS
# plus a margin for starting a Windows process.
qp_probe() {
  local arg bound_ms=0
  for arg in "$@"; do
    if [[ $arg =~ ^[0-9]+$ ]] && [ "$arg" -gt "$bound_ms" ]; then bound_ms=$arg; fi
  done
  QP_PROBE_RUNS=$((QP_PROBE_RUNS + 1))
  local out="$QP_TMP/probe-$QP_PROBE_RUNS.txt"
  QP_LAST_PROBE=$out
  "$WINE" explorer "/desktop=$QP_DESKTOP,$QP_DESKTOP_SIZE" "$(qp_winpath "$QP_PROBE")" \
    --out "$(qp_winpath "$out")" "$@" >>"$QP_TMP/wine.log" 2>&1 &
  local launcher=$!
  QP_PIDS+=("$launcher")
  if ! qp_poll $((bound_ms / 1000 + 60)) test -f "$out"; then
    qp_fail "the probe ($*) wrote no result"
  fi
  QP_INFO=()
  local line
  while IFS= read -r line; do
    [[ $line == *=* ]] || continue
    QP_INFO["${line%%=*}"]="${line#*=}"
  done <"$out"
  local status=${QP_INFO[exit]:-2}
  return "$status"
}

# Value of KEY in the last probe output ("" when absent).
qp_get() { printf '%s' "${QP_INFO[$1]:-}"; }

# Starts the viewer on DOCUMENT (a Linux path; with a second argument
# "--as-is" it is passed to the viewer unchanged) and waits for its first
# paint: the window is titled and the status bar written.
qp_start_viewer() {
  local document=$1
  if [ "${2:-}" != --as-is ]; then document=$(qp_winpath "$document"); fi
  "$WINE" explorer "/desktop=$QP_DESKTOP,$QP_DESKTOP_SIZE" "$(qp_winpath "$QP_EXE")" "$document" \
    >>"$QP_TMP/wine.log" 2>&1 &
  QP_PIDS+=("$!")
  qp_probe wait "$QP_START_MS" || qp_fail "the viewer did not start on $document"
  QP_VIEWER_PID=$(qp_get pid)
  qp_log "viewer started on $document (window $(qp_get window))"
}

# Refreshes QP_INFO; fails when the window is gone.
qp_info() { qp_probe info || qp_fail "no viewer window"; }

# Polls until the probe's KEY has VALUE (or, with KEY!=VALUE, until it
# differs); fails with MESSAGE when it does not happen within the bound.
qp_until() {
  local condition=$1 message=$2
  qp_probe until "$QP_REACT_MS" "$condition" || qp_fail "$message"
}

# Four numbers of a rectangle value "L T R B" into the named variables.
qp_rect() {
  local value
  value=$(qp_get "$1")
  [ -n "$value" ] || qp_fail "the probe reported no $1"
  read -r "$2" "$3" "$4" "$5" <<<"$value"
}

qp_click() {
  xdotool mousemove --sync "$1" "$2" click 1
}

# Makes the viewer the foreground window with a click into the middle of its
# caption, which does nothing else, and waits until Windows agrees.
qp_focus() {
  local left top right bottom
  qp_info
  if [ "$(qp_get foreground)" = 1 ]; then return 0; fi
  qp_rect window left top right bottom
  qp_click $(((left + right) / 2)) $((top + 10))
  qp_until foreground=1 "the viewer did not become the foreground window"
}

# Presses KEYS (xdotool key names) with the viewer focused.
qp_keys() {
  qp_focus
  xdotool key --delay 50 "$@"
}

# Waits for the main window to go away and its process to end.
qp_expect_viewer_ended() {
  local why=$1
  qp_probe gone "$QP_REACT_MS" || qp_fail "$why: the viewer's window is still there"
  qp_probe exited "$QP_VIEWER_PID" "$QP_REACT_MS" || qp_fail "$why: the viewer's process still runs"
  qp_log "ok: $why ends the viewer"
}

# Copies client rectangle X Y W H of the viewer into FILE (24-bit BMP).
qp_capture() {
  qp_probe capture "$1" "$2" "$3" "$4" "$(qp_winpath "$5")" || qp_fail "capture of $*"
}
