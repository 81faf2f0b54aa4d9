#!/usr/bin/env bash
# PNG export of a 512 KB document, whole process: quillpane.exe --png under
# Wine against Debian's ansilove, best of five each, in one run; then the
# render and the encoding timed inside the process. Runs inside
# `scripts/wine-session exec` (which sets $WINE) from `make bench`:
#   bench/png_export_bench.sh QUILLPANE_EXE PNG_EXPORT_BENCHMARK_EXE CORPUS_DIR
# The document: the corpus's .nfo files, concatenated in name order (again
# and again until there is enough), without the bytes 0x1A (where ansilove
# stops reading) and 0x00 (where the viewer's document ends), cut to
# 524288 bytes.
set -euo pipefail
exe=$1 inside=$2 corpus=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/qp-png-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
document=$work/bench.nfo

mapfile -d '' files < <(find "$corpus" -iname '*.nfo' -print0 | LC_ALL=C sort -z)
[ ${#files[@]} -gt 0 ] || { echo "png-bench: no .nfo files in $corpus" >&2; exit 1; }
while [ "$(stat -c %s "$document" 2>/dev/null || echo 0)" -lt 524288 ]; do
  cat "${files[@]}" | tr -d '\000\032' >>"$document"
done
truncate -s 524288 "$document"

best() { # COMMAND...: the best of five runs, in ms with one decimal
  local best=999999 start end ms
  for _ in 1 2 3 4 5; do
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || { echo "png-bench: failed: $*" >&2; exit 1; }
    end=$EPOCHREALTIME
    ms=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", (e - s) * 1000 }')
    best=$(awk -v a="$best" -v b="$ms" 'BEGIN { print (b < a ? b : a) }')
  done
  echo "$best"
}

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
