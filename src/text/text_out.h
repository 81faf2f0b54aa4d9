// The document as text for other programs: the characters its cells show
// as UTF-8, and the same with colour codes for terminals. Both layouts give
// their cells: the colour screen's, or the text layout's page as shown.
#ifndef QUILLPANE_TEXT_OUT_H
#define QUILLPANE_TEXT_OUT_H

#include <string>

#include "../art/document.h"
#include "shown_rows.h"

// The colours a terminal is given: the 16 indexes (its own palette
// applies), the nearest of xterm's 256, or the exact colours.
enum class TerminalColours { k16, k256, k24Bit };

struct TextOutOptions {
  bool crlf = false;  // rows end with CR LF rather than LF
  TerminalColours colours = TerminalColours::k24Bit;
};

// The characters of the font the document is shown in, 256 UTF-16 units
// indexed by a cell's byte: a font the file carries itself reads as code
// page 437.
const char16_t* DocumentCharacters(const Document& document);

// The cells the document's page shows, row by row, each through its last
// drawn cell: the colour screen's, or the text layout's page (the cells of
// its limited page, as the window and the PNG draw it). The copy, links
// and Find read the same cells.
ShownRows DocumentShownRows(const Document& document);

// A colour screen's cell as its page draws it: the palette indexes of its
// colours (the background 0 to 7 where bit 7 blinks instead, a 512-glyph
// font's foreground 0 to 7) and the colours themselves, 0xRRGGBB, exact
// where the file gives them.
struct CellColours {
  int foreground = 7, background = 0;
  uint32_t foregroundRgb = 0xAAAAAA, backgroundRgb = 0;
  bool exactForeground = false, exactBackground = false;  // the file gives the colour itself, not an index
  bool blinks = false;
};
CellColours ColoursOfCell(const AnsiScreen& screen, int32_t column, int32_t row);

// The characters the cells show, as UTF-8: each row through its last drawn
// cell (what a copy of the whole page gives), every row ended by a line end.
std::string DocumentText(const Document& document, const TextOutOptions& options);

// The cells as UTF-8 with SGR colour codes: rows of exactly the screen's
// width, every cursor move resolved, each row ended by ESC[0m and a line
// end, nothing but SGR. The text layout is black on white.
std::string DocumentAnsi(const Document& document, const TextOutOptions& options);

// The nearest to 0xRRGGBB of xterm's 256 colours, by distance in RGB: an
// index of its colour cube or grey ramp (16 to 255).
int NearestXterm256(uint32_t rgb);

#endif
