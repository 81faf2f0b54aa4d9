// The arithmetic of the main window's layout and of vertical scrolling, as
// plain functions of sizes. The window code feeds them from ViewerState and
// applies the results with platform calls.
#ifndef QUILLPANE_WINDOW_GEOMETRY_H
#define QUILLPANE_WINDOW_GEOMETRY_H

#include <cstdint>

// The picture's top-left corner is this client point.
constexpr int32_t kViewOrigin = 10;
constexpr int32_t kMinViewWidth = 200;
constexpr int32_t kMinViewHeight = 8;
// Caption, menu bar, status bar and margins below and above the view.
constexpr int32_t kWindowExtraHeight = 80;
constexpr int32_t kMarginNoScrollBar = 30;
constexpr int32_t kMarginWithScrollBar = 48;
constexpr int32_t kMinCellSize = 1;
constexpr int32_t kMaxCellSize = 15;

// A page cell is 8 page pixels wide and 8 high, or on a colour screen as
// high as its font (stretched, for a 4:3 screen) and 8 or 9 wide; the
// zoom, scrolling and selection go by whole cells either way. A height
// outside 1 to kMaxPageCellHeight is taken as 8.
constexpr int32_t kMaxPageCellHeight = 64;
inline int32_t PageRowPixels(int32_t pageCellHeight) {
  return pageCellHeight >= 1 && pageCellHeight <= kMaxPageCellHeight ? pageCellHeight : 8;
}
// Screen pixels a page cell's `pagePixels` take at `zoom` (screen pixels
// for 8 page pixels), to the nearest and at least 1.
inline int32_t ZoomedCellSize(int32_t zoom, int32_t pagePixels) {
  const int32_t size = (zoom * pagePixels + 4) / 8;
  return size > 0 ? size : 1;
}

struct LayoutInput {
  int32_t pageWidth, pageHeight;  // page pixels, pageCellWidth a cell across
  int32_t cellWidth;              // screen pixels 8 page pixels take: the zoom
  int32_t pageCellHeight;         // page pixels a cell high (PageRowPixels)
  // The work area of the monitor the window stands on.
  int32_t workLeft, workTop, workRight, workBottom;
  int32_t windowLeft, windowTop;  // where the window should go
  int32_t pageCellWidth = 8;      // page pixels a cell across: 9, or (any other value) 8
};

struct LayoutResult {
  // Screen pixels a cell high: the zoom keeps the page cell's shape, so a
  // cell is columnWidth x cellHeight, ZoomedCellSize of its page pixels.
  int32_t cellHeight;
  int32_t viewWidth, viewHeight;
  int32_t sourceWidth, sourceHeight;
  bool scrollBar;         // the zoomed page needs all the height there is
  int32_t scrollMaximum;  // scroll range in screen pixels: rows x cellHeight
  int32_t windowLeft, windowTop, windowWidth, windowHeight;
  int32_t columnWidth;  // screen pixels a cell across
};

// Sizes the view from the page and the zoom and places the window, view,
// margin and scroll bar included, inside the work area, from any stored
// position; only a work area smaller than the window leaves part of it
// outside, past the right and bottom edges.
LayoutResult ComputeWindowLayout(const LayoutInput& in);

// View > Fit width: the largest zoom (1 ... 15) at which the layout of
// `in` shows every column of the page, its margin and scroll bar inside the
// work area; 1 when even that cuts the page. `in.cellWidth` is not read.
int32_t FitWidthZoom(LayoutInput in);

// Full screen: the largest zoom (1 ... 15) at which `columns` cells of
// `pageCellWidth` page pixels (9, or 8) fit in `width` screen pixels, or
// `current` when that is larger; 1 when none fits.
int32_t FullScreenZoom(int32_t columns, int32_t pageCellWidth, int32_t width, int32_t current);

struct ScrollInput {
  int32_t scrollY;       // top of the shown part of the page, page pixels
  int32_t sourceHeight;  // the whole rows in view, page pixels
  int32_t pageHeight;
  int32_t cellHeight;      // screen pixels a cell high
  int32_t pageCellHeight;  // page pixels a cell high: a line step
  int32_t lastThumbRow;
};

struct ScrollResult {
  bool moved;      // scrollY was set: repaint the view
  bool updateBar;  // put the scroll bar's thumb at the new row
  int32_t scrollY;
  int32_t lastThumbRow;
};

// One WM_VSCROLL step. `code` is the scroll code (SB_LINEUP = 0 ...
// SB_THUMBTRACK = 5), `thumbPosition` the thumb's position in screen pixels.
ScrollResult ScrollStep(const ScrollInput& in, int32_t code, int32_t thumbPosition);

// Home (`bottom` false) and End (true): the top of the page or its last
// full view, the one Page Down of the scroll bar ends on. Kept apart from
// ScrollStep, where the scroll bar's own top and bottom codes do nothing.
ScrollResult ScrollToEdge(const ScrollInput& in, bool bottom);

// The mouse wheel: a notch is a turn of kWheelDelta (the rows it scrolls
// are the user's setting: WheelScrollRows).
constexpr int32_t kWheelDelta = 120;
// Whole notches in `remainder` plus a turn of `delta` (positive: away from
// the user), leaving what is short of a notch in `remainder`, so that fine
// wheels that report parts of a notch scroll as far as coarse ones. A turn
// the other way drops what was left of the last one.
int32_t WheelNotches(int32_t& remainder, int32_t delta);

#endif
