#include "viewer_state.h"

#include <cstring>

#include "settings.h"

// Zero-initialised so that the megabytes of buffers live in .bss, not in
// the executable file.
ViewerState viewer;

void ResetViewerState() {
  // The owners let their objects go first: zero bytes are owners of none.
  viewer.glyphSheet.Reset();
  viewer.pageBitmap.Reset();
  viewer.backgroundBrush.Reset();
  std::memset(static_cast<void*>(&viewer), 0, sizeof viewer);
  settings = Settings{};
  viewer.browseIndex = -1;
  viewer.needsRender = 1;
  viewer.firstPaint = 1;
  viewer.cellWidth = 8;
  viewer.cellHeight = 8;
  viewer.columnWidth = 8;
  viewer.pageCellHeight = 8;
  viewer.pageCellWidth = 8;
}
