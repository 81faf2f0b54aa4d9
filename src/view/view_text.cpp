#include "view_text.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "../win32/viewer_state.h"
#include "../core/window_geometry.h"
#include "../text/ansi_text.h"
#include "../text/links.h"
#include "view.h"

OpenAddressFunction linkShellExecute = ShellExecuteA;

namespace {

struct ShownText {
  bool collected = false;
  ShownRows rows;
  std::vector<Link> links;
};
ShownText shown;

const Link* pointedLink = nullptr;  // under the pointer, as the last move saw it
// The link under the last press, and the cell pressed: a click opens the
// link only when released in that same cell.
struct LinkPress {
  const Link* link;
  PageCell cell;
};
LinkPress press = {nullptr, {-1, -1}};

const std::vector<Link>& CurrentLinks(const View& view) {
  CurrentShownRows(view);
  return shown.links;
}

const Link* LinkAtPoint(const View& view, int32_t x, int32_t y) {
  const std::optional<PageCell> cell = PageCellAt(view, x, y);
  return cell ? LinkAtCell(CurrentLinks(view), cell->column, cell->row) : nullptr;
}

}  // namespace

const ShownRows& CurrentShownRows(const View& view) {
  if (!shown.collected) {
    // The ANSI colour mode's screen gives its own cells; the text layout's
    // page is laid out again, cut to the size the render drew.
    if (const AnsiScreen* screen = ShownAnsiScreen()) {
      shown.rows = AnsiShownRows(*screen);
    } else {
      shown.rows = CollectShownRows(ShownDocument().laidOut.data(),
                                    ShownDocument().laidOutLength, view.pageWidth / 8, view.pageHeight / 8);
    }
    shown.links = FindLinks(shown.rows);
    shown.collected = true;
  }
  return shown.rows;
}

void ForgetShownRows(ViewerState& viewer) {
  shown = ShownText{};
  pointedLink = press.link = nullptr;
  ForgetFindPosition(viewer);
}

ViewCells CurrentViewCells(const View& view) {
  const int32_t rowPixels = PageRowPixels(view.pageCellHeight);
  return ViewCells{view.columnWidth, view.cellHeight, view.scrollY / rowPixels,
                   view.sourceWidth / view.pageCellWidth, view.sourceHeight / rowPixels};
}

std::optional<PageCell> PageCellAt(const View& view, int32_t x, int32_t y) {
  const ViewCells cells = CurrentViewCells(view);
  if (x < kViewOrigin || y < kViewOrigin || cells.cellWidth <= 0 || cells.cellHeight <= 0)
    return std::nullopt;
  const int32_t column = (x - kViewOrigin) / cells.cellWidth, row = (y - kViewOrigin) / cells.cellHeight;
  if (column >= cells.columns || row >= cells.rows) return std::nullopt;
  return PageCell{column, cells.firstRow + row};
}

RECT CellRunRect(const View& view, const CellRun& run) {
  const ViewCells cells = CurrentViewCells(view);
  const int32_t first = std::min(run.column, cells.columns);
  const int32_t last = std::min(run.column + run.length, cells.columns);
  const int32_t top = kViewOrigin + (run.row - cells.firstRow) * cells.cellHeight;
  return RECT{kViewOrigin + first * cells.cellWidth, top, kViewOrigin + last * cells.cellWidth,
              top + cells.cellHeight};
}

bool OnLinkMouseMove(const View& view, const ViewerState& viewer, LPARAM lParam) {
  const Link* link = LinkAtPoint(view, LOWORD(lParam), HIWORD(lParam));
  if (link == pointedLink) return false;
  pointedLink = link;
  if (link != nullptr) {
    // The address goes from the status bar when the pointer leaves the
    // client area, for the status bar or another window.
    TRACKMOUSEEVENT leave = {sizeof leave, TME_LEAVE, viewer.mainWindow, 0};
    TrackMouseEvent(&leave);
  }
  return true;
}

bool OnLinkMouseLeave() {
  const bool changed = pointedLink != nullptr;
  pointedLink = nullptr;
  return changed;
}

bool SetLinkCursor(const View& view, const ViewerState& viewer) {
  POINT pointer;
  if (!GetCursorPos(&pointer) || !ScreenToClient(viewer.mainWindow, &pointer)) return false;
  if (LinkAtPoint(view, pointer.x, pointer.y) == nullptr) return false;
  SetCursor(LoadCursorA(nullptr, IDC_HAND));
  return true;
}

void OnLinkButtonDown(const View& view, LPARAM lParam) {
  const std::optional<PageCell> cell = PageCellAt(view, LOWORD(lParam), HIWORD(lParam));
  press = cell ? LinkPress{LinkAtCell(CurrentLinks(view), cell->column, cell->row), *cell}
               : LinkPress{nullptr, {-1, -1}};
}

void OnLinkButtonUp(const View& view, const ViewerState& viewer, LPARAM lParam, bool click) {
  const LinkPress pressed = press;
  press.link = nullptr;
  const std::optional<PageCell> cell = PageCellAt(view, LOWORD(lParam), HIWORD(lParam));
  if (!click || pressed.link == nullptr || !cell) return;
  if (cell->column != pressed.cell.column || cell->row != pressed.cell.row) return;
  // Only web and mail addresses of URL characters reach the system, and as
  // the file to open, never as a command line: it hands them to the
  // browser or mail program that handles their scheme.
  if (IsOpenableAddress(pressed.link->address)) {
    linkShellExecute(viewer.mainWindow, "open", pressed.link->address.c_str(), nullptr, nullptr,
                     SW_SHOWNORMAL);
  }
}

const char* PointedLinkAddress() { return pointedLink != nullptr ? pointedLink->address.c_str() : nullptr; }
