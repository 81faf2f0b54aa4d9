#include "window_geometry.h"

LayoutResult ComputeWindowLayout(const LayoutInput& in) {
  LayoutResult out{};
  const int32_t W = in.workRight;
  const int32_t L = in.workBottom - kWindowExtraHeight;

  out.viewWidth = (in.pageWidth / 8) * in.cellWidth;
  out.viewHeight = (in.pageHeight / 8) * in.cellHeight;
  if (W < out.viewWidth) {
    out.viewWidth = W;
  } else if (out.viewWidth <= kMinViewWidth) {
    out.viewWidth = kMinViewWidth;
  }
  if (L < out.viewHeight) {
    out.viewHeight = L;
  } else if (out.viewHeight <= kMinViewHeight) {
    out.viewHeight = kMinViewHeight;
  }

  // A page that fills the available height exactly still gets the bar.
  out.scrollBar = !(L > out.viewHeight);
  out.scrollMaximum = (in.pageHeight / 8) * in.cellHeight;
  const int32_t margin = out.scrollBar ? kMarginWithScrollBar : kMarginNoScrollBar;

  int32_t top = in.windowTop;
  if (L < top + out.viewHeight) top = L - out.viewHeight;
  if (top < 0) top = 0;
  int32_t left = in.windowLeft;
  const int32_t overhang = W - (left + out.viewWidth + margin);
  if (overhang < 0) left += overhang;
  if (left < 0) left = 0;

  // A work area too small for any view must not give a negative view (and
  // so a negative stretch): clamp to nothing.
  if (out.viewWidth < 0) out.viewWidth = 0;
  if (out.viewHeight < 0) out.viewHeight = 0;
  out.sourceHeight = (out.viewHeight / in.cellHeight) * 8;
  out.sourceWidth = (out.viewWidth / in.cellWidth) * 8;
  out.windowLeft = left;
  out.windowTop = top;
  out.windowWidth = out.viewWidth + margin;
  out.windowHeight = out.viewHeight + kWindowExtraHeight;
  return out;
}

ScrollResult ScrollStep(const ScrollInput& in, int32_t code, int32_t thumbPosition) {
  ScrollResult out{false, false, in.scrollY, in.lastThumbRow};
  const int32_t y = in.scrollY;
  switch (code) {
    case 0:  // SB_LINEUP
      if (y > 0) out.scrollY = y - 8, out.moved = true;
      break;
    case 1:  // SB_LINEDOWN
      if (y + in.sourceHeight < in.pageHeight) out.scrollY = y + 8, out.moved = true;
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
        out.scrollY = row * 8;
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
