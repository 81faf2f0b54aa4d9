#include "selection_copy.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "../core/window_geometry.h"

namespace {

// The snapped point lies this far up and left of its cell's corner.
constexpr int32_t kCornerShift = 2;

// The cell along one axis that a client pixel picks, 0 to `cells`.
//
// A pointer within a quarter cell before a cell's edge already picks that
// cell: at zoom 8 that is the 2 pixels by which the picture's 10-pixel
// margin passes one cell, so there the cells are those of a plain grid from
// the client's corner; at other zooms the rectangle still lies on the
// picture's cells, and what is inverted is what is copied.
//
// The margin left of and above the picture picks the first cell, and the
// space past the view's whole cells picks the edge after the last one: the
// selection never reaches cells the picture does not show, and never asks
// for bytes before a row's start.
int32_t CellIndex(int32_t pixel, int32_t cellSize, int32_t cells) {
  if (cellSize <= 0 || cells <= 0) return 0;
  const int64_t offset = int64_t{pixel} - kViewOrigin + cellSize / 4;
  if (offset < 0) return 0;
  return static_cast<int32_t>(std::min<int64_t>(offset / cellSize, cells));
}

}  // namespace

SelectionPoint SnapToCell(int32_t x, int32_t y, const SelectionGrid& grid) {
  return SelectionPoint{
      kViewOrigin + CellIndex(x, grid.cellWidth, grid.columns) * grid.cellWidth - kCornerShift,
      kViewOrigin + CellIndex(y, grid.cellHeight, grid.rows) * grid.cellHeight - kCornerShift};
}

CellSpan SelectedCells(SelectionPoint anchor, SelectionPoint end, const SelectionGrid& grid) {
  // Both points are taken again at the current zoom, so a zoom step during
  // a drag still shows and copies the same cells.
  const int32_t a = CellIndex(anchor.x + kCornerShift, grid.cellWidth, grid.columns);
  const int32_t b = CellIndex(anchor.y + kCornerShift, grid.cellHeight, grid.rows);
  const int32_t e = CellIndex(end.x, grid.cellWidth, grid.columns);
  const int32_t f = CellIndex(end.y, grid.cellHeight, grid.rows);
  return CellSpan{std::min(a, e), std::min(b, f), a > e ? a - e : e - a, b > f ? b - f : f - b};
}

SelectionBox CellSpanBox(const CellSpan& cells, const SelectionGrid& grid) {
  const int32_t left = kViewOrigin + cells.column * grid.cellWidth;
  const int32_t top = kViewOrigin + cells.row * grid.cellHeight;
  return SelectionBox{left, top, left + cells.width * grid.cellWidth, top + cells.height * grid.cellHeight};
}

int32_t JoinCellRows(const CellCharacters& grid, const CellSpan& cells, char* out, int32_t outSize) {
  if (outSize <= 0) return 0;
  const int32_t limit = std::min(outSize - 1, kSelectionTextLimit);
  int32_t length = 0;
  for (int32_t k = 0; k < cells.height && length < limit; ++k) {
    const int32_t row = cells.row + k;
    if (k > 0) {
      out[length++] = '\r';
      if (length < limit) out[length++] = '\n';
    }
    int32_t end = cells.width;
    while (end > 0 && grid.At(cells.column + end - 1, row) == 0) --end;
    for (int32_t i = 0; i < end && length < limit; ++i) {
      const uint8_t c = grid.At(cells.column + i, row);
      out[length++] = c != 0 ? static_cast<char>(c) : ' ';
    }
  }
  out[length] = '\0';
  return length;
}

namespace {

// The page's shown rows as a grid: cells past a row's last drawn one, and
// rows outside the page, show nothing.
class ShownCells final : public CellCharacters {
 public:
  explicit ShownCells(const ShownRows& rows) : rows_(rows) {}
  uint8_t At(int32_t column, int32_t row) const override {
    if (column < 0 || row < 0 || static_cast<size_t>(row) >= rows_.size()) return 0;
    const std::vector<uint8_t>& cells = rows_[static_cast<size_t>(row)].cells;
    return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : 0;
  }

 private:
  const ShownRows& rows_;
};

}  // namespace

int32_t CopySelectedText(const ShownRows& page, int32_t scrolledRows, const CellSpan& cells, char* out,
                         int32_t outSize) {
  // A row gives at most kSelectionTextLimit characters, and so many rows
  // give at least as many line breaks: no more of either can reach the text.
  const int64_t top = int64_t{std::max(cells.row, 0)} + std::max(scrolledRows, 0);
  const int64_t below = static_cast<int64_t>(page.size()) - top;
  const auto kept = [](int64_t wanted) {
    return static_cast<int32_t>(std::clamp<int64_t>(wanted, 0, kSelectionTextLimit));
  };
  const CellSpan onPage{std::max(cells.column, 0), static_cast<int32_t>(std::min<int64_t>(top, INT32_MAX)),
                        kept(cells.width), kept(std::min<int64_t>(cells.height, below))};
  return JoinCellRows(ShownCells(page), onPage, out, outSize);
}
