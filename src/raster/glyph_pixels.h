// The pixels of a glyph sheet and of each byte's glyph in it, in memory.
// Pure: the Win32 loader reads a sheet's bitmap into a SheetImage with the
// system's calls; ReadGlyphSheetBmp reads one from a BMP file's bytes the
// same way, for a program that has no such loader. Either way the glyphs
// are cut from the image by the same code.
#ifndef QUILLPANE_GLYPH_PIXELS_H
#define QUILLPANE_GLYPH_PIXELS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../core/character_sets.h"
#include "glyph_table.h"

// Pixels of all 256 glyphs of a sheet, read once per render.
struct GlyphPixels {
  int bitsPerPixel;      // 1 for a monochrome sheet, 32 otherwise; 0 when no sheet
  uint8_t mono[256][8];  // one byte a glyph row, leftmost pixel in the top bit
  uint32_t colour[256][64];
};

// A sheet as the system's loader gives it: a monochrome one at 1 bit a
// pixel (leftmost in the top bit), any other at 32 bits, blue, green, red
// and a fourth byte that is not read.
struct SheetImage {
  int32_t width = 0;
  int32_t height = 0;
  int bitsPerPixel = 0;       // 1 or 32; 0 when there is no image
  bool inverted = false;      // 1 bit: a 0 bit is white, not black
  size_t stride = 0;          // bytes a row
  std::vector<uint8_t> bits;  // top row first
};

// Cuts the glyph cells of `sheet` at the positions of `table`. A glyph
// whose cell lies outside the sheet stays the page's clear colour (white).
// False when the image holds no pixels.
bool GlyphPixelsFromSheet(const SheetImage& sheet, const GlyphPosition (&table)[256], GlyphPixels& pixels);

// Reads a glyph sheet from the bytes of a BMP file, as Windows loads it
// into a DIB section and reads it back: a sheet of 1 bit a pixel stays 1
// bit (inverted when its first palette entry has red in it), every other
// depth becomes 32-bit colour through its palette or colour masks. False
// unless IsGlyphSheetBmp takes the file.
bool ReadGlyphSheetBmp(const uint8_t* file, size_t size, SheetImage& sheet);

// The glyphs of a screen font's 8-row variant (screen_fonts.h) as a
// monochrome sheet gives them, made once for each font and kept for the
// program's life; null for a font not built in. Safe from any thread.
const GlyphPixels* FontGlyphPixels(CharacterSet set, int codePage);

#endif
