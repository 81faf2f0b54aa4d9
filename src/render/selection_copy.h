// The mouse selection as plain arithmetic: which picture cells a drag
// covers, the rectangle shown inverted over them, and the text they copy.
// The window code feeds it the mouse points and ViewerState's tables.
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

struct SelectionSource {
  const char* text;          // the document, up to its first zero byte
  const int32_t* lineTable;  // kLineTableSize row starts, as the render left them
  int32_t pageRows;          // the page's rows: the document's last row + 1
  int32_t scrolledRows;      // rows scrolled out of view above the picture
};

// The text of `cells`: for each row the `width` document bytes from the
// row's start plus the column (through the row's line break when the row is
// shorter), rows joined by CR LF, cut after kSelectionTextLimit characters
// or what `out` holds. Returns its length.
int32_t CopySelectedText(const SelectionSource& source, const CellSpan& cells, char* out, int32_t outSize);

#endif
