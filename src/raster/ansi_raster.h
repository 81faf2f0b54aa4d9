// An ANSI screen's cells to pixels: a 4-bit-a-pixel page (two pixels a
// byte, the high nibble on the left; the value is the palette index; rows
// top first, each row a multiple of 4 bytes), ready to sit in a 16-colour
// DIB section; or a band of its rows.
#ifndef QUILLPANE_ANSI_RASTER_H
#define QUILLPANE_ANSI_RASTER_H

#include <cstdint>

#include "../art/ansi_screen.h"

// The rows of a character's glyph (bit 7 leftmost), cellHeight of them.
const uint8_t* AnsiGlyph(int32_t cellHeight, uint8_t character);

// A page is 4 bits a pixel, the palette index, unless some cell's colour is
// given exactly: then 32, blue, green, red and a byte not read (a 32-bit
// DIB's order).
struct AnsiPageSize {
  int bitsPerPixel = 4;
  int32_t width = 0;   // pixels
  int32_t height = 0;  // pixels
  int32_t stride = 0;  // bytes a pixel row
};
AnsiPageSize AnsiPageSizeOf(const AnsiScreen& screen);

// Draws every cell into `pixels`, a page of AnsiPageSizeOf(screen).
void RasteriseAnsi(const AnsiScreen& screen, uint8_t* pixels);
// Draws rows firstRow .. firstRow + rowCount - 1 into `pixels`, a band of
// the page's width and rowCount rows of cells, its first pixel row the top
// of firstRow. Rows of the band past the screen's last are left as they are.
// Blinking cells (AnsiBlinks) show their character in the visible phase of
// the blink, and only their background in the other (`blinkShown` false).
void RasteriseAnsiRows(const AnsiScreen& screen, int32_t firstRow, int32_t rowCount, uint8_t* pixels,
                       bool blinkShown = true);

#endif
