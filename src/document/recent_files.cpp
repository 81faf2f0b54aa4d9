#include <cstdio>
#include <cstring>

#include "../core/text_helpers.h"
#include "../win32/settings.h"
#include "../win32/viewer_state.h"
#include "../resources/resource_ids.h"
#include "../view/view.h"
#include "document.h"
#include "pack_file.h"

// Several viewers may run at once, and all share the one stored list. So
// that none loses the others' documents, the stored list is the list: each
// push, during the session and at the close alike, reads it again, puts
// the document on top, writes it back at once and refreshes the menu from
// it. The close itself writes only the window's place. Without the
// settings key the list lives in memory for the session.

namespace {

// The place the window comes back to. A minimised window's own rectangle
// stands at -32000, so its restored rectangle is taken instead; the
// placement gives that in workspace coordinates, which start at the work
// area's corner rather than the monitor's.
RECT RestoredWindowRect(const ViewerState& viewer) {
  RECT rect = {};
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  if (!IsIconic(viewer.mainWindow) || !GetWindowPlacement(viewer.mainWindow, &placement)) {
    GetWindowRect(viewer.mainWindow, &rect);
    return rect;
  }
  rect = placement.rcNormalPosition;
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
    OffsetRect(&rect, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
  }
  return rect;
}

// Puts the document shown on top of the stored list as it stands now, with
// the entries other viewers pushed since this one last looked. Only a
// document that opened is pushed, by its full path, which names it from
// any folder; a path whose full path does not fit an entry is not kept.
// The program's own file, shown when the command line names no document,
// is no document of the user's.
void PushOntoStoredList(const ViewerState& viewer, Settings& settings) {
  char path[kRecentPathSize] = "";
  const DWORD length = !ShownDocument().Opened() ? 0 : FullDocumentPath(viewer.currentPath, path, sizeof path);
  if (length == 0 || length >= sizeof path || EqualsIgnoringAsciiCase(path, viewer.programPath))
    path[0] = '\0';
  PushRecentFileStored(settings, path);
}

}  // namespace

void SyncSettings(View& view, const ViewerState& viewer, Settings& settings, bool save) {
  LONG left = 0, top = 0;
  if (save) {
    const RECT place = RestoredWindowRect(viewer);
    WriteWindowPlace(place.left, place.top);
  } else if (ReadWindowPlace(left, top)) {
    // An empty rectangle: the first layout places the window by its
    // top-left corner alone.
    view.windowRect = RECT{left, top, left, top};
    ReadRecentFiles(settings);
  } else {
    view.windowRect = RECT{};
    std::memset(settings.recentFiles, 0, sizeof settings.recentFiles);
  }
}

void UpdateRecentFiles(const ViewerState& viewer, Settings& settings, bool push) {
  if (push) PushOntoStoredList(viewer, settings);
  HMENU menu = GetMenu(viewer.mainWindow);
  for (int i = 0; i < kRecentFileCount; ++i) {
    RecentFile& entry = settings.recentFiles[i];
    // An entry not in use reads "none" and is grayed, as at the start: one
    // that another viewer's list no longer has must not keep its old path.
    char none[] = "none";
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE;
    item.fType = MFT_STRING;
    item.dwTypeData = entry.used ? entry.path : none;
    SetMenuItemInfoA(menu, IDM_RECENT_FIRST + i, FALSE, &item);
    EnableMenuItem(menu, IDM_RECENT_FIRST + i, MF_BYCOMMAND | (entry.used ? MF_ENABLED : MF_GRAYED));
  }
}

void OpenRecentFile(View& view, ViewerState& viewer, Settings& settings, int command) {
  const int index = command - IDM_RECENT_FIRST;
  // 405 to 498 name no entry. An entry not in use names no document: its
  // empty path would list the working directory instead.
  if (index < 0 || index >= kRecentFileCount || !settings.recentFiles[index].used) return;
  // The push inside SwitchDocument moves the entries: keep a copy.
  char path[kRecentPathSize];
  std::memcpy(path, settings.recentFiles[index].path, sizeof path);
  SwitchDocument(view, viewer, settings, path);
}
