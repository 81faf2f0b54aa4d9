// TundraDraw (.tnd): byte 24 and "TUNDRA24", then characters in the current
// colours and commands among them, on 80 columns: 1 moves the cursor (row,
// column, each a big-endian u32 from 0), 2, 4 and 6 draw a character
// after giving it a new foreground, background or both (each colour four
// bytes, a byte not read and then red, green and blue).
#include <cstring>

#include "scene_formats.h"
#include "screen_writer.h"

namespace {

constexpr uint8_t kPosition = 1, kForeground = 2, kBackground = 4, kBoth = 6;
constexpr size_t kHeaderLength = 9;

uint32_t BigEndian(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

struct Colour {
  uint32_t exact;
  uint8_t nearest;
};

// A colour command's colour; the nearest of the 16 is worked out once for
// a run of commands that give the same colour, as most runs do.
Colour ColourAt(const uint8_t* p, Colour& last) {
  const uint32_t exact = kExactColour | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
  if (exact != last.exact) last = Colour{exact, static_cast<uint8_t>(NearestAnsiColour(p[1], p[2], p[3]))};
  return last;
}

// The bytes a command takes, itself included.
size_t CommandSize(uint8_t b) {
  switch (b) {
    case kPosition: return 9;
    case kForeground:
    case kBackground: return 6;
    case kBoth: return 10;
    default: return 1;
  }
}

}  // namespace

// Every cell is drawn in its exact colours, and the writer keeps only those
// the palette cannot show: a file drawn in the 16 VGA colours (as most are)
// stays a 4-bit page of indexes; one in TundraDraw's own shades gets exact
// colours throughout.
FormatReading ReadTundraDraw(const uint8_t* bytes, size_t length) {
  FormatReading reading;
  const size_t end = ReadSauce(bytes, length).dataLength;
  if (end < kHeaderLength || bytes[0] != 24 || std::memcmp(bytes + 1, "TUNDRA24", 8) != 0) {
    reading.note = "Not a TundraDraw file: it does not begin with TUNDRA24.";
    return reading;
  }
  ScreenWriter screen(kAnsiDefaultColumns, 16);
  // Grey on black until the file says otherwise, as on a DOS screen
  // (ansilove starts in black on black).
  Colour front{kExactColour | kAnsiPalette[7], 7}, back{kExactColour, 0};
  screen.SetColours(0x07, front.exact, back.exact);
  // As ansilove draws them: a position just past the last column is the
  // start of the next row, and one further puts the characters after it
  // off the page, until the next position.
  bool offPage = false;
  Colour lastFront = front, lastBack = back;
  size_t i = kHeaderLength;
  while (i < end) {
    const uint8_t command = bytes[i];
    const size_t size = CommandSize(command);
    if (size == 1) {  // characters in the current colours, drawn as a run
      size_t run = i + 1;
      while (run < end && CommandSize(bytes[run]) == 1) ++run;
      if (!offPage) screen.PutRun(bytes + i, run - i);
      i = run;
      continue;
    }
    if (end - i < size) {
      reading.note = "The file ends inside a command, which is left out.";
      break;
    }
    if (command == kPosition) {
      const int64_t row = BigEndian(bytes + i + 1), column = BigEndian(bytes + i + 5);
      offPage = column > kAnsiDefaultColumns;
      if (column == kAnsiDefaultColumns)
        screen.MoveTo(row + 1, 0);
      else
        screen.MoveTo(row, column);
    } else {
      if (command == kForeground || command == kBoth) front = ColourAt(bytes + i + 2, lastFront);
      if (command == kBackground) back = ColourAt(bytes + i + 2, lastBack);
      if (command == kBoth) back = ColourAt(bytes + i + 6, lastBack);
      screen.SetColours(static_cast<uint8_t>(front.nearest | back.nearest << 4), front.exact, back.exact);
      if (!offPage) screen.Put(bytes[i + 1]);
    }
    i += size;
  }
  reading.screen = screen.Finish();
  if (screen.droppedRows() && reading.note.empty())
    reading.note = "What the file draws below the rows a page keeps is left out.";
  return reading;
}
