#include <cstring>

#include "../app/viewer_state.h"
#include "../app/window_layout.h"
#include "render.h"
#include "render_page.h"

namespace {

// Read once per render; kept out of the stack.
GlyphPixels glyphPixels;

}  // namespace

void RenderDocument() {
  viewer.needsRender = 0;
  viewer.selectionShown = 0;

  // Every text ends with a line feed; the buffer has room for it.
  int32_t length = static_cast<int32_t>(std::strlen(viewer.textBuffer));
  if (length == 0 || viewer.textBuffer[length - 1] != '\n') {
    viewer.textBuffer[length++] = '\n';
    viewer.textBuffer[length] = '\0';
  }
  const uint8_t* text = reinterpret_cast<const uint8_t*>(viewer.textBuffer);

  const PageMeasure measured = MeasureLayout(text, length, viewer.lineTable);
  viewer.pageWidth = 8 * measured.columnCount;
  viewer.pageHeight = 8 * measured.rowCount;

  ReadGlyphPixels(viewer.glyphSheet, viewer.glyphTable, glyphPixels);
  if (viewer.pageBitmap != nullptr) DeleteObject(viewer.pageBitmap);
  Page page = CreatePage(measured, glyphPixels.bitsPerPixel == 32 ? 32 : 1);
  viewer.pageBitmap = page.bitmap;
  if (page.bitmap != nullptr) {
    // A page cut to the size limits shows what fits.
    viewer.pageWidth = 8 * page.columns;
    viewer.pageHeight = 8 * page.rows;
  }
  viewer.pageRect = RECT{0, 0, viewer.pageWidth, viewer.pageHeight};

  LayoutWindow();
  DrawPage(text, length, glyphPixels, page);
}
