#include "ansi_screen.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "page_limits.h"

namespace {

// The cursor may wander this far down, so that no arithmetic on it can
// overflow; rows past AnsiRowLimit keep nothing.
constexpr int32_t kCursorRowLimit = 1 << 30;
// A parameter reads at most this much: enough for any row, column or
// colour, and ten times it still fits 32 bits, however many digits follow.
constexpr int32_t kParameterLimit = 1000000;

bool FontHasShortCells(const char* name) {
  size_t n = std::strlen(name);
  // "IBM VGA50 437": the 50-line font with its code page after it (as
  // ansilove reads it).
  if (n > 4 && name[n - 4] == ' ' && std::isdigit(static_cast<unsigned char>(name[n - 3])) &&
      std::isdigit(static_cast<unsigned char>(name[n - 2])) &&
      std::isdigit(static_cast<unsigned char>(name[n - 1])))
    n -= 4;
  // ansilove draws "IBM EGA43" in 16-pixel cells; the 43-line EGA mode
  // showed the same 8 x 8 font as the 50-line VGA one.
  return n >= 2 && (std::strncmp(name + n - 2, "50", 2) == 0 || std::strncmp(name + n - 2, "43", 2) == 0);
}

// The 256 colours of the usual terminal palette, each as the nearest of
// the 16: the first 16 are the 16 themselves, then a 6 x 6 x 6 cube and 24
// greys.
struct ExtendedColours {
  uint8_t nearest[256];
  ExtendedColours() {
    static const int kLevels[6] = {0, 95, 135, 175, 215, 255};
    for (int n = 0; n < 256; ++n) {
      if (n < 16) {
        nearest[n] = static_cast<uint8_t>(n);
      } else if (n < 232) {
        const int k = n - 16;
        nearest[n] =
            static_cast<uint8_t>(NearestAnsiColour(kLevels[k / 36], kLevels[k / 6 % 6], kLevels[k % 6]));
      } else {
        const int grey = 8 + 10 * (n - 232);
        nearest[n] = static_cast<uint8_t>(NearestAnsiColour(grey, grey, grey));
      }
    }
  }
};

// The pen of the colour sequences. Bold and blink are the intensity bits
// of a VGA attribute: they brighten the colour shown in front and behind,
// after inverse has swapped the two (so bold with inverse brightens the
// background colour shown in front, as ansilove draws it without iCE; its
// iCE drawing of blink with inverse loses the brightness, a fault).
struct Pen {
  uint8_t foreground = 7;
  uint8_t background = 0;
  bool bold = false;
  bool blink = false;
  bool inverse = false;
  // A 38 or 48 colour being read: which one, and the step of "5;n" or
  // "2;r;g;b" that comes next (0 the 5 or 2, 1 the index, 2-4 r g b).
  uint8_t extended = 0;
  uint8_t step = 0;
  uint8_t rgb[3] = {};

  uint8_t Colours(bool iceColours) const {
    int front = inverse ? background : foreground;
    int back = inverse ? foreground : background;
    if (bold) front |= 8;
    // Without iCE colours blink has no visible effect.
    if (blink && iceColours) back |= 8;
    return static_cast<uint8_t>(front | back << 4);
  }

  void SetExtended(int colour) {
    if (extended == 38)
      foreground = static_cast<uint8_t>(colour);
    else
      background = static_cast<uint8_t>(colour);
    extended = 0;
  }

  // Each parameter in turn, as the standard has them. ansilove differs
  // here, and is wrong: it ignores an empty parameter (so ESC[m keeps the
  // colours instead of resetting them), turns bold off at a second 1, and
  // knows none of 22, 39, 49, 90-97, 100-107, 38 and 48.
  void Apply(int32_t value) {
    if (extended != 0) {
      ApplyExtended(value);
      return;
    }
    if (value >= 30 && value <= 37)
      foreground = static_cast<uint8_t>(value - 30);
    else if (value >= 40 && value <= 47)
      background = static_cast<uint8_t>(value - 40);
    else if (value >= 90 && value <= 97)
      foreground = static_cast<uint8_t>(value - 90 + 8);
    else if (value >= 100 && value <= 107)
      background = static_cast<uint8_t>(value - 100 + 8);
    else
      switch (value) {
        case 0: *this = Pen{}; break;
        case 1: bold = true; break;
        case 5: blink = true; break;
        case 7: inverse = true; break;
        case 22: bold = false; break;
        case 25: blink = false; break;
        case 27: inverse = false; break;
        case 39: foreground = 7; break;
        case 49: background = 0; break;
        case 38:
        case 48:
          extended = static_cast<uint8_t>(value);
          step = 0;
          break;
        // 2, 3, 4, 6, 8 and the rest change nothing, as in ansilove.
        default: break;
      }
  }

  void ApplyExtended(int32_t value) {
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
        SetExtended(kExtended.nearest[value]);
      else
        extended = 0;
    } else {
      rgb[step - 2] = static_cast<uint8_t>(std::min(value, 255));
      if (++step == 5) SetExtended(NearestAnsiColour(rgb[0], rgb[1], rgb[2]));
    }
  }
};

// Sets cells[0 .. count-1] to `cell`. A file can erase a 1000-cell row in
// 3 bytes, so this is the interpreter's heaviest work: copies of a 64-byte
// pattern run several times faster than GCC 12's std::fill of 2-byte cells,
// which passes every 16 bytes through the stack.
void FillCells(AnsiCell* cells, size_t count, AnsiCell cell) {
  AnsiCell pattern[32];
  std::fill(std::begin(pattern), std::end(pattern), cell);
  size_t k = 0;
  for (; k + 32 <= count; k += 32) std::memcpy(cells + k, pattern, sizeof pattern);
  std::memcpy(cells + k, pattern, (count - k) * sizeof cell);
}

class Interpreter {
 public:
  explicit Interpreter(const AnsiOptions& options)
      : columns_(std::clamp(options.columns, 1, kAnsiMaxColumns)),
        cellHeight_(options.cellHeight == 8 ? 8 : 16),
        iceColours_(options.iceColours),
        rowLimit_(AnsiRowLimit(columns_, cellHeight_)),
        colours_(pen_.Colours(iceColours_)) {}

  AnsiScreen Run(const uint8_t* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
      const uint8_t b = text[i];
      switch (state_) {
        case State::kText:
          if (IsPlain(b))
            i = DrawRun(text, i, length) - 1;
          else
            Text(b);
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
    AnsiScreen screen;
    screen.columns = columns_;
    screen.rows = rows_;
    screen.cellHeight = cellHeight_;
    cells_.resize(static_cast<size_t>(rows_) * static_cast<size_t>(columns_));
    screen.cells = std::move(cells_);
    return screen;
  }

 private:
  enum class State { kText, kEscape, kSequence };

  void Text(uint8_t b) {
    switch (b) {
      case 27: state_ = State::kEscape; break;
      // ansilove ignores a carriage return; it goes to column 0 here, as on
      // a terminal (CR LF, the usual line end, acts the same in both).
      case 13: column_ = 0; break;
      case 10:
        column_ = 0;
        NextRow();
        break;
      // The next multiple of 8, staying on the row, as on a terminal;
      // ansilove moves 8 columns on from wherever the cursor is.
      case 9: column_ = std::min((column_ / 8 + 1) * 8, columns_ - 1); break;
      default: Draw(b); break;
    }
  }

  static bool IsPlain(uint8_t b) { return b > 27 || (b != 27 && b != 13 && b != 10 && b != 9); }

  // Draws the characters that only draw, from text[i] on, a row at a time
  // (Draw's work for a run of them); returns where they end.
  size_t DrawRun(const uint8_t* text, size_t i, size_t length) {
    while (i < length && IsPlain(text[i])) {
      const size_t end = std::min(length, i + static_cast<size_t>(columns_ - column_));
      size_t j = i;
      while (j < end && IsPlain(text[j])) ++j;
      if (AnsiCell* row = Row(column_ + static_cast<int32_t>(j - i)))
        for (size_t k = i; k < j; ++k)
          row[column_ + static_cast<int32_t>(k - i)] = AnsiCell{text[k], colours_};
      column_ += static_cast<int32_t>(j - i);
      if (column_ == columns_) {
        column_ = 0;
        NextRow();
      }
      i = j;
    }
    return i;
  }

  void NextRow() { row_ = std::min(row_ + 1, kCursorRowLimit); }

  // The row under the cursor, made part of the screen, its cells before
  // column `end` about to be drawn; null when it lies past the rows a page
  // keeps.
  AnsiCell* Row(int32_t end) {
    if (row_ >= rowLimit_) return nullptr;
    if (row_ >= allocatedRows_) {
      allocatedRows_ = std::min(rowLimit_, std::max({row_ + 1, allocatedRows_ * 2, 64}));
      cells_.resize(static_cast<size_t>(allocatedRows_) * static_cast<size_t>(columns_));
      drawnEnd_.resize(static_cast<size_t>(allocatedRows_));
    }
    if (row_ >= rows_) rows_ = row_ + 1;
    uint16_t& drawn = drawnEnd_[static_cast<size_t>(row_)];
    if (drawn == 0) drawnRows_.push_back(row_);
    drawn = std::max(drawn, static_cast<uint16_t>(end));
    return cells_.data() + static_cast<size_t>(row_) * static_cast<size_t>(columns_);
  }

  // Blanks what was drawn since the last clear, and only that: clearing
  // every row ever reached would make a file of clears far down take time
  // in the square of its size.
  void Clear() {
    for (const int32_t row : drawnRows_) {
      FillCells(cells_.data() + static_cast<size_t>(row) * static_cast<size_t>(columns_),
                drawnEnd_[static_cast<size_t>(row)], AnsiCell{});
      drawnEnd_[static_cast<size_t>(row)] = 0;
    }
    drawnRows_.clear();
    rows_ = 0;
  }

  void Draw(uint8_t b) {
    if (AnsiCell* row = Row(column_ + 1)) row[column_] = AnsiCell{b, colours_};
    // The last column moves the cursor straight to the next row (a line
    // end right after it leaves an empty row), as ansilove and DOS do.
    if (++column_ == columns_) {
      column_ = 0;
      NextRow();
    }
  }

  void StartSequence() {
    state_ = State::kSequence;
    value_ = 0;
    count_ = 0;
    first_ = second_ = 0;
    ignored_ = false;
    pending_ = pen_;
  }

  void EndParameter() {
    if (count_ == 0)
      first_ = value_;
    else if (count_ == 1)
      second_ = value_;
    if (count_ < 2) ++count_;
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
  void SequenceByte(uint8_t b) {
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

  void Execute(uint8_t final) {
    const int32_t count = std::max(first_, 1);  // a missing or 0 count is 1
    switch (final) {
      case 'A': row_ = std::max(row_ - count, 0); break;
      case 'B': row_ = std::min(row_ + count, kCursorRowLimit); break;
      // Held inside the row; ansilove lets C go one column past the last,
      // where the next character wraps.
      case 'C': column_ = std::min(column_ + count, columns_ - 1); break;
      case 'D': column_ = std::max(column_ - count, 0); break;
      case 'H':
      case 'f':
        row_ = std::min(std::max(first_, 1) - 1, kCursorRowLimit);
        // A column past the last is held to it, as on a DOS screen;
        // ansilove draws such characters off the page.
        column_ = std::min(std::max(second_, 1) - 1, columns_ - 1);
        break;
      case 'J':
        // The page starts again, empty: a page has no fixed height to fill
        // with the background, and ansilove does the same. ansilove ignores
        // 0J and 1J, and so does this.
        if (first_ == 2) {
          Clear();
          row_ = column_ = 0;
        }
        break;
      case 'K': Erase(); break;
      case 's':
        savedRow_ = row_;
        savedColumn_ = column_;
        break;
      case 'u':
        row_ = savedRow_;
        column_ = savedColumn_;
        break;
      case 'm':
        pending_.extended = 0;  // a colour cut short by the end takes nothing
        pen_ = pending_;
        colours_ = pen_.Colours(iceColours_);
        break;
      default: break;  // any other final byte: no effect
    }
  }

  // Erases in the row as a terminal does (ansilove ignores K): 0 to its end,
  // 1 from its start through the cursor, 2 all of it. Erased cells are
  // blanks on the current background and count as drawn.
  void Erase() {
    int32_t from = column_, to = columns_;
    if (first_ == 1)
      from = 0, to = column_ + 1;
    else if (first_ == 2)
      from = 0;
    else if (first_ != 0)
      return;
    if (AnsiCell* row = Row(to)) FillCells(row + from, static_cast<size_t>(to - from), AnsiCell{0, colours_});
  }

  const int32_t columns_;
  const int32_t cellHeight_;
  const bool iceColours_;
  const int32_t rowLimit_;
  std::vector<AnsiCell> cells_;
  // Each row's cells drawn since the last clear end before drawnEnd_[row]
  // (0: none); drawnRows_ lists the rows where that is not 0. A clear
  // blanks each listed row from column 0 rather than keep where its drawing
  // began: at most 1000 cells for each row the text drew on.
  std::vector<uint16_t> drawnEnd_;
  std::vector<int32_t> drawnRows_;
  int32_t allocatedRows_ = 0;
  int32_t rows_ = 0;
  int32_t row_ = 0, column_ = 0;
  int32_t savedRow_ = 0, savedColumn_ = 0;
  Pen pen_;
  uint8_t colours_;
  State state_ = State::kText;
  // The sequence being read: the parameter so far, how many have ended (at
  // most 2 are counted), the first two, whether it is of another kind, and
  // the pen its colours would give.
  int32_t value_ = 0;
  int32_t count_ = 0;
  int32_t first_ = 0, second_ = 0;
  bool ignored_ = false;
  Pen pending_;
};

}  // namespace

AnsiOptions AnsiOptionsFor(const SauceRecord& sauce) {
  AnsiOptions options;
  if (IsAnsiRecord(sauce) && sauce.tInfo1 >= 1 && sauce.tInfo1 <= kAnsiMaxColumns)
    options.columns = sauce.tInfo1;
  // The flags and the font name mean the same in every character record
  // (ASCII, ANSi, ANSiMation), and ansilove reads them from any.
  if (sauce.present && sauce.dataType == 1) {
    options.iceColours = (sauce.flags & 1) != 0;
    if (FontHasShortCells(sauce.fontName)) options.cellHeight = 8;
  }
  return options;
}

int32_t AnsiRowLimit(int32_t columns, int32_t cellHeight) {
  const int64_t rowBytes = DibStride(int64_t{std::clamp(columns, 1, kAnsiMaxColumns)} * kAnsiCellWidth, 4) *
                           (cellHeight == 8 ? 8 : 16);
  return static_cast<int32_t>(kMaxPageBytes / rowBytes);
}

AnsiScreen InterpretAnsi(const uint8_t* text, size_t length, const AnsiOptions& options) {
  return Interpreter(options).Run(text, length);
}

AnsiScreen ReadAnsiScreen(const uint8_t* bytes, size_t length) {
  const SauceRecord sauce = ReadSauce(bytes, length);
  return InterpretAnsi(bytes, sauce.textLength, AnsiOptionsFor(sauce));
}

const uint32_t kAnsiPalette[16] = {0x000000, 0xAA0000, 0x00AA00, 0xAA5500, 0x0000AA, 0xAA00AA,
                                   0x00AAAA, 0xAAAAAA, 0x555555, 0xFF5555, 0x55FF55, 0xFFFF55,
                                   0x5555FF, 0xFF55FF, 0x55FFFF, 0xFFFFFF};

int NearestAnsiColour(int red, int green, int blue) {
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int i = 0; i < 16; ++i) {
    const int dr = red - static_cast<int>(kAnsiPalette[i] >> 16);
    const int dg = green - static_cast<int>(kAnsiPalette[i] >> 8 & 0xFF);
    const int db = blue - static_cast<int>(kAnsiPalette[i] & 0xFF);
    const int64_t distance = int64_t{dr} * dr + int64_t{dg} * dg + int64_t{db} * db;
    if (distance < bestDistance) best = i, bestDistance = distance;
  }
  return best;
}
