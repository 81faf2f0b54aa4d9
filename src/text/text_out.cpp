#include "text_out.h"

#include <algorithm>

#include "../core/character_sets.h"
#include "../core/code_page_437.h"
#include "../art/page_limits.h"
#include "ansi_text.h"

const char16_t* DocumentCharacters(const Document& document) {
  if (document.Colour() && document.screen.screen.font != nullptr) return kCodePage437;
  return CharactersOf(document.font.face.Set(), document.font.face.codePage);
}

namespace {

PageMeasure TextLayoutPage(const Document& document) {
  // The page's depth only sets its limits: the built-in sheet's 1 bit a
  // pixel (a colour sheet's page holds fewer rows, which only pages of
  // hostile cursor moves reach).
  return LimitPageSize(MeasureLayout(document.laidOut.data(), document.laidOutLength, nullptr), 1);
}

ShownRows TextLayoutRows(const Document& document, const PageMeasure& page) {
  return CollectShownRows(document.laidOut.data(), document.laidOutLength, page.columnCount, page.rowCount);
}

}  // namespace

ShownRows DocumentShownRows(const Document& document) {
  if (document.Colour()) return AnsiShownRows(document.screen.screen);
  return TextLayoutRows(document, TextLayoutPage(document));
}

CellColours ColoursOfCell(const AnsiScreen& screen, int32_t column, int32_t row) {
  const AnsiCell cell = screen.At(column, row);
  CellColours colours;
  colours.foreground = AnsiForeground(cell);
  if (screen.font != nullptr && screen.font->glyphs == 512) colours.foreground &= 7;
  colours.background = AnsiBackground(cell) & (screen.iceColours ? 15 : 7);
  colours.blinks = AnsiBlinks(screen, cell);
  colours.foregroundRgb = screen.palette[static_cast<size_t>(colours.foreground)];
  colours.backgroundRgb = screen.palette[static_cast<size_t>(colours.background)];
  if (!screen.exactColours.empty() && column >= 0 && column < screen.columns && row >= 0 &&
      row < screen.rows) {
    const size_t at =
        2 * (static_cast<size_t>(row) * static_cast<size_t>(screen.columns) + static_cast<size_t>(column));
    colours.exactForeground = (screen.exactColours[at] & kExactColour) != 0;
    colours.exactBackground = (screen.exactColours[at + 1] & kExactColour) != 0;
    if (colours.exactForeground) colours.foregroundRgb = screen.exactColours[at] & 0xFFFFFFu;
    if (colours.exactBackground) colours.backgroundRgb = screen.exactColours[at + 1] & 0xFFFFFFu;
  }
  return colours;
}

namespace {

bool HighSurrogate(char16_t u) { return u >= 0xD800 && u < 0xDC00; }
bool LowSurrogate(char16_t u) { return u >= 0xDC00 && u < 0xE000; }

// A row's cells in UTF-8: a cell that shows nothing (0, or a byte its set
// has no character for) is a blank. A pair of surrogates in two cells is
// one character; a surrogate alone cannot be UTF-8 and shows as U+FFFD.
class RowWriter {
 public:
  // Each byte's UTF-8 is found once: a row is then a copy a cell.
  RowWriter(std::string& out, const char16_t* characters) : out_(out), characters_(characters) {
    for (int b = 0; b < 256; ++b) {
      const char16_t u = Character(static_cast<uint8_t>(b));
      std::string one;
      if (!HighSurrogate(u) && !LowSurrogate(u)) AppendUtf8(one, u);
      encoded_[b].length = static_cast<uint8_t>(one.size());  // 0: a surrogate, written apart
      std::copy(one.begin(), one.end(), encoded_[b].bytes);
    }
  }
  void Cell(uint8_t b) {
    const Encoded& one = encoded_[b];
    if (one.length != 0 && high_ == 0) {
      // One to three bytes: pushed in place, cheaper than a call to append.
      for (uint8_t k = 0; k < one.length; ++k) out_.push_back(one.bytes[k]);
      return;
    }
    const char16_t u = Character(b);
    if (high_ != 0 && LowSurrogate(u)) {
      AppendUtf8(out_, 0x10000 + ((char32_t{high_} - 0xD800) << 10) + (u - 0xDC00));
      high_ = 0;
      return;
    }
    Flush();
    if (HighSurrogate(u)) {
      high_ = u;
    } else {
      AppendUtf8(out_, LowSurrogate(u) ? 0xFFFD : u);
    }
  }
  // Before anything other than a cell, a surrogate waiting for its pair
  // goes out alone.
  void Flush() {
    if (high_ != 0) AppendUtf8(out_, 0xFFFD);
    high_ = 0;
  }

 private:
  char16_t Character(uint8_t b) const { return b != 0 && characters_[b] != 0 ? characters_[b] : u' '; }
  struct Encoded {
    char bytes[3];
    uint8_t length;
  };
  std::string& out_;
  const char16_t* characters_;
  Encoded encoded_[256];
  char16_t high_ = 0;
};

void EndRow(std::string& out, bool crlf) { out += crlf ? "\r\n" : "\n"; }

}  // namespace

std::string DocumentText(const Document& document, const TextOutOptions& options) {
  const ShownRows rows = DocumentShownRows(document);
  std::string out;
  size_t cells = 0;
  for (const ShownRow& row : rows) cells += row.cells.size() + 2;
  out.reserve(cells + cells / 2);
  RowWriter writer(out, DocumentCharacters(document));
  for (const ShownRow& row : rows) {
    for (const uint8_t b : row.cells) writer.Cell(b);
    writer.Flush();
    EndRow(out, options.crlf);
  }
  return out;
}

int NearestXterm256(uint32_t rgb) {
  // xterm's 16 system colours are the terminal's own palette, which users
  // and themes change; the 6x6x6 cube (16-231) and the grey ramp (232-255)
  // are the same in every terminal, and the cube holds the pure colours,
  // black and white exactly. So only those are chosen.
  static const int kLevels[6] = {0, 95, 135, 175, 215, 255};
  const int channel[3] = {static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                          static_cast<int>(rgb & 0xFF)};
  const auto square = [](int d) { return d * d; };
  int cube = 16, cubeDistance = 0;
  for (int i = 0; i < 3; ++i) {
    // The level nearest each channel: the cube is a grid, so the nearest of
    // its points has the nearest level in every channel.
    const int v = channel[i];
    const int level = v < 48 ? 0 : v < 115 ? 1 : (v - 35) / 40;
    cube += level * (i == 0 ? 36 : i == 1 ? 6 : 1);
    cubeDistance += square(v - kLevels[level]);
  }
  int best = cube, bestDistance = cubeDistance;
  for (int k = 0; k < 24; ++k) {
    const int grey = 8 + 10 * k;
    const int distance = square(channel[0] - grey) + square(channel[1] - grey) + square(channel[2] - grey);
    if (distance < bestDistance) best = 232 + k, bestDistance = distance;
  }
  return best;
}

namespace {

// A cell's colours as given to the terminal: in k16 palette indexes, in
// k256 xterm's indexes, in k24Bit 0xRRGGBB.
struct TerminalPen {
  uint32_t foreground = 0, background = 0;
  bool blinks = false;
};

class AnsiWriter {
 public:
  AnsiWriter(std::string& out, TerminalColours colours) : out_(out), colours_(colours) {}

  // `index` is the palette index of a colour (or the nearest of the 16 to an
  // exact one), `rgb` the colour drawn.
  uint32_t Colour(int index, uint32_t rgb) {
    switch (colours_) {
      case TerminalColours::k16: return static_cast<uint32_t>(index);
      case TerminalColours::k256:
        // Colours change seldom from one cell to the next.
        if (rgb != lastRgb_) lastRgb_ = rgb, lastIndex_ = NearestXterm256(rgb);
        return static_cast<uint32_t>(lastIndex_);
      case TerminalColours::k24Bit: break;
    }
    return rgb;
  }

  // The SGR that takes the terminal from the pen before to `pen`: all of it
  // at a row's start (the row before ended in a reset), else what changed.
  void Pen(const TerminalPen& pen, bool rowStart) {
    std::string sgr;
    const auto add = [&sgr](const std::string& part) { sgr += (sgr.empty() ? "" : ";") + part; };
    if (rowStart || pen.foreground != pen_.foreground) add(Parameter(pen.foreground, false));
    if (rowStart || pen.background != pen_.background) add(Parameter(pen.background, true));
    if (rowStart ? pen.blinks : pen.blinks != pen_.blinks) add(pen.blinks ? "5" : "25");
    if (!sgr.empty()) out_ += "\x1b[" + sgr + "m";
    pen_ = pen;
  }

 private:
  std::string Parameter(uint32_t colour, bool background) const {
    switch (colours_) {
      case TerminalColours::k16:
        // The bright eight as 90-97 and 100-107: no bold, which some
        // terminals draw as a heavier font rather than a brighter colour.
        return std::to_string((colour < 8 ? 30 : 82) + (background ? 10 : 0) + static_cast<int>(colour));
      case TerminalColours::k256: return (background ? "48;5;" : "38;5;") + std::to_string(colour);
      case TerminalColours::k24Bit: break;
    }
    return (background ? "48;2;" : "38;2;") + std::to_string(colour >> 16 & 0xFF) + ";" +
           std::to_string(colour >> 8 & 0xFF) + ";" + std::to_string(colour & 0xFF);
  }

  std::string& out_;
  TerminalColours colours_;
  TerminalPen pen_;
  uint32_t lastRgb_ = 0xFFFFFFFF;
  int lastIndex_ = 0;
};

int NearestOf(uint32_t rgb) {
  return NearestAnsiColour(static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                           static_cast<int>(rgb & 0xFF));
}

}  // namespace

std::string DocumentAnsi(const Document& document, const TextOutOptions& options) {
  std::string out;
  AnsiWriter pens(out, options.colours);
  RowWriter writer(out, DocumentCharacters(document));
  const auto endRow = [&] {
    writer.Flush();
    out += "\x1b[0m";
    EndRow(out, options.crlf);
  };
  if (document.Colour()) {
    const AnsiScreen& screen = document.screen.screen;
    out.reserve(static_cast<size_t>(std::max(screen.rows, 0)) * static_cast<size_t>(screen.columns + 40));
    for (int32_t row = 0; row < screen.rows; ++row) {
      for (int32_t column = 0; column < screen.columns; ++column) {
        const CellColours colours = ColoursOfCell(screen, column, row);
        TerminalPen pen;
        pen.foreground =
            pens.Colour(colours.exactForeground ? NearestOf(colours.foregroundRgb) : colours.foreground,
                        colours.foregroundRgb);
        pen.background =
            pens.Colour(colours.exactBackground ? NearestOf(colours.backgroundRgb) : colours.background,
                        colours.backgroundRgb);
        pen.blinks = colours.blinks;
        pens.Pen(pen, column == 0);
        writer.Cell(screen.At(column, row).character);
      }
      endRow();
    }
    return out;
  }
  // The text layout draws black on white, colours the file may give ignored.
  const PageMeasure page = TextLayoutPage(document);
  const ShownRows rows = TextLayoutRows(document, page);
  // A row: its colours, its cells (most one byte), the reset and line end.
  out.reserve(rows.size() * (static_cast<size_t>(std::max(page.columnCount, 0)) * 3 / 2 + 48));
  TerminalPen pen;
  pen.foreground = pens.Colour(0, 0x000000);
  pen.background = pens.Colour(15, 0xFFFFFF);
  for (const ShownRow& row : rows) {
    pens.Pen(pen, true);
    for (int32_t column = 0; column < page.columnCount; ++column)
      writer.Cell(static_cast<size_t>(column) < row.cells.size() ? row.cells[static_cast<size_t>(column)]
                                                                 : 0);
    endRow();
  }
  return out;
}
