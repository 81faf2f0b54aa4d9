// The plain way to draw a page: one BitBlt per glyph from the sheet into a
// bitmap compatible with the screen. The fast page must equal it pixel for
// pixel; the benchmark measures the fast page against it.
#ifndef QUILLPANE_TESTS_REFERENCE_RENDER_H
#define QUILLPANE_TESTS_REFERENCE_RENDER_H

#include <windows.h>

#include <cstdint>
#include <vector>

#include "render/glyph_table.h"
#include "render/layout_interpreter.h"

// Measures and draws `text`; the page has the size the fast page gets for
// a monochrome sheet. Returns null when the page cannot be made.
HBITMAP RenderReferencePage(const uint8_t* text, int32_t length, HBITMAP sheet,
                            const GlyphPosition (&table)[256], PageMeasure* cells);

// Any bitmap's pixels as 0x00RRGGBB, top row first.
std::vector<uint32_t> ReadPixels(HBITMAP bitmap, int32_t* width, int32_t* height);

#endif
