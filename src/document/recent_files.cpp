#include <cstdio>
#include <cstring>

#include "../app/viewer_state.h"
#include "../resources/resource_ids.h"
#include "document.h"

namespace {

constexpr char kSettingsKey[] = "Software\\Molvo\\Quillpane";

// A number that is missing, of another type or of another size reads as 0.
LONG ReadEdge(HKEY key, const char* name) {
  DWORD type = 0, value = 0, size = sizeof value;
  const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return 0;
  return static_cast<LONG>(value);
}

void WriteEdge(HKEY key, const char* name, LONG edge) {
  const DWORD value = static_cast<DWORD>(edge);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
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
  WriteEdge(key, "last.left", viewer.windowRect.left);
  WriteEdge(key, "last.top", viewer.windowRect.top);
  for (int i = 0; i < kRecentFileCount; ++i) {
    char name[16];
    EntryValueName(name, i);
    // An entry not in use is written as the empty string.
    const RecentFile& entry = viewer.recentFiles[i];
    const char* path = entry.used ? entry.path : "";
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                   static_cast<DWORD>(std::strlen(path) + 1));
  }
}

}  // namespace

void SyncSettings(bool save) {
  static char keyClass[] = "REG_SZ";
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
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
