#!/usr/bin/env bash
# Start-up as a user sees it. For every sample the window title names the
# document in lower case; status part 0 counts the document's bytes up to
# its first zero byte, with the line feed the viewer appends when the text
# does not end with one, and shows a valid file handle and the stored run
# count; part 1 gives the document's place among the recognised files of
# its folder (.nfo first, then .diz, .ans, .asc). A missing file shows the
# message page, a handle of -1 and 0/0.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

suffix=" - Quillpane 0.8.8 beta"

expect_title() {
  local path
  path=$(qp_winpath "$2")
  qp_expect_eq "$1: title" "${path,,}$suffix" "$(qp_get title)"
}

# Status bar part 0 of an opened DOCUMENT.
expect_status0() {
  local status0 length
  status0=$(qp_get status0)
  length=$(python3 -c 'import sys
t = open(sys.argv[1], "rb").read().split(b"\0")[0]
print(len(t) + (not t.endswith(b"\n")))' "$2")
  [[ $status0 =~ ^anttkn:[0-9]+,\ filhantag:([0-9]+), ]] || qp_fail "$1: status part 0 reads '$status0'"
  qp_expect_eq "$1: status part 0" "anttkn:$length, filhantag:${BASH_REMATCH[1]}, runtimes:$(qp_get runs)" \
    "$status0"
}

# The recognised files of the folder in listing order. Within one extension
# the order is the directory search's own, so a document's place is only
# known to lie within its extension's group [first, last].
listed=() first=() last=()
for extension in nfo diz ans asc; do
  start=${#listed[@]}
  for file in "$QP_SOURCE_DIR"/samples/*; do
    name=${file##*/}
    if [ -f "$file" ] && [[ ${name,,} == *."$extension" ]]; then listed+=("$file"); fi
  done
  for ((i = start; i < ${#listed[@]}; i++)); do first[i]=$((start + 1)) last[i]=${#listed[@]}; done
done
total=${#listed[@]}
[ "$total" -ge 4 ] || qp_fail "samples/ should hold a file of each recognised type, found $total"

for ((i = 0; i < total; i++)); do
  document=${listed[i]}
  name=${document##*/}
  qp_start_viewer "$document"
  expect_title "$name" "$document"
  expect_status0 "$name" "$document"
  status1=$(qp_get status1)
  if [[ ! $status1 =~ ^([0-9]+)/$total$ ]] || ((BASH_REMATCH[1] < first[i] || BASH_REMATCH[1] > last[i])); then
    qp_fail "$name: status part 1 reads '$status1', expected ${first[i]}..${last[i]}/$total"
  fi
  qp_log "ok: $name: status part 1 = '$status1'"
done

# A file that cannot be opened: its path stays in the title, the message
# takes the place of the document, in a view of the smallest width, 200
# pixels.
missing="$QP_TMP/no-such-folder/Missing.NFO"
qp_start_viewer "$missing"
expect_title "missing file" "$missing"
qp_expect_eq "missing file: status part 0" "anttkn:24, filhantag:-1, runtimes:$(qp_get runs)" "$(qp_get status0)"
qp_expect_eq "missing file: status part 1" "0/0" "$(qp_get status1)"
printf 'Could not find the file\n' >"$QP_TMP/message.txt"
qp_expect_picture "missing file: the message page" "$QP_TMP/message.txt" 0 200 8

# A document that stops at a zero byte, the bytes before it not ended by a
# line feed: two rows, the longer one 34 columns with the appended line feed.
document="$QP_SOURCE_DIR/tests/data/e2e_zero_byte_unterminated.txt"
qp_start_viewer "$document"
expect_status0 "zero byte" "$document"
qp_expect_picture "zero byte: the text before it" "$document" 0 272 16

echo "PASS: status bar and title"
