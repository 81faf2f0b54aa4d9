#!/usr/bin/env bash
# View > Gallery with real keys over a pack of three pieces: Ctrl+G shows the grid with the shown piece
# selected (the status bar counts the selection), an arrow moves it, Esc returns to the same piece without
# ending the viewer, and G, an arrow and Enter open the piece selected.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
mkdir -p "$QP_TMP/art"
for name in a b c; do printf '%s\r\n' "piece $name" >"$QP_TMP/art/$name.nfo"; done
(cd "$QP_TMP/art" && zip -q "$QP_TMP/pack.zip" a.nfo b.nfo c.nfo)

qp_start_viewer "$QP_TMP/pack.zip/b.nfo"
qp_until "title=$(qp_title "$QP_TMP/pack.zip/b.nfo")" "status1=2/3" "the viewer did not show the second piece"
qp_keys ctrl+g Right
qp_until "status1=3/3" "Ctrl+G and Right did not select the third piece"
qp_keys Escape
qp_until "title=$(qp_title "$QP_TMP/pack.zip/b.nfo")" "status1=2/3" "Esc did not return to the second piece"
qp_keys g Left Return
qp_until "title=$(qp_title "$QP_TMP/pack.zip/a.nfo")" "status1=1/3" "G, Left and Enter did not open the first piece"
echo "PASS: the gallery over a pack, moved and left with real keys, opens the piece selected"
