#include "viewer_state.h"

#include <cstring>

#include "settings.h"

void ResetViewerState(ViewerState& viewer, View& view, Settings& settings) {
  // The owners let their objects go first: zero bytes are owners of none.
  view.glyphSheet.Reset();
  view.pageBitmap.Reset();
  viewer.backgroundBrush.Reset();
  std::memset(static_cast<void*>(&viewer), 0, sizeof viewer);
  std::memset(static_cast<void*>(&view), 0, sizeof view);
  settings = Settings{};
  viewer.browseIndex = -1;
  view.needsRender = 1;
  viewer.firstPaint = 1;
  view.cellWidth = 8;
  view.cellHeight = 8;
  view.columnWidth = 8;
  view.pageCellHeight = 8;
  view.pageCellWidth = 8;
}
