// What the readers of the formats that store cells (XBin, BinaryText,
// Artworx, iCEDraw) share: little-endian numbers, 6-bit palettes, notes,
// and a screen filled cell by cell within the page's limits.
#ifndef QUILLPANE_CELL_FORMATS_H
#define QUILLPANE_CELL_FORMATS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ansi_screen.h"
#include "scene_formats.h"

inline uint32_t ReadU16(const uint8_t* bytes) { return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8; }

// The files store a cell's colours as the PC does, where 1 is blue and 4
// red; a screen's indexes are in the ANSI order (1 red, 4 blue), as the
// escape sequences number them. The two differ by bits 0 and 2, of each
// nibble of an attribute.
inline int AnsiIndex(int pcIndex) { return (pcIndex & 0xA) | (pcIndex & 1) << 2 | (pcIndex >> 2 & 1); }
inline uint8_t AnsiColours(uint8_t attribute) {
  return static_cast<uint8_t>((attribute & 0xAA) | (attribute & 0x11) << 2 | (attribute >> 2 & 0x11));
}

// A VGA DAC colour (three values 0 to 63) as 0xRRGGBB: each value widened
// to 8 bits with its top bits repeated below, so that 63 gives 255. Values
// past 63 keep their low 6 bits, as the DAC does.
uint32_t SixBitColour(const uint8_t* rgb);
// A file's 16 colours (48 bytes, in the PC's order) as a screen's palette.
void SetPalette(AnsiScreen& screen, const uint8_t* colours);

// Adds one thing that went wrong to a reading's note, after any other.
void AddNote(FormatReading& reading, const std::string& what);

// The rows a screen of `columns` (1 to kAnsiMaxColumns) and cells of
// `cellHeight` pixel rows (1 to 32) keeps: its 4-bit page stays within
// kMaxPageBytes, as AnsiRowLimit does for 8 and 16.
int32_t CellRowLimit(int32_t columns, int32_t cellHeight);

// A screen filled with a file's cells in their order, `fileColumns` to a
// row. It keeps kAnsiMaxColumns of a wider row and the rows CellRowLimit
// allows, and notes what it leaves out. Without iCE colours the attribute's
// bit 7 is blink, and the background 0 to 7. The colours are turned to the
// ANSI order.
class CellScreen {
 public:
  CellScreen(int32_t fileColumns, int32_t cellHeight, bool iceColours);

  // False when the screen keeps no more rows: the reader can stop there.
  bool Add(AnsiCell cell);
  bool Repeat(AnsiCell cell, size_t count);
  // Cells added so far, those of columns left out included.
  int64_t count() const { return count_; }
  // Whether a cell came past the last row kept.
  bool limited() const { return cut_; }

  // The screen (cell height, iCE, the rows begun) into `reading`, its
  // palette and font left as they are; notes a cut width or cut rows.
  void Finish(FormatReading& reading);

 private:
  const int32_t fileColumns_;
  const int32_t columns_;
  const int32_t cellHeight_;
  const bool iceColours_;
  const int32_t rowLimit_;
  int32_t column_ = 0;
  int32_t row_ = 0;
  int64_t count_ = 0;
  bool cut_ = false;
  std::vector<AnsiCell> cells_;
};

#endif
