#!/usr/bin/env bash
# The native exporter (quillpane-export) against quillpane.exe --png under
# Wine: the same pixels, read back with lodepng, for corpus files in the
# text layout, with a monochrome and a colour sheet, in the ANSI colour mode
# and as thumbnails; the same lines and exit codes for refused OUTs, a
# missing FILE, a device name and a wrong command line. Natively, a pipe
# given as FILE is refused at once, never waited on.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
native=${QP_NATIVE_DIR:?}
# `make test` builds the native tree first; a run of this test alone builds
# what it needs there.
if [ ! -x "$native/quillpane-export" ] || [ ! -x "$native/png_compare" ]; then
  [ -f "$native/Makefile" ] || cmake -S "$QP_SOURCE_DIR" -B "$native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$native" -j2 --target quillpane_export png_compare >/dev/null
fi

# Each program runs in a folder of its own holding the same files, with the
# same arguments: OUTs are named relative to it, so the lines match too.
compare() { # NAME ARGUMENT...
  local name=$1 who status
  shift
  for who in win native; do
    rm -rf "${QP_TMP:?}/$who" && mkdir "$QP_TMP/$who"
    printf 'art\r\n' >"$QP_TMP/$who/art.nfo"
    printf 'not a port\r\n' >"$QP_TMP/$who/com1.nfo"
    ln "$QP_TMP/$who/art.nfo" "$QP_TMP/$who/link.nfo"
  done
  status=0
  (cd "$QP_TMP/win" && "$WINE" "$QP_EXE" "$@") 2>"$QP_TMP/win.err" || status=$?
  echo "exit $status" >>"$QP_TMP/win.err"
  status=0
  (cd "$QP_TMP/native" && "$native/quillpane-export" "$@") 2>"$QP_TMP/native.err" || status=$?
  echo "exit $status" >>"$QP_TMP/native.err"
  # Wine may add lines of its own to the error output.
  qp_expect_eq "$name: lines and exit code" "$(tr -d '\r' <"$QP_TMP/win.err" | grep -E '^(quillpane:|usage:|exit)')" \
    "$(cat "$QP_TMP/native.err")"
  local png
  for png in "$QP_TMP"/win/*.png; do
    [ -e "$png" ] || continue
    "$native/png_compare" "$png" "$QP_TMP/native/${png##*/}" >"$QP_TMP/compare.txt" ||
      qp_fail "$name: ${png##*/}: $(cat "$QP_TMP/compare.txt")"
    echo "e2e: ok: $name: ${png##*/} $(cat "$QP_TMP/compare.txt")"
  done
}

compare "a refused OUT" --png art.nfo other.nfo
compare "an OUT that is a FILE under another name" --png link.nfo art.nfo
compare "an OUT given twice" --png new.png art.nfo --png ./new.png art.nfo
compare "a missing FILE" --png missing.png missing.nfo
compare "a device name" --png device.png com1.nfo
compare "a second --colour" --colour --png art.png art.nfo --colour

corpus=${QP_CORPUS_DIR:-}
if [ -d "$corpus" ]; then
  nfo=$corpus/up-17/UP-17PCE.NFO diz=$corpus/up-17/FILE_ID.DIZ asc=$corpus/x84/x84/default/art/top/jo-elk.asc
  sauce=$corpus/moebius/build/ans/changelog.ans bare=$corpus/x84/x84/default/art/tetris.ans
  pattern="$corpus/ANSI-art/TestPattern 24-bit.ans"
  # A SAUCE record of type 1/1 makes any name ANSI art in the colour mode.
  cp "$sauce" "$QP_TMP/changelog.nfo"
  compare "text layout" --png nfo.png "$nfo" --png diz.png "$diz" --png asc.png "$asc" \
    --png sauce.png "$sauce" --png bare.png "$bare"
  compare "sheets" --sheet bold --png bold.png "$nfo"
  compare "a colour sheet" --png blue.png "$asc" --sheet blue
  compare "colour" --colour --png sauce.png "$sauce" --png bare.png "$bare" --png nfo.png "$nfo" \
    --png named.png "$QP_TMP/changelog.nfo" --png pattern.png "$pattern"
  qp_expect_eq "an ANSI screen's PNG" "same: 352 x 4032, depth 4, colour type 3" \
    "$("$native/png_compare" "$QP_TMP/win/sauce.png" "$QP_TMP/native/sauce.png")"
  compare "thumbnails" --thumbnail 96 --colour --png bare.png "$bare" --png nfo.png "$nfo"
  qp_expect_eq "a thumbnail's PNG" "same: 96 x 55, depth 8, colour type 2" \
    "$("$native/png_compare" "$QP_TMP/win/bare.png" "$QP_TMP/native/bare.png")"
else
  echo "e2e: no corpus at '$corpus': only the lines are compared"
fi

mkfifo "$QP_TMP/pipe.nfo"
status=0
timeout 20 "$native/quillpane-export" --png "$QP_TMP/pipe.png" "$QP_TMP/pipe.nfo" 2>/dev/null || status=$?
qp_expect_eq "exit code for a pipe as FILE (124: it waited)" 1 "$status"
echo "PASS: the native exporter writes what quillpane.exe writes"
