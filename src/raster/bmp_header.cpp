#include "bmp_header.h"

#include "glyph_table.h"

namespace {

uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

constexpr uint32_t kRgb = 0, kBitFields = 3;

}  // namespace

bool ReadBmpHeader(const uint8_t* head, size_t headSize, uint64_t fileSize, BmpLayout& layout) {
  layout = BmpLayout();
  if (headSize < 18 || head[0] != 'B' || head[1] != 'M') return false;
  const uint32_t infoSize = Read32(head + 14);
  // The core header of OS/2 1.x (12 bytes) and OS/2 2.x's (64) are not read.
  if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124) return false;
  if (headSize < 14 + infoSize) return false;
  const uint8_t* info = head + 14;
  const auto width = static_cast<int32_t>(Read32(info + 4));
  const auto height = static_cast<int32_t>(Read32(info + 8));
  const uint16_t bits = Read16(info + 14);
  const uint32_t compression = Read32(info + 16);
  const uint32_t imageSize = Read32(info + 20);
  const uint32_t colourCount = Read32(info + 32);
  if (width <= 0 || height == 0 || height == INT32_MIN || Read16(info + 12) != 1) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  // Run-length rows have no size to check before they are decoded.
  const bool bitFields = compression == kBitFields;
  if (compression != kRgb && !(bitFields && (bits == 16 || bits == 32))) return false;
  const uint32_t maxColours = bits <= 8 ? 1u << bits : 256u;
  if (colourCount > maxColours) return false;

  layout.width = width;
  layout.height = height < 0 ? -height : height;
  layout.topDown = height < 0;
  layout.bitsPerPixel = bits;
  layout.bitFields = bitFields;
  layout.paletteOffset = 14 + infoSize;
  layout.colourCount = bits <= 8 && colourCount == 0 ? maxColours : colourCount;
  layout.pixelOffset = Read32(head + 10);
  layout.rowSize = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  const uint64_t tableEnd =
      layout.paletteOffset + (bitFields && infoSize == 40 ? 12u : 0u) + 4ull * layout.colourCount;
  // The rows are counted by division: the product of a claimed width and
  // height could pass any 64-bit bound.
  return layout.pixelOffset >= tableEnd && layout.pixelOffset <= fileSize &&
         static_cast<uint64_t>(layout.height) <= (fileSize - layout.pixelOffset) / layout.rowSize &&
         imageSize <= fileSize - layout.pixelOffset;
}

bool IsGlyphSheetBmp(const uint8_t* head, size_t headSize, uint64_t fileSize) {
  BmpLayout layout;
  return ReadBmpHeader(head, headSize, fileSize, layout) && layout.width == kSheetWidth &&
         layout.height == kSheetHeight && !layout.topDown;
}
