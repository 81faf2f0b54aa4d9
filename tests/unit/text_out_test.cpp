// The document as UTF-8 text and as ANSI for terminals: what an editor or a terminal would show wrong.
#include <gtest/gtest.h>

#include <string>

#include "art/document.h"
#include "screen_text.h"
#include "text/text_out.h"

namespace {

Document Read(const std::string& name, const std::string& bytes, bool colour = false, const std::string& font = "") {
  DocumentOptions options;
  options.colour = colour;
  options.look.font = font;
  Document document;
  ReadDocument(name.c_str(), ReadFromMemory(Bytes(bytes), bytes.size()), options, document);
  return document;
}

TextOutOptions Options(TerminalColours colours, bool crlf = false) {
  TextOutOptions options;
  options.colours = colours;
  options.crlf = crlf;
  return options;
}

const char kRed[] = "38;2;170;0;0";
const char kBlack[] = "38;2;0;0;0";
const char kOnBlack[] = "48;2;0;0;0";

std::string Sgr(const std::string& parameters) { return "\x1b[" + parameters + "m"; }

TEST(TextOut, TextRowsThroughTheirLastDrawnCell) {
  // A tab leaves empty cells before the next drawn one; an empty row stays a line; the font's code page
  // gives the characters.
  const Document text = Read("a.nfo", "a\tb\xdb  \r\n\r\nc");
  EXPECT_EQ(DocumentText(text, {}), "a       b\xe2\x96\x88  \n\nc\n");
  EXPECT_EQ(DocumentText(text, Options(TerminalColours::k24Bit, true)), "a       b\xe2\x96\x88  \r\n\r\nc\r\n");
  EXPECT_EQ(DocumentText(Read("r.nfo", "\x80\xe0\xf0", false, "IBM VGA 866"), {}),
            "\xd0\x90\xd1\x80\xd0\x81\n");  // А р Ё
  // A colour screen: a cursor move leaves empty cells, drawn later in the row.
  EXPECT_EQ(DocumentText(Read("a.ans", File("\x1b[3Cx\x1b[1;2Hy\r\n\r\n\x1b[31m", 1, 1, 8), true), {}),
            " y x\n");
}

TEST(TextOut, AnsiRowsOfTheScreensWidthWithSgrOnlyWhereColoursChange) {
  const Document art = Read("a.ans", File("\x1b[31mab\x1b[1mc\r\n\x1b[0m\x1b[2Cd", 1, 1, 4), true);
  const std::string empty = Sgr(kBlack);  // an empty cell: black on black
  EXPECT_EQ(DocumentAnsi(art, {}),
            Sgr(std::string(kRed) + ";" + kOnBlack) + "ab" + Sgr("38;2;255;85;85") + "c" + empty + " " +
                Sgr("0") + "\n" +
                // The row before ended in a reset: this one starts with all its colours.
                Sgr(std::string(kBlack) + ";" + kOnBlack) + "  " + Sgr("38;2;170;170;170") + "d" + empty + " " +
                Sgr("0") + "\n");
  EXPECT_EQ(DocumentAnsi(art, Options(TerminalColours::k16, true)),
            Sgr("31;40") + "ab" + Sgr("91") + "c" + Sgr("30") + " " + Sgr("0") + "\r\n" + Sgr("30;40") + "  " +
                Sgr("37") + "d" + Sgr("30") + " " + Sgr("0") + "\r\n");
}

TEST(TextOut, AnsiSixteenColoursKeepBrightBackgroundsAndBlink) {
  const std::string bright = "\x1b[5;44;93mX\x1b[25mY\x1b[38;2;250;10;0mZ";
  // With iCE colours the blink bit is a bright background; without, the background is dark and blinks.
  EXPECT_EQ(DocumentAnsi(Read("i.ans", File(bright, 1, 1, 3, 1), true), Options(TerminalColours::k16)),
            Sgr("93;104") + "X" + Sgr("44") + "Y" + Sgr("31") + "Z" + Sgr("0") + "\n");
  EXPECT_EQ(DocumentAnsi(Read("b.ans", File(bright, 1, 1, 3, 0), true), Options(TerminalColours::k16)),
            Sgr("93;44;5") + "X" + Sgr("25") + "Y" + Sgr("31") + "Z" + Sgr("0") + "\n");
  // The exact colour as given, in 24-bit.
  EXPECT_NE(DocumentAnsi(Read("b.ans", File(bright, 1, 1, 3, 0), true), {}).find(Sgr("38;2;250;10;0") + "Z"),
            std::string::npos);
}

TEST(TextOut, NearestOfXtermsCubeAndGreys) {
  const std::pair<uint32_t, int> cases[] = {
      {0x000000, 16},  {0xFFFFFF, 231}, {0xAA0000, 124}, {0x5F87AF, 67},  // the cube, exact where it can be
      {0x555555, 240}, {0xAAAAAA, 248}, {0x808080, 244},                  // greys nearer the ramp
      {0x2F2F30, 236}, {0x2F74FF, 33},                                    // between levels
  };
  for (const auto& [rgb, index] : cases) EXPECT_EQ(NearestXterm256(rgb), index) << std::hex << rgb;
}

TEST(TextOut, TextLayoutIsBlackOnWhiteAcrossThePage) {
  // The page is as wide as its widest row: every row is padded to it.
  const Document text = Read("a.nfo", "ab\r\nc");
  const auto expect = [&](const std::string& pen) {
    return pen + "ab " + Sgr("0") + "\n" + pen + "c  " + Sgr("0") + "\n";
  };
  EXPECT_EQ(DocumentAnsi(text, {}), expect(Sgr("38;2;0;0;0;48;2;255;255;255")));
  EXPECT_EQ(DocumentAnsi(text, Options(TerminalColours::k16)), expect(Sgr("30;107")));
  EXPECT_EQ(DocumentAnsi(text, Options(TerminalColours::k256)), expect(Sgr("38;5;16;48;5;231")));
}

}  // namespace
