// A picture as rows of pixels in memory, as the PNG writer and the
// thumbnail scaler read it: a page of the export or a thumbnail of one.
#ifndef QUILLPANE_PIXEL_ROWS_H
#define QUILLPANE_PIXEL_ROWS_H

#include <cstddef>
#include <cstdint>

enum class PixelFormat : uint8_t {
  kIndexed1,  // 1 bit a pixel, leftmost in the top bit; a palette of 2
  kIndexed4,  // 4 bits a pixel, leftmost in the top half; a palette of 16
  kGrey8,     // 1 byte a pixel, 0 black
  kRgb24,     // red, green, blue
  kBgrx32,    // blue, green, red and a byte that is not read (a 32-bit DIB)
};

struct PixelRows {
  const uint8_t* pixels = nullptr;  // top row first
  size_t stride = 0;                // bytes from one row to the next
  int32_t width = 0;
  int32_t height = 0;
  PixelFormat format = PixelFormat::kIndexed1;
  const uint32_t* palette = nullptr;  // 0xRRGGBB; 2 or 16 entries for the indexed formats
};

// The palette entries of an indexed format, 0 for the others.
inline int PaletteSize(PixelFormat format) {
  return format == PixelFormat::kIndexed1 ? 2 : format == PixelFormat::kIndexed4 ? 16 : 0;
}

// Bytes of the pixels of one row, without padding.
inline size_t RowBytes(PixelFormat format, int32_t width) {
  const size_t w = static_cast<size_t>(width);
  switch (format) {
    case PixelFormat::kIndexed1: return (w + 7) / 8;
    case PixelFormat::kIndexed4: return (w + 1) / 2;
    case PixelFormat::kGrey8: return w;
    case PixelFormat::kRgb24: return w * 3;
    case PixelFormat::kBgrx32: return w * 4;
  }
  return 0;
}

// True when the rows can be read: pixels, a positive size, a stride that
// holds a row and a palette where the format needs one.
inline bool IsReadable(const PixelRows& rows) {
  return rows.pixels != nullptr && rows.width > 0 && rows.height > 0 &&
         rows.stride >= RowBytes(rows.format, rows.width) &&
         (PaletteSize(rows.format) == 0 || rows.palette != nullptr);
}

#endif
