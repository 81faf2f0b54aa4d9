// The text the window shows, as the selection, links and Find read it: the
// current document's shown rows, the links on them, and the Find dialog.
#ifndef QUILLPANE_VIEW_TEXT_H
#define QUILLPANE_VIEW_TEXT_H

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "../text/shown_rows.h"
#include "../win32/viewer_state.h"

// The cells the current page shows, collected at most once a render (on
// first use after it) and kept until the next render.
const ShownRows& CurrentShownRows(const View& view);
// A render is about to lay a document out: the rows, their links, the
// pointer's link and the search position go.
void ForgetShownRows(ViewerState& viewer);

// Page cells and client points, in cells of the page's shape (8 x 8 page
// pixels, or a colour screen's 8 or 9 across and its rows' height).
struct ViewCells {
  int32_t cellWidth, cellHeight;  // screen pixels a cell
  int32_t firstRow;               // the page row at the view's top
  int32_t columns, rows;          // whole cells in view
};
ViewCells CurrentViewCells(const View& view);
struct PageCell {
  int32_t column, row;
};
// The page cell under client point (x, y); none outside the view's cells.
std::optional<PageCell> PageCellAt(const View& view, int32_t x, int32_t y);
// The client rectangle of `run`'s cells, cut at the view's right edge (a
// page wider than the view is cut there).
RECT CellRunRect(const View& view, const CellRun& run);

// Links. The window calls these from its mouse messages; true from the
// first two: the pointer's link changed, so the status bar is rewritten.
bool OnLinkMouseMove(const View& view, const ViewerState& viewer, LPARAM lParam);
bool OnLinkMouseLeave();
// WM_SETCURSOR over the client area: the hand over a link (true), else
// nothing is set (false).
bool SetLinkCursor(const View& view, const ViewerState& viewer);
void OnLinkButtonDown(const View& view, LPARAM lParam);
// `click`: the selection took the press and release as a click (no cell
// selected). A click that began and ended in one cell of a link opens it.
void OnLinkButtonUp(const View& view, const ViewerState& viewer, LPARAM lParam, bool click);
// The address of the link under the pointer, or null.
const char* PointedLinkAddress();

// How a click opens an address; tests put a recorder here.
using OpenAddressFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern OpenAddressFunction linkShellExecute;

// Find. Ctrl+F opens the system's modeless Find dialog (or brings it
// forward); its finds arrive as the registered FindDialogMessage().
void OpenFindDialog(const ViewerState& viewer);
HWND FindDialogWindow();  // the open dialog, for IsDialogMessage; or null
UINT FindDialogMessage();
// Each find gives what it has to say for the status bar ("Not found: ...",
// "From the top: ...", or nothing); no value when no find was made.
std::optional<std::string> OnFindDialogMessage(View& view, const ViewerState& viewer, LPARAM lParam);
// F3 (`down`) and Shift+F3: the next or previous match of the last text;
// with no text yet, the dialog opens.
std::optional<std::string> FindAgain(View& view, const ViewerState& viewer, bool down);
// A change of document (any render): the next Find starts at the top, and
// the last one's note goes.
void ForgetFindPosition(ViewerState& viewer);

#endif
