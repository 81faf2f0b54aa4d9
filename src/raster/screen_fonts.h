// The glyphs of every screen font built in: each IBM code page at the
// heights of the PC's text modes, and the other machines' 8 x 8 fonts.
#ifndef QUILLPANE_SCREEN_FONTS_H
#define QUILLPANE_SCREEN_FONTS_H

#include <cstdint>

#include "../core/character_sets.h"

// The rows of the 256 glyphs of `set` (with `codePage`, one of kCodePages,
// for kIbm) at `height` rows a glyph, glyph after glyph, one byte a row
// with the leftmost pixel in bit 7. Heights: 8, 14, 16 or 19 for kIbm, 8
// for the others. Null for a font not built in. Safe from any thread; the
// tables live as long as the program.
const uint8_t* ScreenFontRows(CharacterSet set, int codePage, int height);

// Makes every table at once (the first ScreenFontRows does it anyway) and
// says how many fonts and code pages there are.
struct ScreenFontCount {
  int fonts = 0;      // tables: a set at one height each
  int codePages = 0;  // IBM code pages
};
ScreenFontCount BuildScreenFonts();

#endif
