// The glyph table: byte c (2 to 255) is drawn from cell c - 2, counted down
// each of the sheet's columns of 46 cells first; bytes 0 and 1 stay at (0, 0).

#include <gtest/gtest.h>

#include "render/glyph_table.h"

namespace {

TEST(BuildGlyphTable, CellPositions) {
  GlyphPosition table[256] = {};
  BuildGlyphTable(table);
  struct Case {
    int byte;
    int32_t x, y;
  };
  const Case cases[] = {
      {0, 0, 0},    {1, 0, 0},   {2, 0, 0},    {47, 0, 360}, {48, 8, 0},   {65, 8, 136},
      {93, 8, 360}, {94, 16, 0}, {140, 24, 0}, {186, 32, 0}, {232, 40, 0}, {255, 40, 184},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(table[c.byte].x, c.x) << "byte " << c.byte;
    EXPECT_EQ(table[c.byte].y, c.y) << "byte " << c.byte;
  }
}

}  // namespace
