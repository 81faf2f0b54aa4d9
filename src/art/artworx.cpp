// Artworx ADF: a version byte, the 64 registers of an EGA palette, a
// 256 x 16 font, then 80-column cells.
#include <cstring>
#include <memory>

#include "cell_formats.h"
#include "scene_formats.h"

namespace {

constexpr size_t kPaletteAt = 1, kFontAt = 1 + 192, kCellsAt = 1 + 192 + 4096;
constexpr int32_t kColumns = 80;
// The registers the 16 text colours read: the EGA's, where brown is 20 and
// the bright colours 56 to 63.
constexpr uint8_t kColourRegisters[16] = {0, 1, 2, 3, 4, 5, 20, 7, 56, 57, 58, 59, 60, 61, 62, 63};

}  // namespace

FormatReading ReadArtworx(const uint8_t* bytes, size_t length) {
  FormatReading reading;
  const size_t end = ReadSauce(bytes, length).dataLength;
  if (end < kCellsAt) {
    reading.note = "the file ends before the cells of an Artworx picture";
    return reading;
  }
  uint8_t colours[48];
  for (size_t c = 0; c < 16; ++c)
    std::memcpy(colours + 3 * c, bytes + kPaletteAt + 3 * size_t{kColourRegisters[c]}, 3);
  SetPalette(reading.screen, colours);
  auto font = std::make_shared<ScreenFont>();
  font->rows.assign(bytes + kFontAt, bytes + kCellsAt);
  reading.screen.font = std::move(font);
  // ArtWorx set the VGA to show bright backgrounds rather than blink, and
  // its pictures are drawn for that (as ansilove shows them).
  CellScreen cells(kColumns, 16, true);
  for (size_t at = kCellsAt; end - at >= 2; at += 2)
    if (!cells.Add(AnsiCell{bytes[at], bytes[at + 1]})) break;
  cells.Finish(reading);
  return reading;
}
