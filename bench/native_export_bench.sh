#!/usr/bin/env bash
# The native exporter, whole processes, for `make bench`:
#   bench/native_export_bench.sh QUILLPANE_EXPORT CORPUS_DIR
# png-512k-native: quillpane-export --png of the 512 KB document of
# png-512k against Debian's ansilove, best of five each, in one run.
# thumbnail: quillpane-export --thumbnail 256 --colour of every recognised
# corpus file (.nfo, .diz, .ans, .asc in any case), one process a file, as
# a file manager runs the thumbnailer; the median.
set -euo pipefail
exe=$1 corpus=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/qp-native-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
# shellcheck source=bench/bench_document.sh
source "$(dirname "$0")/bench_document.sh"
document=$work/bench.nfo
bench_document "$corpus" "$document"

"$exe" --png "$work/warm.png" "$document" # a warm disk cache
quillpane=$(best "$exe" --png "$work/quillpane.png" "$document")
ansilove=$(best ansilove -o "$work/ansilove.png" "$document")
awk -v q="$quillpane" -v a="$ansilove" \
  'BEGIN { printf "png-512k-native: quillpane %.1f ms, ansilove %.1f ms, ratio %.1fx\n", q, a, a / q }'

mapfile -d '' files < <(find "$corpus" -type f \( -iname '*.nfo' -o -iname '*.diz' -o -iname '*.ans' \
  -o -iname '*.asc' \) -print0 | LC_ALL=C sort -z)
[ ${#files[@]} -gt 0 ] || { echo "thumbnail: no recognised files in $corpus" >&2; exit 1; }
failed=0
for file in "${files[@]}"; do
  start=$EPOCHREALTIME
  "$exe" --thumbnail 256 --colour --png "$work/thumbnail.png" "$file" >/dev/null 2>&1 || failed=$((failed + 1))
  end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) * 1000 }'
done >"$work/times.txt"
sort -n "$work/times.txt" | awk -v n=${#files[@]} -v failed=$failed '
  { t[NR] = $1 }
  END {
    median = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
    printf "thumbnail: median %.1f ms over %d corpus files (slowest %.1f ms, %d failed)\n", median, n, t[NR], failed
  }'
