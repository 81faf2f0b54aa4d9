#include "../win32/viewer_state.h"
#include "../core/window_geometry.h"
#include "view.h"

void PaintView(HDC dc) {
  if (viewer.pageBitmap && viewer.sourceWidth > 0 && viewer.sourceHeight > 0) {
    // Where the view reaches past the page's right or bottom edge it shows
    // the window's background: only the part of the source rectangle that
    // lies on the page is copied, at the same scale.
    int32_t sourceWidth = viewer.sourceWidth;
    int32_t sourceHeight = viewer.sourceHeight;
    int32_t destWidth = viewer.viewWidth;
    int32_t destHeight = viewer.viewHeight;
    if (viewer.sourceX + sourceWidth > viewer.pageWidth) {
      const int32_t inside = viewer.pageWidth - viewer.sourceX;
      destWidth = static_cast<int32_t>(int64_t{destWidth} * inside / sourceWidth);
      sourceWidth = inside;
    }
    if (viewer.scrollY + sourceHeight > viewer.pageHeight) {
      const int32_t inside = viewer.pageHeight - viewer.scrollY;
      destHeight = static_cast<int32_t>(int64_t{destHeight} * inside / sourceHeight);
      sourceHeight = inside;
    }
    // May draw, or make, the bitmap's rows.
    const int32_t bitmapTop = PreparePageRows(viewer.scrollY, sourceHeight);
    if (sourceWidth > 0 && sourceHeight > 0 && viewer.pageBitmap) {
      const MemoryDC pageDC(CreateCompatibleDC(dc));
      const SelectedObject page(pageDC.get(), viewer.pageBitmap.get());
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, kViewOrigin, kViewOrigin, destWidth, destHeight, pageDC.get(), viewer.sourceX,
                 viewer.scrollY - bitmapTop, sourceWidth, sourceHeight, SRCCOPY);
    }
  }
  if (viewer.selectionShown) InvertRect(dc, &viewer.selectionRect);
}
