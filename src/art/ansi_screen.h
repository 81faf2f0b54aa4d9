// The ANSI colour mode: a document read as a standard ANSI screen in the 16
// VGA colours, beside the 92-cell layout (which it leaves alone).
//
// Three steps, all plain data:
//   ReadSauce         the SAUCE record at the end of the file, and where
//                     the drawable text ends
//   InterpretAnsi     the text to a grid of cells {character, colours}, in
//                     one pass
//   RasteriseAnsi     the grid to a 4-bit-a-pixel page (two pixels a byte,
//                     the high nibble on the left; the value is the palette
//                     index; rows top first, each row a multiple of 4 bytes),
//                     ready to sit in a 16-colour DIB section; or a band
//                     of its rows (RasteriseAnsiRows)
// The grid keeps the characters, so a selection copies what the cells show
// (never the sequences that put them there), and links and Find read them.
#ifndef QUILLPANE_ANSI_SCREEN_H
#define QUILLPANE_ANSI_SCREEN_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../text/selection_copy.h"
#include "../text/shown_rows.h"

// The SAUCE record: the last 128 bytes of a file, when they begin with
// "SAUCE00". Numbers are little-endian in the file.
struct SauceRecord {
  bool present = false;
  uint8_t dataType = 0;  // 1: character
  uint8_t fileType = 0;  // with data type 1: 1 ANSi
  uint16_t tInfo1 = 0;   // width in characters
  uint16_t tInfo2 = 0;   // lines
  uint8_t commentLines = 0;
  uint8_t flags = 0;       // bit 0 iCE colours; bits 1-2 letter spacing
  char fontName[23] = {};  // TInfoS, trailing blanks dropped, zero-terminated
  // The bytes that may be drawn: up to the first 0x1A, and never into the
  // comment block or the record.
  size_t textLength = 0;
};

SauceRecord ReadSauce(const uint8_t* bytes, size_t length);

// A record that marks the file as ANSi: data type 1, file type 1.
inline bool IsAnsiRecord(const SauceRecord& sauce) {
  return sauce.present && sauce.dataType == 1 && sauce.fileType == 1;
}

// Whether the file at `path` (only its name is looked at) is shown as an
// ANSI screen when the colour mode is on: its extension is .ans in any case,
// or it carries a SAUCE record of type 1/1.
bool UsesAnsiScreen(const char* path, const uint8_t* bytes, size_t length);

constexpr int32_t kAnsiDefaultColumns = 80;
constexpr int32_t kAnsiMaxColumns = 1000;
constexpr int32_t kAnsiCellWidth = 8;

struct AnsiOptions {
  int32_t columns = kAnsiDefaultColumns;  // 1 to kAnsiMaxColumns
  int32_t cellHeight = 16;                // 16, or 8 for the 43/50-line fonts
  bool iceColours = false;                // blink gives a bright background
};

// The screen a record asks for: TInfo1 columns when it is type 1/1 and 1 to
// 1,000; 8-pixel cells for a font name ending in 50 or 43; iCE colours.
AnsiOptions AnsiOptionsFor(const SauceRecord& sauce);

// A cell: its code page 437 byte (0 is a blank) and its colours, the
// foreground in the low nibble and the background in the high one.
struct AnsiCell {
  uint8_t character = 0;
  uint8_t colours = 0;
};
inline int AnsiForeground(AnsiCell cell) { return cell.colours & 15; }
inline int AnsiBackground(AnsiCell cell) { return cell.colours >> 4; }

struct AnsiScreen {
  int32_t columns = kAnsiDefaultColumns;
  int32_t rows = 0;  // through the last row anything was drawn on
  int32_t cellHeight = 16;
  std::vector<AnsiCell> cells;  // row-major, at least columns x rows

  // A cell outside the screen is an empty (black) one.
  AnsiCell At(int32_t column, int32_t row) const {
    if (column < 0 || column >= columns || row < 0 || row >= rows) return AnsiCell{};
    return cells[static_cast<size_t>(row) * static_cast<size_t>(columns) + static_cast<size_t>(column)];
  }
};

// The rows a screen keeps: its page stays within kMaxPageBytes at 4 bits a
// pixel, so a hostile file cannot ask for a huge allocation. Characters
// drawn below are dropped.
int32_t AnsiRowLimit(int32_t columns, int32_t cellHeight);

// Interprets text[0 .. length-1] (the text ReadSauce delimits) in one pass.
AnsiScreen InterpretAnsi(const uint8_t* text, size_t length, const AnsiOptions& options);

// The whole file: its record, then the text before it.
AnsiScreen ReadAnsiScreen(const uint8_t* bytes, size_t length);

// The VGA palette, 0xRRGGBB, indexed by the colours of a cell.
extern const uint32_t kAnsiPalette[16];

// The nearest of the 16 to a colour, by distance in RGB.
int NearestAnsiColour(int red, int green, int blue);

// The rows of a character's glyph (bit 7 leftmost), cellHeight of them.
const uint8_t* AnsiGlyph(int32_t cellHeight, uint8_t character);

struct AnsiPageSize {
  int32_t width = 0;   // pixels
  int32_t height = 0;  // pixels
  int32_t stride = 0;  // bytes a pixel row
};
AnsiPageSize AnsiPageSizeOf(const AnsiScreen& screen);

// Draws every cell into `pixels`, a page of AnsiPageSizeOf(screen).
void RasteriseAnsi(const AnsiScreen& screen, uint8_t* pixels);
// Draws rows firstRow .. firstRow + rowCount - 1 into `pixels`, a band of
// the page's width and rowCount rows of cells, its first pixel row the top
// of firstRow. Rows of the band past the screen's last are left as they are.
void RasteriseAnsiRows(const AnsiScreen& screen, int32_t firstRow, int32_t rowCount, uint8_t* pixels);

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
