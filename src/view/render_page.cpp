#include "render_page.h"

#include <cstring>

#include "../art/page_limits.h"
#include "../win32/handles.h"

namespace {

// A BITMAPINFO with room for a 16-entry colour table.
struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[16];
};

// A top-down DIB of `bitsPerPixel`, with the colours (0xRRGGBB) of
// `palette` in its table; black and white when none is given.
DibInfo MakeDibInfo(int32_t width, int32_t height, int bitsPerPixel, const uint32_t* palette = nullptr,
                    int paletteSize = 0) {
  static const uint32_t kBlackAndWhite[2] = {0x000000, 0xFFFFFF};
  if (palette == nullptr) {
    palette = kBlackAndWhite;
    paletteSize = 2;
  }
  DibInfo info = {};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top-down
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.header.biCompression = BI_RGB;
  if (bitsPerPixel == 4) info.header.biClrUsed = static_cast<DWORD>(paletteSize);
  for (int i = 0; i < paletteSize && i < 16; ++i) {
    info.colours[i] = RGBQUAD{static_cast<BYTE>(palette[i]), static_cast<BYTE>(palette[i] >> 8),
                              static_cast<BYTE>(palette[i] >> 16), 0};
  }
  return info;
}

}  // namespace

bool ReadSheetImage(HBITMAP sheet, SheetImage& image) {
  image = SheetImage();
  BITMAP shape = {};
  if (sheet == nullptr || GetObjectA(sheet, sizeof shape, &shape) == 0) return false;
  const int bitsPerPixel = shape.bmBitsPixel == 1 ? 1 : 32;
  const int32_t width = shape.bmWidth;
  const int32_t height = shape.bmHeight;
  const int64_t stride = DibStride(width, bitsPerPixel);
  // Sheets are small (48 x 368); one read per render.
  if (width <= 0 || height <= 0 || stride * height > 2 * 1024 * 1024) return false;
  DibInfo info = MakeDibInfo(width, height, bitsPerPixel);
  image.bits.resize(static_cast<size_t>(stride * height));
  const WindowDC screen(nullptr);
  const int lines = GetDIBits(screen.get(), sheet, 0, static_cast<UINT>(height), image.bits.data(),
                              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  if (lines != height) return false;
  image.width = width;
  image.height = height;
  image.bitsPerPixel = bitsPerPixel;
  image.stride = static_cast<size_t>(stride);
  // A blit from a monochrome bitmap gives black for 0 bits and white for 1
  // bits (the page's default colours); follow the table the read reports.
  image.inverted = bitsPerPixel == 1 && info.colours[0].rgbRed != 0;
  return true;
}

bool ReadGlyphPixels(HBITMAP sheet, const GlyphPosition (&table)[256], GlyphPixels& pixels) {
  SheetImage image;
  pixels.bitsPerPixel = 0;
  return ReadSheetImage(sheet, image) && GlyphPixelsFromSheet(image, table, pixels);
}

HBITMAP CreatePageBitmap(int32_t width, int32_t height, int bitsPerPixel, const uint32_t* palette, int paletteSize,
                         uint8_t*& bits) {
  DibInfo info = MakeDibInfo(width, height, bitsPerPixel, palette, paletteSize);
  void* memory = nullptr;
  GdiObject<HBITMAP> bitmap(
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &memory, nullptr, 0));
  if (memory == nullptr) bitmap.Reset();
  bits = static_cast<uint8_t*>(memory);
  return bitmap.Release();
}

Page CreatePage(PageMeasure cells, int bitsPerPixel) {
  Page page;
  const TextPage shape = ShapeTextPage(cells, bitsPerPixel);
  if (shape.columns <= 0) return page;
  uint8_t* bits = nullptr;
  HBITMAP bitmap = CreatePageBitmap(shape.columns * 8, shape.rows * 8, bitsPerPixel, nullptr, 0, bits);
  if (bitmap == nullptr) return page;
  static_cast<TextPage&>(page) = shape;
  page.bitmap = bitmap;
  page.bits = bits;
  std::memset(page.bits, 0xFF, TextPageBytes(page));  // white at either depth
  return page;
}

void DrawPage(const uint8_t* text, int32_t length, const GlyphPixels& glyphs, Page& page) {
  if (page.bits == nullptr) return;
  GdiFlush();  // the page's memory is written directly
  DrawTextPage(text, length, glyphs, page);
}
