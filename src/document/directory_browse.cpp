#include <cstdio>
#include <cstring>
#include <string>

#include "../core/text_helpers.h"
#include "../win32/disk_file.h"
#include "../win32/viewer_state.h"
#include "document.h"
#include "pack_file.h"

namespace {

void AddEntry(const char* folder, const char* name) {
  // The list is full at 16000 entries; later files are not listed. An entry
  // whose directory and name do not fit 255 bytes is left out rather than
  // cut into another path.
  if (viewer.browseLast + 1 >= kBrowseListSize) return;
  char* entry = viewer.browseList[viewer.browseLast + 1];
  const int written = std::snprintf(entry, kBrowseEntrySize, "%s%s", folder, name);
  if (written < 0 || written >= kBrowseEntrySize) return;
  ++viewer.browseLast;
}

// The shown document's place in the list. Paths keep their case, as a disk
// where case matters (A.nfo beside a.nfo) needs; a path spelt in another
// case than the name found (C:\ART\A.NFO for a.nfo) still finds the first
// entry that differs only in case when none is equal.
int32_t FindCurrentEntry() {
  int32_t found = -1;
  for (int32_t i = viewer.browseLast; i >= 0; --i) {
    if (std::strcmp(viewer.browseList[i], viewer.currentPath) == 0) return i;
    if (EqualsIgnoringAsciiCase(viewer.browseList[i], viewer.currentPath)) found = i;
  }
  return found;
}

void ListFolder() {
  // Listed in this order, one directory search each.
  for (const char* extension : kArtExtensions) {
    const std::string pattern = std::string(viewer.currentDir) + "*" + extension;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      if (IsListedFile(found, extension)) AddEntry(viewer.currentDir, found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
}

// A pack that cannot be read lists nothing; reading its entry says why.
void ListPack(const std::string& packPath) {
  const DiskPack pack(packPath);
  if (pack.Pack() == nullptr) return;
  WalkPackPaths(*pack.Pack(), packPath, [](const std::string& path) { AddEntry("", path.c_str()); });
}

}  // namespace

void ScanDirectory() {
  viewer.browseLast = -1;
  viewer.browseIndex = -1;
  // A refused path names no directory; searching its empty directory part
  // would list the working directory instead.
  if (viewer.currentPathRefused) return;
  // Inside a pack the walk goes through the pack's art, all of its folders
  // in one list, and the pack itself names its first art entry as a folder
  // names its first file.
  PackPath split;
  const bool inPack = IsPackPath(viewer.currentPath, split);
  if (inPack) {
    ListPack(split.pack);
  } else {
    ListFolder();
  }
  viewer.browseIndex = FindCurrentEntry();
  const bool namesFirst =
      inPack ? split.entry.empty() : std::strcmp(viewer.currentPath, viewer.currentDir) == 0;
  if (namesFirst && viewer.browseLast >= 0) {
    viewer.browseIndex = 0;
    std::memcpy(viewer.currentPath, viewer.browseList[0], kBrowseEntrySize);
    view.needsRender = 1;
    InvalidateRect(viewer.mainWindow, &view.repaintRect, TRUE);
  }
}

void BrowseStep(int direction) {
  const int32_t next = viewer.browseIndex + direction;
  if (direction < 0 ? viewer.browseIndex <= 0 : viewer.browseIndex >= viewer.browseLast) return;
  viewer.browseIndex = next;
  SwitchDocument(viewer.browseList[next]);
}
