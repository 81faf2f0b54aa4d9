#include "text_out.h"

#include "../core/character_sets.h"
#include "../core/code_page_437.h"
#include "../art/page_limits.h"
#include "ansi_text.h"

const char16_t* DocumentCharacters(const Document& document) {
  if (document.Colour() && document.screen.screen.font != nullptr) return kCodePage437;
  return CharactersOf(document.font.face.Set(), document.font.face.codePage);
}

ShownRows DocumentShownRows(const Document& document) {
  if (document.Colour()) return AnsiShownRows(document.screen.screen);
  const uint8_t* text = document.laidOut.data();
  const int32_t length = document.laidOutLength;
  // The page's depth only sets its limits: the built-in sheet's 1 bit a
  // pixel (a colour sheet's page holds fewer rows, which only pages of
  // hostile cursor moves reach).
  const PageMeasure page = LimitPageSize(MeasureLayout(text, length, nullptr), 1);
  return CollectShownRows(text, length, page.columnCount, page.rowCount);
}

CellColours ColoursOfCell(const AnsiScreen& screen, int32_t column, int32_t row) {
  const AnsiCell cell = screen.At(column, row);
  CellColours colours;
  colours.foreground = AnsiForeground(cell);
  if (screen.font != nullptr && screen.font->glyphs == 512) colours.foreground &= 7;
  colours.background = AnsiBackground(cell) & (screen.iceColours ? 15 : 7);
  colours.blinks = AnsiBlinks(screen, cell);
  colours.foregroundRgb = screen.palette[static_cast<size_t>(colours.foreground)];
  colours.backgroundRgb = screen.palette[static_cast<size_t>(colours.background)];
  if (!screen.exactColours.empty() && column >= 0 && column < screen.columns && row >= 0 && row < screen.rows) {
    const size_t at = 2 * (static_cast<size_t>(row) * static_cast<size_t>(screen.columns) + static_cast<size_t>(column));
    if (screen.exactColours[at] & kExactColour) colours.foregroundRgb = screen.exactColours[at] & 0xFFFFFFu;
    if (screen.exactColours[at + 1] & kExactColour) colours.backgroundRgb = screen.exactColours[at + 1] & 0xFFFFFFu;
  }
  return colours;
}

std::string DocumentText(const Document&, const TextOutOptions&) { return std::string(); }

std::string DocumentAnsi(const Document&, const TextOutOptions&) { return std::string(); }
