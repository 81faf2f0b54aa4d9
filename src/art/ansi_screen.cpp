#include "ansi_screen.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "ansi_interpreter.h"
#include "page_limits.h"

namespace {

// A parameter reads at most this much: enough for any row, column or
// colour, and ten times it still fits 32 bits, however many digits follow.
constexpr int32_t kParameterLimit = 1000000;


// The 256 colours of the usual terminal palette (xterm's): the first 16
// are the 16 themselves, then a 6 x 6 x 6 cube and 24 greys, each as its
// exact colour and the nearest of the 16.
struct ExtendedColours {
  uint32_t exact[256];
  uint8_t nearest[256];
  ExtendedColours() {
    static const int kLevels[6] = {0, 95, 135, 175, 215, 255};
    for (int n = 0; n < 256; ++n) {
      int red, green, blue;
      if (n < 16) {
        exact[n] = 0;  // the index itself, which bold and blink brighten
        nearest[n] = static_cast<uint8_t>(n);
        continue;
      }
      if (n < 232) {
        const int k = n - 16;
        red = kLevels[k / 36], green = kLevels[k / 6 % 6], blue = kLevels[k % 6];
      } else {
        red = green = blue = 8 + 10 * (n - 232);
      }
      exact[n] = kExactColour | static_cast<uint32_t>(red << 16 | green << 8 | blue);
      nearest[n] = static_cast<uint8_t>(NearestAnsiColour(red, green, blue));
    }
  }
};

}  // namespace

uint8_t AnsiPen::Colours() const {
  int front = inverse ? background : foreground;
  int back = inverse ? foreground : background;
  if (bold) front |= 8;
  // Without iCE colours the screen reads the bit as blink.
  if (blink) back |= 8;
  return static_cast<uint8_t>(front | back << 4);
}

void AnsiPen::Set(bool front, int colour, uint32_t exact) {
  if (front)
    foreground = static_cast<uint8_t>(colour), exactForeground = exact;
  else
    background = static_cast<uint8_t>(colour), exactBackground = exact;
  extended = 0;
}

void AnsiPen::SetExact(bool front, int red, int green, int blue) {
  Set(front, NearestAnsiColour(red, green, blue),
      kExactColour | static_cast<uint32_t>(red << 16 | green << 8 | blue));
}

// Each parameter in turn, as the standard has them. ansilove differs
// here, and is wrong: it ignores an empty parameter (so ESC[m keeps the
// colours instead of resetting them), turns bold off at a second 1, and
// knows none of 22, 39, 49, 90-97, 100-107, 38 and 48.
void AnsiPen::Apply(int32_t value) {
  if (extended != 0) {
    ApplyExtended(value);
    return;
  }
  if (value >= 30 && value <= 37)
    foreground = static_cast<uint8_t>(value - 30), exactForeground = 0;
  else if (value >= 40 && value <= 47)
    background = static_cast<uint8_t>(value - 40), exactBackground = 0;
  else if (value >= 90 && value <= 97)
    foreground = static_cast<uint8_t>(value - 90 + 8), exactForeground = 0;
  else if (value >= 100 && value <= 107)
    background = static_cast<uint8_t>(value - 100 + 8), exactBackground = 0;
  else
    switch (value) {
      case 0: *this = AnsiPen{}; break;
      case 1: bold = true; break;
      case 5: blink = true; break;
      case 7: inverse = true; break;
      case 22: bold = false; break;
      case 25: blink = false; break;
      case 27: inverse = false; break;
      case 39: foreground = 7, exactForeground = 0; break;
      case 49: background = 0, exactBackground = 0; break;
      case 38:
      case 48:
        extended = static_cast<uint8_t>(value);
        step = 0;
        break;
      // 2, 3, 4, 6, 8 and the rest change nothing, as in ansilove.
      default: break;
    }
}

void AnsiPen::ApplyExtended(int32_t value) {
  static const ExtendedColours kExtended;
  if (step == 0) {
    // An unknown kind of colour takes its kind with it and nothing more.
    if (value == 5)
      step = 1;
    else if (value == 2)
      step = 2;
    else
      extended = 0;
  } else if (step == 1) {
    if (value < 256)
      Set(extended == 38, kExtended.nearest[value], kExtended.exact[value]);
    else
      extended = 0;
  } else {
    rgb[step - 2] = static_cast<uint8_t>(std::min(value, 255));
    if (++step == 5) SetExact(extended == 38, rgb[0], rgb[1], rgb[2]);
  }
}

AnsiInterpreter::AnsiInterpreter(const AnsiOptions& options)
    : screen_(options.columns, options.cellHeight, options.iceColours) {
  TakePen(AnsiPen{});
}

void AnsiInterpreter::TakePen(const AnsiPen& pen) {
  screen_.SetColours(pen.Colours(), pen.ExactFront(), pen.ExactBack());
  pen_ = pen;
}

void AnsiInterpreter::SetAttribute(uint8_t attribute) {
  AnsiPen pen;
  const uint8_t colours = AnsiColoursOfAttribute(attribute);
  pen.foreground = colours & 7;
  pen.bold = (colours & 8) != 0;
  pen.background = colours >> 4 & 7;
  pen.blink = (colours & 0x80) != 0;
  TakePen(pen);
}

inline void AnsiInterpreter::Text(uint8_t b) {
  switch (b) {
    case 27: state_ = State::kEscape; break;
    // ansilove ignores a carriage return; it goes to column 0 here, as on
    // a terminal (CR LF, the usual line end, acts the same in both).
    case 13: screen_.MoveTo(screen_.row(), 0); break;
    case 10:
      screen_.NextRow();
      screen_.MoveTo(screen_.row(), 0);
      break;
    // The next multiple of 8, staying on the row, as on a terminal;
    // ansilove moves 8 columns on from wherever the cursor is.
    case 9: screen_.MoveTo(screen_.row(), (screen_.column() / 8 + 1) * 8); break;
    default: screen_.Put(b); break;
  }
}

inline void AnsiInterpreter::StartSequence() {
  state_ = State::kSequence;
  value_ = 0;
  count_ = 0;
  std::fill(std::begin(parameters_), std::end(parameters_), 0);
  ignored_ = false;
  pending_ = pen_;
}

inline void AnsiInterpreter::EndParameter() {
  if (count_ < 4) parameters_[count_++] = value_;
  // Colours are read as the parameters come, into a pen that becomes the
  // real one only if the sequence ends in m: a list of any length needs
  // no buffer.
  pending_.Apply(value_);
  value_ = 0;
}

// Every final byte (0x40 to 0x7E) ends a sequence, however long it is.
// ansilove gives up on a sequence of more than 13 characters and draws
// its text, and reads past final bytes it does not know (ESC[@ swallows
// the text after it).
inline void AnsiInterpreter::SequenceByte(uint8_t b) {
  if (b >= '0' && b <= '9') {
    value_ = std::min(value_ * 10 + (b - '0'), kParameterLimit);
  } else if (b == ';') {
    EndParameter();
  } else if (b >= 0x40 && b <= 0x7E) {
    EndParameter();
    state_ = State::kText;
    if (!ignored_) Execute(b);
  } else if (b >= 0x20 && b <= 0x3F) {
    // Private parameters (? = < > :) and intermediate bytes make a
    // sequence of another kind: it is read to its end and does nothing.
    ignored_ = true;
  } else {
    // A byte that cannot stand in a sequence cuts it off, with no effect,
    // and then acts as usual, so a damaged sequence loses no art
    // (ansilove swallows such bytes).
    state_ = State::kText;
    Text(b);
  }
}

void AnsiInterpreter::Feed(const uint8_t* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    const uint8_t b = text[i];
    switch (state_) {
      case State::kText:
        if (IsPlain(b)) {
          // The characters that only draw, drawn together.
          size_t end = i + 1;
          while (end < length && IsPlain(text[end])) ++end;
          screen_.PutRun(text + i, end - i);
          i = end - 1;
        } else {
          Text(b);
        }
        break;
      case State::kEscape:
        if (b == '[') {
          StartSequence();
        } else {
          // A lone escape is dropped and the byte after it acts as usual,
          // as in ansilove.
          state_ = State::kText;
          Text(b);
        }
        break;
      case State::kSequence: SequenceByte(b); break;
    }
  }
}

void AnsiInterpreter::Execute(uint8_t final) {
  const int32_t first = parameters_[0], second = parameters_[1];
  const int32_t count = std::max(first, 1);  // a missing or 0 count is 1
  switch (final) {
    case 'A': screen_.MoveBy(-count, 0); break;
    case 'B': screen_.MoveBy(count, 0); break;
    // Held inside the row; ansilove lets C go one column past the last,
    // where the next character wraps.
    case 'C': screen_.MoveBy(0, count); break;
    case 'D': screen_.MoveBy(0, -count); break;
    case 'H':
    case 'f':
      // A column past the last is held to it, as on a DOS screen;
      // ansilove draws such characters off the page.
      screen_.MoveTo(std::max(first, 1) - 1, std::max(second, 1) - 1);
      break;
    case 'J':
      // The page starts again, empty: a page has no fixed height to fill
      // with the background, and ansilove does the same. ansilove ignores
      // 0J and 1J, and so does this.
      if (first == 2) screen_.Clear();
      break;
    case 'K': Erase(); break;
    case 's':
      savedRow_ = screen_.row();
      savedColumn_ = screen_.column();
      break;
    case 'u': screen_.MoveTo(savedRow_, savedColumn_); break;
    case 'm':
      TakePen(pending_);
      pen_.extended = 0;  // a colour cut short by the end takes nothing
      break;
    case 't': {
      // PabloDraw's 24-bit colour: ESC[0;r;g;bt the background, ESC[1;r;g;bt
      // the foreground, as ansilove reads it.
      AnsiPen pen = pen_;
      if (first == 0 || first == 1) {
        pen.SetExact(first == 1, std::min(parameters_[1], 255), std::min(parameters_[2], 255),
                     std::min(parameters_[3], 255));
        TakePen(pen);
      }
      break;
    }
    default: break;  // any other final byte: no effect
  }
}

// Erases in the row as a terminal does (ansilove ignores K): 0 to its end,
// 1 from its start through the cursor, 2 all of it. Erased cells are
// blanks on the current background and count as drawn.
void AnsiInterpreter::Erase() {
  const int32_t column = screen_.column();
  switch (parameters_[0]) {
    case 0: screen_.Erase(column, screen_.columns()); break;
    case 1: screen_.Erase(0, column + 1); break;
    case 2: screen_.Erase(0, screen_.columns()); break;
    default: break;
  }
}

AnsiOptions AnsiOptionsFor(const SauceRecord& sauce) {
  AnsiOptions options;
  if (IsAnsiRecord(sauce) && sauce.tInfo1 >= 1 && sauce.tInfo1 <= kAnsiMaxColumns)
    options.columns = sauce.tInfo1;
  // The flags and the font name mean the same in every character record
  // (ASCII, ANSi, ANSiMation), and ansilove reads them from any.
  if (sauce.present && sauce.dataType == 1) {
    options.iceColours = (sauce.flags & 1) != 0;
  }
  FontFace face;
  if (SauceFont(sauce, face)) {
    bool fellBack = false;
    options.cellHeight = ResolveFont(face, fellBack).CellHeight();
  }
  return options;
}

bool SauceFont(const SauceRecord& sauce, FontFace& face) {
  return sauce.present && (sauce.dataType == 1 || sauce.dataType == 5) &&
         ParseFontName(sauce.fontName, sizeof sauce.fontName, face);
}

int32_t AnsiRowLimit(int32_t columns, int32_t cellHeight, int bitsPerPixel) {
  const int64_t rowBytes = DibStride(int64_t{std::clamp(columns, 1, kAnsiMaxColumns)} * kAnsiWideCellWidth,
                                     bitsPerPixel == 32 ? 32 : 4) *
                           std::clamp(cellHeight, 8, 32);
  return static_cast<int32_t>(kMaxPageBytes / rowBytes);
}

AnsiScreen InterpretAnsi(const uint8_t* text, size_t length, const AnsiOptions& options) {
  AnsiInterpreter interpreter(options);
  interpreter.Feed(text, length);
  return interpreter.Finish();
}

AnsiScreen ReadAnsiScreen(const uint8_t* bytes, size_t length) {
  const SauceRecord sauce = ReadSauce(bytes, length);
  return InterpretAnsi(bytes, sauce.textLength, AnsiOptionsFor(sauce));
}

const uint32_t kAnsiPalette[16] = {0x000000, 0xAA0000, 0x00AA00, 0xAA5500, 0x0000AA, 0xAA00AA,
                                   0x00AAAA, 0xAAAAAA, 0x555555, 0xFF5555, 0x55FF55, 0xFFFF55,
                                   0x5555FF, 0xFF55FF, 0x55FFFF, 0xFFFFFF};

int NearestAnsiColour(int red, int green, int blue) {
  // Channels of 0 to 255: a distance fits 32 bits (at most 3 x 255 x 255),
  // which a 32-bit build multiplies in one instruction.
  red = red < 0 ? 0 : red > 255 ? 255 : red;
  green = green < 0 ? 0 : green > 255 ? 255 : green;
  blue = blue < 0 ? 0 : blue > 255 ? 255 : blue;
  int best = 0;
  int32_t bestDistance = INT32_MAX;
  for (int i = 0; i < 16; ++i) {
    const int32_t dr = red - static_cast<int32_t>(kAnsiPalette[i] >> 16);
    const int32_t dg = green - static_cast<int32_t>(kAnsiPalette[i] >> 8 & 0xFF);
    const int32_t db = blue - static_cast<int32_t>(kAnsiPalette[i] & 0xFF);
    const int32_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) best = i, bestDistance = distance;
  }
  return best;
}

uint8_t AnsiColoursOfAttribute(uint8_t attribute) {
  // Bit 0 of a VGA colour is blue and bit 2 red; ANSI has them the other
  // way round.
  static const uint8_t kAnsiOrder[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  const int front = kAnsiOrder[attribute & 7] | (attribute & 8);
  const int back = kAnsiOrder[attribute >> 4 & 7] | (attribute >> 4 & 8);
  return static_cast<uint8_t>(front | back << 4);
}
