// The text layout's page in memory: every drawn byte's glyph copied into
// rows of pixels. Pure: the window wraps the same rows in a DIB section,
// the export in a buffer of its own.
//
// Cells are 8 pixels wide and start on whole bytes of a 1-bit-per-pixel
// page, so a glyph of a monochrome sheet is 8 byte stores; a colour sheet
// gets a 32-bit page and 8 rows of 8 pixel stores. Either way every pixel
// equals what a plain SRCCOPY blit of the sheet cell gives.
#ifndef QUILLPANE_TEXT_PAGE_H
#define QUILLPANE_TEXT_PAGE_H

#include <cstddef>
#include <cstdint>

#include "glyph_pixels.h"
#include "../art/layout_interpreter.h"
#include "pixel_rows.h"

struct TextPage {
  uint8_t* bits = nullptr;  // top row first
  int32_t stride = 0;       // bytes a pixel row, a multiple of 4 as in a DIB
  int bitsPerPixel = 0;     // 1 or 32
  int32_t columns = 0;      // cells
  int32_t rows = 0;
};

// White: the ground of the glyphs, and the window's background, so that a
// short row's empty cells look like the margin around the picture.
constexpr uint32_t kPageClearColour = 0xFFFFFF;

// The shape of the page of `cells` (after the page limits) at
// `bitsPerPixel`, without pixels; no columns when there is nothing to draw.
TextPage ShapeTextPage(PageMeasure cells, int bitsPerPixel);

// Bytes of the page's pixels.
inline size_t TextPageBytes(const TextPage& page) {
  return static_cast<size_t>(page.stride) * static_cast<size_t>(page.rows) * 8;
}

// The drawing pass: every drawn byte's glyph into the page, which was
// cleared to white (every byte 0xFF at either depth); glyphs outside the
// page are dropped. Nothing is drawn when the depths of the page and the
// glyphs differ.
void DrawTextPage(const uint8_t* text, int32_t length, const GlyphPixels& glyphs, TextPage& page);

// The page as the PNG writer and the thumbnail scaler read it: 1 bit with
// a black and white palette, or 32-bit colour.
PixelRows TextPageRows(const TextPage& page);

#endif
