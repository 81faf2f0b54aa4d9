#include <string>

#include "../win32/settings.h"
#include "../win32/viewer_state.h"
#include "../document/document.h"
#include "../view/view.h"
#include "../resources/resource_ids.h"
#include "shell.h"
#include "shell_registry.h"
#include "shell_rules.h"

void CountRun(Settings& settings) {
  DWORD count = 0;
  // Only a 4-byte REG_DWORD is a count. A value of another type or length
  // counts as none, and this start writes 1 in its place.
  const bool stored = ReadRunCount(count);
  settings.runCount = NextRunCount(stored, count);
  WriteRunCount(settings.runCount);
}

void FirstPaintWork(ViewerState& viewer, View& view, Settings& settings) {
  // Cleared first: paints that arrive while the Configuration dialog is
  // open are ordinary paints and open no second dialog.
  viewer.firstPaint = 0;
  if (IsFirstRun(settings.runCount)) {
    WriteShellValue("Quillpane\\shell\\open\\command", ShellValue::kOpenCommand, KEY_WRITE,
                    viewer.programPath);
    WriteShellValue("Quillpane\\DefaultIcon", ShellValue::kIcon, KEY_WRITE, viewer.programPath);
    DialogBoxParamA(viewer.appInstance, MAKEINTRESOURCEA(IDD_CONFIG), viewer.mainWindow, ConfigDialogProc,
                    reinterpret_cast<LPARAM>(viewer.programPath));
  }
  DiscoverFontSheets(view, viewer);
  UpdateRecentFiles(viewer, settings, false);
}
