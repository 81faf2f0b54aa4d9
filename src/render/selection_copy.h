// The mouse selection as plain arithmetic: which picture cells a drag
// covers, the rectangle shown inverted over them, and the text they copy.
// The window code feeds it the mouse points, the document and the page size.
#ifndef QUILLPANE_SELECTION_COPY_H
#define QUILLPANE_SELECTION_COPY_H

#include <cstdint>

#include "../core/state_types.h"

// The view under the mouse.
struct SelectionGrid {
  int32_t cellWidth, cellHeight;  // screen pixels a cell (the zoom)
  int32_t columns, rows;          // whole cells in view
};

// Picture cells, rows counted from the first row in view.
struct CellSpan {
  int32_t column, row, width, height;
};

struct SelectionBox {
  int32_t left, top, right, bottom;
};

// A mouse point snapped to the cell it picks: the point 2 pixels up and
// left of that cell's corner on screen (at zoom 8, the corner of the 8-pixel
// grid from the client's own corner).
SelectionPoint SnapToCell(int32_t x, int32_t y, const SelectionGrid& grid);

// The cells from the press cell up to, not including, the latest cell.
// `anchor` is the snapped press point, `end` the latest snapped point plus
// 2 in each direction. Width and height 0 both: released in the press cell.
CellSpan SelectedCells(SelectionPoint anchor, SelectionPoint end, const SelectionGrid& grid);

// Where `cells` lie on screen: exactly the cells that are copied.
SelectionBox CellSpanBox(const CellSpan& cells, const SelectionGrid& grid);

// A grid of character cells that a selection copies from. The text layout
// gives the cells of its page (CopySelectedText); a layout that keeps a
// cell grid of its own gives that grid to JoinCellRows directly.
class CellCharacters {
 public:
  // The code page 437 byte shown in the cell, 0 where the cell shows
  // nothing (no document holds a zero byte).
  virtual uint8_t At(int32_t column, int32_t row) const = 0;

 protected:
  ~CellCharacters() = default;
};

// The text that `cells` of `grid` show: each row the characters from the
// span's first column through the last cell that shows one, cells showing
// nothing before it as blanks (a row that shows nothing is empty); rows
// joined by CR LF, cut after kSelectionTextLimit characters or what `out`
// holds. Returns its length.
int32_t JoinCellRows(const CellCharacters& grid, const CellSpan& cells, char* out, int32_t outSize);

struct SelectionSource {
  const char* text;      // the document as laid out, up to its first zero byte
  int32_t pageColumns;   // the page's cells, after its size limits: what is
  int32_t pageRows;      // drawn outside them is not shown
  int32_t scrolledRows;  // rows scrolled out of view above the picture
};

// The text the page shows in `cells` (rows counted from the first row in
// view), as JoinCellRows gives it: the last byte drawn in a cell is the one
// it shows; escape sequences, tabs and line breaks draw nothing. Rows below
// the page copy nothing, not even a line break.
int32_t CopySelectedText(const SelectionSource& source, const CellSpan& cells, char* out, int32_t outSize);

#endif
