// PCBoard (.pcb): ANSI text on 80 columns with PCBoard's @ codes among it.
// @X and two hex digits set the colours (background, then foreground, as
// a VGA attribute), @CLS@ clears the screen, @POS:n@ moves to column n,
// @POFF@ and @WAIT@ do nothing here; any other @ is text.
//
// The BBS sent such a file to the caller's ANSI terminal, so its escape
// sequences act here as they did there (ansilove draws them as text).
// The background's high bit gives a bright background, as ansilove and
// the drawing programs show it, rather than blink.
#include <cstring>

#include "ansi_interpreter.h"
#include "scene_formats.h"

namespace {

int HexDigit(uint8_t b) {
  if (b >= '0' && b <= '9') return b - '0';
  if (b >= 'A' && b <= 'F') return b - 'A' + 10;
  if (b >= 'a' && b <= 'f') return b - 'a' + 10;
  return -1;
}

bool StartsWith(const uint8_t* at, size_t room, const char* code) {
  const size_t n = std::strlen(code);
  return room >= n && std::memcmp(at, code, n) == 0;
}

// Acts on the code at text[0] (an @) through the interpreter; returns its
// length, or 0 when it is no code but text.
size_t Code(const uint8_t* text, size_t room, AnsiInterpreter& ansi) {
  if (room >= 4 && text[1] == 'X' && HexDigit(text[2]) >= 0 && HexDigit(text[3]) >= 0) {
    ansi.SetAttribute(static_cast<uint8_t>(HexDigit(text[2]) << 4 | HexDigit(text[3])));
    return 4;
  }
  if (StartsWith(text, room, "@CLS@")) {
    ansi.screen().Clear();
    return 5;
  }
  if (StartsWith(text, room, "@POFF@") || StartsWith(text, room, "@WAIT@")) return 6;
  if (StartsWith(text, room, "@POS:")) {
    // One to three digits: a column on any screen.
    int32_t column = 0;
    size_t k = 5;
    for (; k < room && k < 8 && text[k] >= '0' && text[k] <= '9'; ++k) column = column * 10 + (text[k] - '0');
    if (k == 5 || k == room || text[k] != '@') return 0;
    ansi.screen().MoveTo(ansi.screen().row(), column - 1);
    return k + 1;
  }
  return 0;
}

}  // namespace

FormatReading ReadPcBoard(const uint8_t* bytes, size_t length) {
  FormatReading reading;
  const size_t end = ReadSauce(bytes, length).textLength;
  AnsiOptions options;
  options.iceColours = true;
  AnsiInterpreter ansi(options);
  // The text between codes goes to the interpreter in pieces.
  size_t piece = 0;
  for (size_t i = 0; i < end;) {
    const void* at = std::memchr(bytes + i, '@', end - i);
    if (at == nullptr) break;
    i = static_cast<size_t>(static_cast<const uint8_t*>(at) - bytes);
    ansi.Feed(bytes + piece, i - piece);
    const size_t code = Code(bytes + i, end - i, ansi);
    if (code == 0) {
      piece = i++;  // the @ starts the next piece of text
    } else {
      piece = i += code;
    }
  }
  ansi.Feed(bytes + piece, end - piece);
  reading.screen = ansi.Finish();
  if (ansi.screen().droppedRows())
    reading.note = "What the file draws below the rows a page keeps is left out.";
  return reading;
}
