#include "selection_copy.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "../core/window_geometry.h"
#include "layout_interpreter.h"

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

// A layout sink that keeps the byte last drawn in each cell of a rectangle
// of the page, and gives them back as cells counted from its corner.
class DrawnCells final : public CellCharacters {
 public:
  DrawnCells(int32_t left, int64_t top, int32_t width, int32_t height)
      : left_(left),
        top_(top),
        width_(width),
        height_(height),
        cells_(static_cast<size_t>(width) * static_cast<size_t>(height)) {}
  void Examine(int32_t, int32_t) {}
  void RowStart(int32_t, int32_t) {}
  void Draw(uint8_t b, int32_t column, int32_t row) {
    const int64_t x = int64_t{column} - left_, y = row - top_;
    if (x >= 0 && x < width_ && y >= 0 && y < height_) cells_[static_cast<size_t>(y * width_ + x)] = b;
  }
  uint8_t At(int32_t column, int32_t row) const override {
    return cells_[static_cast<size_t>(row) * static_cast<size_t>(width_) + static_cast<size_t>(column)];
  }

 private:
  int32_t left_;
  int64_t top_;
  int32_t width_, height_;
  std::vector<uint8_t> cells_;
};

}  // namespace

int32_t CopySelectedText(const SelectionSource& source, const CellSpan& cells, char* out, int32_t outSize) {
  // Only the cells that can reach the text are kept: a row gives at most
  // kSelectionTextLimit characters, and each row after the first begins
  // with a line break, so only the first kSelectionTextLimit / 2 + 1 rows
  // can give any.
  const int32_t left = std::max(cells.column, 0);
  const int64_t top = int64_t{std::max(cells.row, 0)} + source.scrolledRows;
  const auto kept = [](int64_t selected, int64_t onPage, int64_t reaching) {
    return static_cast<int32_t>(std::max<int64_t>(std::min({selected, onPage, reaching}), 0));
  };
  const int32_t width = kept(cells.width, int64_t{source.pageColumns} - left, kSelectionTextLimit);
  const int32_t height = kept(cells.height, source.pageRows - top, kSelectionTextLimit / 2 + 1);
  DrawnCells page(left, top, width, height);
  // The whole document is laid out, from its first byte. Starting at the
  // row table's start of the first selected row would not show the same
  // cells: cursor movements (an H, a restored position, an A or a D) draw
  // bytes of any part of the text into any row, and the saved position
  // and an open escape sequence carry across row starts. The interpreter
  // lays out a 512 KB document in a few milliseconds, once per release.
  const auto* text = reinterpret_cast<const uint8_t*>(source.text);
  RunLayoutPass(text, static_cast<int32_t>(std::strlen(source.text)), page);
  return JoinCellRows(page, CellSpan{0, 0, width, height}, out, outSize);
}
