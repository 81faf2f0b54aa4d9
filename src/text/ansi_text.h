// The characters an ANSI screen's cells show, for the selection, links and
// Find.
#ifndef QUILLPANE_ANSI_TEXT_H
#define QUILLPANE_ANSI_TEXT_H

#include "../art/ansi_screen.h"
#include "selection_copy.h"
#include "shown_rows.h"

// The characters of a screen's cells, as a selection copies them through
// JoinCellRows: 0 for a cell nothing was drawn in (or a NUL, or an erased
// cell) and for a cell outside the screen.
class AnsiCharacters final : public CellCharacters {
 public:
  explicit AnsiCharacters(const AnsiScreen& screen) : screen_(screen) {}
  uint8_t At(int32_t column, int32_t row) const override { return screen_.At(column, row).character; }

 private:
  const AnsiScreen& screen_;
};

// The characters the screen's cells show, as links and Find read them: each
// row's cells through its last one that holds a character. A row is wrapped
// (carries on the row above) when the row above shows a character other
// than a blank in its last column: drawing there moved the cursor on to
// this row, the way a line of text runs on. A blank there (a space, a NUL,
// 255) is taken as the end of a line, so that art whose rows are padded to
// the full width with blanks does not read as one endless line.
ShownRows AnsiShownRows(const AnsiScreen& screen);

#endif
