#include "../core/viewer_state.h"
#include "../core/window_layout.h"
#include "render.h"
#include "page_limits.h"
#include "render_page.h"
#include "view_text.h"

namespace {

// Read once per render; kept out of the stack.
GlyphPixels glyphPixels;

}  // namespace

void RenderDocument() {
  viewer.needsRender = 0;
  viewer.selectionShown = 0;
  ForgetShownRows();

  const int32_t length = EndWithLineFeed(viewer.textBuffer);
  const uint8_t* text = reinterpret_cast<const uint8_t*>(viewer.textBuffer);

  const PageMeasure measured = MeasureLayout(text, length, viewer.lineTable);
  ReadGlyphPixels(viewer.glyphSheet, viewer.glyphTable, glyphPixels);
  const int bitsPerPixel = glyphPixels.bitsPerPixel == 32 ? 32 : 1;
  // A page cut to the size limits shows what fits; the window is laid out
  // for that page even when its bitmap cannot be made.
  const PagePixels size = PagePixelSize(measured, bitsPerPixel);
  viewer.pageWidth = size.width;
  viewer.pageHeight = size.height;
  if (viewer.pageBitmap != nullptr) DeleteObject(viewer.pageBitmap);
  Page page = CreatePage(measured, bitsPerPixel);
  viewer.pageBitmap = page.bitmap;
  viewer.pageRect = RECT{0, 0, viewer.pageWidth, viewer.pageHeight};

  LayoutWindow();
  DrawPage(text, length, glyphPixels, page);
}
