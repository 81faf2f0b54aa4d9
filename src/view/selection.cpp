#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "../win32/viewer_state.h"
#include "../core/code_page_437.h"
#include "../core/window_geometry.h"
#include "../art/ansi_screen.h"
#include "view.h"
#include "../text/selection_copy.h"
#include "view_text.h"

namespace {

int32_t RowPixels(const View& view) { return PageRowPixels(view.pageCellHeight); }

SelectionGrid ViewGrid(const View& view) {
  return SelectionGrid{view.columnWidth, view.cellHeight, view.sourceWidth / view.pageCellWidth,
                       view.sourceHeight / RowPixels(view)};
}

// The mouse is not captured: its position is always inside the client
// area, x and y each an unsigned 16-bit value.
SelectionPoint SnappedMouse(const View& view, LPARAM lParam) {
  return SnapToCell(LOWORD(lParam), HIWORD(lParam), ViewGrid(view));
}

// The selection now ends at the mouse: the old and the new rectangle are
// repainted, and the paint inverts the new one. Returns the cells it covers.
CellSpan MoveSelectionEnd(View& view, const ViewerState& viewer, LPARAM lParam) {
  const SelectionPoint snapped = SnappedMouse(view, lParam);
  const CellSpan cells = SelectedCells(view.selectionAnchor, {snapped.x + 2, snapped.y + 2}, ViewGrid(view));
  const RECT previous = view.selectionRect;
  const SelectionBox box = CellSpanBox(cells, ViewGrid(view));
  view.selectionRect = RECT{box.left, box.top, box.right, box.bottom};
  InvalidateRect(viewer.mainWindow, &view.selectionRect, TRUE);
  InvalidateRect(viewer.mainWindow, &previous, TRUE);
  return cells;
}

// A clipboard block of `size` zeroed bytes that begins with `bytes`; filled
// before the clipboard is opened. Null when it cannot be made.
HGLOBAL FilledBlock(const void* bytes, size_t count, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, size);
  void* memory = block != nullptr ? GlobalLock(block) : nullptr;
  if (memory == nullptr) {
    if (block != nullptr) GlobalFree(block);
    return nullptr;
  }
  std::memcpy(memory, bytes, count);
  GlobalUnlock(block);
  return block;
}

// Hands `block` to the clipboard, which owns it from then on; a block the
// clipboard refuses is freed here.
void PlaceOnClipboard(UINT format, HGLOBAL block) {
  if (block != nullptr && SetClipboardData(format, block) == nullptr) GlobalFree(block);
}

}  // namespace

void OnSelectionButtonDown(View& view, const ViewerState& viewer, LPARAM lParam) {
  view.selectionAnchor = SnappedMouse(view, lParam);
  view.selectionDragging = 1;
  view.selectionShown = 1;
  // The rectangle of an earlier selection goes at once: kept, it would be
  // inverted again over whatever a scroll or a new document has put there
  // since it was hidden.
  InvalidateRect(viewer.mainWindow, &view.selectionRect, TRUE);
  const LONG left = view.selectionAnchor.x + 2, top = view.selectionAnchor.y + 2;
  view.selectionRect = RECT{left, top, left, top};
}

void OnSelectionMouseMove(View& view, const ViewerState& viewer, LPARAM lParam) {
  if (view.selectionDragging) MoveSelectionEnd(view, viewer, lParam);
}

bool OnSelectionButtonUp(View& view, const ViewerState& viewer, LPARAM lParam) {
  if (!view.selectionDragging) return false;
  view.selectionDragging = 0;
  // The release point may differ from the last move's: the rectangle
  // follows it, so that what stays inverted is what was copied.
  const CellSpan cells = MoveSelectionEnd(view, viewer, lParam);
  if (cells.width == 0 || cells.height == 0) {
    // No cell is selected: a click (released in the press cell, say to
    // bring the window forward) hides the selection and leaves the
    // clipboard alone, so what the user copied elsewhere stays there. A
    // release on the press cell's own row or column of grid lines selects
    // no cell either and is taken the same way: its rectangle is empty, so
    // hiding it changes nothing on screen, and copying it would only put
    // line breaks or nothing on the clipboard.
    view.selectionShown = 0;
    InvalidateRect(viewer.mainWindow, &view.selectionRect, TRUE);
    return true;
  }
  // The text of the cells as the page shown gives it, in either layout.
  char text[kSelectionTextLimit + 1];
  CopySelectedText(CurrentShownRows(view), view.scrollY / RowPixels(view), cells, text, sizeof text);
  CopyTextToClipboard(viewer.mainWindow, text, ShownCharacters());
  return false;
}

std::optional<CellSpan> SelectedPageCells(const View& view) {
  const SelectionGrid grid = ViewGrid(view);
  const RECT& box = view.selectionRect;
  if (!view.selectionShown || grid.cellWidth <= 0 || grid.cellHeight <= 0) return std::nullopt;
  // The rectangle lies on the grid's cells (CellSpanBox, or a Find's run
  // cut at the view's right edge), and every scroll hides it: the rows in
  // view now are those it was drawn over.
  const CellSpan cells{(box.left - kViewOrigin) / grid.cellWidth,
                       view.scrollY / RowPixels(view) + (box.top - kViewOrigin) / grid.cellHeight,
                       (box.right - box.left) / grid.cellWidth, (box.bottom - box.top) / grid.cellHeight};
  if (cells.column < 0 || cells.width <= 0 || cells.height <= 0) return std::nullopt;
  return cells;
}

void CopyTextToClipboard(HWND owner, const char* text, const char16_t* characters) {
  const void* zero = std::memchr(text, '\0', kSelectionTextLimit);
  const size_t length =
      zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : kSelectionTextLimit;
  // The characters the glyphs show as Unicode, for the programs that paste Unicode.
  const std::u16string unicode = CharactersToUnicode(std::string(text, length).c_str(), characters);
  // CF_TEXT is read in the reading program's code page, the system's (1252 and the like), never this
  // process's UTF-8; no conversion into it keeps box drawing. So CF_TEXT and CF_OEMTEXT hold the art's own
  // bytes, and CF_LOCALE names a language whose OEM code page is the font's (US English for 437): read as
  // OEM text they are the art exactly. All four formats are given, so the system synthesises none of them
  // from another. A font whose code page no language has for OEM text (855, 864, the Amiga's...) gives no
  // OEM text and no locale: its bytes would be read as another code page's.
  const LCID locale = OemLocaleOf(characters);
  const size_t textSize = std::max<size_t>(length + 1, kSelectionTextSize);
  const std::pair<UINT, HGLOBAL> formats[] = {
      {CF_LOCALE, locale != 0 ? FilledBlock(&locale, sizeof locale, sizeof locale) : nullptr},
      {CF_TEXT, FilledBlock(text, length, textSize)},
      {CF_OEMTEXT, locale != 0 ? FilledBlock(text, length, textSize) : nullptr},
      {CF_UNICODETEXT, FilledBlock(unicode.data(), unicode.size() * sizeof(char16_t),
                                   (unicode.size() + 1) * sizeof(char16_t))}};
  if (!OpenClipboard(owner)) {
    for (const auto& [format, block] : formats) {
      if (block != nullptr) GlobalFree(block);
    }
    return;
  }
  EmptyClipboard();
  for (const auto& [format, block] : formats) PlaceOnClipboard(format, block);
  CloseClipboard();
}
