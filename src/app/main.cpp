#include <windows.h>
#include <commctrl.h>

#include "main_window.h"
#include "../export/png_export.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A line of switches (--png ..., --help) is answered on the console and
  // ends without a window and without the window's state.
  const ExportRequest request = ParseExportRequest(GetCommandLineA());
  if (request.exportMode) return RunExport(request, ProgramFontsFolder());
  ResetMainWindowState();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  if (!RegisterMainWindowClass(instance)) return 0;
  // Without a window there is nothing to run a message loop for.
  if (CreateMainWindow(instance) == nullptr) return 0;
  return RunMessageLoop();
}
