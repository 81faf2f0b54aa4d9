#include "../win32/viewer_state.h"
#include "../core/window_geometry.h"
#include "view.h"

void PaintView(HDC dc, View& view) {
  if (view.pageBitmap && view.sourceWidth > 0 && view.sourceHeight > 0) {
    // Where the view reaches past the page's right or bottom edge it shows
    // the window's background: only the part of the source rectangle that
    // lies on the page is copied, at the same scale.
    int32_t sourceWidth = view.sourceWidth;
    int32_t sourceHeight = view.sourceHeight;
    int32_t destWidth = view.viewWidth;
    int32_t destHeight = view.viewHeight;
    if (view.sourceX + sourceWidth > view.pageWidth) {
      const int32_t inside = view.pageWidth - view.sourceX;
      destWidth = static_cast<int32_t>(int64_t{destWidth} * inside / sourceWidth);
      sourceWidth = inside;
    }
    if (view.scrollY + sourceHeight > view.pageHeight) {
      const int32_t inside = view.pageHeight - view.scrollY;
      destHeight = static_cast<int32_t>(int64_t{destHeight} * inside / sourceHeight);
      sourceHeight = inside;
    }
    // May draw, or make, the bitmap's rows.
    const int32_t bitmapTop = PreparePageRows(view, view.scrollY, sourceHeight);
    if (sourceWidth > 0 && sourceHeight > 0 && view.pageBitmap) {
      const MemoryDC pageDC(CreateCompatibleDC(dc));
      const SelectedObject page(pageDC.get(), view.pageBitmap.get());
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, view.originX, view.originY, destWidth, destHeight, pageDC.get(), view.sourceX,
                 view.scrollY - bitmapTop, sourceWidth, sourceHeight, SRCCOPY);
    }
  }
  // The selection's cells are placed in the windowed view; full screen,
  // which moves the view to the screen's middle, shows none (a Find there
  // still scrolls to its match).
  if (view.selectionShown && !view.fullScreen) InvertRect(dc, &view.selectionRect);
}
