#include <cstdio>
#include <cstring>

#include "pack_file.h"
#include "../win32/disk_file.h"
#include "../art/document_reading.h"
#include "../art/scene_formats.h"
#include "../core/text_helpers.h"
#include "../win32/viewer_state.h"
#include "../view/view.h"
#include "command_line.h"
#include "document.h"

void SplitCommandLine(ViewerState& viewer, const char* commandLine) {
  // A module path that fills the buffer may have been cut: it is refused
  // rather than registered as the path of another file.
  char module[kPathBufferSize];
  const DWORD moduleLength = GetModuleFileNameA(nullptr, module, sizeof module);
  if (moduleLength == 0 || moduleLength >= sizeof module) module[0] = '\0';
  StartPaths paths;
  SplitCommandLineInto(commandLine, module, paths);
  // Emptied and filled again as whole paths: each part either fits or is
  // left empty.
  std::memcpy(viewer.commandLine, paths.commandLine, sizeof viewer.commandLine);
  std::memcpy(viewer.programPath, paths.programPath, sizeof viewer.programPath);
  std::memcpy(viewer.programDir, paths.programDir, sizeof viewer.programDir);
  std::memcpy(viewer.currentPath, paths.currentPath, sizeof viewer.currentPath);
  viewer.currentDir[0] = '\0';
  viewer.currentPathRefused = paths.currentPathRefused ? 1 : 0;
  // A document named relative to the folder the program started in is
  // taken whole from there now: the Open dialog moves the current folder,
  // after which the document left must still go into the recent files
  // under its own full path. One whose full path does not fit stays as
  // named.
  char full[kPathBufferSize];
  const DWORD fullLength = FullDocumentPath(viewer.currentPath, full, sizeof full);
  if (!viewer.currentPathRefused && fullLength > 0 && fullLength < sizeof full) {
    std::memcpy(viewer.currentPath, full, fullLength + 1);
  }
}

const char* LoadedDocumentWarning(const Document& document) {
  return document.start.damaged ? kCrcMismatchWarning : "";
}

void LoadDocument(View& view, ViewerState& viewer, const Settings& settings) {
  // A play reads the shown bytes, which are about to change.
  StopScreenTimers(view, viewer);
  ClearText(viewer.currentDir, sizeof viewer.currentDir);
  // The directory part of a path that fits always fits.
  CopyWholeText(viewer.currentDir, sizeof viewer.currentDir,
                Substring(viewer.currentPath, 0, FindLastFromEnd(viewer.currentPath, '\\')));
  ScanDirectory(view, viewer);
  LoadDocumentFile(viewer.currentPath,
                   DocumentReader(viewer.currentPathRefused ? nullptr : viewer.currentPath),
                   ShownOptions(settings), ShownDocument());
}

ReadFileStart DocumentReader(const char* path) {
  return [path](uint8_t* bytes, size_t capacity) { return ReadDocumentStart(path, bytes, capacity); };
}

void ShowCurrentDocument(View& view, ViewerState& viewer, const Settings& settings) {
  LoadDocument(view, viewer, settings);
  RenderDocument(view, viewer, settings);
  InvalidateRect(viewer.mainWindow, &view.repaintRect, TRUE);
}

void SwitchDocument(View& view, ViewerState& viewer, Settings& settings, const char* newPath) {
  GetWindowRect(viewer.mainWindow, &view.windowRect);
  UpdateRecentFiles(viewer, settings, true);
  // A path that does not fit is refused whole: it shows like a file that
  // cannot be opened.
  viewer.currentPathRefused = CopyWholeText(viewer.currentPath, sizeof viewer.currentPath, newPath) ? 0 : 1;
  ShowCurrentDocument(view, viewer, settings);
}
