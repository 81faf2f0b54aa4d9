// XBin: an 11-byte header (XBIN 0x1A, width, height, font height, flags),
// then the palette, the font and the cells, each as the flags say.
#include <algorithm>
#include <cstring>
#include <memory>

#include "cell_formats.h"
#include "scene_formats.h"

namespace {

constexpr size_t kHeaderSize = 11;
constexpr uint8_t kHasPalette = 1, kHasFont = 2, kCompressed = 4, kNonBlink = 8, kWideFont = 16;

// The compressed cells, in runs (which in a good file never pass a row's
// end): a byte whose top two bits say what the run repeats (nothing, the
// character, the attribute, both) and whose low six are its length less
// one. Reads from bytes[at] until `total` cells are in or the data ends;
// false when a run needs more bytes than are left.
bool ReadRuns(const uint8_t* bytes, size_t at, size_t end, int64_t total, CellScreen& cells) {
  while (cells.count() < total && at < end) {
    const int kind = bytes[at] >> 6;
    const int64_t length = std::min<int64_t>((bytes[at] & 63) + 1, total - cells.count());
    ++at;
    const size_t once = kind == 0 ? 0 : kind == 3 ? 2 : 1;
    const size_t each = kind == 0 ? 2 : kind == 3 ? 0 : 1;
    if (end - at < once + each * static_cast<size_t>(length)) return false;
    AnsiCell cell;
    if (kind & 1) cell.character = bytes[at++];
    if (kind & 2) cell.colours = bytes[at++];
    for (int64_t k = 0; k < length; ++k) {
      if (kind == 0) {
        cell = AnsiCell{bytes[at], bytes[at + 1]};
        at += 2;
      } else if (kind == 1) {
        cell.colours = bytes[at++];
      } else if (kind == 2) {
        cell.character = bytes[at++];
      }
      if (!cells.Add(cell)) return true;
    }
  }
  return true;
}

}  // namespace

FormatReading ReadXBin(const uint8_t* bytes, size_t length) {
  FormatReading reading;
  const size_t end = ReadSauce(bytes, length).dataLength;
  if (end < kHeaderSize || std::memcmp(bytes, "XBIN\x1A", 5) != 0) {
    reading.note = "not an XBin: no XBIN header";
    return reading;
  }
  const int32_t width = static_cast<int32_t>(ReadU16(bytes + 5));
  const int32_t height = static_cast<int32_t>(ReadU16(bytes + 7));
  const int32_t fontHeight = bytes[9];
  const uint8_t flags = bytes[10];
  const bool validHeight = fontHeight >= 1 && fontHeight <= 32;
  if (!validHeight && (flags & kHasFont) != 0) {
    // The font's size, and so where the cells begin, is unknown.
    reading.note = "the font height " + std::to_string(fontHeight) + " is not 1 to 32";
    return reading;
  }
  if (width == 0 || height == 0) {
    reading.note = "the picture is " + std::to_string(width) + " by " + std::to_string(height) + " cells";
    return reading;
  }
  size_t at = kHeaderSize;
  if (flags & kHasPalette) {
    if (end - at < 48) {
      reading.note = "the file ends inside the palette";
      return reading;
    }
    SetPalette(reading.screen, bytes + at);
    at += 48;
  }
  // Without a font of its own the picture takes the built-in one nearest
  // its height.
  int32_t cellHeight = fontHeight == 8 ? 8 : 16;
  if (flags & kHasFont) {
    auto font = std::make_shared<ScreenFont>();
    font->height = fontHeight;
    font->glyphs = flags & kWideFont ? 512 : 256;
    const size_t size = static_cast<size_t>(font->glyphs) * static_cast<size_t>(fontHeight);
    if (end - at < size) {
      reading.note = "the file ends inside the font";
      return reading;
    }
    font->rows.assign(bytes + at, bytes + at + size);
    at += size;
    reading.screen.font = std::move(font);
    cellHeight = fontHeight;
  } else if (!validHeight) {
    AddNote(reading, "the font height " + std::to_string(fontHeight) + " is not 1 to 32");
  }

  CellScreen cells(width, cellHeight, (flags & kNonBlink) != 0);
  const int64_t total = int64_t{width} * height;
  bool runPastEnd = false;
  if (flags & kCompressed) {
    runPastEnd = !ReadRuns(bytes, at, end, total, cells);
  } else {
    for (; cells.count() < total && end - at >= 2; at += 2)
      if (!cells.Add(AnsiCell{bytes[at], bytes[at + 1]})) break;
  }
  if (runPastEnd)
    AddNote(reading, "a compressed run goes past the end of the file");
  else if (cells.count() < total && !cells.limited())
    AddNote(reading, "the file ends after " + std::to_string(cells.count() / width) + " of " +
                         std::to_string(height) + " rows");
  cells.Finish(reading);
  return reading;
}
