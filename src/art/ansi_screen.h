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
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "sauce.h"
#include "screen_font.h"

constexpr int32_t kAnsiDefaultColumns = 80;
constexpr int32_t kAnsiMaxColumns = 1000;
constexpr int32_t kAnsiCellWidth = 8;
// With 9-pixel letters; the page limits allow for it.
constexpr int32_t kAnsiWideCellWidth = 9;

struct AnsiOptions {
  int32_t columns = kAnsiDefaultColumns;  // 1 to kAnsiMaxColumns
  int32_t cellHeight = 16;                // the font's: 16, 8, 14 or 19
  bool iceColours = false;                // blink gives a bright background
};

// The screen a record asks for: TInfo1 columns when it is type 1/1 and 1 to
// 1,000; the cell height of the font it names; iCE colours.
AnsiOptions AnsiOptionsFor(const SauceRecord& sauce);

// The font a record names (FontName, read in character and binary text
// records), and whether it names one.
bool SauceFont(const SauceRecord& sauce, FontFace& face);

// A cell: its code page 437 byte (0 is a blank) and its colours, the
// foreground in the low nibble and the background in the high one.
struct AnsiCell {
  uint8_t character = 0;
  uint8_t colours = 0;
};
inline int AnsiForeground(AnsiCell cell) { return cell.colours & 15; }
inline int AnsiBackground(AnsiCell cell) { return cell.colours >> 4; }

// The VGA palette, 0xRRGGBB, indexed by the colours of a cell.
extern const uint32_t kAnsiPalette[16];

// A font a file carries: `height` rows a glyph (1 to 32), each row a byte
// with its leftmost pixel in bit 7; 256 glyphs, or 512 where a cell's
// foreground bit 3 picks the second 256 (its foreground is then 0 to 7).
struct ScreenFont {
  int32_t height = 16;
  int32_t glyphs = 256;
  std::vector<uint8_t> rows;  // glyphs x height bytes
};

// A colour given exactly rather than as one of the 16 (24-bit or
// 256-colour art): 0xRRGGBB with this bit set.
constexpr uint32_t kExactColour = 0x1000000;

struct AnsiScreen {
  int32_t columns = kAnsiDefaultColumns;
  int32_t rows = 0;         // through the last row anything was drawn on
  int32_t cellHeight = 16;  // the font's rows: 16, 8, 14 or 19 built in, 1 to 32 of a file's own
  // Pixels a cell across: 8, or 9 with the 9th column of a VGA text screen.
  int32_t cellWidth = kAnsiCellWidth;
  std::vector<AnsiCell> cells;  // row-major, at least columns x rows
  // The 16 colours a cell's indexes name: the VGA ones unless the file
  // carries its own.
  std::array<uint32_t, 16> palette = DefaultPalette();
  // The file's own font, or null for the built-in one of cellHeight rows
  // in `characterSet` (and `codePage`, for the IBM fonts).
  std::shared_ptr<const ScreenFont> font;
  CharacterSet characterSet = CharacterSet::kIbm;
  int16_t codePage = 437;
  // How the screen's tube stretched its rows to fill 4:3.
  ScreenTube tube = ScreenTube::kVga;
  // With iCE colours bit 7 of a cell's colours is part of a bright
  // background; without, it is VGA's blink bit: the background is 0 to 7
  // and the foreground blinks (AnsiBlinks).
  bool iceColours = true;
  // Empty, or two a cell (foreground, background), parallel to `cells`: a
  // value with kExactColour set is the cell's colour, any other leaves it
  // to the palette.
  std::vector<uint32_t> exactColours;

  static std::array<uint32_t, 16> DefaultPalette() {
    std::array<uint32_t, 16> palette;
    for (int i = 0; i < 16; ++i) palette[static_cast<size_t>(i)] = kAnsiPalette[i];
    return palette;
  }

  // A cell outside the screen is an empty (black) one.
  AnsiCell At(int32_t column, int32_t row) const {
    if (column < 0 || column >= columns || row < 0 || row >= rows) return AnsiCell{};
    return cells[static_cast<size_t>(row) * static_cast<size_t>(columns) + static_cast<size_t>(column)];
  }
};

// The rows a screen keeps: its page stays within kMaxPageBytes at 4 bits a
// pixel (or at 32, for a screen with exact colours) in 9-pixel cells, so a hostile file
// cannot ask for a huge allocation. Characters drawn below are dropped.
int32_t AnsiRowLimit(int32_t columns, int32_t cellHeight, int bitsPerPixel = 4);

// Interprets text[0 .. length-1] (the text ReadSauce delimits) in one pass.
AnsiScreen InterpretAnsi(const uint8_t* text, size_t length, const AnsiOptions& options);

// The whole file: its record, then the text before it.
AnsiScreen ReadAnsiScreen(const uint8_t* bytes, size_t length);

// The nearest of the 16 to a colour, by distance in RGB.
int NearestAnsiColour(int red, int green, int blue);

// A VGA text attribute (foreground in bits 0-3, background in 4-6, blink
// in 7) as a cell's colours: the palette is in ANSI's order, where red and
// blue trade places; bit 7 stays bit 7, which the screen's iceColours reads.
uint8_t AnsiColoursOfAttribute(uint8_t attribute);

// Whether a cell of `screen` blinks: its blink bit, without iCE colours.
inline bool AnsiBlinks(const AnsiScreen& screen, AnsiCell cell) {
  return !screen.iceColours && (cell.colours & 0x80) != 0;
}

#endif
