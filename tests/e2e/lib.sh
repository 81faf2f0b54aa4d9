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

# One test at a time per X display: desktops of two tests would overlap at
# the root's (0, 0) and take each other's input (ctest -j). Windows
# programs are started without the lock's descriptor, so that a lingering
# wineserver does not hold it.
exec {QP_DISPLAY_LOCK}>"${TMPDIR:-/tmp}/qp-e2e-display${DISPLAY//[^0-9]/_}.lock"
flock -w 240 "$QP_DISPLAY_LOCK" || { echo "FAIL: display $DISPLAY stayed busy" >&2; exit 1; }

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

qp_log() { echo "e2e: $*"; }

qp_fail() {
  echo "FAIL: $*" >&2
  # Captures and probe outputs stay for a look at what went wrong.
  QP_KEEP_TMP=1
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

# Starts the probe in the viewer's desktop with ARGS and returns at once;
# qp_probe_result collects what it wrote.
qp_probe_start() {
  QP_PROBE_RUNS=$((QP_PROBE_RUNS + 1))
  QP_PROBE_OUT="$QP_TMP/probe-$QP_PROBE_RUNS.txt"
  QP_PROBE_ARGS="$*"
  "$WINE" explorer "/desktop=$QP_DESKTOP,$QP_DESKTOP_SIZE" "$(qp_winpath "$QP_PROBE")" \
    --out "$(qp_winpath "$QP_PROBE_OUT")" "$@" >>"$QP_TMP/wine.log" 2>&1 {QP_DISPLAY_LOCK}>&- &
  QP_PIDS+=("$!")
}

# Waits for the output file of the probe started last (at most its largest
# millisecond argument plus a margin for starting a Windows process), leaves
# its path in QP_LAST_PROBE and its key=value lines in QP_INFO, and returns
# the probe's own exit status: 0 done, 1 a wait ran out or no window, 2
# misuse.
qp_probe_result() {
  local arg bound_ms=0 out=$QP_PROBE_OUT
  for arg in $QP_PROBE_ARGS; do
    if [[ $arg =~ ^[0-9]+$ ]] && [ "$arg" -gt "$bound_ms" ]; then bound_ms=$arg; fi
  done
  QP_LAST_PROBE=$out
  qp_poll $((bound_ms / 1000 + 60)) test -f "$out" || qp_fail "the probe ($QP_PROBE_ARGS) wrote no result"
  QP_INFO=()
  local line
  while IFS= read -r line; do
    line=${line%$'\r'}
    [[ $line == *=* ]] || continue
    QP_INFO["${line%%=*}"]="${line#*=}"
  done <"$out"
  return "${QP_INFO[exit]:-2}"
}

# Runs the probe with ARGS and waits for its result (see qp_probe_result).
qp_probe() {
  qp_probe_start "$@"
  qp_probe_result
}

# Value of KEY in the last probe output ("" when absent).
qp_get() { printf '%s' "${QP_INFO[$1]:-}"; }

# Starts the next viewer in a desktop of its own, so that the probe sees
# only that one; earlier viewers keep running in theirs until the session
# ends.
QP_DESKTOP_COUNT=0
qp_new_desktop() {
  QP_DESKTOP_COUNT=$((QP_DESKTOP_COUNT + 1))
  QP_DESKTOP="qp-e2e-$$-$QP_DESKTOP_COUNT"
}

# Starts the viewer on DOCUMENT (a Linux path) and waits for its first
# paint: the window is titled and the status bar written.
qp_start_viewer() {
  local document
  document=$(qp_winpath "$1")
  "$WINE" explorer "/desktop=$QP_DESKTOP,$QP_DESKTOP_SIZE" "$(qp_winpath "$QP_EXE")" "$document" \
    >>"$QP_TMP/wine.log" 2>&1 {QP_DISPLAY_LOCK}>&- &
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
  xdotool mousemove "$1" "$2" click 1
}

# Makes the viewer the foreground window, with a click on its caption (which
# does nothing else) when it is not, and leaves the pointer there, over the
# desktop's X window, so that keys reach it whatever X's focus mode.
qp_focus() {
  local left top right _bottom
  qp_info
  qp_rect window left top right _bottom
  local x=$(((left + right) / 2)) y=$((top + 10))
  if [ "$(qp_get foreground)" = 1 ]; then
    xdotool mousemove "$x" "$y"
    return 0
  fi
  qp_click "$x" "$y"
  qp_until foreground=1 "the viewer did not become the foreground window"
}

# Presses KEYS (xdotool key names) with the viewer focused.
qp_keys() {
  qp_focus
  xdotool key --delay 50 "$@"
}

# Before an action that should end the viewer: a probe takes hold of the
# viewer's process, so that its end and exit code can be seen afterwards.
qp_watch_exit() {
  local ready="$QP_TMP/watch-$((QP_PROBE_RUNS + 1)).ready"
  qp_probe_start exited "$QP_VIEWER_PID" "$QP_START_MS" "$(qp_winpath "$ready")"
  QP_WATCH_OUT=$QP_PROBE_OUT
  QP_WATCH_ARGS=$QP_PROBE_ARGS
  qp_poll 60 test -e "$ready" || qp_fail "the probe watching the viewer's process did not start"
}

# After that action: the process ends with exit code 0 and its window is
# gone.
qp_expect_viewer_ended() {
  local why=$1
  QP_PROBE_OUT=$QP_WATCH_OUT
  QP_PROBE_ARGS=$QP_WATCH_ARGS
  qp_probe_result || qp_fail "$why: the viewer's process still runs"
  qp_expect_eq "$why: exit code of the viewer" 0 "$(qp_get exit_code)"
  qp_probe gone "$QP_REACT_MS" || qp_fail "$why: the viewer's window is still there"
  qp_log "ok: $why ends the viewer"
}

# Copies client rectangle X Y W H of the viewer into FILE (24-bit BMP).
qp_capture() {
  qp_probe capture "$1" "$2" "$3" "$4" "$(qp_winpath "$5")" || qp_fail "capture of $*"
}

# The viewer's run counter, "Times" under its settings key, as stored now;
# 0 when there is none. A 32-bit viewer's key lies in the 32-bit view.
qp_stored_run_count() {
  local view=/reg:64 machine output
  machine=$(od -An -tx2 -j"$(od -An -tu4 -j60 -N4 "$QP_EXE" | tr -d ' ')" -N6 "$QP_EXE" | awk '{print $3}')
  [ "$machine" = 014c ] && view=/reg:32
  if output=$("$WINE" reg query 'HKLM\Software\Molvo\Quillpane' /v Times "$view" 2>/dev/null {QP_DISPLAY_LOCK}>&-); then
    printf '%d\n' "$(awk '$1 == "Times" {print $3}' <<<"${output//$'\r'/}")"
  else
    echo 0
  fi
}

# The status bar's count of a document: its bytes before the first zero
# byte, and the line feed the viewer appends when the text does not end with
# one.
qp_document_length() {
  python3 - "$1" <<'PY'
import sys
text = open(sys.argv[1], "rb").read().split(b"\0", 1)[0]
print(len(text) + (0 if text.endswith(b"\n") else 1))
PY
}

# Polls until client rectangle X Y W H (the picture's origin is client point
# (10, 10)) shows the glyphs of DOCUMENT at zoom 8; further arguments go to
# compare_glyphs.py (--first-row N for a scrolled view). A paint reaches the
# screen a little after the viewer's state changed, so a mismatch is only a
# failure once the bound has passed.
qp_expect_picture() {
  local what=$1 document=$2 x=$3 y=$4 width=$5 height=$6
  shift 6
  local deadline=$((SECONDS + QP_REACT_MS / 1000)) attempt=0 capture report
  while :; do
    attempt=$((attempt + 1))
    capture="$QP_TMP/picture-$QP_PROBE_RUNS.bmp"
    qp_capture "$x" "$y" "$width" "$height" "$capture"
    if report=$(python3 "$QP_COMPARE" "$capture" "$QP_GLYPHS" "$document" "$@" 2>&1); then
      qp_log "ok: $what: $report"
      return 0
    fi
    [ "$SECONDS" -lt "$deadline" ] || break
  done
  echo "$report" >&2
  qp_fail "$what: the picture is not the document's glyphs (last of $attempt captures: $capture)"
}
