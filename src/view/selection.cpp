#include <algorithm>
#include <cstring>
#include <string>

#include "../core/text_helpers.h"
#include "../win32/viewer_state.h"
#include "../core/code_page_437.h"
#include "../core/window_geometry.h"
#include "../art/ansi_screen.h"
#include "view.h"
#include "../text/selection_copy.h"
#include "view_text.h"

namespace {

int32_t RowPixels() { return PageRowPixels(viewer.pageCellHeight); }

SelectionGrid ViewGrid() {
  return SelectionGrid{viewer.cellWidth, viewer.cellHeight, viewer.sourceWidth / 8,
                       viewer.sourceHeight / RowPixels()};
}

// The text of `cells` (rows counted from the first row in view) as the
// page shown gives it, in either layout.
void CopyShownCells(const CellSpan& cells) {
  CopySelectedText(CurrentShownRows(), viewer.scrollY / RowPixels(), cells, viewer.selectionText,
                   sizeof viewer.selectionText);
}

// The mouse is not captured: its position is always inside the client
// area, x and y each an unsigned 16-bit value.
SelectionPoint SnappedMouse(LPARAM lParam) { return SnapToCell(LOWORD(lParam), HIWORD(lParam), ViewGrid()); }

CellSpan SelectionCells() { return SelectedCells(viewer.selectionAnchor, viewer.selectionEnd, ViewGrid()); }

// The selection now ends at the mouse: the old and the new rectangle are
// repainted, and the paint inverts the new one.
void MoveSelectionEnd(LPARAM lParam) {
  const SelectionPoint snapped = SnappedMouse(lParam);
  viewer.selectionEnd = SelectionPoint{snapped.x + 2, snapped.y + 2};
  viewer.previousSelectionRect = viewer.selectionRect;
  const SelectionBox box = CellSpanBox(SelectionCells(), ViewGrid());
  viewer.selectionRect = RECT{box.left, box.top, box.right, box.bottom};
  InvalidateRect(viewer.mainWindow, &viewer.selectionRect, TRUE);
  InvalidateRect(viewer.mainWindow, &viewer.previousSelectionRect, TRUE);
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

void OnSelectionButtonDown(LPARAM lParam) {
  viewer.selectionAnchor = SnappedMouse(lParam);
  viewer.selectionDragging = 1;
  viewer.selectionShown = 1;
  // The rectangle of an earlier selection goes at once: kept, it would be
  // inverted again over whatever a scroll or a new document has put there
  // since it was hidden.
  InvalidateRect(viewer.mainWindow, &viewer.selectionRect, TRUE);
  const LONG left = viewer.selectionAnchor.x + 2, top = viewer.selectionAnchor.y + 2;
  viewer.selectionRect = RECT{left, top, left, top};
}

void OnSelectionMouseMove(LPARAM lParam) {
  if (viewer.selectionDragging) MoveSelectionEnd(lParam);
}

bool OnSelectionButtonUp(LPARAM lParam) {
  if (!viewer.selectionDragging) return false;
  viewer.selectionDragging = 0;
  // The release point may differ from the last move's: the rectangle
  // follows it, so that what stays inverted is what was copied.
  MoveSelectionEnd(lParam);
  const CellSpan cells = SelectionCells();
  if (cells.width == 0 || cells.height == 0) {
    // No cell is selected: a click (released in the press cell, say to
    // bring the window forward) hides the selection and leaves the
    // clipboard alone, so what the user copied elsewhere stays there. A
    // release on the press cell's own row or column of grid lines selects
    // no cell either and is taken the same way: its rectangle is empty, so
    // hiding it changes nothing on screen, and copying it would only put
    // line breaks or nothing on the clipboard.
    viewer.selectionShown = 0;
    InvalidateRect(viewer.mainWindow, &viewer.selectionRect, TRUE);
    return true;
  }
  ClearText(viewer.selectionText, sizeof viewer.selectionText);
  CopyShownCells(cells);
  CopyTextToClipboard(viewer.selectionText);
  return false;
}

void CopyTextToClipboard(const char* text) {
  const void* zero = std::memchr(text, '\0', kSelectionTextLimit);
  const size_t length =
      zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : kSelectionTextLimit;
  const std::string bytes(text, length);
  // The characters the glyphs show as Unicode: programs that paste Unicode
  // would otherwise read the bytes in the system's code page.
  const std::u16string unicode = CodePage437ToUnicode(bytes.c_str());
  // CF_TEXT is read in the process's ANSI code page. When that is UTF-8
  // (as a manifest can ask), bytes from 128 up would read as broken UTF-8,
  // so it holds the UTF-8 of the characters the glyphs show. Any other code
  // page gets the art's own bytes: a conversion into it would turn box
  // drawing and blocks into question marks, while the bytes paste right
  // into anything that shows code page 437.
  const std::string ansi = GetACP() == CP_UTF8 ? CodePage437ToUtf8(bytes.c_str()) : bytes;
  HGLOBAL blocks[] = {
      FilledBlock(ansi.data(), ansi.size(), std::max<size_t>(ansi.size() + 1, kSelectionTextSize)),
      FilledBlock(unicode.data(), unicode.size() * sizeof(char16_t),
                  (unicode.size() + 1) * sizeof(char16_t))};
  if (!OpenClipboard(viewer.mainWindow)) {
    for (HGLOBAL block : blocks) {
      if (block != nullptr) GlobalFree(block);
    }
    return;
  }
  EmptyClipboard();
  PlaceOnClipboard(CF_TEXT, blocks[0]);
  PlaceOnClipboard(CF_UNICODETEXT, blocks[1]);
  CloseClipboard();
}
