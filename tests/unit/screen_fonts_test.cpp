// The screen fonts: every IBM code page's characters and glyphs, their 19-row form, and the other
// machines' sets, by the byte as a file holds it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/code_page_437.h"
#include "raster/screen_fonts.h"

namespace {

#include "raster/ansi_fonts.inc"

std::vector<uint8_t> Glyph(CharacterSet set, int codePage, int height, int byte) {
  const uint8_t* rows = ScreenFontRows(set, codePage, height) + byte * height;
  return {rows, rows + height};
}
std::vector<uint8_t> Ibm(int codePage, int height, int byte) {
  return Glyph(CharacterSet::kIbm, codePage, height, byte);
}
std::vector<uint8_t> Rows(const uint8_t* rows, int height) { return {rows, rows + height}; }

TEST(ScreenFonts, CodePagesShareThe437LowerHalfAndItsIbmShapes) {
  EXPECT_EQ(BuildScreenFonts().codePages, kCodePageCount);
  EXPECT_EQ(0, std::memcmp(ScreenFontRows(CharacterSet::kIbm, 437, 8), kAnsiFont8, sizeof kAnsiFont8));
  EXPECT_EQ(0, std::memcmp(ScreenFontRows(CharacterSet::kIbm, 437, 16), kAnsiFont16, sizeof kAnsiFont16));
  for (const int page : kCodePages) {
    SCOPED_TRACE(page);
    for (const int height : {8, 14, 16, 19})
      EXPECT_EQ(0, std::memcmp(ScreenFontRows(CharacterSet::kIbm, page, height),
                               ScreenFontRows(CharacterSet::kIbm, 437, height), 128 * height));
    EXPECT_EQ(0, std::memcmp(CharactersOf(CharacterSet::kIbm, page), kCodePage437, 128 * sizeof(char16_t)));
  }
  for (const auto& [set, page, height] : {std::tuple{CharacterSet::kIbm, 999, 16},
                                          {CharacterSet::kIbm, 866, 12},
                                          {CharacterSet::kAmiga, 437, 16}})
    EXPECT_EQ(ScreenFontRows(set, page, height), nullptr);
}

TEST(ScreenFonts, UpperHalvesLandOnTheirBytes) {
  struct Case {
    int page, byte;
    char16_t character;
    int same437;  // the 437 byte of the same character, drawn alike at 8 and 16 rows; 0: 437 lacks it
  };
  const Case cases[] = {
      {866, 0x80, u'\u0410', 0},    {866, 0xB0, u'\u2591', 0xB0}, {737, 0x80, u'\u0391', 0},
      {850, 0x80, u'\u00C7', 0x80}, {850, 0x9B, u'\u00F8', 0},    {852, 0xA5, u'\u0105', 0},
      {862, 0x80, u'\u05D0', 0},    {855, 0xCF, u'\u00A4', 0},    {872, 0xCF, u'\u20AC', 0},
      {858, 0xD5, u'\u20AC', 0},    {857, 0xA7, u'\u011F', 0},    {819, 0xE9, u'\u00E9', 0x82}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.page << " " << std::hex << c.byte);
    EXPECT_EQ(CharactersOf(CharacterSet::kIbm, c.page)[c.byte], c.character);
    for (const int height : {8, 16})
      EXPECT_EQ(Ibm(c.page, height, c.byte) == Ibm(437, height, c.same437 ? c.same437 : c.byte),
                c.same437 != 0);
  }
  // Every character shows; only code pages 864 and 869 have some that no font has.
  for (const int page : kCodePages) {
    for (const int height : {8, 14, 16}) {
      for (int byte = 1; byte < (page == 864 || page == 869 ? 0x80 : 256); ++byte) {
        const char16_t c = CharactersOf(CharacterSet::kIbm, page)[byte];
        if (c != 0 && c != u' ' && c != u'\u00A0') {
          EXPECT_NE(Ibm(page, height, byte), std::vector<uint8_t>(height))
              << page << " " << height << " " << byte;
        }
      }
    }
  }
  for (const CharacterSet set : {CharacterSet::kAmiga, CharacterSet::kPetsciiUnshifted,
                                 CharacterSet::kPetsciiShifted, CharacterSet::kAtascii}) {
    for (int byte = 1; byte < 256; ++byte) {
      const char16_t c = CharactersOf(set, 0)[byte];
      if (c != 0 && c != u' ' && c != u'\u00A0') {
        EXPECT_NE(Glyph(set, 0, 8, byte), std::vector<uint8_t>(8)) << int(set) << " " << byte;
      }
    }
  }
  // Bytes a code page leaves undefined show nothing.
  EXPECT_EQ(CharactersOf(CharacterSet::kIbm, 819)[0x80], 0);
  EXPECT_EQ(Ibm(819, 16, 0x80), std::vector<uint8_t>(16));
  // At 14 rows line pieces reach both edges, as they do in 437's own 16 rows.
  for (const int byte : {0xB3, 0xBA, 0xC5, 0xDB})
    EXPECT_TRUE(Ibm(437, 14, byte)[0] && Ibm(437, 14, byte)[13]) << byte;
}

TEST(ScreenFonts, NineteenRowsKeepLinesJoinedAndShadesPatterned) {
  const auto rows19 = [](int byte) {
    std::vector<uint8_t> g = Ibm(437, 19, byte);
    EXPECT_EQ(std::vector<uint8_t>(g.begin() + 1, g.begin() + 17), Rows(kAnsiFont16[byte], 16)) << byte;
    return g;
  };
  // One row added above, two below: blank for a letter, line pieces and blocks go on to the edges.
  for (const auto& [byte, top, bottom] : {std::tuple{int{'A'}, 0x00, 0x00},
                                          {0xDC, 0x00, 0xFF},
                                          {0xDF, 0xFF, 0x00},
                                          {0xC9, 0x00, kAnsiFont16[0xC9][15]},
                                          {0xB3, 0x18, 0x18}}) {
    const std::vector<uint8_t> g = rows19(byte);
    EXPECT_EQ(std::tuple(g[0], g[17], g[18]), std::tuple(top, bottom, bottom)) << byte;
  }
  const std::vector<uint8_t> shade = rows19(0xB0);
  for (int row = 0; row + 2 < 19; ++row) EXPECT_EQ(shade[row], shade[row + 2]) << row;
}

TEST(ScreenFonts, OtherMachinesBytes) {
  const auto chars = [](CharacterSet set, int byte) { return CharactersOf(set, 0)[byte]; };
  using S = CharacterSet;
  // Topaz is Latin-1; its C1 bytes show nothing.
  EXPECT_EQ(std::pair(chars(S::kAmiga, 0xE9), chars(S::kAmiga, 0x85)), std::pair(u'\u00E9', char16_t{0}));
  EXPECT_EQ(Glyph(S::kAmiga, 0, 8, 0x85), std::vector<uint8_t>(8));
  // Every other byte is its own character, drawn (a glyph narrower in the source is one too).
  for (int byte = 0x21; byte < 0x100; byte += byte == 0x7E ? 0x23 : 1)
    EXPECT_TRUE(chars(S::kAmiga, byte) == byte && Glyph(S::kAmiga, 0, 8, byte) != std::vector<uint8_t>(8))
        << byte;
  // PETSCII: capitals and graphics, or small letters with the capitals moved up; controls blank.
  for (const auto& [set, byte, character, sameSet, sameByte] :
       {std::tuple{S::kPetsciiUnshifted, 0x41, u'A', S::kPetsciiShifted, 0xC1},
        {S::kPetsciiUnshifted, 0x61, u'\u2660', S::kPetsciiUnshifted, 0xC1},
        {S::kPetsciiShifted, 0xC1, u'A', S::kPetsciiShifted, 0x61}}) {
    SCOPED_TRACE(testing::Message() << int(set) << " " << std::hex << byte);
    EXPECT_EQ(chars(set, byte), character);
    EXPECT_EQ(Glyph(set, 0, 8, byte), Glyph(sameSet, 0, 8, sameByte));
  }
  EXPECT_EQ(chars(S::kPetsciiShifted, 0x41), u'a');
  EXPECT_NE(Glyph(S::kPetsciiShifted, 0, 8, 0x41), Glyph(S::kPetsciiUnshifted, 0, 8, 0x41));
  EXPECT_EQ(std::pair(chars(S::kPetsciiUnshifted, 0x0D), Glyph(S::kPetsciiUnshifted, 0, 8, 0x0D)),
            std::pair(char16_t{0}, std::vector<uint8_t>(8)));
  // ATASCII: the character ROM's order put back in byte order.
  for (const auto& [byte, character] :
       {std::pair{0x41, u'A'}, {0x00, u'\u2665'}, {0x60, u'\u2666'}, {0x7B, u'\u2660'}})
    EXPECT_EQ(chars(S::kAtascii, byte), character) << byte;
  // ATASCII's upper half is the lower half in inverse video.
  std::vector<uint8_t> inverse = Glyph(S::kAtascii, 0, 8, 'A');
  for (uint8_t& row : inverse) row ^= 0xFF;
  EXPECT_EQ(std::pair(chars(S::kAtascii, 0xC1), Glyph(S::kAtascii, 0, 8, 0xC1)), std::pair(u'A', inverse));
}

}  // namespace
