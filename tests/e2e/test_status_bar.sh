#!/usr/bin/env bash
# Start-up as a user sees it: for every sample the viewer is started on, the
# window title names the document in lower case, part 0 of the status bar
# counts the document's bytes (with the line feed the viewer appends) and a
# valid file handle, part 1 gives the document's place among the recognised
# files of its folder (.nfo first, then .diz, .ans, .asc). A missing file
# shows the message page, a handle of -1 and 0/0. A document ends at its
# first zero byte.
# shellcheck source=tests/e2e/lib.sh disable=SC2154 # qp_rect assigns by name
source "$(dirname "$0")/lib.sh"

samples="$QP_SOURCE_DIR/samples"
version_suffix=" - Quillpane 0.8.8 beta"

# The recognised files of the folder in listing order. Within one extension
# the order is the directory search's own, so a document's place is only
# known to lie within its extension's group.
listed=()
group_first=()
group_last=()
for extension in nfo diz ans asc; do
  first=$((${#listed[@]} + 1))
  for file in "$samples"/*; do
    name=${file##*/}
    if [ -f "$file" ] && [[ ${name,,} == *."$extension" ]]; then
      listed+=("$file")
      group_first+=("$first")
    fi
  done
  for ((i = first; i <= ${#listed[@]}; i++)); do group_last[i - 1]=${#listed[@]}; done
done
total=${#listed[@]}
[ "$total" -ge 4 ] || qp_fail "samples/ should hold a file of each recognised type, found $total recognised files"

# runtimes shows the run counter as the viewer stored it at this start
# ("Times" under its settings key; 0 while nothing is stored).

for ((i = 0; i < total; i++)); do
  document=${listed[i]}
  name=${document##*/}
  qp_new_desktop
  qp_start_viewer "$document"

  windows_path=$(qp_winpath "$document")
  qp_expect_eq "$name: title" "${windows_path,,}$version_suffix" "$(qp_get title)"

  status0=$(qp_get status0)
  runs=$(qp_stored_run_count)
  pattern='^anttkn:([0-9]+), filhantag:(-?[0-9]+), runtimes:([0-9]+)$'
  [[ $status0 =~ $pattern ]] || qp_fail "$name: status part 0 reads '$status0'"
  handle=${BASH_REMATCH[2]}
  [ "$handle" != -1 ] || qp_fail "$name: status part 0 shows the handle of a failed open: '$status0'"
  qp_expect_eq "$name: status part 0" \
    "anttkn:$(qp_document_length "$document"), filhantag:$handle, runtimes:$runs" "$status0"

  status1=$(qp_get status1)
  [[ $status1 =~ ^([0-9]+)/([0-9]+)$ ]] || qp_fail "$name: status part 1 reads '$status1'"
  position=${BASH_REMATCH[1]}
  qp_expect_eq "$name: number of recognised files in status part 1" "$total" "${BASH_REMATCH[2]}"
  if [ "$position" -lt "${group_first[i]}" ] || [ "$position" -gt "${group_last[i]}" ]; then
    qp_fail "$name: status part 1 reads '$status1', expected position ${group_first[i]}..${group_last[i]} of $total"
  fi
  qp_log "ok: $name: status part 1 = '$status1'"
done

# A file that cannot be opened: its path stays in the title, the message
# takes the place of the document.
missing="$QP_TMP/no-such-folder/Missing.NFO"
qp_new_desktop
qp_start_viewer "$missing"
windows_path=$(qp_winpath "$missing")
qp_expect_eq "missing file: title" "${windows_path,,}$version_suffix" "$(qp_get title)"
qp_expect_eq "missing file: status part 0" \
  "anttkn:24, filhantag:-1, runtimes:$(qp_stored_run_count)" "$(qp_get status0)"
qp_expect_eq "missing file: status part 1" "0/0" "$(qp_get status1)"

# "Could not find the file" and its line feed: 24 columns, one row, in a
# view of the smallest width, 200 pixels (25 cells).
message="$QP_TMP/message.txt"
printf 'Could not find the file\n' >"$message"
qp_expect_picture "missing file: the message page" "$message" 10 10 200 8

# A document that stops at a zero byte, the bytes before it not ended by a
# line feed: the viewer counts and shows only what comes before the zero,
# and the line feed it appends.
document="$QP_SOURCE_DIR/tests/data/e2e_zero_byte_unterminated.txt"
qp_new_desktop
qp_start_viewer "$document"
status0=$(qp_get status0)
[[ $status0 =~ ^anttkn:[0-9]+,\ filhantag:([0-9]+), ]] || qp_fail "zero byte: status part 0 reads '$status0'"
qp_expect_eq "zero byte: status part 0" \
  "anttkn:$(qp_document_length "$document"), filhantag:${BASH_REMATCH[1]}, runtimes:$(qp_stored_run_count)" "$status0"
# Two rows, the longer one 34 columns with the appended line feed.
qp_expect_picture "zero byte: the text before it" "$document" 10 10 272 16

echo "PASS: status bar and title"
