#include "thumbnail.h"

#include <algorithm>
#include <exception>

namespace {

// Row `y` of `page` as red, green and blue bytes.
void ReadRgbRow(const PixelRows& page, int32_t y, uint8_t* rgb) {
  const uint8_t* row = page.pixels + static_cast<size_t>(y) * page.stride;
  const auto put = [&rgb](uint32_t colour) {
    *rgb++ = static_cast<uint8_t>(colour >> 16);
    *rgb++ = static_cast<uint8_t>(colour >> 8);
    *rgb++ = static_cast<uint8_t>(colour);
  };
  for (int32_t x = 0; x < page.width; ++x) {
    switch (page.format) {
      case PixelFormat::kIndexed1: put(page.palette[(row[x >> 3] >> (7 - (x & 7))) & 1]); break;
      case PixelFormat::kIndexed4: put(page.palette[(row[x >> 1] >> ((x & 1) != 0 ? 0 : 4)) & 15]); break;
      case PixelFormat::kGrey8: put(row[x] * 0x010101u); break;
      case PixelFormat::kRgb24: put(uint32_t{row[3 * x]} << 16 | row[3 * x + 1] << 8 | row[3 * x + 2]); break;
      case PixelFormat::kBgrx32:
        put(uint32_t{row[4 * x + 2]} << 16 | row[4 * x + 1] << 8 | row[4 * x]);
        break;
    }
  }
}

}  // namespace

bool MakeThumbnail(const PixelRows& page, int size, Thumbnail& thumbnail) {
  thumbnail.width = thumbnail.height = 0;
  thumbnail.rgb.clear();
  if (!IsReadable(page) || size < 1 || size > kMaxThumbnailSize) return false;
  // The first screen of the art: a file manager shows thumbnails in
  // squares, and art is read from the top, so the top square of the page
  // fills the thumbnail with the art's start (92 rows of cells on a page
  // of 92 columns; a page of a few lines gives a short, wide thumbnail).
  // Its width is always the longer side.
  const int32_t width = page.width;
  const int32_t height = std::min(page.height, page.width);
  const int32_t outWidth = std::min(width, size);
  const int32_t outHeight =
      std::max<int32_t>(1, static_cast<int32_t>((int64_t{height} * outWidth + width / 2) / width));
  try {
    // Box filter: thumbnail column c covers page columns left[c] to
    // left[c + 1] - 1, and likewise for rows; every page pixel of the top
    // counts in exactly one thumbnail pixel. The halftone stretch of the
    // window averages the same way, without weighing by light.
    std::vector<int32_t> left(static_cast<size_t>(outWidth) + 1);
    std::vector<int32_t> outColumn(static_cast<size_t>(width));
    for (int32_t c = 0; c <= outWidth; ++c) left[c] = static_cast<int32_t>(int64_t{width} * c / outWidth);
    for (int32_t c = 0; c < outWidth; ++c)
      std::fill(outColumn.begin() + left[c], outColumn.begin() + left[c + 1], c);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    std::vector<uint64_t> sums(static_cast<size_t>(outWidth) * 3);
    thumbnail.rgb.resize(static_cast<size_t>(outWidth) * outHeight * 3);
    uint8_t* out = thumbnail.rgb.data();
    for (int32_t r = 0; r < outHeight; ++r) {
      const int32_t top = static_cast<int32_t>(int64_t{height} * r / outHeight);
      const int32_t bottom = static_cast<int32_t>(int64_t{height} * (r + 1) / outHeight);
      std::fill(sums.begin(), sums.end(), 0);
      for (int32_t y = top; y < bottom; ++y) {
        ReadRgbRow(page, y, row.data());
        for (int32_t x = 0; x < width; ++x) {
          uint64_t* sum = &sums[static_cast<size_t>(outColumn[x]) * 3];
          sum[0] += row[3 * x], sum[1] += row[3 * x + 1], sum[2] += row[3 * x + 2];
        }
      }
      for (int32_t c = 0; c < outWidth; ++c) {
        const uint64_t count = uint64_t(left[c + 1] - left[c]) * uint64_t(bottom - top);
        for (int k = 0; k < 3; ++k) *out++ = static_cast<uint8_t>((sums[3 * c + k] + count / 2) / count);
      }
    }
  } catch (const std::exception&) {  // out of memory
    thumbnail.rgb.clear();
    return false;
  }
  thumbnail.width = outWidth;
  thumbnail.height = outHeight;
  return true;
}
