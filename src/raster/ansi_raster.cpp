#include "ansi_raster.h"

#include <algorithm>
#include <cstring>

#include "../art/page_limits.h"

namespace {

#include "ansi_fonts.inc"

// For each glyph row byte, the 4 bytes of its 8 pixels with every set
// pixel's nibble 0xF (the left pixel in the high nibble).
struct NibbleMasks {
  uint32_t mask[256];
  NibbleMasks() {
    for (int g = 0; g < 256; ++g) {
      uint8_t bytes[4];
      for (int k = 0; k < 4; ++k)
        bytes[k] =
            static_cast<uint8_t>(((g >> (7 - 2 * k)) & 1 ? 0xF0 : 0) | ((g >> (6 - 2 * k)) & 1 ? 0x0F : 0));
      std::memcpy(&mask[g], bytes, 4);
    }
  }
};

}  // namespace

const uint8_t* AnsiGlyph(int32_t cellHeight, uint8_t character) {
  return cellHeight == 8 ? kAnsiFont8[character] : kAnsiFont16[character];
}

AnsiPageSize AnsiPageSizeOf(const AnsiScreen& screen) {
  // The interpreter keeps the rows within AnsiRowLimit, so the page stays
  // within kMaxPageBytes and every count fits 32 bits.
  AnsiPageSize page;
  page.width = screen.columns * kAnsiCellWidth;
  page.height = screen.rows * screen.cellHeight;
  page.stride = static_cast<int32_t>(DibStride(page.width, 4));
  return page;
}

void RasteriseAnsi(const AnsiScreen& screen, uint8_t* pixels) {
  RasteriseAnsiRows(screen, 0, screen.rows, pixels);
}

void RasteriseAnsiRows(const AnsiScreen& screen, int32_t firstRow, int32_t rowCount, uint8_t* pixels) {
  static const NibbleMasks kMasks;
  const AnsiPageSize page = AnsiPageSizeOf(screen);
  const int32_t height = screen.cellHeight;
  const uint8_t* font = height == 8 ? &kAnsiFont8[0][0] : &kAnsiFont16[0][0];
  const size_t stride = static_cast<size_t>(page.stride);
  const int32_t from = std::max(firstRow, 0);
  const int32_t to =
      static_cast<int32_t>(std::min<int64_t>(int64_t{firstRow} + std::max(rowCount, 0), screen.rows));
  for (int32_t row = from; row < to; ++row) {
    const AnsiCell* cells =
        screen.cells.data() + static_cast<size_t>(row) * static_cast<size_t>(screen.columns);
    uint8_t* band = pixels + static_cast<size_t>(row - firstRow) * height * stride;
    // A cell at a time, down its pixel rows: the band of one row of cells
    // stays in the cache, and each cell's colours are worked out once.
    for (int32_t column = 0; column < screen.columns; ++column) {
      const AnsiCell cell = cells[column];
      const uint8_t* glyph = font + cell.character * height;
      // Every nibble of the colour, so that the mask picks the pixels.
      const uint32_t front = 0x11111111u * (cell.colours & 15u);
      const uint32_t back = 0x11111111u * (cell.colours >> 4);
      uint8_t* out = band + 4 * static_cast<size_t>(column);
      for (int32_t y = 0; y < height; ++y, out += stride) {
        const uint32_t mask = kMasks.mask[glyph[y]];
        const uint32_t word = (front & mask) | (back & ~mask);
        std::memcpy(out, &word, 4);
      }
    }
  }
}
