#include "selection_copy.h"

#include <algorithm>
#include <cstring>

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

int32_t CopySelectedText(const SelectionSource& source, const CellSpan& cells, char* out, int32_t outSize) {
  if (outSize <= 0) return 0;
  const int32_t limit = std::min(outSize - 1, kSelectionTextLimit);
  const int64_t textLength = static_cast<int64_t>(std::strlen(source.text));
  int32_t length = 0;
  const auto append = [&](const char* bytes, int64_t count) {
    const int32_t taken = static_cast<int32_t>(std::min<int64_t>(count, limit - length));
    std::memcpy(out + length, bytes, static_cast<size_t>(taken));
    length += taken;
  };
  for (int32_t k = 0; k < cells.height && length < limit; ++k) {
    const int64_t row = int64_t{cells.row} + k + source.scrolledRows;
    // Rows below the document's last row copy nothing, not even a line
    // break: their table entries are what earlier documents left there.
    // Rows past the table's end have no start recorded; they copy nothing
    // either.
    if (row >= source.pageRows || row + 1 >= kLineTableSize) break;
    if (k > 0) append("\r\n", 2);
    // The run ends early at the end of the document.
    const int64_t first = int64_t{source.lineTable[row + 1]} + cells.column;
    if (first >= 0 && first < textLength)
      append(source.text + first, std::min<int64_t>(cells.width, textLength - first));
  }
  out[length] = '\0';
  return length;
}
