#include "png_encoder.h"

#include "png_writer.h"

bool PngEncoder::Encode(const Page& page, std::vector<uint8_t>& png) {
  png.clear();
  // Index 0 black, 1 white: the page's 0 and 1 bits as they are.
  static const uint32_t kBlackAndWhite[2] = {0x000000, 0xFFFFFF};
  PixelRows rows;
  rows.pixels = page.bits;
  rows.stride = page.stride > 0 ? static_cast<size_t>(page.stride) : 0;
  rows.width = page.columns * 8;
  rows.height = page.rows * 8;
  if (page.bitsPerPixel == 1) {
    rows.format = PixelFormat::kIndexed1;
    rows.palette = kBlackAndWhite;
  } else if (page.bitsPerPixel == 32) {
    rows.format = PixelFormat::kBgrx32;
  } else {
    return false;
  }
  return EncodePng(rows, png);
}
