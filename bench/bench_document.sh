# shellcheck shell=bash
# bench_document CORPUS_DIR FILE: the 512 KB document of the PNG export
# benchmarks: the corpus's .nfo files, concatenated in name order (again
# and again until there is enough), without the bytes 0x1A (where ansilove
# stops reading) and 0x00 (where the viewer's document ends), cut to
# 524288 bytes.
bench_document() {
  local corpus=$1 document=$2 files
  mapfile -d '' files < <(find "$corpus" -iname '*.nfo' -print0 | LC_ALL=C sort -z)
  [ ${#files[@]} -gt 0 ] || { echo "png-bench: no .nfo files in $corpus" >&2; return 1; }
  : >"$document"
  while [ "$(stat -c %s "$document")" -lt 524288 ]; do
    cat "${files[@]}" | tr -d '\000\032' >>"$document"
  done
  truncate -s 524288 "$document"
}

# best COMMAND...: the best of five runs of COMMAND, in ms with one decimal.
best() {
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

# median COMMAND...: the median of five runs of COMMAND, in ms with one decimal.
median() {
  local start end
  for _ in 1 2 3 4 5; do
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || { echo "bench: failed: $*" >&2; exit 1; }
    end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f\n", (e - s) * 1000 }'
  done | sort -n | sed -n 3p
}
