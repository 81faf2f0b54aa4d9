// A page drawn a band at a time is the page drawn whole, and a PNG deflated in bands never asks for more.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "art/document.h"
#include "raster/page_drawing.h"
#include "raster/png_writer.h"
#include "raster/vga_look.h"
#include "screen_text.h"

namespace {

// The drawing's rows in bands of `rows` rows, at a stride with a spare byte, without the spare bytes.
std::vector<uint8_t> InBands(const PageDrawing& drawing, int32_t rows) {
  const PixelRows& shape = drawing.shape();
  const size_t stride = shape.stride + 1;
  std::vector<uint8_t> band, page, scratch;
  for (int32_t first = 0; first < shape.height; first += rows) {
    band.assign(stride * static_cast<size_t>(rows), 0xA5);
    EXPECT_TRUE(drawing.Draw(first, rows, band.data(), stride, scratch));
    for (int32_t y = 0; y < rows && first + y < shape.height; ++y)
      page.insert(page.end(), &band[y * stride], &band[y * stride] + shape.stride);
  }
  return page;
}

TEST(PageDrawing, BandsOfAnySizeAreTheWholePage) {
  // Text whose cursor goes back up and draws over what was drawn, and off the page's right and top.
  std::string text;
  for (int row = 0; row < 30; ++row) text += "Row " + std::to_string(row) + " of the page \xdb\xb1\r\n";
  text += "\x1b[3;5Hover\x1b[1;200Hoff\x1b[40;2Hdown\x1b[AX\r\n";
  Document document;
  ReadDocument("x.nfo", ReadFromMemory(Bytes(text), text.size()), {}, document);
  const uint8_t* laidOut = document.laidOut.data();
  const int32_t length = document.laidOutLength;
  static GlyphPixels glyphs{};
  glyphs.bitsPerPixel = 1;
  for (int g = 0; g < 256; ++g)
    for (int y = 0; y < 8; ++y) glyphs.mono[g][y] = static_cast<uint8_t>(g * 7 + y * 13);
  TextPage whole = ShapeTextPage(MeasureLayout(laidOut, length, nullptr), 1);
  std::vector<uint8_t> pixels(TextPageBytes(whole), 0xFF);
  whole.bits = pixels.data();
  DrawTextPage(laidOut, length, glyphs, whole);
  PageOptions options;
  options.glyphs = &glyphs;
  const PageDrawing page = PageDrawing::OfDocument(document, options);
  for (const int32_t rows : {1, 5, 8, 64, 1000}) EXPECT_TRUE(InBands(page, rows) == pixels) << rows;

  // A colour screen, square and stretched to 4:3 as the export stretches it (the page as one) and as the
  // window does (each row of cells alike); 9-pixel letters, so that rows are no whole bytes.
  std::string art;
  for (int row = 0; row < 12; ++row)
    art += "\x1b[3" + std::to_string(row % 8) + ";4" + std::to_string((row + 5) % 8) + "mBand \xdc\xdf\xb1\r\n";
  ReadDocument("x.ans", ReadFromMemory(Bytes(art), art.size()), {true, {LookChoice::kOn, LookChoice::kOn}},
               document);
  const AnsiScreen& screen = document.screen.screen;
  const AnsiPageSize size = AnsiPageSizeOf(screen);
  std::vector<uint8_t> square(static_cast<size_t>(size.stride) * size.height);
  RasteriseAnsi(screen, square.data());
  const PixelRows squareRows{square.data(), static_cast<size_t>(size.stride), size.width, size.height,
                             PixelFormat::kIndexed4, screen.palette.data()};
  EXPECT_TRUE(InBands(PageDrawing::OfScreen(screen, screen.rows), 7) == square);
  for (const bool alike : {false, true}) {
    options.rowsAlike = alike;
    const PageDrawing stretched = PageDrawing::OfDocument(document, options);
    const int32_t height = alike ? screen.rows * StretchedHeight(16, 9) : StretchedHeight(size.height, 9);
    ASSERT_EQ(stretched.shape().height, height);
    std::vector<uint8_t> want(stretched.shape().stride * static_cast<size_t>(height));
    StretchRows(squareRows, height, PixelFormat::kRgb24, want.data(), stretched.shape().stride);
    for (const int32_t rows : {1, 7, 22, 5000}) EXPECT_TRUE(InBands(stretched, rows) == want) << height << " " << rows;
  }
  // A 4:3 page keeps the rows that fit the page limit (640 x 24 bits x 20 rows a row: 4369), and says so.
  const std::string tall = "\x1b[29000;80HX";
  ReadDocument("t.ans", ReadFromMemory(Bytes(tall), tall.size()), {true, {LookChoice::kOff, LookChoice::kOn}},
               document);
  options.rowsAlike = false;
  const PageDrawing cut = PageDrawing::OfDocument(document, options);
  EXPECT_EQ(std::make_pair(cut.shape().height, cut.note()),
            std::make_pair(StretchedHeight(4369 * 16, 8), std::string("only the first 4369 rows are drawn at 4:3")));
}

TEST(PngWriter, ATallPictureIsAskedForInSmallBands) {
  // 200,000 rows of 100 grey pixels (20 MB): every 5000th row dark, the rest alike.
  const PixelRows shape{nullptr, 100, 100, 200000, PixelFormat::kGrey8, nullptr};
  size_t largest = 0;
  std::mutex mutex;  // bands are drawn on several threads
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePngDrawn(
      shape,
      [&](int32_t first, int32_t count, uint8_t* out, size_t stride, std::vector<uint8_t>&) {
        {
          const std::lock_guard<std::mutex> lock(mutex);
          largest = std::max(largest, static_cast<size_t>(count) * stride);
        }
        for (int32_t y = 0; y < count; ++y)
          std::fill_n(out + y * stride, 100, (first + y) % 5000 == 0 ? 0x10 : 0xE0);
        return true;
      },
      png));
  EXPECT_LE(largest, size_t{1} << 20);
  const Decoded decoded = Decode(png);
  ASSERT_EQ(decoded.rgb.size(), size_t{100} * 200000);
  for (int32_t y = 0; y < 200000; y += 2500) ASSERT_EQ(decoded.rgb[y * 100u + 7], y % 5000 == 0 ? 0x101010u : 0xE0E0E0u) << y;
}

}  // namespace
