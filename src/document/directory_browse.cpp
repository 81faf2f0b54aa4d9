#include <cstdio>
#include <cstring>
#include <string>

#include "../core/browse_list.h"
#include "../core/text_helpers.h"
#include "../win32/disk_file.h"
#include "../win32/viewer_state.h"
#include "document.h"
#include "pack_file.h"

namespace {

// browseIndex and browseLast say where the shown document stands in it.
BrowseList browseList;

void ListFolder(const ViewerState& viewer) {
  // Listed in this order, one directory search each; at most
  // kFolderListLimit files, and an entry whose directory and name do not
  // fit 255 bytes is left out.
  browseList.Reset(viewer.currentDir, kFolderListLimit);
  for (const char* extension : kArtExtensions) {
    const std::string pattern = std::string(viewer.currentDir) + "*" + extension;
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA(pattern.c_str(), &found));
    if (!search) continue;
    do {
      if (IsListedFile(found, extension)) browseList.Add(std::string(viewer.currentDir) + found.cFileName);
    } while (FindNextFileA(search.get(), &found));
  }
}

// A pack that cannot be read lists nothing; reading its entry says why.
// Every art entry is listed: the pack refuses a list of more than
// kPackEntryLimit entries whole.
void ListPack(const std::string& packPath) {
  browseList.Reset(packPath + '\\', static_cast<int32_t>(kPackEntryLimit));
  const DiskPack pack(packPath);
  if (pack.Pack() == nullptr) return;
  WalkPackPaths(*pack.Pack(), packPath, [](const std::string& path) { browseList.Add(path); });
}

}  // namespace

std::string BrowseEntry(int32_t index) { return browseList.Entry(index); }

void ScanDirectory(View& view, ViewerState& viewer) {
  viewer.browseLast = -1;
  viewer.browseIndex = -1;
  browseList.Reset("", 0);
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
    ListFolder(viewer);
  }
  viewer.browseLast = browseList.Count() - 1;
  // Paths keep their case, as a disk where case matters (A.nfo beside
  // a.nfo) needs; one spelt in another case still finds its file.
  viewer.browseIndex = browseList.Find(viewer.currentPath);
  const bool namesFirst =
      inPack ? split.entry.empty() : std::strcmp(viewer.currentPath, viewer.currentDir) == 0;
  if (namesFirst && viewer.browseLast >= 0) {
    viewer.browseIndex = 0;
    // An entry fits kBrowseEntrySize, less than currentPath holds.
    CopyWholeText(viewer.currentPath, sizeof viewer.currentPath, browseList.Entry(0).c_str());
    view.needsRender = 1;
    InvalidateRect(viewer.mainWindow, &view.repaintRect, TRUE);
  }
}

void BrowseStep(View& view, ViewerState& viewer, Settings& settings, int direction) {
  const int32_t next = viewer.browseIndex + direction;
  if (direction < 0 ? viewer.browseIndex <= 0 : viewer.browseIndex >= viewer.browseLast) return;
  viewer.browseIndex = next;
  SwitchDocument(view, viewer, settings, browseList.Entry(next).c_str());
}
