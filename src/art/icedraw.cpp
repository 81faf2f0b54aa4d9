// iCEDraw IDF: a 12-byte header, the cells (with runs), then a 256 x 16
// font and the palette at the end.
#include <cstring>
#include <memory>

#include "cell_formats.h"
#include "scene_formats.h"

namespace {

constexpr size_t kHeaderSize = 12, kFontSize = 4096, kPaletteSize = 48;

}  // namespace

FormatReading ReadIceDraw(const uint8_t* bytes, size_t length) {
  FormatReading reading;
  const size_t end = ReadSauce(bytes, length).dataLength;
  if (end < kHeaderSize + kFontSize + kPaletteSize) {
    reading.note = "the file is too short for an iCEDraw header, font and palette";
    return reading;
  }
  // The header: an id, then the corners x0, y0, x1, y1; the picture is as
  // wide as its last column.
  if (std::memcmp(bytes, "\0041.", 3) != 0) AddNote(reading, "the header has no iCEDraw id");
  const int32_t columns = static_cast<int32_t>(ReadU16(bytes + 8)) + 1;
  const size_t fontAt = end - kFontSize - kPaletteSize, paletteAt = end - kPaletteSize;
  SetPalette(reading.screen, bytes + paletteAt);
  auto font = std::make_shared<ScreenFont>();
  font->rows.assign(bytes + fontAt, bytes + paletteAt);
  reading.screen.font = std::move(font);

  // iCEDraw always shows bright backgrounds. A cell 01 00 (a black smiley
  // on black, which shows nothing) starts a run: a count, of which the low
  // byte is used, and the cell to repeat.
  CellScreen cells(columns, 16, true);
  for (size_t at = kHeaderSize; fontAt - at >= 2;) {
    if (bytes[at] == 1 && bytes[at + 1] == 0) {
      if (fontAt - at < 6) {
        AddNote(reading, "a run goes past the end of the cells");
        break;
      }
      if (!cells.Repeat(AnsiCell{bytes[at + 4], bytes[at + 5]}, bytes[at + 2])) break;
      at += 6;
    } else {
      if (!cells.Add(AnsiCell{bytes[at], bytes[at + 1]})) break;
      at += 2;
    }
  }
  cells.Finish(reading);
  return reading;
}
