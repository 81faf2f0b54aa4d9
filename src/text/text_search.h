// Find: what the user types, matched against the characters the cells show
// (each byte as the code page 437 character its glyph draws).
#ifndef QUILLPANE_TEXT_SEARCH_H
#define QUILLPANE_TEXT_SEARCH_H

#include <cstdint>
#include <optional>
#include <string>

#include "shown_rows.h"
#include "../core/code_page_437.h"

struct TextPosition {
  int32_t row, column;
};

struct FindRequest {
  // What the user typed, as UTF-16 (the window converts from the system's
  // code page, which may be UTF-8). Blank cells, empty ones and the no-break
  // space all match a blank.
  std::u16string needle;
  bool matchCase = false;
  bool down = true;
  // Going down, the first match that begins after this cell; going up, the
  // last that begins before it. The current match's first cell steps to the
  // next one; (row, -1) takes a match at the start of `row` too. None: the
  // top of the text going down, its end going up.
  std::optional<TextPosition> from;
  // The character each byte shows (character_sets.h).
  const char16_t* characters = kCodePage437;
};

struct FindResult {
  bool found = false;
  // Found after going round the end of the text (or its start, going up):
  // the window says so.
  bool wrapped = false;
  CellRuns cells;  // one run, or one a row when the match goes on across a wrap
};

// A match may go on across a wrap, as a word the wrap cut does, but never
// across any other row break. An empty needle, or one that holds U+0000,
// matches nothing.
FindResult FindText(const ShownRows& rows, const FindRequest& request);

#endif
