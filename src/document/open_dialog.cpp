
#include "../app/viewer_state.h"
#include "document.h"

// The Open dialog does not exist yet: Load behaves like a cancelled dialog.
void ChooseDocumentFile() { viewer.pathChanged = 0; }

// Dropped files are not shown yet; the drop is still released.
void OnDropFiles(HDROP drop) { DragFinish(drop); }
