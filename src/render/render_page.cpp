#include "render_page.h"

#include <cstring>

#include "page_limits.h"

namespace {

// A BITMAPINFO with room for a two-entry colour table.
struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[2];
};

DibInfo MakeDibInfo(int32_t width, int32_t height, int bitsPerPixel) {
  DibInfo info = {};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top-down
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.header.biCompression = BI_RGB;
  info.colours[0] = RGBQUAD{0, 0, 0, 0};
  info.colours[1] = RGBQUAD{255, 255, 255, 0};
  return info;
}

// Draws glyphs whose rows are `RowBytes` bytes both in the page and in
// `glyphs` (8 rows a glyph, glyphs in byte order): 1 for a 1-bit page, 32
// for a 32-bit one.
template <int RowBytes>
class PageDrawSink {
 public:
  PageDrawSink(const uint8_t* glyphs, Page& page) : glyphs_(glyphs), page_(page) {}
  void Examine(int32_t, int32_t) {}
  void RowStart(int32_t, int32_t) {}
  void Draw(uint8_t b, int32_t column, int32_t row) {
    if (static_cast<uint32_t>(column) >= static_cast<uint32_t>(page_.columns) ||
        static_cast<uint32_t>(row) >= static_cast<uint32_t>(page_.rows)) {
      return;
    }
    const size_t stride = static_cast<size_t>(page_.stride);
    uint8_t* out =
        page_.bits + static_cast<size_t>(row) * 8 * stride + static_cast<size_t>(column) * RowBytes;
    const uint8_t* glyph = glyphs_ + static_cast<size_t>(b) * 8 * RowBytes;
    for (int i = 0; i < 8; ++i) std::memcpy(out + i * stride, glyph + i * RowBytes, RowBytes);
  }

 private:
  const uint8_t* glyphs_;
  Page& page_;
};

}  // namespace

bool ReadGlyphPixels(HBITMAP sheet, const GlyphPosition (&table)[256], GlyphPixels& pixels) {
  pixels.bitsPerPixel = 0;
  BITMAP shape = {};
  if (sheet == nullptr || GetObjectA(sheet, sizeof shape, &shape) == 0) return false;
  const int bitsPerPixel = shape.bmBitsPixel == 1 ? 1 : 32;
  const int32_t width = shape.bmWidth;
  const int32_t height = shape.bmHeight;
  const int32_t stride = static_cast<int32_t>(DibStride(width, bitsPerPixel));
  DibInfo info = MakeDibInfo(width, height, bitsPerPixel);
  // Sheets are small (48 x 368); one read per render.
  static uint8_t sheetBits[2 * 1024 * 1024];
  if (static_cast<int64_t>(stride) * height > static_cast<int64_t>(sizeof sheetBits)) return false;
  HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, sheet, 0, static_cast<UINT>(height), sheetBits,
                              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != height) return false;

  // A blit from a monochrome bitmap gives black for 0 bits and white for 1
  // bits (the page's default colours); follow the table the read reports.
  const bool inverted = bitsPerPixel == 1 && info.colours[0].rgbRed != 0;
  for (int c = 0; c < 256; ++c) {
    const int32_t x = table[c].x;
    const int32_t y = table[c].y;
    const bool inside = x >= 0 && y >= 0 && x % 8 == 0 && x + 8 <= width && y + 8 <= height;
    for (int i = 0; i < 8; ++i) {
      // A cell outside the sheet keeps the clear colour; only a cell inside
      // it gives a pointer into the sheet's rows.
      if (bitsPerPixel == 1) {
        uint8_t row = 0xFF;
        if (inside) {
          // Cells lie on whole bytes: x is a multiple of 8.
          const uint8_t* line = sheetBits + static_cast<size_t>(y + i) * stride;
          row = inverted ? static_cast<uint8_t>(~line[x / 8]) : line[x / 8];
        }
        pixels.mono[c][i] = row;
      } else {
        for (int k = 0; k < 8; ++k) {
          uint32_t value = kPageClearColour;
          if (inside) {
            const uint8_t* line = sheetBits + static_cast<size_t>(y + i) * stride;
            std::memcpy(&value, line + static_cast<size_t>(x + k) * 4, 4);
          }
          pixels.colour[c][8 * i + k] = value & 0xFFFFFF;
        }
      }
    }
  }
  pixels.bitsPerPixel = bitsPerPixel;
  return true;
}

Page CreatePage(PageMeasure cells, int bitsPerPixel) {
  Page page;
  const PageMeasure limited = LimitPageSize(cells, bitsPerPixel);
  if (limited.columnCount <= 0 || limited.rowCount <= 0) return page;
  const int32_t width = limited.columnCount * 8;
  const int32_t height = limited.rowCount * 8;
  DibInfo info = MakeDibInfo(width, height, bitsPerPixel);
  void* bits = nullptr;
  HBITMAP bitmap =
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    return page;
  }
  page.bitmap = bitmap;
  page.bits = static_cast<uint8_t*>(bits);
  page.stride = static_cast<int32_t>(DibStride(width, bitsPerPixel));
  page.bitsPerPixel = bitsPerPixel;
  page.columns = limited.columnCount;
  page.rows = limited.rowCount;
  const size_t size = static_cast<size_t>(page.stride) * static_cast<size_t>(height);
  std::memset(page.bits, 0xFF, size);  // white at either depth
  return page;
}

void DrawPage(const uint8_t* text, int32_t length, const GlyphPixels& glyphs, Page& page) {
  if (page.bits == nullptr) return;
  GdiFlush();  // the page's memory is written directly
  if (glyphs.bitsPerPixel == 1 && page.bitsPerPixel == 1) {
    PageDrawSink<1> sink(&glyphs.mono[0][0], page);
    RunLayoutPass(text, length, sink);
  } else if (glyphs.bitsPerPixel == 32 && page.bitsPerPixel == 32) {
    PageDrawSink<32> sink(reinterpret_cast<const uint8_t*>(&glyphs.colour[0][0]), page);
    RunLayoutPass(text, length, sink);
  }
}
