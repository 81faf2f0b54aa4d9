#include "ansi_raster.h"

#include <algorithm>
#include <cstring>

#include "../art/page_limits.h"
#include "screen_fonts.h"
#include "vga_look.h"

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
  // The readers keep the rows within AnsiRowLimit, so the page stays
  // within kMaxPageBytes and every count fits 32 bits.
  AnsiPageSize page;
  page.bitsPerPixel = screen.exactColours.empty() ? 4 : 32;
  page.width = screen.columns * (screen.cellWidth == 9 ? 9 : kAnsiCellWidth);
  page.height = screen.rows * screen.cellHeight;
  page.stride = static_cast<int32_t>(DibStride(page.width, page.bitsPerPixel));
  return page;
}

void RasteriseAnsi(const AnsiScreen& screen, uint8_t* pixels) {
  RasteriseAnsiRows(screen, 0, screen.rows, pixels);
}

namespace {

// The glyph rows of a cell and its colours' palette indexes: with a font of
// 512 glyphs, the foreground's bit 3 picks the second 256.
struct CellLook {
  const uint8_t* glyph;
  uint32_t front, back;
};

class Looks {
 public:
  Looks(const AnsiScreen& screen, bool blinkShown)
      : height_(screen.cellHeight),
        backMask_(screen.iceColours ? 15 : 7),
        blinkHides_(!screen.iceColours && !blinkShown) {
    const ScreenFont* font = screen.font.get();
    if (font != nullptr && font->height == height_ &&
        font->rows.size() >= size_t(font->glyphs) * size_t(height_)) {
      rows_ = font->rows.data();
      wide_ = font->glyphs == 512;
    } else if (const uint8_t* rows = ScreenFontRows(screen.characterSet, screen.codePage, height_)) {
      rows_ = rows;
    } else {
      rows_ = height_ == 8 ? &kAnsiFont8[0][0] : &kAnsiFont16[0][0];
      height_ = height_ == 8 ? 8 : 16;
    }
  }
  int32_t height() const { return height_; }
  // A blinking cell in its hidden phase is drawn all in its background.
  bool Hidden(AnsiCell cell) const { return blinkHides_ && (cell.colours & 0x80) != 0; }
  CellLook Of(AnsiCell cell) const {
    uint32_t front = cell.colours & 15u;
    size_t glyph = cell.character;
    if (wide_) {
      glyph += (front & 8u) << 5;
      front &= 7u;
    }
    const uint32_t back = static_cast<uint32_t>(cell.colours >> 4) & backMask_;
    return CellLook{rows_ + glyph * static_cast<size_t>(height_), Hidden(cell) ? back : front, back};
  }

 private:
  int32_t height_;
  uint32_t backMask_;
  bool blinkHides_;
  const uint8_t* rows_;
  bool wide_ = false;
};

uint32_t Bgrx(uint32_t rgb) { return rgb & 0xFFFFFFu; }

// A glyph row with its 9th column: bit 8 leftmost, bit 0 the 9th pixel.
uint32_t NinePixels(uint8_t glyphRow, uint8_t character) {
  return uint32_t{glyphRow} << 1 | (NinthColumnRepeats(character) ? glyphRow & 1u : 0u);
}

// Rows of 9-pixel cells. Two cells are 18 pixels, 9 bytes at 4 bits a
// pixel: cells are drawn in pairs from an even column, so that each pair
// starts on a byte.
void RasteriseNineRows(const AnsiScreen& screen, const Looks& looks, int32_t height, const AnsiPageSize& page,
                       int32_t from, int32_t to, int32_t firstRow, uint8_t* pixels) {
  const size_t stride = static_cast<size_t>(page.stride);
  const bool exact = page.bitsPerPixel == 32;
  for (int32_t row = from; row < to; ++row) {
    const size_t first = static_cast<size_t>(row) * static_cast<size_t>(screen.columns);
    const AnsiCell* cells = screen.cells.data() + first;
    uint8_t* band =
        pixels + static_cast<size_t>(row - firstRow) * static_cast<size_t>(screen.cellHeight) * stride;
    for (int32_t column = 0; column < screen.columns; column += 2) {
      const bool pair = column + 1 < screen.columns;
      CellLook look[2] = {looks.Of(cells[column]), looks.Of(cells[pair ? column + 1 : column])};
      uint32_t front[2], back[2];
      for (int k = 0; k < 2; ++k) {
        const uint32_t* given = exact ? screen.exactColours.data() + 2 * (first + column + k) : nullptr;
        front[k] =
            !exact ? look[k].front
                   : Bgrx(k < 1 + pair && given[0] & kExactColour ? given[0] : screen.palette[look[k].front]);
        back[k] =
            !exact ? look[k].back
                   : Bgrx(k < 1 + pair && given[1] & kExactColour ? given[1] : screen.palette[look[k].back]);
      }
      const uint8_t characters[2] = {cells[column].character, cells[pair ? column + 1 : column].character};
      for (int32_t y = 0; y < height; ++y) {
        uint32_t values[18];
        for (int k = 0; k < 2; ++k) {
          const uint32_t bits = NinePixels(look[k].glyph[y], characters[k]);
          for (int x = 0; x < 9; ++x) values[9 * k + x] = (bits >> (8 - x)) & 1 ? front[k] : back[k];
        }
        uint8_t* line = band + static_cast<size_t>(y) * stride;
        if (exact) {
          std::memcpy(line + 36 * static_cast<size_t>(column), values, (pair ? 18 : 9) * 4);
          continue;
        }
        uint8_t* out = line + 9 * static_cast<size_t>(column / 2);
        for (int b = 0; b < (pair ? 9 : 5); ++b)
          out[b] = static_cast<uint8_t>(values[2 * b] << 4 | (pair || b < 4 ? values[2 * b + 1] : 0));
      }
    }
  }
}

}  // namespace

void RasteriseAnsiRows(const AnsiScreen& screen, int32_t firstRow, int32_t rowCount, uint8_t* pixels,
                       bool blinkShown) {
  static const NibbleMasks kMasks;
  const AnsiPageSize page = AnsiPageSizeOf(screen);
  const Looks looks(screen, blinkShown);
  // A font of another height than the screen's cells is not drawn past
  // them: the rows the cells have are what the page holds.
  const int32_t height = std::min(looks.height(), screen.cellHeight);
  const size_t stride = static_cast<size_t>(page.stride);
  const int32_t from = std::max(firstRow, 0);
  const int32_t to =
      static_cast<int32_t>(std::min<int64_t>(int64_t{firstRow} + std::max(rowCount, 0), screen.rows));
  const bool exact = page.bitsPerPixel == 32;
  if (screen.cellWidth == 9)
    return RasteriseNineRows(screen, looks, height, page, from, to, firstRow, pixels);
  for (int32_t row = from; row < to; ++row) {
    const size_t first = static_cast<size_t>(row) * static_cast<size_t>(screen.columns);
    const AnsiCell* cells = screen.cells.data() + first;
    uint8_t* band =
        pixels + static_cast<size_t>(row - firstRow) * static_cast<size_t>(screen.cellHeight) * stride;
    // A cell at a time, down its pixel rows: the band of one row of cells
    // stays in the cache, and each cell's colours are worked out once.
    for (int32_t column = 0; column < screen.columns; ++column) {
      const CellLook look = looks.Of(cells[column]);
      if (!exact) {
        // Every nibble of the colour, so that the mask picks the pixels.
        const uint32_t front = 0x11111111u * look.front;
        const uint32_t back = 0x11111111u * look.back;
        uint8_t* out = band + 4 * static_cast<size_t>(column);
        for (int32_t y = 0; y < height; ++y, out += stride) {
          const uint32_t mask = kMasks.mask[look.glyph[y]];
          const uint32_t word = (front & mask) | (back & ~mask);
          std::memcpy(out, &word, 4);
        }
        continue;
      }
      const uint32_t* given = screen.exactColours.data() + 2 * (first + static_cast<size_t>(column));
      const uint32_t back = Bgrx(given[1] & kExactColour ? given[1] : screen.palette[look.back]);
      const uint32_t front = looks.Hidden(cells[column])
                                 ? back
                                 : Bgrx(given[0] & kExactColour ? given[0] : screen.palette[look.front]);
      uint8_t* out = band + 32 * static_cast<size_t>(column);
      for (int32_t y = 0; y < height; ++y, out += stride) {
        uint32_t row8[8];
        for (int x = 0; x < 8; ++x) row8[x] = (look.glyph[y] >> (7 - x)) & 1 ? front : back;
        std::memcpy(out, row8, sizeof row8);
      }
    }
  }
}
