// Avatar/0 (.avt): text on 80 columns with the BBS control codes of
// Avatar level 0. ^L clears the screen (attribute 3), ^Y c n draws c n
// times, and ^V starts a command: ^A a sets the attribute, ^B turns blink
// on, ^C ^D ^E ^F move the cursor up, down, left and right, ^G clears to
// the end of the line, ^H r c moves to row r, column c (from 1).
#include "scene_formats.h"
#include "screen_writer.h"

namespace {

constexpr uint8_t kClear = 0x0C, kRepeat = 0x19, kCommand = 0x16;

// The bytes a ^V command takes, the ^V included; 0 for a command of a
// later level, whose arguments are unknown.
size_t CommandSize(uint8_t command) {
  switch (command) {
    case 1: return 3;
    case 8: return 4;
    default: return command >= 2 && command <= 7 ? 2 : 0;
  }
}

bool IsPlain(uint8_t b) {
  return b > 27 || (b != kClear && b != kRepeat && b != kCommand && b != 26 && b != 13 && b != 10 && b != 9);
}

}  // namespace

FormatReading ReadAvatar(const uint8_t* bytes, size_t length) {
  FormatReading reading;
  // A 0x1A ends the text, but only where a character stands: as an
  // argument it is a number like any other.
  const size_t end = ReadSauce(bytes, length).dataLength;
  // Without iCE colours, as on a DOS screen: bit 7 blinks.
  ScreenWriter screen(kAnsiDefaultColumns, 16, false);
  uint8_t attribute = 0x07;
  screen.SetColours(AnsiColoursOfAttribute(attribute));
  for (size_t i = 0; i < end;) {
    const uint8_t b = bytes[i];
    if (IsPlain(b)) {
      size_t run = i + 1;
      while (run < end && IsPlain(bytes[run])) ++run;
      screen.PutRun(bytes + i, run - i);
      i = run;
      continue;
    }
    size_t size = b == kRepeat ? 3 : b == kCommand ? 2 : 1;
    if (b == kCommand && end - i >= 2) size = CommandSize(bytes[i + 1]);
    if (size == 0) {
      // The ^V and its command are skipped; what follows is drawn.
      reading.note = "Avatar commands past level 0 are left out.";
      i += 2;
      continue;
    }
    if (end - i < size) {
      reading.note = "The file ends inside a command, which is left out.";
      break;
    }
    if (b == 26) break;
    const uint8_t* arguments = bytes + i + 2;
    switch (b == kCommand ? bytes[i + 1] : b) {
      case 13: screen.MoveTo(screen.row(), 0); break;
      case 10:
        screen.NextRow();
        screen.MoveTo(screen.row(), 0);
        break;
      case 9: screen.MoveTo(screen.row(), (screen.column() / 8 + 1) * 8); break;
      case kClear:
        screen.Clear();
        attribute = 3;
        break;
      case kRepeat: screen.PutRepeated(bytes[i + 1], bytes[i + 2]); break;
      case 1: attribute = arguments[0]; break;
      case 2: attribute |= 0x80; break;
      case 3: screen.MoveBy(-1, 0); break;
      case 4: screen.MoveBy(1, 0); break;
      case 5: screen.MoveBy(0, -1); break;
      case 6: screen.MoveBy(0, 1); break;
      case 7: screen.Erase(screen.column(), screen.columns()); break;
      case 8: screen.MoveTo(arguments[0] - 1, arguments[1] - 1); break;
    }
    screen.SetColours(AnsiColoursOfAttribute(attribute));
    i += size;
  }
  reading.screen = screen.Finish();
  if (screen.droppedRows() && reading.note.empty())
    reading.note = "What the file draws below the rows a page keeps is left out.";
  return reading;
}
