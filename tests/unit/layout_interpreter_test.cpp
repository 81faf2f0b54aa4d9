// The layout interpreter: 92-cell rows, tabs, line breaks and the cursor
// subset of ANSI escape sequences. A recording sink shows where bytes are
// drawn; MeasureLayout gives the page in cells and the row starts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/layout_interpreter.h"
#include "render/page_limits.h"

namespace {

// Records "Bc,r " for every drawn byte except the filler '.', so that the
// cases below can pad rows with dots and still read short.
struct Recorder {
  std::string trace;
  int drawCount = 0;
  void Examine(int32_t, int32_t) {}
  void Draw(uint8_t b, int32_t column, int32_t row) {
    ++drawCount;
    if (b != '.') trace += static_cast<char>(b) + std::to_string(column) + "," + std::to_string(row) + " ";
  }
  void RowStart(int32_t, int32_t) {}
};

const uint8_t* Bytes(const std::string& text) { return reinterpret_cast<const uint8_t*>(text.data()); }

Recorder Layout(const std::string& text) {
  Recorder r;
  RunLayoutPass(Bytes(text), static_cast<int32_t>(text.size()), r);
  return r;
}

PageMeasure Measure(const std::string& text, int32_t* lineTable = nullptr) {
  return MeasureLayout(Bytes(text), static_cast<int32_t>(text.size()), lineTable);
}

std::string Dots(int n) { return std::string(n, '.'); }

std::string Repeat(const std::string& part, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += part;
  return text;
}

TEST(Layout, WhereBytesAreDrawn) {
  const std::pair<std::string, std::string> cases[] = {
      // Tabs go to the next multiple of 8 above |column|; past column 91 the
      // byte is drawn where the cursor is and the row wraps.
      {"\tX", "X8,0 "},
      {Dots(8) + "\tX", "X16,0 "},
      {Dots(90) + "\tXY", "X96,0 Y0,1 "},
      {"\x1b[9D\tX", "X16,0 "},
      // 92 cells a row; a blank in the last one returns to the same row.
      {Dots(91) + "W" + Dots(7) + "Z", "W91,0 Z7,1 "},
      {Dots(92) + "\r\nZ", "Z0,2 "},
      {Dots(91) + " XY", " 91,0 X0,0 Y1,0 "},
      {"a\rX", "a0,0 X0,1 "},
      {"a\r\nX", "a0,0 X0,1 "},
      {"a\n\rX", "a0,0 X0,2 "},
      // Sequences: colours and modes are read and ignored; C and D add
      // every parameter; H takes the last two, 1-based; A moves up and left.
      {"A\x1b[1;33;40mB", "A0,0 B1,0 "},
      {"\x1b[1;33;40;5;7;1;33;40mX", "X0,0 "},
      {"\x1b[2J\x1b[K\x1b[?7h\x1b[0pX", "X0,0 "},
      {"\x1b[CX", "X0,0 "},
      {"\x1b[2;3CX", "X5,0 "},
      {"\x1b[1 2CX", "X3,0 "},
      {"\x1b[3DX", "X-3,0 "},
      {"\x1b[12345678CX", "X1234567,0 "},
      {"\x1b[10;20HX", "X11,21 "},
      {"\x1b[7HX", "X0,8 "},
      {"\x1b[HX", "X0,1 "},
      {"\x1b[1;2;3HX", "X3,4 "},
      {Dots(3) + "\x1b[5AX", "X2,-1 "},
      {".." + std::string("\x1b[s.\n..\x1b[uX"), "X2,0 "},
      {"..\x1b[uX", "X0,0 "},
      // A byte that is no final letter is drawn, empties the parameters and
      // leaves the sequence open: later digits are swallowed until a final.
      {"\x1b[2B7 Hi", "B0,0 i8,1 "},
      {"\x1b[5x3CY", "x0,0 Y4,0 "},
      {"\x1b[5\x1b[3CX", "X3,0 "},
      // A lone escape and a form feed are dropped.
      {"\x1bXY", "X0,0 Y1,0 "},
      {"A\fB", "A0,0 B1,0 "},
  };
  for (const auto& [text, trace] : cases)
    EXPECT_EQ(Layout(text).trace, trace) << testing::PrintToString(text);
  for (int b = 1; b <= 255; ++b) {
    const bool drawn = b != 9 && b != 10 && b != 12 && b != 13 && b != 27;
    EXPECT_EQ(Layout(std::string(1, static_cast<char>(b))).drawCount, drawn ? 1 : 0) << "byte " << b;
  }
}

TEST(MeasureLayout, PageSize) {
  struct Case {
    const char* what;
    std::string text;
    int32_t columns, rows;
  };
  const std::string line80(80, 'x');
  const Case cases[] = {
      {"line feed examined in column 2", "AB\n", 3, 1},
      {"25 CR LF lines: the last LF is on row 25", Repeat(line80 + "\r\n", 25), 81, 26},
      {"25 LF lines", Repeat(line80 + "\n", 25), 81, 25},
      {"92 cells then CR LF", Dots(92) + "\r\n", 92, 3},
      {"tab past the last column", Dots(90) + "\tX\n", 97, 2},
      {"negative cells do not count", "\x1b[3D\x1b[A\n", 1, 1},
      {"cursor far out", "\x1b[10;20HX\n", 13, 22},
  };
  for (const Case& c : cases) {
    const PageMeasure m = Measure(c.text);
    EXPECT_EQ(m.columnCount, c.columns) << c.what;
    EXPECT_EQ(m.rowCount, c.rows) << c.what;
  }
  Measure("X\x1b[12");  // a pass that ends inside a sequence leaves nothing open
  EXPECT_EQ(Measure("5C\n").columnCount, 3);
}

TEST(MeasureLayout, RowStartsStayInsideTheTable) {
  const std::pair<std::string, std::vector<int32_t>> cases[] =
      {
          // entries 0 to 3
          {"abc\r\ndef\r\n", {0, 0, 5, 10}},    {"abc\ndef\n", {0, 0, 4, 8}},
          {"ab\rcd\n", {0, 0, 3, 6}},           {Dots(100) + "\n", {0, 0, 92, 101}},
          {Dots(91) + " X\n", {0, 92, 94, -7}},  // the blank re-records row 0
      };
  for (const auto& [text, entries] : cases) {
    std::vector<int32_t> table(kLineTableSize, -7);
    Measure(text, table.data());
    EXPECT_EQ(std::vector<int32_t>(table.begin(), table.begin() + 4), entries)
        << testing::PrintToString(text);
  }
  constexpr int32_t kCanary = 0x5a5a5a5a;
  std::vector<int32_t> guarded(kLineTableSize + 2, kCanary);
  int32_t* table = guarded.data() + 1;
  Measure("\x1b[A\x1b[A\n\n", table);  // rows -1 then 0
  EXPECT_EQ(table[1], 8);
  Measure(std::string(kLineTableSize + 1, '\n'), table);     // rows 1 to 16001
  EXPECT_EQ(table[kLineTableSize - 1], kLineTableSize - 2);  // row 15998
  EXPECT_EQ(guarded.front(), kCanary);
  EXPECT_EQ(guarded.back(), kCanary);
}

TEST(Layout, CursorIsClampedAndPageSizesFit32Bits) {
  const std::string right = Repeat("\x1b[9999999C", 300), left = Repeat("\x1b[9999999D", 300);
  EXPECT_EQ(Layout(right + "X").trace, "X" + std::to_string(kCursorLimit) + ",0 ");
  EXPECT_EQ(Layout(left + "X").trace, "X" + std::to_string(-kCursorLimit) + ",0 ");
  EXPECT_EQ(Layout(left + "\tX").trace, "X" + std::to_string(kCursorLimit) + ",0 ");
  // 30 moves of 9,999,999 columns pass 2^28 columns, where 8 pixels a cell
  // no longer fit 32 bits; far down at 32 bits a pixel the page's memory
  // cuts the rows.
  const PageMeasure wide = Measure(Repeat("\x1b[9999999C", 30) + "x\n");
  ASSERT_GT(wide.columnCount, 1 << 28);
  const PagePixels pixels = PagePixelSize(wide, 1);
  EXPECT_EQ(pixels.width, 8 * kMaxPageColumns);
  EXPECT_EQ(pixels.height, 16);
  const PagePixels deep = PagePixelSize(Measure("\x1b[9999999H" + Repeat("\x1b[9999999C", 30) + "x\n"), 32);
  EXPECT_EQ(deep.width, 8 * kMaxPageColumns);
  EXPECT_GT(deep.height, 0);
  EXPECT_LE(int64_t{deep.width} * deep.height * 4, kMaxPageBytes);
  EXPECT_EQ(PagePixelSize(PageMeasure{0, 5}, 1).height, 0);
}

}  // namespace
