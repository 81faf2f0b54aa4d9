// The plain way to draw a page, one BitBlt per glyph into a bitmap compatible
// with the screen: the fast page must equal it and is timed against it.
#ifndef QUILLPANE_TESTS_REFERENCE_RENDER_H
#define QUILLPANE_TESTS_REFERENCE_RENDER_H

#include <windows.h>

#include <cstdint>
#include <vector>

#include "raster/glyph_table.h"
#include "art/layout_interpreter.h"

// A page of the fast page's size for a monochrome sheet.
HBITMAP RenderReferencePage(const uint8_t* text, int32_t length, HBITMAP sheet, const GlyphPosition* table);

// Any bitmap's pixels as 0x00RRGGBB, top row first.
std::vector<uint32_t> ReadPixels(HBITMAP bitmap, int32_t* width, int32_t* height);

#endif
