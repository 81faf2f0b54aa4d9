#include "window_geometry.h"

namespace {

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
}

}  // namespace

LayoutResult ComputeWindowLayout(const LayoutInput& in) {
  // Every sum and product is taken in 64 bits: a stored position such as
  // 0x7FFFFFFF plus a view height must not wrap round to a small number
  // and so pass as inside the work area. Places are worked out relative to
  // the work area's top-left corner.
  const int64_t W = int64_t{in.workRight} - in.workLeft;
  const int64_t L = int64_t{in.workBottom} - in.workTop - kWindowExtraHeight;
  const int32_t rowPixels = PageRowPixels(in.pageCellHeight);
  const int32_t columnPixels = in.pageCellWidth == 9 ? 9 : 8;
  const int32_t cellHeight = ZoomedCellSize(in.cellWidth, rowPixels);
  const int32_t columnWidth = ZoomedCellSize(in.cellWidth, columnPixels);

  int64_t viewHeight = int64_t{in.pageHeight / rowPixels} * cellHeight;
  if (L < viewHeight) {
    viewHeight = L;
  } else if (viewHeight <= kMinViewHeight) {
    viewHeight = kMinViewHeight;
  }
  // A page that fills the available height exactly still gets the bar.
  const bool scrollBar = !(L > viewHeight);
  const int32_t margin = scrollBar ? kMarginWithScrollBar : kMarginNoScrollBar;

  // The widest view leaves room for the margin, and with it the scroll bar,
  // inside the work area: a wide page at a large zoom would otherwise put
  // the bar past the work area's right edge, out of reach.
  int64_t viewWidth = int64_t{in.pageWidth / columnPixels} * columnWidth;
  if (W - margin < viewWidth) {
    viewWidth = W - margin;
  } else if (viewWidth <= kMinViewWidth) {
    viewWidth = kMinViewWidth;
  }

  int64_t top = int64_t{in.windowTop} - in.workTop;
  if (L < top + viewHeight) top = L - viewHeight;
  if (top < 0) top = 0;
  int64_t left = int64_t{in.windowLeft} - in.workLeft;
  const int64_t overhang = W - (left + viewWidth + margin);
  if (overhang < 0) left += overhang;
  if (left < 0) left = 0;

  // A work area too small for any view must not give a negative view (and
  // so a negative stretch): clamp to nothing. The window then stands at
  // the work area's top-left corner and reaches past it.
  if (viewWidth < 0) viewWidth = 0;
  if (viewHeight < 0) viewHeight = 0;
  LayoutResult out{};
  out.cellHeight = cellHeight;
  out.viewWidth = Saturate(viewWidth);
  out.viewHeight = Saturate(viewHeight);
  out.scrollBar = scrollBar;
  out.scrollMaximum = Saturate(int64_t{in.pageHeight / rowPixels} * cellHeight);
  out.sourceHeight = Saturate(viewHeight / cellHeight * rowPixels);
  out.sourceWidth = Saturate(viewWidth / columnWidth * columnPixels);
  out.columnWidth = columnWidth;
  out.windowLeft = Saturate(in.workLeft + left);
  out.windowTop = Saturate(in.workTop + top);
  out.windowWidth = Saturate(viewWidth + margin);
  out.windowHeight = Saturate(viewHeight + kWindowExtraHeight);
  return out;
}

int32_t FitWidthZoom(LayoutInput in) {
  const int32_t columnPixels = in.pageCellWidth == 9 ? 9 : 8;
  const int32_t columns = in.pageWidth / columnPixels;
  for (int32_t zoom = kMaxCellSize; zoom > kMinCellSize; --zoom) {
    in.cellWidth = zoom;
    const LayoutResult layout = ComputeWindowLayout(in);
    if (layout.sourceWidth / columnPixels >= columns) return zoom;
  }
  return kMinCellSize;
}

int32_t FullScreenZoom(int32_t columns, int32_t pageCellWidth, int32_t width, int32_t current) {
  const int32_t columnPixels = pageCellWidth == 9 ? 9 : 8;
  int32_t zoom = kMaxCellSize;
  while (zoom > kMinCellSize && int64_t{columns} * ZoomedCellSize(zoom, columnPixels) > width) --zoom;
  return current > zoom && current <= kMaxCellSize ? current : zoom;
}

ScrollResult ScrollStep(const ScrollInput& in, int32_t code, int32_t thumbPosition) {
  ScrollResult out{false, false, in.scrollY, in.lastThumbRow};
  const int32_t y = in.scrollY;
  const int32_t rowPixels = PageRowPixels(in.pageCellHeight);
  switch (code) {
    case 0:  // SB_LINEUP
      if (y > 0) out.scrollY = y - rowPixels, out.moved = true;
      break;
    case 1:  // SB_LINEDOWN
      if (y + in.sourceHeight < in.pageHeight) out.scrollY = y + rowPixels, out.moved = true;
      break;
    case 2:  // SB_PAGEUP
      if (in.sourceHeight < y) {
        out.scrollY = y - in.sourceHeight, out.moved = true;
      } else if (y != 0) {
        out.scrollY = 0, out.moved = true;
      }
      break;
    case 3:  // SB_PAGEDOWN: the last full view, set even when already there
      if (y + in.sourceHeight < in.pageHeight - in.sourceHeight) {
        out.scrollY = y + in.sourceHeight;
      } else {
        out.scrollY = in.pageHeight - in.sourceHeight;
        // A page shorter than the view has no lower view to go to; never
        // scroll above the page's top.
        if (out.scrollY < 0) out.scrollY = 0;
      }
      out.moved = true;
      break;
    case 4:    // SB_THUMBPOSITION
    case 5: {  // SB_THUMBTRACK
      if (in.cellHeight <= 0 || thumbPosition < 0) break;
      const int32_t row = thumbPosition / in.cellHeight;
      if (row != in.lastThumbRow) {
        out.scrollY = row * rowPixels;
        out.lastThumbRow = row;
        out.moved = true;
      }
      break;
    }
    default: break;
  }
  // The end-of-drag message leaves the bar where the drag already put it.
  out.updateBar = out.moved && code != 4;
  return out;
}

ScrollResult ScrollToEdge(const ScrollInput& in, bool bottom) {
  ScrollResult out{false, false, in.scrollY, in.lastThumbRow};
  int32_t target = 0;
  if (bottom && in.pageHeight > in.sourceHeight) target = in.pageHeight - in.sourceHeight;
  if (target != in.scrollY) {
    out.scrollY = target;
    out.moved = out.updateBar = true;
  }
  return out;
}

int32_t WheelNotches(int32_t& remainder, int32_t delta) {
  if ((remainder > 0 && delta < 0) || (remainder < 0 && delta > 0)) remainder = 0;
  // |remainder| stays below one notch, so the sum cannot overflow.
  remainder += delta;
  const int32_t notches = remainder / kWheelDelta;
  remainder -= notches * kWheelDelta;
  return notches;
}
