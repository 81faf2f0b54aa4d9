#include "scroll_steps.h"

#include <algorithm>

#include "window_geometry.h"

int32_t WheelScrollRows(int32_t notches, uint32_t linesSetting, int32_t viewRows) {
  const int64_t page = std::max(viewRows, 1);
  int64_t perNotch = linesSetting;
  // 0 would make the wheel dead; the system's own default is 3. A setting
  // past the view's height (WHEEL_PAGESCROLL, or -1 read as a number of
  // rows) is a view's height, as Windows asks of every program.
  if (perNotch == 0) perNotch = kDefaultWheelRows;
  perNotch = std::min(perNotch, page);
  // Held far inside 32 bits; the window stops at the page's edge anyway.
  const int64_t limit = int64_t{1} << 30;
  return static_cast<int32_t>(std::clamp(int64_t{notches} * perNotch, -limit, limit));
}

int32_t StartZoomForDpi(int32_t dpi) {
  // A screen that reports no sensible DPI keeps the usual 8.
  if (dpi <= 0) return 8;
  // 8 pixels a cell at 96 DPI is dpi / 12 pixels; halves round up, so that
  // a screen just past a step's middle gets the larger cells.
  const int64_t zoom = (int64_t{dpi} + 6) / 12;
  return static_cast<int32_t>(std::clamp<int64_t>(zoom, kMinCellSize, kMaxCellSize));
}
