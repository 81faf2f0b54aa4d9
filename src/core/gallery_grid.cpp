#include "gallery_grid.h"

#include <algorithm>

GalleryGrid LayOutGallery(int32_t count, int32_t width, int32_t tileSize) {
  GalleryGrid grid;
  grid.count = std::max(count, 0);
  grid.cellWidth = tileSize + 2 * kGalleryMargin;
  grid.cellHeight = tileSize + 2 * kGalleryMargin + kGalleryLabelHeight;
  grid.columns = std::max(1, width / grid.cellWidth);
  return grid;
}

int32_t StepTileSize(int32_t tileSize, int direction) {
  const int32_t* const begin = std::begin(kGalleryTileSizes);
  const int32_t* const end = std::end(kGalleryTileSizes);
  // A size between the steps goes to the step beyond it.
  if (direction > 0) {
    const int32_t* next = std::upper_bound(begin, end, tileSize);
    return next != end ? *next : end[-1];
  }
  const int32_t* next = std::lower_bound(begin, end, tileSize);
  return next != begin ? next[-1] : *begin;
}

GalleryRange VisibleTiles(const GalleryGrid& grid, int32_t scrollTop, int32_t height) {
  GalleryRange range;
  if (grid.count == 0 || height <= 0) return range;
  const int32_t top = std::max(scrollTop, 0);
  const int32_t firstRow = top / grid.cellHeight;
  const int32_t endRow = (top + height + grid.cellHeight - 1) / grid.cellHeight;
  range.first = std::min(grid.count, firstRow * grid.columns);
  range.end = static_cast<int32_t>(std::min<int64_t>(grid.count, int64_t{endRow} * grid.columns));
  return range;
}

int32_t ClampGalleryScroll(const GalleryGrid& grid, int32_t scrollTop, int32_t height) {
  return std::max(0, std::min(scrollTop, grid.Height() - std::max(height, 0)));
}

int32_t ScrollToTile(const GalleryGrid& grid, int32_t index, int32_t scrollTop, int32_t height) {
  const int32_t top = grid.RowOf(index) * grid.cellHeight;
  const int32_t bottom = top + grid.cellHeight;
  if (bottom > scrollTop + height) scrollTop = bottom - height;
  if (top < scrollTop) scrollTop = top;
  return ClampGalleryScroll(grid, scrollTop, height);
}

int32_t TileAt(const GalleryGrid& grid, int32_t scrollTop, int32_t x, int32_t y) {
  if (x < 0 || y < 0) return -1;
  const int32_t column = x / grid.cellWidth;
  if (column >= grid.columns) return -1;
  const int64_t index = (int64_t{scrollTop} + y) / grid.cellHeight * grid.columns + column;
  return index < grid.count ? static_cast<int32_t>(index) : -1;
}

int32_t MoveGallerySelection(const GalleryGrid& grid, int32_t selected, GalleryMove move, int32_t height) {
  if (grid.count == 0) return -1;
  const int32_t page = std::max(1, height / grid.cellHeight) * grid.columns;
  int64_t next = selected;
  switch (move) {
    case GalleryMove::kLeft: next -= 1; break;
    case GalleryMove::kRight: next += 1; break;
    case GalleryMove::kUp: next -= grid.columns; break;
    case GalleryMove::kDown: next += grid.columns; break;
    case GalleryMove::kPageUp: next -= page; break;
    case GalleryMove::kPageDown: next += page; break;
    case GalleryMove::kHome: next = 0; break;
    case GalleryMove::kEnd: next = grid.count - 1; break;
  }
  // Up from the top row stays in its column there; down from the last
  // full row into a short one ends at the last piece.
  if (next < 0) next = move == GalleryMove::kLeft ? 0 : selected % grid.columns;
  return static_cast<int32_t>(std::min<int64_t>(next, grid.count - 1));
}
