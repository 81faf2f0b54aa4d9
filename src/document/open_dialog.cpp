#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../art/art_formats.h"
#include "../win32/viewer_state.h"
#include "document.h"
#include "pack_file.h"

BOOL(WINAPI* runOpenDialog)(LPOPENFILENAMEA request) = GetOpenFileNameA;

namespace {

// Description and pattern pairs, each ended by a zero byte, from the table
// of formats; the string's own zero ends the list.
const std::string kFilter = OpenDialogFilter("ZIP packs (shown from their first art)", "*.zip");

// The dialog's path, in bytes of the program's code page, UTF-8. The
// dialog measures the path it chose in characters (at most MAX_PATH - 1)
// and Wine's converts it into only nMaxFile bytes, cut and without its zero
// when they run out: three bytes a character hold every path whole. One of
// 300 bytes or more is then refused whole by SwitchDocument like any other.
constexpr size_t kOpenFileNameSize = 3 * MAX_PATH;

// The path chosen last, for the whole run: each dialog starts with it.
char lastChosen[kOpenFileNameSize];

}  // namespace

int(WINAPI* openDialogMessageBox)(HWND, LPCSTR, LPCSTR, UINT) = MessageBoxA;

std::optional<std::string> ChooseDocumentFile(const ViewerState& viewer) {
  OPENFILENAMEA request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = viewer.mainWindow;
  request.lpstrFilter = kFilter.c_str();
  request.nFilterIndex = 1;
  // A failed dialog may leave the size it wanted in the first two bytes of
  // the path: it works on a copy, kept only when a file is chosen.
  char path[kOpenFileNameSize];
  std::memcpy(path, lastChosen, sizeof path);
  request.lpstrFile = path;
  request.nMaxFile = sizeof path;
  // With no path chosen yet, the dialog opens in the shown document's
  // folder (a pack's entry: the pack's), not in the folder the program
  // started in. A path chosen before names its own folder.
  PackPath split;
  const std::string shown = IsPackPath(viewer.currentPath, split) ? split.pack : viewer.currentPath;
  const std::string folder = shown.substr(0, shown.find_last_of('\\') + 1);
  if (!folder.empty()) request.lpstrInitialDir = folder.c_str();
  request.lpstrTitle = "Load";
  request.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (runOpenDialog(&request)) {
    std::memcpy(lastChosen, path, sizeof path);
    return std::string(path, strnlen(path, sizeof path));
  }
  // Zero is a cancel. The dialog's own errors have no system text: the box
  // names the code, as the headers spell it, for a search or a report.
  if (const DWORD error = CommDlgExtendedError()) {
    char message[100];
    std::snprintf(message, sizeof message, "The Open dialog failed (common dialog error 0x%04lX).",
                  static_cast<unsigned long>(error));
    openDialogMessageBox(viewer.mainWindow, message, "Quillpane", MB_OK | MB_ICONERROR);
  }
  return std::nullopt;
}

void OnDropFiles(View& view, ViewerState& viewer, Settings& settings, HDROP drop) {
  SetForegroundWindow(viewer.mainWindow);
  // Only the first dropped file is shown. Its path is fetched whole, however
  // long: SwitchDocument refuses one of 300 bytes or more, which then shows
  // like a file that cannot be opened, rather than cutting it into the path
  // of another file.
  const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
  std::vector<char> path(length + 1, '\0');
  if (length > 0) DragQueryFileA(drop, 0, path.data(), length + 1);
  DragFinish(drop);
  // A drop without a file names no document.
  if (length == 0) return;
  SwitchDocument(view, viewer, settings, path.data());
}
