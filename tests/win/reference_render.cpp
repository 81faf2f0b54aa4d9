#include "test_support.h"

#include "art/layout_interpreter.h"
#include "art/page_limits.h"

namespace {

struct MeasureAndBlitSink : MeasureSink {
  HDC page, sheet;
  const GlyphPosition* table;
  void Draw(uint8_t b, int32_t column, int32_t row) {
    BitBlt(page, 8 * column, 8 * row, 8, 8, sheet, table[b].x, table[b].y, SRCCOPY);
  }
};

}  // namespace

HBITMAP RenderReferencePage(const uint8_t* text, int32_t length, HBITMAP sheet, const GlyphPosition* table) {
  const PageMeasure page = LimitPageSize(MeasureLayout(text, length, nullptr), 1);
  const int32_t width = 8 * page.columnCount, height = 8 * page.rowCount;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC pageDC = CreateCompatibleDC(screen), sheetDC = CreateCompatibleDC(screen);
  SelectObject(pageDC, bitmap);
  SelectObject(sheetDC, sheet);
  PatBlt(pageDC, 0, 0, width, height, WHITENESS);  // a new DC's colours blit 0 bits black, 1 bits white
  MeasureAndBlitSink sink{MeasureSink(nullptr), pageDC, sheetDC, table};
  RunLayoutPass(text, length, sink);
  DeleteDC(sheetDC);  // which lets go of the sheet and the page
  DeleteDC(pageDC);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

std::vector<uint32_t> ReadPixels(HBITMAP bitmap, int32_t* width, int32_t* height) {
  BITMAP shape = {};
  GetObjectA(bitmap, sizeof shape, &shape);
  *width = shape.bmWidth;
  *height = shape.bmHeight;
  std::vector<uint32_t> pixels(static_cast<size_t>(shape.bmWidth) * static_cast<size_t>(shape.bmHeight));
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof info.bmiHeader, shape.bmWidth, -shape.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, static_cast<UINT>(shape.bmHeight), pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}
