#!/usr/bin/env bash
# quillpane-export against quillpane.exe --png under Wine: the same pixels (read with lodepng) for corpus
# files in the text layout, with a monochrome and a colour sheet, in colour and as thumbnails; the same lines
# and exit codes (but each program's name and the system's reasons) for refused OUTs, a missing FILE, a device,
# a cut document, a wrong command line and --help; a pack's PNGs named alike; the text outputs byte for byte,
# into files, a folder and a pipe, a text OUT kept unless the program wrote it. Natively a pipe as FILE is
# refused, never waited on.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
native=${QP_NATIVE_DIR:?}
# The native record of written texts stays in the test's folder (Wine's is in the session's own prefix).
export XDG_STATE_HOME=$QP_TMP/state
# `make test` builds the native tree first; a run of this test alone builds what it needs there.
if [ ! -x "$native/quillpane-export" ] || [ ! -x "$native/png_compare" ]; then
  [ -f "$native/Makefile" ] || cmake -S "$QP_SOURCE_DIR" -B "$native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$native" -j2 --target quillpane_export png_compare >/dev/null
fi

# Each program runs in a folder of its own holding the same files, with the
# same arguments: OUTs are named relative to it, so the lines match too.
# The usage each program prints, as the native exporter prints it under that program's name.
usage() { (exec -a "$1" "$native/quillpane-export" --help); }
compare() { # NAME LINES ARGUMENT...: LINES the lines both print, each problem's named "quillpane:" (USAGE their
  # usage, WHY a reason), "exit N"
  local name=$1 lines=$2 who status png why='s/^([a-z.-]+: cannot (read|write) "[^"]*"): .+/\1: WHY/'
  shift 2
  for who in win native; do
    rm -rf "${QP_TMP:?}/$who" && mkdir "$QP_TMP/$who"
    printf 'art\r\n' >"$QP_TMP/$who/art.nfo"
    printf 'not a port\r\n' >"$QP_TMP/$who/com1.nfo"
    ln "$QP_TMP/$who/art.nfo" "$QP_TMP/$who/link.nfo"
    printf 'my own notes\n' >"$QP_TMP/$who/mine.txt"
    [ -z "${QP_EMPTY_OUT:-}" ] || : >"$QP_TMP/$who/$QP_EMPTY_OUT"
  done
  status=0
  (cd "$QP_TMP/win" && "$WINE" "$QP_EXE" "$@") >"$QP_TMP/win.err" 2>&1 || status=$?
  echo "exit $status" >>"$QP_TMP/win.err"
  status=0
  (cd "$QP_TMP/native" && "$native/quillpane-export" "$@") >"$QP_TMP/native.err" 2>&1 || status=$?
  echo "exit $status" >>"$QP_TMP/native.err"
  # Wine may add lines of its own to the error output.
  for who in quillpane.exe quillpane-export; do
    local want=${lines//quillpane: /$who: }
    wants[$who]=${want//USAGE/$(usage $who)}
  done
  qp_expect_eq "$name: quillpane.exe's lines" "${wants[quillpane.exe]}" \
    "$(tr -d '\r' <"$QP_TMP/win.err" | grep -E '^(quillpane.exe:|usage:|       |Quillpane |exit)' | sed -E "$why")"
  qp_expect_eq "$name: quillpane-export's lines" "${wants[quillpane-export]}" "$(sed -E "$why" "$QP_TMP/native.err")"
  qp_expect_eq "$name: the files both leave" "$(ls "$QP_TMP/win")" "$(ls "$QP_TMP/native")"
  for png in "$QP_TMP"/win/*.png; do
    [ -e "$png" ] || continue
    "$native/png_compare" "$png" "$QP_TMP/native/${png##*/}" >"$QP_TMP/compare.txt" ||
      qp_fail "$name: ${png##*/}: $(cat "$QP_TMP/compare.txt")"
    echo "e2e: ok: $name: ${png##*/} $(cat "$QP_TMP/compare.txt")"
  done
  for text in "$QP_TMP"/win/*.{txt,ans,html}; do
    [ -e "$text" ] || continue
    cmp -s "$text" "$QP_TMP/native/${text##*/}" || qp_fail "$name: ${text##*/} differs"
  done
}

declare -A wants
nothing="; nothing was written"
compare "a refused OUT" "quillpane: OUT \"art.nfo\" exists and is not a PNG$nothing
exit 1" --png art.nfo other.nfo
# A file manager's thumbnail service makes the OUT, empty, before it asks.
QP_EMPTY_OUT=made.png compare "an empty OUT" "exit 0" --png made.png art.nfo
qp_expect_eq "a text page's PNG" "same: 32 x 16, depth 1, colour type 3" \
  "$("$native/png_compare" "$QP_TMP"/{win,native}/made.png)"
compare "an OUT that is a FILE under another name" "quillpane: OUT \"link.nfo\" is the FILE \"art.nfo\" too$nothing
exit 1" --png link.nfo art.nfo
compare "an OUT given twice" "quillpane: OUT \"./new.png\" is given twice$nothing
exit 1" --png new.png art.nfo --png ./new.png art.nfo
compare "a missing FILE and a device name" "quillpane: cannot read \"missing.nfo\": WHY
quillpane: cannot read \"com1.nfo\": WHY
USAGE
exit 1" --png missing.png missing.nfo --png device.png com1.nfo --png art.png art.nfo
head -c 600000 /dev/zero | tr '\0' x >"$QP_TMP/long.nfo" && head -c 524288 "$QP_TMP/long.nfo" >"$QP_TMP/full.nfo"
compare "a cut document, and one just not cut" "quillpane: \"$QP_TMP/long.nfo\" is longer than 524288 bytes: only its first 524288 are drawn
exit 0" --png long.png "$QP_TMP/long.nfo" --png full.png "$QP_TMP/full.nfo"
compare "an unknown switch" "quillpane: unknown switch \"--bogus\"
USAGE
exit 2" --png art.png art.nfo --bogus
compare "--help" "USAGE
exit 0" --png art.png art.nfo --help

# A pack's entries whose names a Windows folder takes for one, and a pack in a folder named like one.
mkdir "$QP_TMP/d.zip" && (cd "$QP_TMP/d.zip" && for n in É é Ω ω x; do printf '%s\r\n' "$n" >"$n.ans"; done &&
  zip -q p.zip ./*.ans) && perl -0777 -pi -e 's/(PK\x03\x04.{3})(.)/$1.chr(ord($2)|8)/gse;
  s/(PK\x01\x02.{5})(.)/$1.chr(ord($2)|8)/gse' "$QP_TMP/d.zip/p.zip"  # their names flagged UTF-8
compare "a pack into a folder, one in a folder named like a pack" "exit 0" --png ./ "$QP_TMP/d.zip/p.zip" \
  --png inner.png "$QP_TMP/d.zip/p.zip/x.ans"
qp_expect_eq "its PNGs" "x.ans.png É.ans.png é.ans.2.png Ω.ans.png ω.ans.2.png" \
  "$(cd "$QP_TMP/native" && LC_ALL=C && printf '%s\n' *.ans*.png | paste -sd' ')"

compare "text outputs into files and a folder" "exit 0" --text art.txt art.nfo --ansi art.ans art.nfo \
  --html art.html art.nfo --text ./ "$QP_TMP/d.zip/p.zip"
qp_expect_eq "the pack's texts" "x.ans.txt É.ans.txt é.ans.2.txt Ω.ans.txt ω.ans.2.txt" \
  "$(cd "$QP_TMP/native" && LC_ALL=C && printf '%s\n' *.ans*.txt | paste -sd' ')"
compare "a text OUT the program did not write" "quillpane: OUT \"mine.txt\" exists and is not a text this \
program wrote$nothing
exit 1" --text mine.txt art.nfo
qp_expect_eq "the text kept" "my own notes" "$(cat "$QP_TMP/native/mine.txt")"
# Texts written again over the files the program wrote, as its record of them (Wine's in its prefix) allows;
# standard output in binary (a PNG's signature holds CR LF and LF), outputs one after another.
for who in win native; do
  if [ $who = native ]; then run=("$native/quillpane-export"); else run=("$WINE" "$QP_EXE"); fi
  texts=(--ansi art.ans art.nfo --text art.txt art.nfo --html art.html art.nfo)
  (cd "$QP_TMP/$who" && "${run[@]}" --png p.png art.nfo "${texts[@]}" && "${run[@]}" "${texts[@]}") ||
    qp_fail "$who: the texts could not be written again"
  (cd "$QP_TMP/$who" && "${run[@]}" --png - art.nfo --ansi - art.nfo 2>/dev/null | cat >piped) ||
    qp_fail "$who: an export to standard output failed"
  cat "$QP_TMP/$who/p.png" "$QP_TMP/$who/art.ans" | cmp -s - "$QP_TMP/$who/piped" ||
    qp_fail "$who: standard output differs from the files"
done
echo "e2e: ok: texts written again, and standard output through a pipe"

corpus=${QP_CORPUS_DIR:-}
if [ -d "$corpus" ]; then
  nfo=$corpus/up-17/UP-17PCE.NFO diz=$corpus/up-17/FILE_ID.DIZ asc=$corpus/x84/x84/default/art/top/jo-elk.asc
  sauce=$corpus/moebius/build/ans/changelog.ans bare=$corpus/x84/x84/default/art/tetris.ans
  pattern="$corpus/ANSI-art/TestPattern 24-bit.ans"
  # A SAUCE record of type 1/1 makes any name ANSI art in the colour mode.
  cp "$sauce" "$QP_TMP/changelog.nfo"
  compare "text layout" "exit 0" --png nfo.png "$nfo" --png diz.png "$diz" --png asc.png "$asc" \
    --png sauce.png "$sauce" --png bare.png "$bare"
  compare "a colour sheet" "exit 0" --png blue.png "$asc" --sheet blue
  compare "colour" "exit 0" --colour --png sauce.png "$sauce" --png bare.png "$bare" --png nfo.png "$nfo" \
    --png named.png "$QP_TMP/changelog.nfo" --png pattern.png "$pattern"
  qp_expect_eq "an ANSI screen's PNG" "same: 352 x 4032, depth 4, colour type 3" \
    "$("$native/png_compare" "$QP_TMP"/{win,native}/sauce.png)"
  compare "9-pixel letters at 4:3" "exit 0" --colour --letter-spacing 9 --aspect 4:3 --png sauce.png "$sauce"
  compare "thumbnails" "exit 0" --thumbnail 96 --colour --png bare.png "$bare" --png nfo.png "$nfo"
  # Screen fonts: Amiga text found by its bytes, a record's Topaz 2+ and 640 x 480 font, and one chosen.
  amiga=$QP_SOURCE_DIR/samples/sailboat.asc topaz=$corpus/moebius/build/ans/anst-moebius.ans
  compare "fonts as the files say" "exit 0" --colour --aspect 4:3 --png amiga.png "$amiga" --png topaz.png "$topaz" \
    --png graphics.png "$corpus/x84/x84/default/art/top/dead.ans"
  compare "a font chosen" "exit 0" --colour --font "IBM EGA 866" --png nfo.png "$nfo" --png bare.png "$bare"
  # The same animated PNG from both, which pngcheck takes (its frames are read back natively).
  compare "an animation" "exit 0" --animate 28800 --png play.png "$bare"
  cmp -s "$QP_TMP/win/play.png" "$QP_TMP/native/play.png" || qp_fail "the two animations differ"
  pngcheck -q "$QP_TMP/native/play.png" || qp_fail "pngcheck refuses the animation"
else
  echo "e2e: no corpus at '$corpus': only the lines are compared"
fi

mkfifo "$QP_TMP/pipe.nfo"
status=0
timeout 20 "$native/quillpane-export" --png "$QP_TMP/pipe.png" "$QP_TMP/pipe.nfo" 2>/dev/null || status=$?
qp_expect_eq "exit code for a pipe as FILE (124: it waited)" 1 "$status"
echo "PASS: the native exporter writes what quillpane.exe writes"
