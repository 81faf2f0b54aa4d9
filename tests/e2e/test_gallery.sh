#!/usr/bin/env bash
# View > Gallery with real keys over a pack of three pieces: Ctrl+G shows the grid with the shown piece
# selected (the status bar counts the selection), an arrow moves it, Esc returns to the same piece without
# ending the viewer, and G, an arrow and Enter open the piece selected. Then the same over the real corpus,
# zipped and as a folder: the grid's cells in the window's pixels hold distinct pictures with their names.
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
echo "e2e: ok: the gallery over a pack, moved and left with real keys, opens the piece selected"
qp_expect_exit "Esc on the piece" qp_keys Escape

[ -d "${QP_CORPUS_DIR:-}" ] || { echo "SKIP: no corpus at '${QP_CORPUS_DIR:-}' for the gallery of real art"; exit 0; }
# The grid's cells as the gallery lays them out at its first tile size.
grid_rule() { sed -n "s/^constexpr int32_t $1 = \([0-9]*\);/\1/p" "$QP_SOURCE_DIR/src/core/gallery_grid.h"; }
export QP_PROBE_GRID="$(grid_rule kGalleryDefaultTileSize) $(grid_rule kGalleryMargin) $(grid_rule kGalleryLabelHeight)"

# WHAT FILE: the gallery of FILE's folder or pack: from the first piece, every whole cell seen holds a drawn
# picture, most of them distinct, and a name; Right selects the second, Enter opens it, and Esc from the gallery comes back to it.
gallery_of() {
  local what=$1 title seen count
  qp_start_viewer "$2"
  qp_keys ctrl+g Home
  qp_until tile_selected=0 tiles_distinct!=1 "$what: Ctrl+G and Home showed no grid at its first piece"
  qp_until tiles_pending=0 "tiles_named=$(qp_get tiles_seen)" \
    "$what: the cells seen do not all show a drawn picture with its name"
  seen=$(qp_get tiles_seen) count=$(qp_get place)
  count=${count#1/}
  # Real art: a piece may draw blank in the monochrome view, as another does; most pictures differ.
  [ "$seen" -ge 4 ] && [ $(($(qp_get tiles_distinct) * 4)) -ge $((seen * 3)) ] ||
    qp_fail "$what: $(qp_get tiles_distinct) distinct pictures in $seen whole cells of tiles"
  [ "$(qp_get place)" = "1/$count" ] && [ "$count" -ge "$seen" ] ||
    qp_fail "$what: the status bar counts '$(qp_get place)' at the first of $seen or more pieces"
  qp_keys Right
  qp_until tile_selected=1 "place=2/$count" "$what: Right did not select the second tile"
  qp_keys Return
  qp_until "title!=$(qp_title "$2")" "place=2/$count" "$what: Enter did not open the second piece"
  title=$(qp_get title)
  qp_keys ctrl+g Right
  qp_until "place=3/$count" "$what: Ctrl+G and Right did not select the third tile"
  qp_keys Escape
  qp_until "title=$title" "place=2/$count" "$what: Esc did not come back to the piece opened"
  echo "e2e: ok: $what: $seen tiles drawn with names ($(qp_get tiles_distinct) distinct) of $count, then $title"
  qp_expect_exit "$what: Esc on the piece" qp_keys Escape
}

# A pack of the corpus's art, its folders kept.
mapfile -t art < <(cd "$QP_CORPUS_DIR" && find . -type f -regextype posix-extended \
  -iregex '.*\.(nfo|diz|ans|asc|xb|bin|adf|idf|tnd|pcb)' | sed 's|^\./||' | LC_ALL=C sort)
(cd "$QP_CORPUS_DIR" && zip -q "$QP_TMP/corpus.zip" "${art[@]}")
# Started on a text piece, which opens a window wide and tall enough for several rows of tiles.
nfo=$(printf '%s\n' "${art[@]}" | grep -i -m1 '\.nfo$')
gallery_of "the corpus zipped (${#art[@]} pieces)" "$QP_TMP/corpus.zip/$nfo"
folder=$(dirname "$(cd "$QP_CORPUS_DIR" && find . -type f -iname '*.nfo' | LC_ALL=C sort | head -1)")
gallery_of "the corpus folder $folder" "$(find "$QP_CORPUS_DIR/$folder" -maxdepth 1 -iname '*.nfo' | LC_ALL=C sort | head -1)"
echo "PASS: the gallery of the corpus, zipped and as a folder, shows distinct named tiles and opens the one selected"
