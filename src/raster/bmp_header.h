// The headers of a Windows BMP file, checked against the file's size before
// any loader reads its pixels: a header that claims more rows than the file
// holds, or pixels far past its end, is refused rather than handed to a
// loader that would read outside the file. Pure, so that a BMP reader of
// any platform can check with it first.
#ifndef QUILLPANE_BMP_HEADER_H
#define QUILLPANE_BMP_HEADER_H

#include <cstddef>
#include <cstdint>

// The file header and the largest info header (version 5) together: enough
// of the file's first bytes to check it.
constexpr size_t kBmpHeadSize = 14 + 124;

struct BmpLayout {
  int32_t width = 0;
  int32_t height = 0;          // rows, always positive
  bool topDown = false;        // the file's first row is the top one
  uint16_t bitsPerPixel = 0;   // 1, 4, 8, 16, 24 or 32
  bool bitFields = false;      // 16 or 32 bits read through colour masks
  uint32_t paletteOffset = 0;  // where the masks (a 40-byte header's) and the palette begin
  uint32_t colourCount = 0;    // palette entries of 4 bytes each
  uint32_t pixelOffset = 0;    // where the first row begins
  uint64_t rowSize = 0;        // bytes a row, padded to a multiple of 4
};

// Reads the headers from `head`, the first `headSize` bytes of a file of
// `fileSize` bytes. True for an uncompressed BMP (or one of 16 or 32 bits
// with colour masks) with a 40-byte or later info header, 1, 4, 8, 16, 24
// or 32 bits a pixel and one plane, whose palette and every row lie inside
// the file.
bool ReadBmpHeader(const uint8_t* head, size_t headSize, uint64_t fileSize, BmpLayout& layout);

// A glyph sheet: such a BMP of exactly 48 x 368 pixels, its rows bottom
// first. The system's loader reads no pixels of a sheet stored top row
// first (under Wine it comes out black), so such a sheet is refused.
bool IsGlyphSheetBmp(const uint8_t* head, size_t headSize, uint64_t fileSize);

#endif
