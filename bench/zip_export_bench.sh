#!/usr/bin/env bash
# A pack of the whole corpus exported natively, for `make bench`:
#   bench/zip_export_bench.sh QUILLPANE_EXPORT CORPUS_DIR
# zip-export: one quillpane-export --colour --png DIR/ corpus.zip (best of
# three) against Debian's ansilove run once per file of the pack as it lies
# unpacked, as its users convert a pack: every art file but Avatar's, which
# ansilove does not read. Per-file times and their ratio.
set -euo pipefail
exe=$1 corpus=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/qp-zip-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$corpus" && zip -q -r "$work/corpus.zip" .)
mkdir "$work/pack"

best=999999
for _ in 1 2 3; do
  start=$EPOCHREALTIME
  "$exe" --colour --png "$work/pack/" "$work/corpus.zip" >/dev/null 2>&1 || true
  end=$EPOCHREALTIME
  best=$(awk -v b="$best" -v s="$start" -v e="$end" 'BEGIN { ms = (e - s) * 1000; print (ms < b ? ms : b) }')
done
entries=$(find "$work/pack" -name '*.png' | wc -l)

mapfile -d '' files < <(find "$corpus" -type f -regextype posix-extended \
  -iregex '.*\.(nfo|diz|ans|asc|xb|bin|adf|idf|tnd|pcb)' -print0 | LC_ALL=C sort -z)
start=$EPOCHREALTIME
for file in "${files[@]}"; do ansilove -o "$work/ansilove.png" "$file" >/dev/null 2>&1 || true; done
end=$EPOCHREALTIME
awk -v n="$entries" -v q="$best" -v m=${#files[@]} -v s="$start" -v e="$end" 'BEGIN {
  a = (e - s) * 1000 / m
  printf "zip-export: %d entries in %.1f ms, ansilove per file %.1f ms, ratio %.1fx\n", n, q, a, a / (q / n)
}'
