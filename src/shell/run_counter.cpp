#include "../app/viewer_state.h"
#include "../document/document.h"
#include "../render/render.h"
#include "shell.h"

// Starts are not counted yet: runCount stays 0.
void CountRun() {}

void FirstPaintWork() {
  // Cleared first: paints that arrive while this work is under way are
  // ordinary paints.
  viewer.firstPaint = 0;
  DiscoverFontSheets();
  UpdateRecentFiles(false);
}
