// The page of the window: an off-screen DIB section holding the whole
// rendered document, its pixels drawn by the pure glyph copy of
// text_page.h, and the glyphs read from a sheet's bitmap.
#ifndef QUILLPANE_RENDER_PAGE_H
#define QUILLPANE_RENDER_PAGE_H

#include <windows.h>

#include <cstdint>

#include "../raster/glyph_pixels.h"
#include "../raster/glyph_table.h"
#include "../art/layout_interpreter.h"
#include "../raster/text_page.h"

// Reads `sheet` as the system gives it back: a monochrome bitmap at 1 bit
// a pixel with the colour table the read reports, any other at 32.
bool ReadSheetImage(HBITMAP sheet, SheetImage& image);

// Reads the glyph cells of `sheet` at the positions of `table`. A glyph
// whose cell lies outside the sheet stays the page's clear colour.
bool ReadGlyphPixels(HBITMAP sheet, const GlyphPosition (&table)[256], GlyphPixels& pixels);

// The text page in a DIB section, whose bits it points at.
struct Page : TextPage {
  HBITMAP bitmap = nullptr;
};

// Makes a page of `cells` (after the page limits) cleared to the clear
// colour. On failure the page has no bitmap.
Page CreatePage(PageMeasure cells, int bitsPerPixel);

// A top-down DIB section of `width` x `height` pixels at `bitsPerPixel`,
// with `palette` (0xRRGGBB, `paletteSize` entries, at most 16; black and
// white when null) as its colour table; `bits` gets its pixels. Null, with
// no bitmap left behind, when it cannot be made.
HBITMAP CreatePageBitmap(int32_t width, int32_t height, int bitsPerPixel, const uint32_t* palette, int paletteSize,
                         uint8_t*& bits);

// The drawing pass (DrawTextPage) into the section's memory.
void DrawPage(const uint8_t* text, int32_t length, const GlyphPixels& glyphs, Page& page);

#endif
