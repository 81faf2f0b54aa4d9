// The document as text for other programs: the characters its cells show
// as UTF-8, and the same with colour codes for terminals. Both layouts give
// their cells: the colour screen's, or the text layout's page as shown.
#ifndef QUILLPANE_TEXT_OUT_H
#define QUILLPANE_TEXT_OUT_H

#include <string>

#include "../art/document.h"

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

// The characters the cells show, as UTF-8: each row through its last drawn
// cell (what a copy of the whole page gives), every row ended by a line end.
std::string DocumentText(const Document& document, const TextOutOptions& options);

// The cells as UTF-8 with SGR colour codes: rows of exactly the screen's
// width, every cursor move resolved, each row ended by ESC[0m and a line
// end, nothing but SGR. The text layout is black on white.
std::string DocumentAnsi(const Document& document, const TextOutOptions& options);

#endif
