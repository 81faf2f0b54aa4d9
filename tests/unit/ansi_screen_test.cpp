// The ANSI colour mode's pure core: the SAUCE record, the interpreter's cursor and colour rules, the 4-bit
// page, the copied text and the rows links and Find read. Screens are compared as text, one line a row, '.'
// for an empty cell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "art/ansi_screen.h"
#include "art/document_reading.h"
#include "export/export_core.h"
#include "raster/ansi_raster.h"
#include "text/ansi_text.h"
#include "screen_text.h"

namespace {

AnsiScreen Screen(const std::string& text, int32_t columns = 80, bool ice = false) {
  AnsiOptions options;
  options.columns = columns;
  options.iceColours = ice;
  return InterpretAnsi(Bytes(text), text.size(), options);
}


TEST(AnsiScreen, RecordEndOfTextAndWidth) {
  // {file, expected screen, columns, cell height, iCE}
  const std::tuple<const char*, std::string, std::string, int32_t, int32_t, bool> cases[] = {
      {"0x1A ends the text", "AB\032CD", "AB|", 80, 16, false},
      {"record without 0x1A, comments", File("AB", 1, 1, 3, 0, "IBM VGA", 2), "AB|", 3, 16, false},
      {"record after 0x1A", File("ABCD\x1a", 1, 1, 3), "ABC|D|", 3, 16, false},
      {"width 1000", File("A", 1, 1, 1000), "A|", 1000, 16, false},
      {"width 1001 is 80", File("A", 1, 1, 1001), "A|", 80, 16, false},
      {"width 0 is 80", File("A", 1, 1, 0), "A|", 80, 16, false},
      {"only ANSi records give a width", File("A", 1, 0, 3, 1, "IBM VGA50"), "A|", 80, 8, true},
      {"iCE and a 50-line font", File("A", 1, 1, 3, 3, "IBM VGA50"), "A|", 3, 8, true},
      {"43 lines", File("A", 1, 1, 3, 0, "IBM EGA43"), "A|", 3, 8, false},
      {"50 lines, code page after", File("A", 1, 1, 3, 0, "IBM VGA50 437"), "A|", 3, 8, false},
      {"25 lines, code page after", File("A", 1, 1, 3, 0, "IBM VGA 850"), "A|", 3, 16, false},
      {"blanks after the name", File("A", 1, 1, 3, 0, "IBM VGA50   "), "A|", 3, 8, false},
      {"binary text names its font too", File("A", 5, 1, 3, 1, "IBM VGA50"), "A|", 80, 8, false},
      {"not a character record", File("A", 2, 1, 3, 1, "IBM VGA50"), "A|", 80, 16, false},
  };
  for (const auto& [what, file, screen, columns, height, ice] : cases) {
    SCOPED_TRACE(what);
    const SauceRecord sauce = ReadSauce(Bytes(file), file.size());
    const AnsiOptions options = AnsiOptionsFor(sauce);
    EXPECT_EQ(std::make_tuple(options.columns, options.cellHeight, options.iceColours),
              std::make_tuple(columns, height, ice));
    EXPECT_EQ(Dump(ReadAnsiScreen(Bytes(file), file.size())), screen);
  }
  EXPECT_FALSE(ReadSauce(Bytes("SAUCE00"), 7).present);
}

TEST(DocumentReading, WhichFilesAreScreens) {
  const std::string ansi = File("A", 1, 1), ascii = File("A", 1, 0);
  const std::tuple<const char*, std::string, bool> cases[] = {
      {"C:\\art\\X.ANS", "A", true},   {"x.Ans", "A", true}, {"x.ans.txt", "A", false},
      {"dir.ans\\readme", "A", false}, {"x.an", "A", false}, {"x.nfo", ansi, true},
      {"x.nfo", ascii, false},         {".ans", "", true},   {"x.ansi", "A", false},
  };
  for (const auto& [path, bytes, expected] : cases) {
    EXPECT_EQ(ChooseReading(path, Bytes(bytes), bytes.size(), true) == Reading::kAnsiScreen, expected)
        << path;
    EXPECT_EQ(ChooseReading(path, Bytes(bytes), bytes.size(), false), Reading::kTextLayout) << path;
  }
}

// The Open dialog's list as the user sees it, made from the table of formats.
TEST(DocumentReading, OpenDialogFilter) {
  const char expected[] =
      "All Recognized\0*.nfo;*.diz;*.ans;*.asc;*.xb;*.bin;*.adf;*.idf;*.tnd;*.pcb;*.avt;*.zip\0Nfo\0*.nfo\0"
      "Diz\0*.diz\0Ansi\0*.ans\0Ascii\0*.asc\0"
      "Scene formats (XBin, BinaryText, ADF, iCEDraw, TundraDraw, PCBoard, Avatar)\0"
      "*.xb;*.bin;*.adf;*.idf;*.tnd;*.pcb;*.avt\0"
      "ZIP packs (shown from their first art)\0*.zip\0Files(*.*)\0*.*\0";
  EXPECT_EQ(OpenDialogFilter("ZIP packs (shown from their first art)", "*.zip"),
            std::string(expected, sizeof expected - 1));
}

// The text layout's copy ends at the first zero byte, on a line feed.
TEST(DocumentReading, LaidOutTextEndsOnALineFeed) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "\n"}, {"AB", "AB\n"}, {"AB\n", "AB\n"}, {std::string("AB\0CD\r\n", 6), "AB\n"}, {"A\r", "A\r\n"}};
  for (const auto& [bytes, laidOut] : cases) {
    std::string out(bytes.size() + 1, '#');
    const int32_t length = LaidOutText(Bytes(bytes), bytes.size(), reinterpret_cast<uint8_t*>(&out[0]));
    EXPECT_EQ(out.substr(0, static_cast<size_t>(length)), laidOut);
    EXPECT_EQ(LaidOutLength(Bytes(bytes), bytes.size()), length);
  }
}

// Text, columns, then the screen.
TEST(AnsiScreen, TabsLineEndsWrappingCursorMovesAndErasing) {
  const std::tuple<std::string, int32_t, std::string> cases[] = {
      {"AB\rC", 80, "CB|"},
      {"AB\nC", 80, "AB|C|"},
      {"A\tB\tC", 80, "A.......B.......C|"},
      {"12345678\tB", 80, "12345678........B|"},
      {"AB\tC\tD", 10, "AB......CD|"},   // a tab stops at the last column
      {"A\r\n\r\n", 80, "A|"},           // rows end with the last one drawn on
      {"\033B\033\033[CC", 80, "B.C|"},  // a lone escape is dropped
      {"\x1b[32\rm", 80, "m|"},          // a sequence cut off by a control byte
      // Cursor moves stay on the screen.
      {"\x1b[3CA\x1b[2DB", 80, "..BA|"},
      {"\x1b[0CA\x1b[CB\x1b[DC", 80, ".A.C|"},          // 0 or nothing is 1
      {"AB\x1b[9DC", 80, "CB|"},                        // not left of column 0
      {"\x1b[100CA", 80, std::string(79, '.') + "A|"},  // nor right of the last
      {"\x1b[2BA\x1b[9AB", 80, ".B||A|"},               // nor above row 0
      {"\x1b[3;2HA\x1b[HB\x1b[;3HC\x1b[2fD\x1b[0;0HE", 80, "E.C|D|.A|"},
      {"\x1b[2;500HA", 80, "|" + std::string(79, '.') + "A|"},
      // Clearing (each clear empties the page), erasing, saving and restoring the cursor.
      {"\x1b[2BX\x1b[HAB\x1b[2JC\x1b[2J\x1b[3;2HD", 80, "||.D|"},
      {"ABCD\x1b[1JE\x1b[0JF\x1b[JG", 80, "ABCDEFG|"},  // only 2J clears
      {"ABCD\x1b[2D\x1b[KX", 80, "ABX|"},
      {"ABCD\x1b[2D\x1b[1KX", 80, "..XD|"},
      {"ABCD\x1b[2D\x1b[2KX", 80, "..X|"},
      {"\x1b[2;5H\x1b[sA\x1b[HB\x1b[uC", 80, "B|....C|"},
      {"AB\x1b[uC", 80, "CB|"},  // nothing saved: the home position
  };
  for (const auto& [text, columns, screen] : cases) EXPECT_EQ(Dump(Screen(text, columns)), screen) << text;
  // Erased cells take the background, until a clear: the cells on blue in rows 0 and 1.
  const AnsiScreen erased = Screen("\x1b[44m\x1b[K\x1b[2J\x1b[2;1H\x1b[K");
  int32_t blue[2] = {};
  for (int32_t i = 0; i < 160; ++i) blue[i / 80] += erased.At(i % 80, i / 80).colours == 0x47;
  EXPECT_EQ(std::make_pair(blue[0], blue[1]), std::make_pair(0, 80));
}

TEST(AnsiScreen, Colours) {
  // {sequences before X, iCE, X's colours: background << 4 | foreground}
  const std::tuple<std::string, bool, int> cases[] = {
      {"\x1b[1;1;31;44m", false, 0x49},         // a second 1 keeps bold
      {"\x1b[1;31;44m\x1b[;32m", false, 0x02},  // nothing reads 0
      {"\x1b[5;44m", false, 0xC7},              // bit 7: blink without iCE
      {"\x1b[1;5;7;31;44m\x1b[22;25;27;39;49m", true, 0x07},
      {"\x1b[1;7;31;44m", false, 0x1C},  // bold lights the colour in front
      {"\x1b[5;7;31;44m", true, 0x94},
      {"\x1b[91;104m", false, 0xC9},
      {"\x1b[2;3;4;6;8m", false, 0x07},  // changes nothing
      {"\x1b[38;5;9;48;5;4m", false, 0x49},
      {"\x1b[38;2;256;256;999m", false, 0x0F},
      {"\x1b[38;3;31m", false, 0x01},  // an unknown kind takes itself only
      {"\x1b[31m\x1b[38;5m", false, 0x01},
      {"\x1b[31;" + std::string(5000, '0') + "1m", false, 0x09},  // any length
      {"\x1b[" + std::string(3000, ';') + "32m", false, 0x02},    // any number of them
      {"\x1b[31\x1b[32m\x1b[1?m", false, 0x02},                   // a sequence of another kind
  };
  for (const auto& [sequences, ice, colours] : cases)
    EXPECT_EQ(Screen(sequences + "X", 80, ice).At(0, 0).colours, colours) << sequences.substr(0, 40);
}

// The exact colours of the first cell as "front/back" in hex, "-" where the palette's; "" when the screen
// keeps none.
std::string ExactOf(const AnsiScreen& screen) {
  if (screen.exactColours.empty()) return "";
  std::string text;
  for (const uint32_t colour : {screen.exactColours[0], screen.exactColours[1]}) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%06X", colour & 0xFFFFFF);
    text += (text.empty() ? "" : "/") + std::string(colour & kExactColour ? hex : "-");
  }
  return text;
}

TEST(AnsiScreen, ExactColours) {
  // {sequences before X, X's colours (the nearest of the 16), its exact colours}
  const std::tuple<std::string, int, std::string> cases[] = {
      {"\x1b[38;2;1;2;3;48;2;250;251;252m", 0xF0, "010203/FAFBFC"},
      {"\x1b[38;5;196;48;5;17m", 0x41, "FF0000/00005F"},   // the cube
      {"\x1b[38;5;232;48;5;255m", 0xF0, "080808/EEEEEE"},  // the greys
      {"\x1b[1;38;5;1;48;5;12m", 0xC9, ""},                // the 16 are indexes, bold brightening them
      {"\x1b[38;5;231;48;2;170;0;0m", 0x1F, ""},           // the palette's own colours need none
      {"\x1b[1;38;2;1;2;3m", 0x08, "010203/-"},            // bold leaves an exact colour as it is
      {"\x1b[7;1;38;2;1;2;3m", 0x08, "-/010203"},
      {"\x1b[1;10;20;30t\x1b[0;40;50;600t", 0xC0, "0A141E/2832FF"},  // PabloDraw's
      {"\x1b[2;10;20;30t\x1b[1;10t", 0x00, "0A0000/-"},
      // Resets drop them.
      {"\x1b[38;2;1;2;3;48;2;4;5;6m\x1b[39m", 0x07, "-/040506"},
      {"\x1b[38;2;1;2;3;48;2;4;5;6m\x1b[32;49m", 0x02, ""},
      {"\x1b[38;2;1;2;3;48;2;4;5;6m\x1b[m", 0x07, ""},
      // Clears and erases blank the exact colours too; an erase paints them.
      {"\x1b[48;2;1;2;3mAB\x1b[2J\x1b[0m", 0x07, ""},
      {"\x1b[48;2;1;2;3mAB\x1b[0m\x1b[2K\x1b[H", 0x07, ""},
      {"\x1b[48;2;1;2;3m\x1b[K\x1b[0m\x1b[C", 0x07, "-/010203"},
  };
  for (const auto& [sequences, colours, exact] : cases) {
    const AnsiScreen screen = Screen(sequences + "X");
    EXPECT_EQ(std::make_pair(int{screen.At(0, 0).colours}, ExactOf(screen)), std::make_pair(colours, exact))
        << sequences.substr(1);
  }
}

TEST(AnsiScreen, HostileFilesStayWithinThePage) {
  // Far down: nothing kept, nothing allocated.
  const AnsiScreen far = Screen("\x1b[999999999999999BX\x1b[99999999;99999999HY\r\nZ");
  EXPECT_EQ(std::make_pair(far.rows, far.cells.size()), std::make_pair(0, size_t{0}));
  // The last row a page keeps, and the one after it.
  const int32_t limit = AnsiRowLimit(1000, 16);
  const AnsiScreen tall = Screen("\x1b[" + std::to_string(limit) + "HX\r\nY", 1000);
  EXPECT_EQ(std::make_pair(tall.rows, tall.At(0, limit - 1).character), std::make_pair(limit, uint8_t{'X'}));
  // Exact colours keep the rows of a 32-bit page, drawn before them or after.
  const int32_t exactLimit = AnsiRowLimit(80, 16, 32);
  const std::string below = "\x1b[" + std::to_string(exactLimit + 1) + "HB";
  EXPECT_EQ(Screen("\x1b[38;2;1;2;3mA" + below).rows, 1);
  EXPECT_EQ(Screen(below + "\x1b[H\x1b[38;2;1;2;3mA").rows, exactLimit);
  // Cut sequences at the end of the text do nothing.
  for (const char* text : {"A\x1b", "A\x1b[", "A\x1b[12;", "A\x1b[38;2;1"})
    EXPECT_EQ(Dump(Screen(text)), "A|");
}

TEST(AnsiScreen, PageAndCopiedText) {
  static const char kText[] = "\x1b[1;31;44mA\x1b[0m\xdb\r\n\x1b[42m \0Z";
  const AnsiScreen screen = Screen(std::string(kText, sizeof kText - 1), 3);
  const AnsiPageSize page = AnsiPageSizeOf(screen);
  std::vector<uint8_t> pixels(static_cast<size_t>(page.stride) * page.height, 0xEE);
  RasteriseAnsi(screen, pixels.data());
  // The full block in grey, an empty cell, a blank and a NUL on green.
  const size_t at[] = {5 * 12 + 4, 5 * 12 + 8, 21 * 12, 21 * 12 + 4};
  EXPECT_EQ(std::vector<int>({pixels[at[0]], pixels[at[1]], pixels[at[2]], pixels[at[3]]}),
            std::vector<int>({0x77, 0x00, 0x22, 0x22}));
  // A band from row 1: that row as on the page, the row past the screen left alone.
  std::vector<uint8_t> band(pixels.size(), 0xEE);
  RasteriseAnsiRows(screen, 1, 2, band.data());
  const size_t half = pixels.size() / 2;
  EXPECT_TRUE(std::equal(band.begin(), band.begin() + half, pixels.begin() + half));
  EXPECT_EQ(std::count(band.begin() + half, band.end(), 0xEE), half);

  char out[kSelectionTextSize];
  EXPECT_EQ(JoinCellRows(AnsiCharacters(screen), CellSpan{0, 0, 5, 2}, out, sizeof out), 7);
  EXPECT_STREQ(out, "A\xdb\r\n  Z");
}

// The rows links and Find read: '.' an empty cell, '+' before a wrapped row.
TEST(AnsiScreen, ShownRowsWrapOnlyWhereTheLastColumnMovedTheCursor) {
  const std::pair<std::string, std::string> cases[] = {
      {"ABCDE", "ABC|+DE|"},     {"AB DE", "AB |DE|"},  // a blank in the last column ends the line
      {"ABC\r\nD", "ABC|+|D|"},  {"\x1b[2;1HX", "|X|"}, {std::string("A\0B", 3), "A.B|"},
      {"A\x1b[44m\x1b[K", "A|"},  // erased cells hold nothing
  };
  for (const auto& [text, want] : cases) {
    std::string got;
    for (const ShownRow& row : AnsiShownRows(Screen(text, 3))) {
      got += row.wrapped ? "+" : "";
      for (const uint8_t c : row.cells) got += c == 0 ? '.' : static_cast<char>(c);
      got += "|";
    }
    EXPECT_EQ(got, want) << text;
  }
}

}  // namespace

// Exact colours reach the export's page as they are: 32 bits a pixel, where 16 colours do not suffice.
TEST(ExportPage, ExactColoursAsTheyAre) {
  const std::string art = "\x1b[38;2;10;20;30m\xdb\x1b[38;5;100m\xdb";
  Document document;
  ReadDocument("x.ans", ReadFromMemory(Bytes(art), art.size()), {true, {}}, document);
  ExportPage page;
  ASSERT_TRUE(DrawExportPage(document, GlyphPixels{}, 0, page));
  ASSERT_EQ(page.rows.format, PixelFormat::kBgrx32);
  const auto pixel = [&page](int x) {
    const uint8_t* p = page.rows.pixels + page.rows.stride * 4 + 4 * static_cast<size_t>(x);
    return std::make_tuple(p[2], p[1], p[0]);
  };
  EXPECT_EQ(pixel(4), std::make_tuple(10, 20, 30));
  EXPECT_EQ(pixel(12), std::make_tuple(135, 135, 0));  // the xterm cube's 100
}
