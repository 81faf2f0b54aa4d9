#include <cstdio>
#include <cstring>

#include "../core/registry.h"
#include "../core/viewer_state.h"
#include "../resources/resource_ids.h"
#include "document.h"
#include "recent_list.h"

namespace {

// A number that is missing, of another type or of another size reads as 0.
LONG ReadEdge(HKEY key, const char* name) {
  DWORD value = 0;
  return ReadDwordValue(key, name, value) ? static_cast<LONG>(value) : 0;
}

void EntryValueName(char (&name)[16], int index) { std::snprintf(name, sizeof name, "last5.%d", index); }

void LoadSettings(HKEY key) {
  viewer.windowRect.left = ReadEdge(key, "last.left");
  viewer.windowRect.top = ReadEdge(key, "last.top");
  for (int i = 0; i < kRecentFileCount; ++i) {
    char name[16];
    EntryValueName(name, i);
    // Read into a buffer of the entry's own size, so that every path an
    // entry can hold comes back whole; a longer value fails the read
    // (ERROR_MORE_DATA) and leaves the entry out of use.
    char buffer[kRecentPathSize] = {};
    DWORD type = 0, size = sizeof buffer;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    TakeStoredRecentFile(viewer.recentFiles[i], result == ERROR_SUCCESS && type == REG_SZ, buffer, size);
  }
}

void SaveSettings(HKEY key) {
  GetWindowRect(viewer.mainWindow, &viewer.windowRect);
  WriteDwordValue(key, "last.left", static_cast<DWORD>(viewer.windowRect.left));
  WriteDwordValue(key, "last.top", static_cast<DWORD>(viewer.windowRect.top));
  for (int i = 0; i < kRecentFileCount; ++i) {
    char name[16];
    EntryValueName(name, i);
    // An entry not in use is written as the empty string.
    const RecentFile& entry = viewer.recentFiles[i];
    const char* path = entry.used ? entry.path : "";
    WriteTextValue(key, name, path);
  }
}

}  // namespace

void SyncSettings(bool save) {
  HKEY key = CreateKey(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS);
  if (key == nullptr) {
    // Without the key every read gives the defaults and every write is
    // lost; the program goes on either way.
    if (!save) {
      viewer.windowRect.left = 0;
      viewer.windowRect.top = 0;
      std::memset(viewer.recentFiles, 0, sizeof viewer.recentFiles);
    }
    return;
  }
  if (save) {
    SaveSettings(key);
  } else {
    LoadSettings(key);
  }
  RegCloseKey(key);
}

void UpdateRecentFiles(bool push) {
  HMENU menu = GetMenu(viewer.mainWindow);
  if (push && PushRecentFile(viewer.recentFiles, viewer.currentPath)) {
    EnableMenuItem(menu, IDM_RECENT_FIRST, MF_BYCOMMAND | MF_ENABLED);
  }
  // Items of entries not in use keep their text and state.
  for (int i = 0; i < kRecentFileCount; ++i) {
    RecentFile& entry = viewer.recentFiles[i];
    if (!entry.used) continue;
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE;
    item.fType = MFT_STRING;
    item.dwTypeData = entry.path;
    SetMenuItemInfoA(menu, IDM_RECENT_FIRST + i, FALSE, &item);
    EnableMenuItem(menu, IDM_RECENT_FIRST + i, MF_BYCOMMAND | MF_ENABLED);
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
