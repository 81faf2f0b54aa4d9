#include <cstring>
#include <vector>

#include "../win32/viewer_state.h"
#include "document.h"

BOOL(WINAPI* runOpenDialog)(LPOPENFILENAMEA request) = GetOpenFileNameA;

namespace {

// Description and pattern pairs, each ended by a zero byte; the literal's
// own zero ends the list.
constexpr char kFilter[] =
    "All Recognized\0*.nfo;*.diz;*.ans;*.asc\0Nfo\0*.nfo\0Diz\0*.diz\0Ansi\0*.ans\0Ascii\0*.asc\0"
    "Files(*.*)\0*.*\0";

}  // namespace

void ChooseDocumentFile() {
  OPENFILENAMEA& request = viewer.openRequest;
  std::memset(&request, 0, sizeof request);
  request.lStructSize = sizeof request;
  request.hwndOwner = viewer.mainWindow;
  request.lpstrFilter = kFilter;
  request.nFilterIndex = 1;
  // openFileName is never emptied: each dialog starts with the path chosen
  // the time before.
  request.lpstrFile = viewer.openFileName;
  request.nMaxFile = sizeof viewer.openFileName;
  request.lpstrTitle = "Load";
  request.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  // A failed dialog may leave the size it wanted in the first two bytes of
  // the path; a failure counts as a cancel, which changes nothing.
  char lastChosen[sizeof viewer.openFileName];
  std::memcpy(lastChosen, viewer.openFileName, sizeof lastChosen);
  if (runOpenDialog(&request)) {
    viewer.pathChanged = 1;
  } else {
    CommDlgExtendedError();
    std::memcpy(viewer.openFileName, lastChosen, sizeof lastChosen);
    viewer.pathChanged = 0;
  }
}

void OnDropFiles(HDROP drop) {
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
  SwitchDocument(path.data());
}
