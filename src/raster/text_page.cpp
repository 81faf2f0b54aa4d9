#include "text_page.h"

#include <cstring>

#include "../art/page_limits.h"

namespace {

// Draws glyphs whose rows are `RowBytes` bytes both in the page and in
// `glyphs` (8 rows a glyph, glyphs in byte order): 1 for a 1-bit page, 32
// for a 32-bit one.
template <int RowBytes>
class PageDrawSink {
 public:
  PageDrawSink(const uint8_t* glyphs, TextPage& page) : glyphs_(glyphs), page_(page) {}
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
  TextPage& page_;
};

}  // namespace

TextPage ShapeTextPage(PageMeasure cells, int bitsPerPixel) {
  TextPage page;
  const PageMeasure limited = LimitPageSize(cells, bitsPerPixel);
  if (limited.columnCount <= 0 || limited.rowCount <= 0) return page;
  page.stride = static_cast<int32_t>(DibStride(int64_t{limited.columnCount} * 8, bitsPerPixel));
  page.bitsPerPixel = bitsPerPixel;
  page.columns = limited.columnCount;
  page.rows = limited.rowCount;
  return page;
}

void DrawTextPage(const uint8_t* text, int32_t length, const GlyphPixels& glyphs, TextPage& page) {
  if (page.bits == nullptr) return;
  if (glyphs.bitsPerPixel == 1 && page.bitsPerPixel == 1) {
    PageDrawSink<1> sink(&glyphs.mono[0][0], page);
    RunLayoutPass(text, length, sink);
  } else if (glyphs.bitsPerPixel == 32 && page.bitsPerPixel == 32) {
    PageDrawSink<32> sink(reinterpret_cast<const uint8_t*>(&glyphs.colour[0][0]), page);
    RunLayoutPass(text, length, sink);
  }
}

PixelRows TextPageRows(const TextPage& page) {
  // Index 0 black, 1 white: the page's 0 and 1 bits as they are.
  static const uint32_t kBlackAndWhite[2] = {0x000000, 0xFFFFFF};
  PixelRows rows;
  rows.pixels = page.bits;
  rows.stride = page.stride > 0 ? static_cast<size_t>(page.stride) : 0;
  rows.width = page.columns * 8;
  rows.height = page.rows * 8;
  rows.format = page.bitsPerPixel == 32 ? PixelFormat::kBgrx32 : PixelFormat::kIndexed1;
  rows.palette = kBlackAndWhite;
  return rows;
}
