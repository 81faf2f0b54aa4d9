#!/usr/bin/env bash
# View > Gallery with real keys over the real corpus, zipped and as a folder: the grid's cells in the window's
# pixels hold drawn pictures with their names and the selection; Right, Enter and Esc move, open and return.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
[ -d "${QP_CORPUS_DIR:-}" ] || { echo "SKIP: no corpus at '${QP_CORPUS_DIR:-}' for the gallery of real art"; exit 0; }
# The grid's cells as the gallery lays them out at its first tile size.
grid_rule() { sed -n "s/^constexpr int32_t $1 = \([0-9]*\);/\1/p" "$QP_SOURCE_DIR/src/core/gallery_grid.h"; }
export QP_PROBE_GRID="$(grid_rule kGalleryDefaultTileSize) $(grid_rule kGalleryMargin) $(grid_rule kGalleryLabelHeight)"

# WHAT FILE: the gallery of FILE's folder or pack: from the first piece, every whole cell seen holds a drawn
# picture, most of them distinct, and a name; Right selects the second, Enter opens it, and Esc from the
# gallery (shown again by G alone) comes back to it.
gallery_of() {
  local what=$1 title seen count distinct
  qp_start_viewer "$2"
  qp_keys ctrl+g Home
  qp_until tile_selected=0 tiles_distinct!=1 "$what: Ctrl+G and Home showed no grid at its first piece"
  qp_until tiles_pending=0 "tiles_named=$(qp_get tiles_seen)" \
    "$what: the cells seen do not all show a drawn picture with its name"
  seen=$(qp_get tiles_seen) count=$(qp_get place) distinct=$(qp_get tiles_distinct)
  count=${count#1/}
  # Real art: a piece may draw blank in the monochrome view, as another does; most pictures differ.
  [ "$seen" -ge 4 ] && [ $((distinct * 4)) -ge $((seen * 3)) ] ||
    qp_fail "$what: $distinct distinct pictures in $seen whole cells of tiles"
  [ "$(qp_get place)" = "1/$count" ] && [ "$count" -ge "$seen" ] ||
    qp_fail "$what: the status bar counts '$(qp_get place)' at the first of $seen or more pieces"
  qp_keys Right
  qp_until tile_selected=1 "place=2/$count" "$what: Right did not select the second tile"
  qp_keys Return
  qp_until "title!=$(qp_title "$2")" "place=2/$count" "$what: Enter did not open the second piece"
  title=$(qp_get title)
  qp_keys g Right
  qp_until "place=3/$count" "$what: G and Right did not select the third tile"
  qp_keys Escape
  qp_until "title=$title" "place=2/$count" "$what: Esc did not come back to the piece opened"
  echo "e2e: ok: $what: $seen tiles drawn with names ($distinct distinct) of $count, then $title"
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
