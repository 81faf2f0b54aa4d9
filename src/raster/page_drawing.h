// A document's page drawn a band of pixel rows at a time, for the window's
// band and the export alike: a colour screen (square, or its rows
// stretched for a 4:3 screen) or the text layout in a glyph sheet. Neither
// ever needs the whole page in memory: the export draws and deflates a
// band after another, the window draws the rows around the ones shown.
#ifndef QUILLPANE_PAGE_DRAWING_H
#define QUILLPANE_PAGE_DRAWING_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "../art/ansi_screen.h"
#include "../art/document.h"
#include "glyph_pixels.h"
#include "pixel_rows.h"
#include "text_page.h"

// How a document's page is drawn.
struct PageOptions {
  // The text layout's glyph sheet; without one its page is blank.
  const GlyphPixels* glyphs = nullptr;
  // Only the top square of the page (the rows as far down as it is wide),
  // all a thumbnail reads.
  bool thumbnail = false;
  // A stretched screen (4:3) is one picture, each of its pixel rows blended
  // from the square rows it covers, kept to the rows whose page fits
  // kMaxPageBytes (the export); or, with `rowsAlike`, every row of cells
  // takes the same pixel rows, so that a view scrolls and selects by rows
  // (the window).
  bool rowsAlike = false;
  PixelFormat stretchedFormat = PixelFormat::kRgb24;  // kRgb24 or kBgrx32
  // A frame of the document's play (of its screen's size and colours) drawn
  // in place of its screen, and the phase of the blink.
  const AnsiScreen* frame = nullptr;
  bool blinkShown = true;
};

// The 8-row glyphs the text layout of `document` is drawn in when its font
// has characters other than code page 437's; null: the Keymap sheet's.
const GlyphPixels* DocumentFontGlyphs(const Document& document);

class PageDrawing {
 public:
  // The page of `document` as its reading gives it: its colour screen or
  // its laid-out text (both held, not copied: the document must outlive
  // the drawing). Throws std::bad_alloc when the text's index finds no
  // memory.
  static PageDrawing OfDocument(const Document& document, const PageOptions& options);
  // The first `rows` rows of `screen` (held, not copied: it must outlive
  // the drawing), at the screen's own pixels; with `stretchedHeight`, their
  // pixel rows stretched to that many (vga_look.h) in `stretchedFormat`
  // (kRgb24 or kBgrx32). Blinking cells in the phase `blinkShown` says.
  static PageDrawing OfScreen(const AnsiScreen& screen, int32_t rows, int32_t stretchedHeight = 0,
                              PixelFormat stretchedFormat = PixelFormat::kBgrx32, bool blinkShown = true);
  // The laid-out `text` on a page of `shape` (ShapeTextPage, no pixels), in
  // `glyphs`; text and glyphs are held. The drawn bytes are sorted by row
  // once, so that any band is drawn without running the layout again.
  // Nothing to draw when the depths of the page and the glyphs differ.
  // Throws std::bad_alloc when that index finds no memory.
  static PageDrawing OfText(const uint8_t* text, int32_t length, const GlyphPixels& glyphs,
                            const TextPage& shape);

  // The page's size, format and palette; `pixels` is null and `stride`
  // the bytes of a row as a DIB holds it.
  const PixelRows& shape() const { return shape_; }
  // What of the page is left out ("only the first N rows are drawn at
  // 4:3"), or empty.
  const std::string& note() const { return note_; }

  // Draws pixel rows first .. first + count - 1 (held to the page) into
  // `out`, `stride` (at least shape().stride) bytes a row. `scratch` is
  // the caller's own memory for rows drawn before they are stretched, so
  // that threads can draw bands of one page at once. False when scratch
  // finds no memory.
  bool Draw(int32_t first, int32_t count, uint8_t* out, size_t stride, std::vector<uint8_t>& scratch) const;

 private:
  bool DrawScreen(int32_t first, int32_t count, uint8_t* out, size_t stride,
                  std::vector<uint8_t>& scratch) const;
  void DrawText(int32_t first, int32_t count, uint8_t* out, size_t stride) const;

  PixelRows shape_;
  std::string note_;
  // A colour screen.
  const AnsiScreen* screen_ = nullptr;
  int32_t screenRows_ = 0;
  bool stretched_ = false;
  bool blinkShown_ = true;
  // The text layout: the drawn bytes of cell row r are draws_[rowStart_[r]
  // .. rowStart_[r + 1] - 1], each column << 8 | byte, in the order drawn
  // (a later one covers an earlier one in the same cell).
  const GlyphPixels* glyphs_ = nullptr;
  int bytesPerGlyphRow_ = 0;  // 1 at 1 bit a pixel, 32 at 32
  std::vector<uint32_t> rowStart_;
  std::vector<uint32_t> draws_;
};

#endif
