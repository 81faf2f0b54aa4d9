// Where each byte's 8 x 8 glyph lies in a glyph sheet. Every sheet has the
// same layout: 6 columns of 46 cells, counted down each column first; byte
// c (2 to 255) is in cell c - 2, and byte 1 shares cell 0 with byte 2.
#ifndef QUILLPANE_GLYPH_TABLE_H
#define QUILLPANE_GLYPH_TABLE_H

#include <cstdint>

#include "../core/state_types.h"

constexpr int32_t kSheetWidth = 48;
constexpr int32_t kSheetHeight = 368;
constexpr int32_t kSheetCellsPerColumn = 46;

// Fills entries 2 to 255; entries 0 and 1 are left as they are (zero).
void BuildGlyphTable(GlyphPosition (&table)[256]);

#endif
