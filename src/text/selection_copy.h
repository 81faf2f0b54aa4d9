// The mouse selection as plain arithmetic: which picture cells a drag
// covers, the rectangle shown inverted over them, and the text they copy.
// The window code feeds it the mouse points, the document and the page size.
#ifndef QUILLPANE_SELECTION_COPY_H
#define QUILLPANE_SELECTION_COPY_H

#include <cstdint>

#include "../core/state_types.h"
#include "shown_rows.h"

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

// A grid of character cells that a selection copies from: the rows a page
// shows (CopySelectedText), or any layout's own cell grid.
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

// The text `page` shows in `cells` (rows counted from the first row in
// view, which is page row `scrolledRows`), as JoinCellRows gives it. The
// page's rows are the window's one collection of what each cell shows
// (CollectShownRows): the last byte drawn in a cell, never escape
// sequences, tabs or line breaks, so the copy, links and Find read the same
// cells. Rows below the page copy nothing, not even a line break.
int32_t CopySelectedText(const ShownRows& page, int32_t scrolledRows, const CellSpan& cells, char* out,
                         int32_t outSize);

#endif
