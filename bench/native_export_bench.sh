#!/usr/bin/env bash
# The native exporter, whole processes, for `make bench`:
#   bench/native_export_bench.sh QUILLPANE_EXPORT CORPUS_DIR
# png-512k-native: quillpane-export --png of the 512 KB document of
# png-512k against Debian's ansilove, best of five each, in one run.
# export-memory: the peak resident memory of one whole export, for that
# document and for the 12-byte ESC[29000;80HX in colour (a page 464,000
# pixels high); target at most 64 MB each, whatever the height.
# animate: hostile plays (--animate): a 201-byte and a 9.5 KB file that
# write at the top and the bottom of a screen 29,000 rows high, at 6000
# bit/s (targets 1 s and 3 s), and an 8 MB PCBoard at 10,000,000 bit/s.
# text-out: --text, --ansi and --html of that document, each the median of
# five whole processes, beside --png's (target: each at most it); the
# record of written texts kept in the bench's folder.
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

export XDG_STATE_HOME=$work/state
png=$(median "$exe" --png "$work/median.png" "$document")
text=$(median "$exe" --text "$work/bench.txt" "$document")
ansi=$(median "$exe" --ansi "$work/bench.ans" "$document")
html=$(median "$exe" --html "$work/bench.html" "$document")
echo "text-out: --text $text ms, --ansi $ansi ms, --html $html ms for the 512 KB bench document" \
  "(--png $png ms; target each at most --png's)"

# peak COMMAND...: "MB ms", the peak resident memory and the time of one run.
peak() {
  python3 -c '
import resource, subprocess, sys, time
start = time.monotonic()
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
print("%.1f %.0f" % (resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024, (time.monotonic() - start) * 1000))
' "$@"
}
printf '\033[29000;80HX' >"$work/tall.ans"
for case in "$document|bench.nfo (512 KB document)|" "$work/tall.ans|ESC[29000;80HX (12 bytes, --colour)|--colour"; do
  IFS='|' read -r file name flag <<<"$case"
  read -r mb ms < <(peak "$exe" $flag --png "$work/memory.png" "$file")
  echo "export-memory: peak $mb MB for $name in $ms ms (target at most 64 MB)"
done

# ESC[29000;1HX, then ESC[1;1H<c>ESC[29000;80H<c> again and again, a
# different letter each time, to `size` bytes.
hostile() {
  python3 -c '
import string, sys
size, letters = int(sys.argv[1]), string.ascii_letters + string.digits
art, k = b"\x1b[29000;1HX", 0
while len(art) < size:
    c = letters[k % len(letters)].encode()
    art += b"\x1b[1;1H" + c + b"\x1b[29000;80H" + c
    k += 1
sys.stdout.buffer.write(art)
' "$1"
}
hostile 200 >"$work/hostile-201.ans"
hostile 9500 >"$work/hostile-9k.ans"
for case in "hostile-201.ans|1000" "hostile-9k.ans|3000"; do
  IFS='|' read -r name target <<<"$case"
  bytes=$(stat -c %s "$work/$name")
  read -r mb ms < <(peak "$exe" --animate 6000 --png "$work/animate.png" "$work/$name")
  echo "animate: $bytes-byte top-and-bottom play at 6000 bit/s in $ms ms, peak $mb MB," \
    "$(($(stat -c %s "$work/animate.png") >> 10)) KB (target at most $target ms)"
done
pcboard=$(find "$corpus" -name 'SCREEN4.PCB' -print -quit)
if [ -n "$pcboard" ]; then
  # The PCBoard screen again and again (without its SAUCE), to 8 MB.
  python3 -c '
import sys
art = open(sys.argv[1], "rb").read().split(b"\x1a")[0]
sys.stdout.buffer.write((art * (8 * 1048576 // len(art) + 1))[:8 * 1048576])
' "$pcboard" >"$work/big.pcb"
  read -r mb ms < <(peak "$exe" --animate 10000000 --png "$work/animate.png" "$work/big.pcb")
  read -r _ still < <(peak "$exe" --colour --png "$work/still.png" "$work/big.pcb")
  echo "animate: 8 MB PCBoard at 10,000,000 bit/s in $ms ms, peak $mb MB (its still in $still ms)"
fi

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
