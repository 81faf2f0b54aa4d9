#!/usr/bin/env bash
# `make install` into a scratch home: the desktop entry is valid and the
# default for the four art types, the launcher opens a file and a folder
# named with a trailing separator in the viewer, under a Wine prefix of its
# own, names in any script even from the plain C locale; `make uninstall`
# leaves the home as it was.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
home=$QP_TMP/home
export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config
export XDG_DATA_DIRS=$QP_TMP/none XDG_CONFIG_DIRS=$QP_TMP/none # nothing of this machine's
# What the launcher sets, for the probe too: whichever starts Wine first in
# the prefix sets it for Wine's own start-up programs.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export WINEPREFIX=$XDG_DATA_HOME/quillpane/prefix
trap 'wineserver -k 2>/dev/null || true; qp_cleanup' EXIT
make_quietly() { env -u MAKEFLAGS -u MAKELEVEL make -s -C "$QP_SOURCE_DIR" "$@" PREFIX="$home/.local" >>"$QP_TMP/make.log"; }
listing() { find "$home" -path "$WINEPREFIX" -prune -o -type f -printf '%P %s\n' -o -printf '%P/\n' | LC_ALL=C sort; }

# The launcher's prefix, made ahead with one start counted, so that no
# first-start Configuration dialog waits for a click.
mkdir -p "${WINEPREFIX%/*}"
"$WINE" reg add 'HKLM\Software\Molvo\Quillpane' /v Times /t REG_DWORD /d 1 /f "$QP_REG_VIEW" >/dev/null
before=$(listing)

make_quietly install || qp_fail "make install: $(cat "$QP_TMP/make.log")"
desktop-file-validate "$XDG_DATA_HOME/applications/quillpane.desktop" || qp_fail "the desktop entry is not valid"
for type in text/x-nfo text/x-diz text/x-ansi text/x-ascii-art; do
  qp_expect_eq "default for $type" quillpane.desktop "$(xdg-mime query default "$type")"
done

opens() { # ARGUMENT FILE: the launcher started on ARGUMENT, where no locale is set, shows FILE
  LC_ALL=C "$home/.local/bin/quillpane" "$1" >>"$QP_TMP/wine.log" 2>&1 &
  QP_VIEWER=$!
  qp_shown "the viewer did not start on $1"
  qp_expect_eq "title" "$(qp_title "$2")" "$(qp_get title)"
  kill "$QP_VIEWER"
  wait "$QP_VIEWER" || true
}
document="$QP_CORPUS_DIR/ANSI-art/IBM PCjr startup screen (40x25).ans"
if [ ! -f "$document" ]; then # no corpus here: a sample under a name as awkward
  document="$QP_TMP/harbour (sample).ans"
  cp "$QP_SOURCE_DIR/samples/harbour.ans" "$document"
fi
mkdir "$QP_TMP/Art Папка"
cp "$QP_SOURCE_DIR/samples/file_id.diz" "$QP_TMP/Art Папка/"
if [ "$(bash "$QP_SOURCE_DIR/scripts/wine-session" arch)" = win32 ]; then
  opens "$document" "$document"
  opens "$QP_TMP/Art Папка/" "$QP_TMP/Art Папка/file_id.diz"
else
  status=0
  "$home/.local/bin/quillpane" "$document" 2>/dev/null || status=$?
  qp_expect_eq "the launcher where 32-bit programs cannot run" 126 "$status"
fi

make_quietly uninstall || qp_fail "make uninstall: $(cat "$QP_TMP/make.log")"
diff <(echo "$before") <(listing) || qp_fail "make uninstall left the home changed"
echo "PASS: install, desktop entry, default types, launcher, uninstall"
