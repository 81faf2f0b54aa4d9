#include "scroll_steps.h"

#include <algorithm>

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

ScrollResult ScrollRows(const ScrollInput& in, int32_t rows) {
  ScrollResult out{false, false, in.scrollY, in.lastThumbRow};
  const int64_t y = in.scrollY;
  // A row is a page cell's height, as ScrollStep's line steps take it.
  int64_t target = y + int64_t{rows} * PageRowPixels(in.pageCellHeight);
  if (rows > 0) {
    // SB_LINEDOWN moves while the view's bottom is above the page's.
    const int64_t lastView = int64_t{in.pageHeight} - in.sourceHeight;
    target = y < lastView ? std::min(target, lastView) : y;
  } else {
    target = y > 0 ? std::max<int64_t>(target, 0) : y;
  }
  if (target != y) {
    out.scrollY = static_cast<int32_t>(target);
    out.moved = out.updateBar = true;
  }
  return out;
}

int32_t RowsToShow(int32_t first, int32_t last, int32_t top, int32_t viewRows) {
  const int64_t above = int64_t{first} - top;
  if (above < 0) return static_cast<int32_t>(above);
  const int64_t below = int64_t{last} - (int64_t{top} + std::max(viewRows, 1) - 1);
  return static_cast<int32_t>(below > 0 ? std::min(below, above) : 0);
}

int32_t SlideTickMilliseconds(int32_t rowsPerSecond) { return 1000 / std::clamp(rowsPerSecond, 1, 1000); }

SlideAction SlideStep(const ScrollInput& in, int32_t rowsPerSecond, int32_t& waited) {
  if (in.scrollY + in.sourceHeight < in.pageHeight) {
    waited = 0;
    return SlideAction::kScroll;
  }
  // Ticks are whole milliseconds, so the pause is at least one tick.
  const int32_t pauseTicks = std::max(kSlidePauseMs / SlideTickMilliseconds(rowsPerSecond), 1);
  if (waited < pauseTicks) {
    ++waited;
    return SlideAction::kWait;
  }
  waited = 0;
  return SlideAction::kNext;
}

int32_t StartZoomForDpi(int32_t dpi) {
  // A screen that reports no sensible DPI keeps the usual 8.
  if (dpi <= 0) return 8;
  // 8 pixels a cell at 96 DPI is dpi / 12 pixels; halves round up, so that
  // a screen just past a step's middle gets the larger cells.
  const int64_t zoom = (int64_t{dpi} + 6) / 12;
  return static_cast<int32_t>(std::clamp<int64_t>(zoom, kMinCellSize, kMaxCellSize));
}
