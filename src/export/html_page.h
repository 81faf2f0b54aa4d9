// The document as one self-contained web page: drawn as its PNG export
// draws it at 100%, with its characters as real text to select, search and
// copy, its links clickable, its SAUCE record in the title and a meta, and
// no script. Nothing is fetched from elsewhere.
#ifndef QUILLPANE_HTML_PAGE_H
#define QUILLPANE_HTML_PAGE_H

#include <string>

#include "../art/document.h"
#include "../raster/glyph_pixels.h"
#include "../text/text_out.h"

// `glyphs` is the Keymap sheet the text layout is drawn in, as for the PNG.
std::string DocumentHtml(const Document& document, const GlyphPixels& glyphs, const TextOutOptions& options);

#endif
