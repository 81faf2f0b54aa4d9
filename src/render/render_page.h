// The page: an off-screen bitmap holding the whole rendered document, and
// the fast glyph copy that fills it.
//
// Cells are 8 pixels wide and start on whole bytes of a 1-bit-per-pixel
// page, so a glyph of a monochrome sheet is 8 byte stores; a colour sheet
// gets a 32-bit page and 8 rows of 8 pixel stores. Either way every pixel
// equals what a plain SRCCOPY blit of the sheet cell gives.
#ifndef QUILLPANE_RENDER_PAGE_H
#define QUILLPANE_RENDER_PAGE_H

#include <windows.h>

#include <cstdint>

#include "glyph_table.h"
#include "layout_interpreter.h"

// Pixels of all 256 glyphs of a sheet, read once per render.
struct GlyphPixels {
  int bitsPerPixel;      // 1 for a monochrome sheet, 32 otherwise; 0 when no sheet
  uint8_t mono[256][8];  // one byte a glyph row, leftmost pixel in the top bit
  uint32_t colour[256][64];
};

// Reads the glyph cells of `sheet` at the positions of `table`. A glyph
// whose cell lies outside the sheet stays the page's clear colour.
bool ReadGlyphPixels(HBITMAP sheet, const GlyphPosition (&table)[256], GlyphPixels& pixels);

struct Page {
  HBITMAP bitmap = nullptr;
  uint8_t* bits = nullptr;  // top row first
  int32_t stride = 0;       // bytes a pixel row
  int bitsPerPixel = 0;
  int32_t columns = 0;  // cells
  int32_t rows = 0;
};

// White: the ground of the glyphs, and the window's background, so that a
// short row's empty cells look like the margin around the picture.
constexpr uint32_t kPageClearColour = 0xFFFFFF;

// Makes a page of `cells` (after the page limits) cleared to the clear
// colour. On failure the page has no bitmap.
Page CreatePage(PageMeasure cells, int bitsPerPixel);

// The drawing pass: every drawn byte's glyph into the page; glyphs outside
// the page are dropped.
void DrawPage(const uint8_t* text, int32_t length, const GlyphPixels& glyphs, Page& page);

#endif
