#!/usr/bin/env bash
# PNG export of a 512 KB document, whole process: quillpane.exe --png under
# Wine against Debian's ansilove, best of five each, in one run; then the
# render and the encoding timed inside the process. Runs inside
# `scripts/wine-session exec` (which sets $WINE) from `make bench`:
#   bench/png_export_bench.sh QUILLPANE_EXE PNG_EXPORT_BENCHMARK_EXE CORPUS_DIR
# The document is bench_document's (bench/bench_document.sh).
set -euo pipefail
exe=$1 inside=$2 corpus=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/qp-png-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
document=$work/bench.nfo
# shellcheck source=bench/bench_document.sh
source "$(dirname "$0")/bench_document.sh"
bench_document "$corpus" "$document"

# The server stays up between runs (it may be up already): Wine's start is
# timed, not its boot.
wineserver -p 2>/dev/null || true
"$WINE" "$exe" --png "$work/warm.png" "$document" # and a warm disk cache
quillpane=$(best "$WINE" "$exe" --png "$work/quillpane.png" "$document")
ansilove=$(best ansilove -o "$work/ansilove.png" "$document")
describe() { echo "$(file -b "$1" | cut -d, -f2-3 | sed 's/^ //'), $(stat -c %s "$1") bytes"; }
echo "png-512k-files: quillpane $(describe "$work/quillpane.png"); ansilove $(describe "$work/ansilove.png")"
awk -v q="$quillpane" -v a="$ansilove" \
  'BEGIN { printf "png-512k: quillpane %.1f ms, ansilove %.1f ms, ratio %.1fx\n", q, a, a / q }'
"$WINE" "$inside" "$document" | tr -d '\r' | grep '^png-512k-inside:'
