// Checks the committed glyph sheet (src/resources/glyphs.bmp, produced by
// scripts/make-glyph-sheet) against the layout the renderer relies on:
// 8x8 cells, 6 columns of 46, byte c drawn from cell c-2, colour index 1 white.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef QP_GLYPH_SHEET_PATH
#error "QP_GLYPH_SHEET_PATH must name src/resources/glyphs.bmp"
#endif

namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 368;
constexpr int kStride = 8;
constexpr int kCellsPerColumn = 46;
constexpr int kCells = 6 * kCellsPerColumn;

// One cell: 8 rows, bit 7 = leftmost pixel, bit set = white.
using Cell = std::array<std::uint8_t, 8>;
constexpr Cell kWhite = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr Cell kBlack = {0, 0, 0, 0, 0, 0, 0, 0};

std::uint32_t u16(const std::vector<std::uint8_t>& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return u16(b, at) | u16(b, at + 2) << 16;
}

class GlyphSheet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ifstream in(QP_GLYPH_SHEET_PATH, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Reads cell k, whose top-left pixel is (8*(k/46), 8*(k%46)) counted from
  // the top; the file stores rows bottom-up.
  static Cell cell(int k) {
    const std::size_t pixels = u32(bytes_, 10);
    const int x = k / kCellsPerColumn, top = 8 * (k % kCellsPerColumn);
    Cell c{};
    for (int y = 0; y < 8; ++y) c[y] = bytes_.at(pixels + (kHeight - 1 - (top + y)) * kStride + x);
    return c;
  }

  static Cell inverse(Cell c) {
    for (auto& row : c) row = static_cast<std::uint8_t>(~row);
    return c;
  }

  // Builds a cell from rows drawn as '#' (black) and '.' (white).
  static Cell drawn(const std::array<const char*, 8>& rows) {
    Cell c{};
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        if (rows[y][x] != '#') c[y] |= 0x80 >> x;
    return c;
  }

  static std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> GlyphSheet::bytes_;

TEST_F(GlyphSheet, HeaderDescribesBottomUpOneBitBlackAndWhiteBitmap) {
  ASSERT_GE(bytes_.size(), 62u) << "cannot read " << QP_GLYPH_SHEET_PATH;
  EXPECT_EQ(static_cast<std::int32_t>(u32(bytes_, 18)), kWidth);
  EXPECT_EQ(static_cast<std::int32_t>(u32(bytes_, 22)), kHeight);  // positive: rows bottom-up
  EXPECT_EQ(u16(bytes_, 28), 1u);                                  // bits per pixel
  // Colour table: index 0 black, index 1 white (B, G, R, reserved).
  const std::vector<std::uint8_t> table(bytes_.begin() + 54, bytes_.begin() + 62);
  EXPECT_EQ(table, (std::vector<std::uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
}

TEST_F(GlyphSheet, CellsHoldTheGlyphsTheRendererExpects) {
  ASSERT_GE(bytes_.size(), 62u + kStride * kHeight);

  // Control bytes 1..27, the space, byte 255 and the unused tail are blank.
  for (int k = 0; k <= 25; ++k) EXPECT_EQ(cell(k), kWhite) << "cell " << k;
  EXPECT_EQ(cell(30), kWhite);
  for (int k = 253; k < kCells; ++k) EXPECT_EQ(cell(k), kWhite) << "cell " << k;

  const Cell a =
      drawn({"..##....", ".####...", "##..##..", "##..##..", "######..", "##..##..", "##..##..", "........"});
  EXPECT_EQ(cell('A' - 2), a);

  // Byte 28 is the backslash reversed; byte 155 is the full block reversed.
  EXPECT_EQ(cell(26), inverse(cell('\\' - 2)));
  EXPECT_NE(cell('\\' - 2), kWhite);
  EXPECT_EQ(cell(155 - 2), kWhite);
  EXPECT_EQ(cell(219 - 2), kBlack);

  const Cell slash = cell('/' - 2), zero = cell('0' - 2);
  EXPECT_NE(slash, kWhite);
  EXPECT_NE(zero, kWhite);
  EXPECT_NE(slash, zero);
}

}  // namespace
