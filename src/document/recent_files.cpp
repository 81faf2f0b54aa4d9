#include "../app/viewer_state.h"
#include "document.h"

// The recent-files list and the saved window position are not kept yet:
// the window opens at the top-left corner and the File menu keeps its
// resource items.
void UpdateRecentFiles(bool) {}
void SyncSettings(bool) {}
void OpenRecentFile(int) {}
