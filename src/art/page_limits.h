// The largest page a render attempts. Cursor movements can ask for pages
// far larger than any bitmap: such a page is cut to these limits (glyphs
// outside it are dropped like any glyph outside the page), so the window,
// its scroll bar and the status bar keep working.
#ifndef QUILLPANE_PAGE_LIMITS_H
#define QUILLPANE_PAGE_LIMITS_H

#include <cstdint>

#include "layout_interpreter.h"

// 32768 pixels across, well past any work area.
constexpr int32_t kMaxPageColumns = 4096;
// Pixel memory of one page. A whole 512 KB document of 80-column lines
// needs about 4 MB at 1 bit per pixel and 133 MB at 32.
constexpr int64_t kMaxPageBytes = int64_t{160} << 20;

// Bytes of one pixel row of a DIB of `width` pixels (rows are padded to
// 4 bytes).
inline int64_t DibStride(int64_t width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

// The page in cells for a measured layout and a page of `bitsPerPixel`.
// A page without columns has no rows either.
PageMeasure LimitPageSize(PageMeasure measured, int bitsPerPixel);

// The page in pixels, 8 a cell, after the limits. The cursor may stand
// anywhere within +-2^30, so 8 times a measured count can pass 32 bits;
// the limited counts cannot.
struct PagePixels {
  int32_t width = 0;
  int32_t height = 0;
};
PagePixels PagePixelSize(PageMeasure measured, int bitsPerPixel);

#endif
