#include "vga_look.h"

#include <algorithm>
#include <utility>

int32_t StretchedHeight(int32_t height, int32_t letterWidth, ScreenTube tube) {
  // The tube's rows over the screen's: 540 / 400 = 27 / 20 and 480 / 400 =
  // 6 / 5 for VGA, 480 / 350 for EGA, 480 / 200 for the Amiga, 240 / 200
  // and 240 / 192 for the C64 and the Atari. Halves round up.
  int64_t times = 1, over = 1;
  switch (tube) {
    case ScreenTube::kVga: times = letterWidth == 9 ? 27 : 24, over = 20; break;
    case ScreenTube::kSquare: break;
    case ScreenTube::kEga: times = 48, over = 35; break;
    case ScreenTube::kAmiga: times = 12, over = 5; break;
    case ScreenTube::kC64: times = 6, over = 5; break;
    case ScreenTube::kAtari: times = 5, over = 4; break;
  }
  return static_cast<int32_t>((int64_t{height} * times * 2 + over) / (2 * over));
}

RowBlend StretchRowBlend(int32_t sourceRows, int32_t outputRows, int32_t j) {
  // In units of 1 / outputRows of a source row: source row i spans
  // [i * outputRows, (i + 1) * outputRows), output row j spans
  // [j * sourceRows, (j + 1) * sourceRows), never more than one source row.
  const int64_t in = sourceRows, out = outputRows;
  const int64_t start = int64_t{j} * in, end = start + in;
  const int64_t row = start / out;
  const int64_t into = std::max<int64_t>(end - (row + 1) * out, 0);  // the part in row + 1
  const auto weight = static_cast<uint32_t>((into * 256 + in / 2) / in);
  // The last row never reaches past the picture.
  return RowBlend{static_cast<int32_t>(row), row + 1 < in ? weight : 0};
}

std::vector<RowBlend> StretchRowBlends(int32_t sourceRows, int32_t outputRows) {
  std::vector<RowBlend> blends;
  if (sourceRows <= 0 || outputRows < sourceRows) return blends;
  blends.reserve(static_cast<size_t>(outputRows));
  for (int32_t j = 0; j < outputRows; ++j) blends.push_back(StretchRowBlend(sourceRows, outputRows, j));
  return blends;
}

namespace {

// One row of `source` as 0xRRGGBB values.
void ReadRow(const PixelRows& source, int32_t y, uint32_t* rgb) {
  const uint8_t* row = source.pixels + static_cast<size_t>(y) * source.stride;
  for (int32_t x = 0; x < source.width; ++x) {
    const auto at = static_cast<size_t>(x);
    switch (source.format) {
      case PixelFormat::kIndexed1: rgb[x] = source.palette[(row[at >> 3] >> (7 - (at & 7))) & 1]; break;
      case PixelFormat::kIndexed4: rgb[x] = source.palette[(row[at >> 1] >> ((at & 1) ? 0 : 4)) & 15]; break;
      case PixelFormat::kGrey8: rgb[x] = row[at] * 0x010101u; break;
      case PixelFormat::kRgb24:
        rgb[x] = uint32_t{row[3 * at]} << 16 | uint32_t{row[3 * at + 1]} << 8 | row[3 * at + 2];
        break;
      case PixelFormat::kBgrx32:
        rgb[x] = uint32_t{row[4 * at + 2]} << 16 | uint32_t{row[4 * at + 1]} << 8 | row[4 * at];
        break;
    }
  }
}

}  // namespace

void StretchRows(const PixelRows& source, int32_t outputRows, PixelFormat outFormat, uint8_t* out,
                 size_t outStride) {
  if (source.height <= 0 || outputRows < source.height) return;
  StretchRowsBand(source, 0, source.height, outputRows, 0, outputRows, outFormat, out, outStride);
}

void StretchRowsBand(const PixelRows& source, int32_t sourceTop, int32_t sourceRows, int32_t outputRows,
                     int32_t firstOutput, int32_t outputCount, PixelFormat outFormat, uint8_t* out,
                     size_t outStride) {
  if (!IsReadable(source) || sourceRows <= 0 || outputRows < sourceRows || firstOutput < 0 ||
      outputCount < 0 || int64_t{firstOutput} + outputCount > outputRows)
    return;
  const size_t width = static_cast<size_t>(source.width);
  std::vector<uint32_t> upper(width), lower(width);
  int32_t upperRow = -1, lowerRow = -1;
  const bool bgrx = outFormat == PixelFormat::kBgrx32;
  for (int32_t j = 0; j < outputCount; ++j) {
    RowBlend blend = StretchRowBlend(sourceRows, outputRows, firstOutput + j);
    // Rows the band was not given are not read: held to the band.
    blend.row -= sourceTop;
    if (blend.row < 0 || blend.row >= source.height) continue;
    if (blend.row + 1 >= source.height) blend.weight = 0;
    // Each source row is read once: the next output rows reuse it.
    if (upperRow != blend.row && lowerRow == blend.row) {
      upper.swap(lower);
      std::swap(upperRow, lowerRow);
    }
    if (upperRow != blend.row) ReadRow(source, upperRow = blend.row, upper.data());
    if (blend.weight > 0 && lowerRow != blend.row + 1)
      ReadRow(source, lowerRow = blend.row + 1, lower.data());
    uint8_t* row = out + static_cast<size_t>(j) * outStride;
    const uint32_t w = blend.weight, keep = 256 - w;
    for (size_t x = 0; x < width; ++x) {
      uint32_t rgb = upper[x];
      if (w > 0 && lower[x] != rgb) {
        const uint32_t a = rgb, b = lower[x];
        rgb = 0;
        for (int shift = 0; shift < 24; shift += 8)
          rgb |= ((((a >> shift) & 255) * keep + ((b >> shift) & 255) * w + 128) >> 8) << shift;
      }
      if (bgrx) {
        row[4 * x] = static_cast<uint8_t>(rgb), row[4 * x + 1] = static_cast<uint8_t>(rgb >> 8);
        row[4 * x + 2] = static_cast<uint8_t>(rgb >> 16), row[4 * x + 3] = 0;
      } else {
        row[3 * x] = static_cast<uint8_t>(rgb >> 16), row[3 * x + 1] = static_cast<uint8_t>(rgb >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(rgb);
      }
    }
  }
}
