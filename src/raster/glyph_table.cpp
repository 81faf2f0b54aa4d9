#include "glyph_table.h"

void BuildGlyphTable(GlyphPosition (&table)[256]) {
  int32_t column = 0;
  int32_t row = 0;
  for (int c = 2; c <= 255; ++c) {
    table[c] = GlyphPosition{8 * column, 8 * row};
    if (++row > kSheetCellsPerColumn - 1) {
      row = 0;
      ++column;
    }
  }
}
