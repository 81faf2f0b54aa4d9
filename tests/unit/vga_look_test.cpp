// The VGA look of colour screens: 9-pixel cells, the 4:3 stretch, and which a file gets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "app/export_core.h"
#include "art/document_reading.h"
#include "raster/ansi_raster.h"
#include "raster/vga_look.h"

namespace {

// A page pixel: the palette index at 4 bits, 0xRRGGBB at 32.
uint32_t PixelAt(const AnsiScreen& screen, const std::vector<uint8_t>& page, int32_t x, int32_t y) {
  const AnsiPageSize size = AnsiPageSizeOf(screen);
  const uint8_t* row = page.data() + static_cast<size_t>(y) * size.stride;
  if (size.bitsPerPixel == 32) return row[4 * x + 2] << 16 | row[4 * x + 1] << 8 | row[4 * x];
  return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15;
}

std::vector<uint8_t> Draw(const AnsiScreen& screen) {
  const AnsiPageSize size = AnsiPageSizeOf(screen);
  std::vector<uint8_t> page(static_cast<size_t>(size.stride) * size.height, 0xEE);
  RasteriseAnsi(screen, page.data());
  return page;
}

}  // namespace

// In 9-pixel cells each cell's first 8 columns are its 8-pixel cell, and its 9th repeats the 8th for
// 0xC0-0xDF only; in pairs of cells and a last single one, at 4 bits a pixel and with exact colours.
TEST(VgaLook, NinthColumn) {
  const uint8_t characters[] = {0xC0, 0xC4, 0xDB, 0xDF, 0xBF, 0xB1, 0xE0, 'A', 0xDE};
  for (const bool exact : {false, true}) {
    AnsiScreen eight;
    eight.columns = 9, eight.rows = 1;
    for (const uint8_t c : characters) eight.cells.push_back(AnsiCell{c, 0x1E});
    if (exact) eight.exactColours.assign(18, 0), eight.exactColours[0] = kExactColour | 0x123456;
    AnsiScreen nine = eight;
    nine.cellWidth = 9;
    const std::vector<uint8_t> narrow = Draw(eight), wide = Draw(nine);
    for (int32_t column = 0; column < 9; ++column)
      for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 8; ++x)
          ASSERT_EQ(PixelAt(nine, wide, 9 * column + x, y), PixelAt(eight, narrow, 8 * column + x, y))
              << exact << " " << column << " " << x << "," << y;
        const bool repeats = characters[column] >= 0xC0 && characters[column] <= 0xDF;
        const uint32_t back = exact ? kAnsiPalette[1] : 1;
        EXPECT_EQ(PixelAt(nine, wide, 9 * column + 8, y),
                  repeats ? PixelAt(eight, narrow, 8 * column + 7, y) : back)
            << exact << " " << column << " " << y;
      }
  }
}

TEST(VgaLook, StretchSizesAndBlends) {
  const std::tuple<int32_t, int32_t, int32_t> heights[] = {{400, 9, 540}, {400, 8, 480}, {16, 9, 22},
                                                           {16, 8, 19},   {8, 9, 11},    {0, 9, 0}};
  for (const auto& [height, letters, want] : heights) EXPECT_EQ(StretchedHeight(height, letters), want);
  // 2 rows to 3: the middle row is half of each; 2 to 5 (the last row never reads past the picture).
  const auto blends = [](int32_t from, int32_t to) {
    std::string text;
    for (const RowBlend& b : StretchRowBlends(from, to))
      text += std::to_string(b.row) + ":" + std::to_string(b.weight) + " ";
    return text;
  };
  EXPECT_EQ(blends(2, 3), "0:0 0:128 1:0 ");
  EXPECT_EQ(blends(2, 5), "0:0 0:0 0:128 1:0 1:0 ");
  EXPECT_EQ(blends(3, 2), "");
}

// A record's letter-spacing and aspect bits, or the choice that overrides them.
TEST(VgaLook, ChosenByTheRecordOrTheUser) {
  const std::tuple<uint8_t, uint8_t, LookChoice, int32_t, bool> cases[] = {
      {1, 0x04 | 0x08, LookChoice::kAsFile, 9, true},   // character art: 9 pixels, 4:3
      {5, 0x02 | 0x10, LookChoice::kAsFile, 8, false},  // binary text: 8 pixels, square
      {1, 0x06 | 0x18, LookChoice::kAsFile, 8, false},  // the undefined values say nothing
      {6, 0x04 | 0x08, LookChoice::kAsFile, 8, false},  // XBin records carry no such bits
      {1, 0x04 | 0x08, LookChoice::kOff, 8, false},    {0, 0, LookChoice::kOn, 9, true},
  };
  for (const auto& [dataType, flags, choice, letters, stretch] : cases) {
    SauceRecord sauce;
    sauce.present = dataType != 0, sauce.dataType = dataType, sauce.flags = flags;
    EXPECT_EQ(std::make_pair(ChosenLetterWidth(sauce, choice), ChosenStretch(sauce, choice)),
              std::make_pair(letters, stretch))
        << int{dataType} << " " << int{flags};
  }
}

// A 4:3 export is rows x 16 x 1.35 high and, averaged back down to the square rows, is the square page.
TEST(VgaLook, StretchedExportShrinksBackToTheSquarePage) {
  std::string art;
  for (int row = 0; row < 25; ++row)
    art += "\x1b[3" + std::to_string(row % 8) + ";4" + std::to_string((row + 3) % 8) +
           "mQuill \xdc\xdf\xdb\xb1\xc4\xc5\r\n";
  ExportPage square, tall;
  ASSERT_TRUE(DrawExportPage("x.ans", art.data(), art.size(), GlyphPixels{}, true, 0, square, nullptr,
                             ScreenLook{LookChoice::kOn, LookChoice::kOff}));
  ASSERT_TRUE(DrawExportPage("x.ans", art.data(), art.size(), GlyphPixels{}, true, 0, tall, nullptr,
                             ScreenLook{LookChoice::kOn, LookChoice::kOn}));
  ASSERT_EQ(std::make_tuple(tall.rows.width, tall.rows.height, tall.rows.format),
            std::make_tuple(square.rows.width, 540, PixelFormat::kRgb24));
  // Each square row against the stretched rows it became, averaged by how much of each it covers.
  int64_t error = 0;
  const int32_t width = square.rows.width;
  for (int32_t y = 0; y < square.rows.height; ++y)
    for (int32_t x = 0; x < width; ++x)
      for (int channel = 0; channel < 3; ++channel) {
        const int shift = 16 - 8 * channel;
        const uint8_t* row = square.rows.pixels + y * square.rows.stride;
        const int want = (square.palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 15] >> shift) & 255;
        int64_t sum = 0;  // in 20ths of a stretched row: a square row covers 27 of them
        for (int32_t part = 27 * y; part < 27 * (y + 1); ++part)
          sum += tall.rows.pixels[(part / 20) * tall.rows.stride + 3 * x + channel];
        error += std::abs(static_cast<int>((sum + 13) / 27) - want);
      }
  EXPECT_LT(error, int64_t{3} * width * square.rows.height);  // on average within 1 in 255 a channel
}
