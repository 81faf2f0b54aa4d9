// The PNG writer, read back with lodepng, and the thumbnail scaler.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "raster/png_writer.h"
#include "raster/thumbnail.h"
#include "screen_text.h"

namespace {

constexpr uint32_t kBlackAndWhite[2] = {0x000000, 0xFFFFFF};
constexpr uint32_t kSixteen[16] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA,
                                   0xAA5500, 0xAAAAAA, 0x555555, 0x5555FF, 0x55FF55, 0x55FFFF,
                                   0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};

// A picture of `format` whose pixel (x, y) is colour(x, y): an index for the indexed formats, a grey level,
// or 0xRRGGBB; its rows padded with bytes that are no pixels. `rgb` is what it shows, top row first.
struct Picture {
  std::vector<uint8_t> bytes;
  std::vector<uint32_t> rgb;
  PixelRows rows;
  Picture(PixelFormat format, int32_t width, int32_t height, uint32_t (*colour)(int32_t, int32_t)) {
    rows.format = format, rows.width = width, rows.height = height;
    rows.stride = RowBytes(format, width) + 3;
    rows.palette = format == PixelFormat::kIndexed1 ? kBlackAndWhite : kSixteen;
    bytes.assign(rows.stride * height, 0);
    for (int32_t y = 0; y < height; ++y) {
      uint8_t* row = &bytes[y * rows.stride];
      row[rows.stride - 1] = 0xA5;
      for (int32_t x = 0; x < width; ++x) {
        const uint32_t c = colour(x, y);
        switch (format) {
          case PixelFormat::kIndexed1: row[x / 8] |= (c & 1) << (7 - x % 8); break;
          case PixelFormat::kIndexed4: row[x / 2] |= (c & 15) << (x % 2 ? 0 : 4); break;
          case PixelFormat::kGrey8: row[x] = static_cast<uint8_t>(c); break;
          case PixelFormat::kRgb24: row[3 * x] = c >> 16, row[3 * x + 1] = c >> 8, row[3 * x + 2] = c; break;
          case PixelFormat::kBgrx32: row[4 * x] = c, row[4 * x + 1] = c >> 8, row[4 * x + 2] = c >> 16; break;
        }
        rgb.push_back(format == PixelFormat::kIndexed1   ? kBlackAndWhite[c & 1]
                      : format == PixelFormat::kIndexed4 ? kSixteen[c & 15]
                      : format == PixelFormat::kGrey8    ? (c & 0xFF) * 0x010101u
                                                         : c & 0xFFFFFF);
      }
    }
    rows.pixels = bytes.data();
  }
};

uint32_t Noise(int32_t x, int32_t y) { return static_cast<uint32_t>(x * 2654435761u ^ y * 40503u) >> 7; }
uint32_t TextLike(int32_t x, int32_t y) { return (x / 8 + y / 8) % 3 == 0 ? Noise(x % 8, y % 8) : 0xFFFFFF; }

TEST(PngWriter, EveryFormatReadsBackPixelForPixelInAnyNumberOfParts) {
  // {width, height, parts, colour}
  const std::tuple<int32_t, int32_t, unsigned, uint32_t (*)(int32_t, int32_t)> shapes[] = {
      {13, 1, 4, Noise},    // a single row: one part whatever is asked
      {1, 3, 3, Noise},     // a pixel a row, a part a row
      {37, 200, 7, Noise},  // odd width, more rows than parts, noise stored as it is
      {91, 300, 5, TextLike}, {736, 400, 0, TextLike},  // parts chosen by size
  };
  for (PixelFormat format : {PixelFormat::kIndexed1, PixelFormat::kIndexed4, PixelFormat::kGrey8,
                             PixelFormat::kRgb24, PixelFormat::kBgrx32}) {
    for (const auto& [width, height, parts, colour] : shapes) {
      SCOPED_TRACE(std::to_string(static_cast<int>(format)) + ": " + std::to_string(width) + " x " +
                   std::to_string(height) + " in " + std::to_string(parts));
      const Picture picture(format, width, height, colour);
      std::vector<uint8_t> png;
      ASSERT_TRUE(EncodePng(picture.rows, png, parts));
      const Decoded decoded = Decode(png);
      ASSERT_EQ(std::make_pair(decoded.width, decoded.height),
                std::make_pair(static_cast<unsigned>(width), static_cast<unsigned>(height)));
      if (parts > 0) {
        EXPECT_EQ(decoded.idatChunks, std::min<int>(parts, height));
      }
      EXPECT_TRUE(decoded.rgb == picture.rgb);
    }
  }
  std::vector<uint8_t> png = {1};
  EXPECT_FALSE(EncodePng(PixelRows(), png));
  EXPECT_TRUE(png.empty());
}

uint32_t Quarters(int32_t x, int32_t y) {  // top left 1 of 4 white, top right all, bottom right 2
  static const char* const kRows[4] = {"1011", "0011", "0001", "0001"};
  return static_cast<uint32_t>(kRows[y][x] - '0');
}
uint32_t TwoTone(int32_t x, int32_t) { return x % 2 ? 0x203040 : 0x102030; }
uint32_t OneAboveZero(int32_t, int32_t y) { return y < 4 ? 1 : 0; }
uint32_t Grey(int32_t x, int32_t y) { return static_cast<uint32_t>(x + y) % 256; }

TEST(Thumbnail, TheTopSquareAveragedToFitTheSize) {
  // {format, width, height, colour, size, then the thumbnail's width and height and its first pixels}
  const std::tuple<PixelFormat, int32_t, int32_t, uint32_t (*)(int32_t, int32_t), int, int32_t, int32_t,
                   std::vector<uint32_t>>
      cases[] = {
          {PixelFormat::kIndexed1, 4, 4, Quarters, 2, 2, 2, {0x404040, 0xFFFFFF, 0x000000, 0x808080}},
          {PixelFormat::kRgb24, 2, 1, TwoTone, 1, 1, 1, {0x182838}},
          {PixelFormat::kBgrx32, 2, 1, TwoTone, 1, 1, 1, {0x182838}},
          {PixelFormat::kIndexed4, 4, 8, OneAboveZero, 4, 4, 4, std::vector<uint32_t>(16, 0x0000AA)},
          {PixelFormat::kGrey8, 736, 200, Grey, 128, 128, 35, {}},    // wide: the height in proportion
          {PixelFormat::kGrey8, 736, 5000, Grey, 128, 128, 128, {}},  // tall: the top square
          {PixelFormat::kIndexed1, 10, 4, Noise, 256, 10, 4, {}},     // never enlarged
          {PixelFormat::kGrey8, 1100, 1500, Grey, 1024, 1024, 1024, {}},
          {PixelFormat::kGrey8, 5, 3, Grey, 1, 1, 1, {0x030303}},  // x + y over the top 5 x 3: 45 / 15
      };
  for (const auto& [format, width, height, colour, size, outWidth, outHeight, rgb] : cases) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " to " + std::to_string(size));
    const Picture page(format, width, height, colour);
    Thumbnail thumbnail;
    ASSERT_TRUE(MakeThumbnail(page.rows, size, thumbnail));
    EXPECT_EQ(std::make_pair(thumbnail.width, thumbnail.height), std::make_pair(outWidth, outHeight));
    const Decoded decoded = Decode([&] {
      std::vector<uint8_t> png;
      EncodePng(thumbnail.Rows(), png);
      return png;
    }());
    ASSERT_EQ(decoded.rgb.size(), static_cast<size_t>(outWidth) * outHeight);
    for (size_t i = 0; i < rgb.size(); ++i) EXPECT_EQ(decoded.rgb[i], rgb[i]) << i;
  }
  const Picture page(PixelFormat::kGrey8, 4, 4, Grey);
  Thumbnail thumbnail;
  for (int size : {0, -1, kMaxThumbnailSize + 1}) EXPECT_FALSE(MakeThumbnail(page.rows, size, thumbnail));
  EXPECT_FALSE(MakeThumbnail(PixelRows(), 64, thumbnail));
}

}  // namespace
