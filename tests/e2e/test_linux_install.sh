#!/usr/bin/env bash
# `make install` into a scratch home: the desktop entry is valid and the default for the four art types; the
# native exporter and its thumbnailer are there, and the thumbnailer's line as file managers run it writes a
# PNG; the launcher's Wine prefix is made, so the first open shows the art with no Configuration dialog; the
# launcher opens a file, a folder named with a trailing separator, names in any script even from the plain C
# locale, and makes a deleted prefix again with one line on its console; `make uninstall` keeps the prefix and
# says so, and with PURGE=1 leaves the home as it was.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
home=$QP_TMP/home
export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config
export XDG_DATA_DIRS=$QP_TMP/none XDG_CONFIG_DIRS=$QP_TMP/none # nothing of this machine's
export TMPDIR=$QP_TMP # the launcher's links, and Wine's server (one for the launcher and the probe)
# The launcher's prefix and what it sets, for the probe too.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export WINEPREFIX=$XDG_DATA_HOME/quillpane/prefix
trap 'wineserver -k 2>/dev/null || true; qp_cleanup' EXIT
make_quietly() { env -u MAKEFLAGS -u MAKELEVEL make -s -C "$QP_SOURCE_DIR" "$@" PREFIX="$home/.local" >>"$QP_TMP/make.log"; }
listing() { find "$home" -type f -printf '%P %s\n' -o -printf '%P/\n' | LC_ALL=C sort; }

mkdir -p "$XDG_DATA_HOME" # the user's own, there before any install
before=$(listing)
make_quietly install || qp_fail "make install: $(cat "$QP_TMP/make.log")"
desktop-file-validate "$XDG_DATA_HOME/applications/quillpane.desktop" || qp_fail "the desktop entry is not valid"
for type in text/x-nfo text/x-diz text/x-ansi text/x-ascii-art image/x-xbin text/x-avatar; do
  qp_expect_eq "default for $type" quillpane.desktop "$(xdg-mime query default "$type")"
done

document="$QP_TMP/harbour (sample).ans" # a blank and brackets
cp "$QP_SOURCE_DIR/samples/harbour.ans" "$document"

# The thumbnailer names the installed exporter by its full path, for the types of the desktop entry. File
# managers replace its field codes (the values shell-quoted) and split the line as a shell would; the
# exporter's empty OUT and pipes are its own test's.
thumbnailer=$XDG_DATA_HOME/thumbnailers/quillpane.thumbnailer
key() { sed -n "s/^$1=//p" "$thumbnailer"; }
qp_expect_eq "thumbnailer TryExec" "$XDG_DATA_HOME/quillpane/quillpane-export" "$(key TryExec)"
qp_expect_eq "thumbnailer types" "$(sed -n 's/^MimeType=//p' "$XDG_DATA_HOME/applications/quillpane.desktop")" "$(key MimeType)"
mkdir "$QP_TMP/thumbnail (out)"
mapfile -t argv < <(python3 - "$(key Exec)" "$QP_TMP/thumbnail (out)/a.png" "$document" <<'EXPAND'
import re, shlex, sys
line, output, document = sys.argv[1:]
codes = {"s": "128", "o": shlex.quote(output), "i": shlex.quote(document), "%": "%"}
print("\n".join(shlex.split(re.sub("%(.)", lambda code: codes[code.group(1)], line))))
EXPAND
)
"${argv[@]}" >>"$QP_TMP/thumbnail.log" 2>&1 || qp_fail "the thumbnailer failed: $(cat "$QP_TMP/thumbnail.log")"
qp_expect_eq "the files the thumbnailer writes, a PNG" "a.png 89504e470d0a1a0a" \
  "$(ls "$QP_TMP/thumbnail (out)") $(head -c 8 "$QP_TMP/thumbnail (out)/a.png" | od -An -tx1 | tr -d ' \n')"

opens() { # ARGUMENT FILE: the launcher started on ARGUMENT, where no locale is set, shows FILE
  LC_ALL=C "$home/.local/bin/quillpane" "$1" >>"$QP_TMP/wine.log" 2>"$QP_TMP/launcher.err" &
  QP_VIEWER=$!
  # The probe starts Wine in the prefix too: not before the launcher made it.
  qp_poll 120 test -f "$WINEPREFIX/system.reg" || qp_fail "the launcher made no prefix"
  qp_shown "the viewer did not start on $1"
  [ -z "$(qp_get config)" ] || qp_fail "the Configuration dialog opened on $1"
  qp_expect_eq "title" "$(qp_title "$2")" "$(qp_get title)"
  kill "$QP_VIEWER"
  wait "$QP_VIEWER" || true
}
# The program installed starts on this kernel: the 64-bit build where 32-bit programs cannot run.
opens "$document" "$document" # no Wine has run in the prefix since the install made it
qp_expect_eq "the launcher's console on the first open" "" "$(cat "$QP_TMP/launcher.err")"
mkdir "$QP_TMP/Art Папка"
cp "$QP_SOURCE_DIR/samples/file_id.diz" "$QP_TMP/Art Папка/"
opens "$QP_TMP/Art Папка/" "$QP_TMP/Art Папка/file_id.diz"

wineserver -k 2>/dev/null || true
wineserver -w
rm -rf "$WINEPREFIX"
opens "$document" "$document"
qp_expect_eq "the launcher's console on a deleted prefix" \
  "quillpane: making the Wine prefix $WINEPREFIX (once, about 20 s)" "$(cat "$QP_TMP/launcher.err")"

# --help and --version need no Wine: the exporter answers them under the launcher's name.
mkdir "$QP_TMP/no-wine" && ln -s "$(command -v dirname)" "$(command -v realpath)" "$QP_TMP/no-wine/"
for asked in --help --version; do
  PATH=$QP_TMP/no-wine "$home/.local/bin/quillpane" $asked >"$QP_TMP/asked.out" 2>&1 ||
    qp_fail "quillpane $asked: $(cat "$QP_TMP/asked.out")"
  grep -qiE '^(usage: )?quillpane ' "$QP_TMP/asked.out" || qp_fail "quillpane $asked: $(cat "$QP_TMP/asked.out")"
done

make_quietly uninstall || qp_fail "make uninstall: $(cat "$QP_TMP/make.log")"
kept=$(tail -n1 "$QP_TMP/make.log" | sed 's/ ([^,]*,/ (SIZE,/')
make_quietly uninstall PURGE=1 || qp_fail "make uninstall PURGE=1: $(cat "$QP_TMP/make.log")"
qp_expect_eq "make uninstall, then make uninstall PURGE=1" "quillpane: kept the Wine prefix \
$WINEPREFIX (SIZE, the settings); make uninstall PURGE=1 removes it|quillpane: removed the Wine prefix $WINEPREFIX" \
  "$kept|$(tail -n1 "$QP_TMP/make.log")"
mkdir -p "$WINEPREFIX" # a folder there that is no Wine prefix stays
! make_quietly uninstall PURGE=1 2>/dev/null || qp_fail "make uninstall PURGE=1 took a folder that is no Wine prefix"
rmdir "$WINEPREFIX" "${WINEPREFIX%/*}"
diff <(echo "$before") <(listing) || qp_fail "make uninstall PURGE=1 left the home changed"
echo "PASS: install, desktop entry, default types, exporter, thumbnailer, ready prefix, launcher, uninstall"
