// A TrueType font made from a bitmap font's glyphs, so that a browser draws
// the same pixels as the rasteriser: each glyph's ink is a set of
// rectangles on whole pixels, and at a font size in pixels equal to the
// cell's height one pixel is a whole number of font units.
#ifndef QUILLPANE_BITMAP_FONT_H
#define QUILLPANE_BITMAP_FONT_H

#include <cstdint>
#include <string>
#include <vector>

// One pixel is this many font units; the em is the cell's height.
constexpr int32_t kFontUnitsPerPixel = 64;
// Private-use characters that draw the glyph of byte b as U+F000 + b
// whatever the byte's character, for glyphs a browser does not draw in
// their place (blanks, a soft hyphen).
constexpr uint32_t kGlyphCharacters = 0xF000;

struct BitmapFont {
  int32_t width = 8;    // pixels a cell across: every glyph's advance
  int32_t height = 16;  // pixel rows: the ascent (the descent is 0)
  // 256 glyphs of `height` rows each, a row's pixel x in bit
  // (width - 1 - x); a set bit is ink.
  std::vector<uint32_t> rows;
  // The character each glyph stands for: the first glyph that claims a
  // character keeps it. U+0020 is always mapped (to a blank glyph if no
  // glyph claims it), since an empty cell reads as a blank.
  const char16_t* characters = nullptr;
};

// The font file's bytes: tables head, hhea, maxp, OS/2, hmtx, cmap (format
// 4), loca, glyf, name and post, with their checksums.
std::string MakeTrueTypeFont(const BitmapFont& font, const std::string& familyName);

// Reads back the glyph the font's cmap gives `character` (0: none), for the
// tests and as a check of the table's shape. False when the font's table
// directory or cmap is not well formed.
bool TrueTypeGlyphOf(const std::string& font, char16_t character, uint16_t& glyph);

#endif
