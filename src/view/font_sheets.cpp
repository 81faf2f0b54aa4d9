#include <cstdio>
#include <cstring>
#include <string>

#include "../win32/disk_file.h"
#include "../win32/handles.h"
#include "../core/text_helpers.h"
#include "../win32/viewer_state.h"
#include "../resources/resource_ids.h"
#include "../raster/bmp_header.h"
#include "font_sheet_list.h"
#include "view.h"

namespace {

// Paths are formed in buffers of their own, room for programDir, the fonts
// folder and any file name, not in the 120 bytes that read an .ini: a long
// program folder never overruns, and its sheets are still found.
constexpr size_t kFontPathSize = kPathBufferSize + 8 + MAX_PATH;

// `fileName` in the fonts folder beside the program; false when the path
// does not fit (it is refused, never cut into another path). The program's
// folder is programDir up to its last backslash or slash (Windows takes
// both, and a program started by a Linux path under Wine has slashes);
// with neither, the program was started by bare name from the current
// folder.
bool FontsFolderPath(const ViewerState& viewer, const char* fileName, char* path, size_t size) {
  size_t dirLength = std::strlen(viewer.programDir);
  while (dirLength > 0 && viewer.programDir[dirLength - 1] != '\\' &&
         viewer.programDir[dirLength - 1] != '/') {
    --dirLength;
  }
  const int written =
      std::snprintf(path, size, "%.*sfonts\\%s", static_cast<int>(dirLength), viewer.programDir, fileName);
  return written >= 0 && static_cast<size_t>(written) < size;
}

// The name shown for the sheet of `iniName`, read from the first bytes of
// the file; false when the file cannot be opened.
bool ReadFontName(const ViewerState& viewer, const char* iniName, std::string& name) {
  char path[kFontPathSize];
  if (!FontsFolderPath(viewer, iniName, path, sizeof path)) return false;
  const FileHandle file(OpenDiskFile(path, FILE_SHARE_READ));
  if (!file) return false;
  char bytes[kFontNameReadSize];
  DWORD count = 0;
  if (!ReadFile(file.get(), bytes, sizeof bytes, &count, nullptr)) count = 0;
  name = FontDisplayName(bytes, static_cast<int32_t>(count));
  return true;
}

// Adds the sheet of `iniName` to fontList; a sheet whose .ini cannot be
// opened, or whose bitmap path does not fit its field, gets no entry.
void AddFontSheet(View& view, const ViewerState& viewer, const char* iniName) {
  std::string name;
  if (!ReadFontName(viewer, iniName, name)) return;
  FontEntry& entry = view.fontList[view.fontCount];
  const std::string bitmapName = FontSheetBaseName(iniName) + ".bmp";
  if (!FontsFolderPath(viewer, bitmapName.c_str(), entry.fontBitmapPath, sizeof entry.fontBitmapPath)) return;
  CopyWholeText(entry.fontName, sizeof entry.fontName, name);  // at most 119 bytes
  ++view.fontCount;
}

}  // namespace

HBITMAP LoadFontSheetFile(const char* path) {
  // The system's loader trusts the headers: they are checked against the
  // file's size first, and a sheet of another size or of pixels that cannot
  // be read is refused. The file stays open, and shut to writers, until the
  // loader has read it.
  const FileHandle file(OpenDiskFile(path, FILE_SHARE_READ));
  if (!file) return nullptr;
  uint8_t head[kBmpHeadSize];
  DWORD count = 0;
  LARGE_INTEGER size;
  HBITMAP sheet = nullptr;
  if (GetFileSizeEx(file.get(), &size) && ReadFile(file.get(), head, sizeof head, &count, nullptr) &&
      IsGlyphSheetBmp(head, count, static_cast<uint64_t>(size.QuadPart))) {
    // A section keeps a colour sheet's own pixels whatever the display's depth.
    sheet = static_cast<HBITMAP>(
        LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  }
  return sheet;
}

HBITMAP LoadFontSheet(const ViewerState& viewer, const char* name) {
  char path[kFontPathSize];
  const std::string fileName = std::string(name) + ".bmp";
  return FontsFolderPath(viewer, fileName.c_str(), path, sizeof path) ? LoadFontSheetFile(path) : nullptr;
}

void DiscoverFontSheets(View& view, const ViewerState& viewer) {
  char pattern[kFontPathSize];
  if (FontsFolderPath(viewer, "*.ini", pattern, sizeof pattern)) {
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA(pattern, &found));
    if (search) {
      // Only as many sheets as the Keymap range has items for are listed.
      do {
        if (IsListedFile(found, ".ini")) AddFontSheet(view, viewer, found.cFileName);
      } while (view.fontCount < kListedFontLimit && FindNextFileA(search.get(), &found));
    }
  }
  HMENU menu = GetMenu(viewer.mainWindow);
  for (int32_t i = 0; i < view.fontCount; ++i) {
    std::string text = FontMenuText(i, view.fontList[i].fontName);
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE | MIIM_ID;
    item.fType = MFT_STRING | MFT_RADIOCHECK;
    item.wID = static_cast<UINT>(IDM_BUILTIN_SHEET + 1 + i);
    item.dwTypeData = &text[0];
    // Each goes directly before the built-in item: they stand in the order
    // found, all above it.
    InsertMenuItemA(menu, IDM_BUILTIN_SHEET, FALSE, &item);
  }
}

void SelectFontSheet(View& view, const ViewerState& viewer, int command) {
  if (command == view.activeFontCommand) return;
  const int32_t index = command - (IDM_BUILTIN_SHEET + 1);
  HBITMAP sheet = nullptr;
  if (command == IDM_BUILTIN_SHEET) {
    sheet = LoadBitmapA(viewer.appInstance, MAKEINTRESOURCEA(IDB_GLYPH_SHEET));
  } else if (index >= 0 && index < view.fontCount) {
    sheet = LoadFontSheetFile(view.fontList[index].fontBitmapPath);
  } else {
    return;  // no Keymap item has this identifier
  }
  // A sheet that cannot be loaded is not taken: the sheet in use stays, and
  // with it the radio mark and the picture. The old sheet is released only
  // once the new one is there.
  if (sheet == nullptr) return;
  CheckMenuRadioItem(GetMenu(viewer.mainWindow), IDM_BUILTIN_SHEET, IDM_BUILTIN_SHEET + view.fontCount,
                     static_cast<UINT>(command), MF_BYCOMMAND);
  view.activeFontCommand = command;
  view.needsRender = 1;
  view.glyphSheet.Reset(sheet);
  InvalidateRect(viewer.mainWindow, &view.repaintRect, TRUE);
}
