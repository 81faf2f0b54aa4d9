// The VGA look of colour screens: 9-pixel cells, the 4:3 stretch, and which a file gets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "export/export_core.h"
#include "raster/ansi_raster.h"
#include "raster/page_drawing.h"
#include "raster/vga_look.h"
#include "screen_text.h"

// In 9-pixel cells each cell's first 8 columns are its 8-pixel cell, and its 9th repeats the 8th for
// 0xC0-0xDF only; in pairs of cells and a last single one, at 4 bits a pixel and with exact colours.
TEST(VgaLook, NinthColumn) {
  const uint8_t characters[] = {0xC0, 0xC4, 0xDB, 0xDF, 0xBF, 0xB1, 0xE0, 'A', 0xDE};
  for (const bool exact : {false, true}) {
    AnsiScreen narrow;
    narrow.columns = 9, narrow.rows = 1;
    for (const uint8_t c : characters) narrow.cells.push_back(AnsiCell{c, 0x1E});
    if (exact) narrow.exactColours.assign(18, 0), narrow.exactColours[0] = kExactColour | 0x123456;
    AnsiScreen wide = narrow;
    wide.cellWidth = 9;
    const std::vector<uint32_t> eight = Pixels(narrow), nine = Pixels(wide);  // rows of 72 and 81 pixels
    for (int32_t column = 0; column < 9; ++column)
      for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 8; ++x)
          ASSERT_EQ(nine[81 * y + 9 * column + x], eight[72 * y + 8 * column + x]);
        const bool repeats = characters[column] >= 0xC0 && characters[column] <= 0xDF;
        EXPECT_EQ(nine[81 * y + 9 * column + 8], repeats ? eight[72 * y + 8 * column + 7] : kAnsiPalette[1])
            << exact << " " << column << " " << y;
      }
  }
}

// The stretched heights, the rows' blends (2 rows to 3: the middle one half of each; the last never reads
// past the picture), and which look a record's letter-spacing and aspect bits or the user choose.
TEST(VgaLook, StretchAndChoice) {
  for (const auto& [height, letters, want] : {std::make_tuple(400, 9, 540), std::make_tuple(400, 8, 480),
                                              std::make_tuple(16, 9, 22), std::make_tuple(16, 8, 19)})
    EXPECT_EQ(StretchedHeight(height, letters), want);
  for (const auto& [from, to, want] :
       {std::make_tuple(2, 3, "0:0 0:128 1:0 "), std::make_tuple(2, 5, "0:0 0:0 0:128 1:0 1:0 "),
        std::make_tuple(3, 2, "")}) {
    std::string text;
    for (const RowBlend& b : StretchRowBlends(from, to))
      text += std::to_string(b.row) + ":" + std::to_string(b.weight) + " ";
    EXPECT_EQ(text, want);
  }
  // Character art says 9 pixels and 4:3, binary text 8 and square; undefined values and XBin records say
  // nothing.
  for (const auto& [dataType, flags, choice, want] :
       {std::make_tuple(1, 0x0C, LookChoice::kAsFile, 9), std::make_tuple(5, 0x12, LookChoice::kAsFile, 0),
        std::make_tuple(1, 0x1E, LookChoice::kAsFile, 0), std::make_tuple(6, 0x0C, LookChoice::kAsFile, 0),
        std::make_tuple(1, 0x0C, LookChoice::kOff, 0), std::make_tuple(0, 0, LookChoice::kOn, 9)}) {
    SauceRecord sauce;
    sauce.present = dataType != 0, sauce.dataType = static_cast<uint8_t>(dataType),
    sauce.flags = static_cast<uint8_t>(flags);
    EXPECT_EQ(std::make_pair(ChosenLetterWidth(sauce, choice), ChosenStretch(sauce, choice)),
              std::make_pair(want ? 9 : 8, want != 0))
        << dataType << " " << flags;
  }
}

// A 4:3 export is rows x 16 x 1.35 high and, averaged back down to the square rows, is the square page.
TEST(VgaLook, StretchedExportShrinksBackToTheSquarePage) {
  std::string art;
  for (int row = 0; row < 25; ++row)
    art += "\x1b[3" + std::to_string(row % 8) + ";4" + std::to_string((row + 3) % 8) +
           "mQuill \xdc\xdf\xdb\xb1\xc4\r\n";
  ExportPage pages[2];  // square and 4:3, in 9-pixel letters
  for (int k = 0; k < 2; ++k) {
    Document document;
    ReadDocument("x.ans", ReadFromMemory(Bytes(art), art.size()),
                 {true, {LookChoice::kOn, k ? LookChoice::kOn : LookChoice::kOff}}, document);
    ASSERT_TRUE(DrawExportPage(document, GlyphPixels{}, 0, pages[k]));
  }
  const PixelRows &square = pages[0].rows, &tall = pages[1].rows;
  ASSERT_EQ(std::make_tuple(tall.width, tall.height, tall.format),
            std::make_tuple(square.width, 540, PixelFormat::kRgb24));
  int64_t error = 0;  // each square row against the 27 twentieths of stretched rows it became
  for (int32_t y = 0; y < square.height; ++y)
    for (int32_t x = 0; x < square.width; ++x)
      for (int channel = 0; channel < 3; ++channel) {
        const uint8_t index = square.pixels[y * square.stride + x / 2] >> (x % 2 ? 0 : 4) & 15;
        int64_t sum = 0;
        for (int32_t part = 27 * y; part < 27 * (y + 1); ++part)
          sum += tall.pixels[(part / 20) * tall.stride + 3 * x + channel];
        error += std::abs(static_cast<int>((sum + 13) / 27) -
                          static_cast<int>(square.palette[index] >> (16 - 8 * channel) & 255));
      }
  EXPECT_LT(error, int64_t{3} * square.width * square.height);  // on average within 1 in 255 a channel
}

// Each font's cells and tube, as a record asking for 9-pixel letters and 4:3 gets them: its rows' height,
// a 9th column only in the VGA's text modes, and the rows stretched by the tube's own factor.
TEST(VgaLook, EachFontsCellsAndStretch) {
  // {font, cell height, letter width, height of 3 rows at 4:3}
  const std::tuple<const char*, int32_t, int32_t, int32_t> cases[] = {
      {"IBM VGA", 16, 9, 65},      {"IBM VGA50 866", 8, 9, 32}, {"IBM VGA25G", 19, 8, 57},
      {"IBM EGA", 14, 8, 58},      {"IBM EGA43", 8, 8, 33},     {"Amiga Topaz 1", 8, 8, 58},
      {"C64 PETSCII shifted", 8, 8, 29}, {"Atari ATASCII", 8, 8, 30},
  };
  for (const auto& [font, cellHeight, letters, tall] : cases) {
    SCOPED_TRACE(font);
    const std::string art = File("A\r\nB\r\nC", 1, 1, 80, 0x0C, font);
    Document document;
    ReadDocument("x.ans", ReadFromMemory(Bytes(art), art.size()), {true}, document);
    const AnsiScreen& screen = document.screen.screen;
    EXPECT_EQ(std::make_tuple(screen.rows, screen.cellHeight, screen.cellWidth), std::make_tuple(3, cellHeight, letters));
    EXPECT_EQ(PageDrawing::OfDocument(document, {}).shape().height, tall);
  }
}
