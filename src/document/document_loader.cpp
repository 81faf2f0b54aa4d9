#include <cstring>

#include "../win32/disk_file.h"
#include "../core/text_helpers.h"
#include "../win32/viewer_state.h"
#include "../view/view.h"
#include "../core/code_page_437.h"
#include "command_line.h"
#include "document.h"

void SplitCommandLine() {
  StartPaths paths;
  SplitCommandLineInto(GetCommandLineA(), paths);
  // Emptied and filled again as whole paths: each part either fits or is
  // left empty.
  std::memcpy(viewer.commandLine, paths.commandLine, sizeof viewer.commandLine);
  std::memcpy(viewer.programPath, paths.programPath, sizeof viewer.programPath);
  std::memcpy(viewer.programDir, paths.programDir, sizeof viewer.programDir);
  std::memcpy(viewer.currentPath, paths.currentPath, sizeof viewer.currentPath);
  viewer.currentDir[0] = '\0';
  viewer.currentPathRefused = paths.currentPathRefused ? 1 : 0;
}

void LoadDocument() {
  ClearText(viewer.currentDir, sizeof viewer.currentDir);
  // The directory part of a path that fits always fits.
  CopyWholeText(viewer.currentDir, sizeof viewer.currentDir,
                Substring(viewer.currentPath, 0, FindLastFromEnd(viewer.currentPath, '\\')));
  ScanDirectory();

  viewer.fileHandle = ReadDocumentFile(viewer.currentPathRefused ? nullptr : viewer.currentPath,
                                       viewer.textBuffer, &viewer.textLength);
  if (viewer.fileHandle == -1) {
    static const char kMissing[] = "Could not find the file\n";
    std::memcpy(viewer.textBuffer, kMissing, sizeof kMissing);
    viewer.textLength = sizeof kMissing - 1;
  }
}

int32_t ReadDocumentFile(const char* path, char (&text)[kTextBufferSize + 2], int32_t* length, bool* cut) {
  std::memset(text, 0, sizeof text);
  if (length != nullptr) *length = 0;
  if (cut != nullptr) *cut = false;
  // Others may go on writing or deleting the file while it is read (an
  // editor holding the art open); only a regular disk file is read.
  HANDLE file = OpenDiskFile(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  if (file == INVALID_HANDLE_VALUE) return -1;
  // Whatever arrives is the document; it ends at its first zero byte, and
  // the two bytes after the buffer stay zero.
  DWORD bytesRead = 0;
  ReadFile(file, text, kTextBufferSize, &bytesRead, nullptr);
  LARGE_INTEGER size;
  if (cut != nullptr && bytesRead == kTextBufferSize && GetFileSizeEx(file, &size)) {
    *cut = size.QuadPart > kTextBufferSize;
  }
  CloseHandle(file);
  // Art re-saved as UTF-8 or UTF-16 becomes the code page 437 bytes it was
  // made of; the rest of what was read is zero again.
  const size_t decoded = DecodeToCodePage437(reinterpret_cast<uint8_t*>(text), bytesRead);
  std::memset(text + decoded, 0, bytesRead - decoded);
  if (length != nullptr) *length = static_cast<int32_t>(decoded);
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(file));
}

void ShowCurrentDocument() {
  LoadDocument();
  RenderDocument();
  InvalidateRect(viewer.mainWindow, &viewer.repaintRect, TRUE);
}

void SwitchDocument(const char* newPath) {
  GetWindowRect(viewer.mainWindow, &viewer.windowRect);
  UpdateRecentFiles(true);
  // A path that does not fit is refused whole: it shows like a file that
  // cannot be opened.
  viewer.currentPathRefused = CopyWholeText(viewer.currentPath, sizeof viewer.currentPath, newPath) ? 0 : 1;
  ShowCurrentDocument();
}
