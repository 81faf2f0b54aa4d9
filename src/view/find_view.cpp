// Find: the system's Find dialog, F3 and Shift+F3, and the match shown as
// the selection.
#include <windows.h>
#include <commdlg.h>
// The system's name for the Find dialog's function; the name here is the
// search over the shown rows, and the dialog is opened as FindTextA.
#undef FindText

#include <cstdio>
#include <optional>
#include <string>

#include "../core/scroll_steps.h"
#include "../win32/viewer_state.h"
#include "window_layout.h"
#include "../text/text_search.h"
#include "view.h"
#include "view_text.h"

namespace {

// The dialog keeps its text here while it is open, and F3 reads it after.
char findWhat[256];
FINDREPLACEA findRequest;
HWND findDialog;
bool findDown = true;
bool findMatchCase = false;
// Where the last match began; none: Find starts at the top (or, going up,
// at the end) of the document.
std::optional<TextPosition> findFrom;

// What the user typed, in the process's ANSI code page (which a manifest
// can make UTF-8), as UTF-16; empty when it does not convert.
std::u16string TypedNeedle(const char* typed) {
  wchar_t wide[sizeof findWhat];
  const int length = MultiByteToWideChar(CP_ACP, 0, typed, -1, wide, static_cast<int>(sizeof findWhat));
  if (length <= 1) return {};
  return std::u16string(wide, wide + length - 1);
}

// The match's first run becomes the selection, scrolled into view with
// the rest of its rows. A match that a wrap cut goes on at the start of
// the next row: the selection is one rectangle, and the one that covered
// both pieces would take in the whole of both rows, so it shows the piece
// where the match begins; the scroll keeps the other piece's row in view.
void ShowMatch(View& view, const ViewerState& viewer, const CellRuns& runs) {
  const ViewCells before = CurrentViewCells(view);
  const int32_t rows = RowsToShow(runs.front().row, runs.back().row, before.firstRow, before.rows);
  if (rows != 0) ScrollByRows(view, viewer, rows);
  InvalidateRect(viewer.mainWindow, &view.selectionRect, TRUE);
  // A match past the view's right edge is selected but not shown.
  view.selectionRect = CellRunRect(view, runs.front());
  view.selectionShown = 1;
  view.selectionDragging = 0;
  InvalidateRect(viewer.mainWindow, &view.selectionRect, TRUE);
}

std::string Find(View& view, const ViewerState& viewer, bool down) {
  const FindResult result =
      FindText(CurrentShownRows(view),
               FindRequest{TypedNeedle(findWhat), findMatchCase, down, findFrom, ShownCharacters()});
  // Nothing moves when nothing is found: the view, the selection and the
  // search position stay.
  if (!result.found) return std::string("Not found: ") + findWhat;
  findFrom = TextPosition{result.cells.front().row, result.cells.front().column};
  ShowMatch(view, viewer, result.cells);
  return result.wrapped ? std::string(down ? "From the top: " : "From the end: ") + findWhat : std::string();
}

}  // namespace

void ForgetFindPosition(ViewerState& viewer) {
  findFrom.reset();
  viewer.findNote[0] = '\0';
}

void OpenFindDialog(const ViewerState& viewer) {
  if (FindDialogWindow() != nullptr) {
    SetActiveWindow(findDialog);
    return;
  }
  findRequest = FINDREPLACEA{};
  findRequest.lStructSize = sizeof findRequest;
  findRequest.hwndOwner = viewer.mainWindow;
  findRequest.lpstrFindWhat = findWhat;
  findRequest.wFindWhatLen = sizeof findWhat;
  // No whole-word matching: cells hold art as much as words.
  findRequest.Flags = FR_HIDEWHOLEWORD | (findDown ? FR_DOWN : 0) | (findMatchCase ? FR_MATCHCASE : 0);
  findDialog = FindTextA(&findRequest);
}

HWND FindDialogWindow() {
  // The dialog goes with the window that owns it, without a word.
  if (findDialog != nullptr && !IsWindow(findDialog)) findDialog = nullptr;
  return findDialog;
}

UINT FindDialogMessage() {
  static const UINT message = RegisterWindowMessageA(FINDMSGSTRINGA);
  return message;
}

std::optional<std::string> OnFindDialogMessage(View& view, const ViewerState& viewer, LPARAM lParam) {
  const auto* request = reinterpret_cast<const FINDREPLACEA*>(lParam);
  if (request == nullptr) return std::nullopt;
  if (request->Flags & FR_DIALOGTERM) {
    findDialog = nullptr;
    return std::nullopt;
  }
  if (!(request->Flags & FR_FINDNEXT)) return std::nullopt;
  if (request->lpstrFindWhat != findWhat) lstrcpynA(findWhat, request->lpstrFindWhat, sizeof findWhat);
  findDown = (request->Flags & FR_DOWN) != 0;
  findMatchCase = (request->Flags & FR_MATCHCASE) != 0;
  return Find(view, viewer, findDown);
}

std::optional<std::string> FindAgain(View& view, const ViewerState& viewer, bool down) {
  if (findWhat[0] == '\0') {
    OpenFindDialog(viewer);
    return std::nullopt;
  }
  return Find(view, viewer, down);
}
