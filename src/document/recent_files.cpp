#include <cstdio>
#include <cstring>

#include "../core/text_helpers.h"
#include "../win32/handles.h"
#include "../win32/registry.h"
#include "../win32/viewer_state.h"
#include "../resources/resource_ids.h"
#include "../view/view.h"
#include "document.h"
#include "pack_file.h"
#include "recent_list.h"

// Several viewers may run at once, and all share the one stored list. So
// that none loses the others' documents, the stored list is the list: each
// push, during the session and at the close alike, reads it again, puts
// the document on top, writes it back at once and refreshes the menu from
// it. The close itself writes only the window's place. Without the
// settings key the list lives in memory for the session.

namespace {

// A number that is missing, of another type or of another size reads as 0.
LONG ReadEdge(HKEY key, const char* name) {
  DWORD value = 0;
  return ReadDwordValue(key, name, value) ? static_cast<LONG>(value) : 0;
}

void EntryValueName(char (&name)[16], int index) { std::snprintf(name, sizeof name, "last5.%d", index); }

void ReadStoredList(HKEY key, RecentFile (&entries)[kRecentFileCount]) {
  for (int i = 0; i < kRecentFileCount; ++i) {
    char name[16];
    EntryValueName(name, i);
    // Read into a buffer of the entry's own size, so that every path an
    // entry can hold comes back whole; a longer value fails the read
    // (ERROR_MORE_DATA) and leaves the entry out of use.
    char buffer[kRecentPathSize] = {};
    DWORD type = 0, size = sizeof buffer;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    TakeStoredRecentFile(entries[i], result == ERROR_SUCCESS && type == REG_SZ, buffer, size);
  }
}

void WriteStoredList(HKEY key, const RecentFile (&entries)[kRecentFileCount]) {
  for (int i = 0; i < kRecentFileCount; ++i) {
    char name[16];
    EntryValueName(name, i);
    // An entry not in use is written as the empty string.
    WriteTextValue(key, name, entries[i].used ? entries[i].path : "");
  }
}

// The place the window comes back to. A minimised window's own rectangle
// stands at -32000, so its restored rectangle is taken instead; the
// placement gives that in workspace coordinates, which start at the work
// area's corner rather than the monitor's.
RECT RestoredWindowRect() {
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

// Two viewers closing at once must not interleave their read, push and
// write of the stored list. A wait that runs out goes on unlocked: a push
// possibly lost is better than a viewer that hangs.
class StoredListLock {
 public:
  StoredListLock() : mutex_(CreateMutexA(nullptr, FALSE, "Quillpane.RecentFiles")) {
    if (mutex_ != nullptr) {
      const DWORD wait = WaitForSingleObject(mutex_, 2000);
      owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
  }
  ~StoredListLock() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_ != nullptr) CloseHandle(mutex_);
  }
  StoredListLock(const StoredListLock&) = delete;
  StoredListLock& operator=(const StoredListLock&) = delete;

 private:
  HANDLE mutex_;
  bool owned_ = false;
};

// Puts the document shown on top of the stored list as it stands now, with
// the entries other viewers pushed since this one last looked. Only a
// document that opened is pushed, by its full path, which names it from
// any folder; a path whose full path does not fit an entry is not kept.
// The program's own file, shown when the command line names no document,
// is no document of the user's.
void PushOntoStoredList() {
  char path[kRecentPathSize] = "";
  const DWORD length = !ShownDocument().Opened() ? 0 : FullDocumentPath(viewer.currentPath, path, sizeof path);
  if (length == 0 || length >= sizeof path || EqualsIgnoringAsciiCase(path, viewer.programPath))
    path[0] = '\0';
  StoredListLock lock;
  const RegistryKey key(CreateKey(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS));
  if (key) ReadStoredList(key.get(), viewer.recentFiles);
  if (PushRecentFile(viewer.recentFiles, path) && key) {
    WriteStoredList(key.get(), viewer.recentFiles);
  }
}

}  // namespace

void SyncSettings(bool save) {
  const RegistryKey key(CreateKey(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS));
  if (save) {
    const RECT place = RestoredWindowRect();
    if (key) {
      WriteDwordValue(key.get(), "last.left", static_cast<DWORD>(place.left));
      WriteDwordValue(key.get(), "last.top", static_cast<DWORD>(place.top));
    }
  } else if (key) {
    // An empty rectangle: the first layout places the window by its
    // top-left corner alone.
    const LONG left = ReadEdge(key.get(), "last.left"), top = ReadEdge(key.get(), "last.top");
    viewer.windowRect = RECT{left, top, left, top};
    ReadStoredList(key.get(), viewer.recentFiles);
  } else {
    // Without the key every read gives the defaults and every write is
    // lost; the program goes on either way.
    viewer.windowRect = RECT{};
    std::memset(viewer.recentFiles, 0, sizeof viewer.recentFiles);
  }
}

void UpdateRecentFiles(bool push) {
  if (push) PushOntoStoredList();
  HMENU menu = GetMenu(viewer.mainWindow);
  for (int i = 0; i < kRecentFileCount; ++i) {
    RecentFile& entry = viewer.recentFiles[i];
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

void OpenRecentFile(int command) {
  const int index = command - IDM_RECENT_FIRST;
  // 405 to 498 name no entry. An entry not in use names no document: its
  // empty path would list the working directory instead.
  if (index < 0 || index >= kRecentFileCount || !viewer.recentFiles[index].used) return;
  // The push inside SwitchDocument moves the entries: keep a copy.
  char path[kRecentPathSize];
  std::memcpy(path, viewer.recentFiles[index].path, sizeof path);
  SwitchDocument(path);
}
