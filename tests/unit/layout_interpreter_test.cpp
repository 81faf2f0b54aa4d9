// The layout interpreter: 92-cell rows, tabs, line breaks and the cursor subset of ANSI escape sequences. A
// recording sink shows where bytes are drawn; MeasureLayout gives the page in cells and the row starts.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "art/layout_interpreter.h"
#include "art/page_limits.h"

namespace {

// Records "Bc,r " for every drawn byte but the filler '.', so that the cases can pad rows with dots.
struct Recorder : MeasureSink {
  Recorder() : MeasureSink(nullptr) {}
  std::string trace;
  void Draw(uint8_t b, int32_t column, int32_t row) {
    if (b != '.') trace += static_cast<char>(b) + std::to_string(column) + "," + std::to_string(row) + " ";
  }
};

const uint8_t* Bytes(const std::string& text) { return reinterpret_cast<const uint8_t*>(text.data()); }

PageMeasure Measure(const std::string& text, int32_t* lineTable = nullptr) {
  return MeasureLayout(Bytes(text), static_cast<int32_t>(text.size()), lineTable);
}

std::string Repeat(const std::string& part, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += part;
  return text;
}

TEST(Layout, WhereBytesAreDrawn) {
  const std::string limit = std::to_string(kCursorLimit);
  const std::pair<std::string, std::string> cases[] = {
      // Tabs go to the next multiple of 8 above |column|.
      {std::string(8, '.') + "\tX", "X16,0 "},
      {"\x1b[9D\tX", "X16,0 "},
      // 92 cells a row; a blank in the last one returns to the same row.
      {std::string(91, '.') + "W" + std::string(7, '.') + "Z", "W91,0 Z7,1 "},
      {std::string(91, '.') + " XY", " 91,0 X0,0 Y1,0 "},
      // Colours and modes are read and ignored, however long. C and D add every parameter (an empty one reads
      // 0, 7 characters are kept); H takes the last two, 1-based; A moves up and left.
      {"\x1b[1;33;40;5;7;1;33;40mX", "X0,0 "},
      {"\x1b[2J\x1b[K\x1b[?7h\x1b[0pX", "X0,0 "},
      {"\x1b[CX", "X0,0 "},
      {"\x1b[2;1 2CX", "X5,0 "},
      {"\x1b[3DX", "X-3,0 "},
      {"\x1b[12345678CX", "X1234567,0 "},
      {"\x1b[7HX", "X0,8 "},
      {"\x1b[1;2;3HX", "X3,4 "},
      {std::string(3, '.') + "\x1b[5AX", "X2,-1 "},
      {".." + std::string("\x1b[s.\n..\x1b[uX"), "X2,0 "},
      {"..\x1b[uX", "X0,0 "},
      // A byte that is no final letter is drawn, empties the parameters and
      // leaves the sequence open: later digits are swallowed until a final.
      {"\x1b[2B7 Hi", "B0,0 i8,1 "},
      // A lone escape and a form feed are dropped.
      {"\x1bXY", "X0,0 Y1,0 "},
      {"A\fB", "A0,0 B1,0 "},
      // However far it is moved, the cursor stays within the limit.
      {Repeat("\x1b[9999999C", 300) + "X", "X" + limit + ",0 "},
      {Repeat("\x1b[9999999D", 300) + "X", "X-" + limit + ",0 "},
      {Repeat("\x1b[9999999D", 300) + "\tX", "X" + limit + ",0 "},
  };
  for (const auto& [text, trace] : cases) {
    Recorder r;
    RunLayoutPass(Bytes(text), static_cast<int32_t>(text.size()), r);
    EXPECT_EQ(r.trace, trace) << testing::PrintToString(text);
  }
}

TEST(MeasureLayout, PageAndRowStarts) {
  // Text, the page in cells (it covers every examined cell from row and
  // column 0 on) and row table entries 0 to 3 (r + 1 is where row r starts).
  const std::tuple<std::string, std::pair<int32_t, int32_t>, std::vector<int32_t>> cases[] = {
      {"abc\r\ndef\r\n", {4, 3}, {0, 0, 5, 10}},
      {"ab\rcd\n", {3, 2}, {0, 0, 3, 6}},
      {"a\n\rb\n", {2, 3}, {0, 0, 2, 3}},
      {std::string(92, '.') + "\r\n", {92, 3}, {0, 0, 92, 94}},  // a break after a full row leaves it empty
      // A tab past the last column widens the page.
      {std::string(90, '.') + "\tX\n", {97, 2}, {0, 0, 92, 93}},
      {std::string(91, '.') + " X\n", {92, 1}, {0, 92, 94, -7}},  // the blank in column 91 starts row 0 again
      {"\x1b[A\x1b[A\n\n", {1, 1}, {0, 8, -7, -7}},               // rows above the page have no entry
  };
  for (const auto& c : cases) {
    std::vector<int32_t> table(kLineTableSize, -7);
    const PageMeasure m = Measure(std::get<0>(c), table.data());
    const std::vector<int32_t> entries(table.begin(), table.begin() + 4);
    EXPECT_EQ(std::make_tuple(std::get<0>(c), std::make_pair(m.columnCount, m.rowCount), entries), c);
  }
  // Rows past the table have no entry: 16001 line feeds fill it to row 15998.
  std::vector<int32_t> guarded(kLineTableSize + 1, -7);
  Measure(std::string(kLineTableSize + 1, '\n'), guarded.data());
  EXPECT_EQ(std::make_pair(guarded[kLineTableSize - 1], guarded.back()),
            std::make_pair(kLineTableSize - 2, -7));
}

TEST(PagePixelSize, FitsIn32Bits) {
  // 30 moves of 9,999,999 columns pass 2^28 columns, where 8 pixels a cell no longer fit 32 bits; far down at
  // 32 bits a pixel the page's memory (160 MB) cuts the rows. A page without columns has no rows.
  const std::string wide = Repeat("\x1b[9999999C", 30) + "x\n";
  const PagePixels shallow = PagePixelSize(Measure(wide), 1),
                   deep = PagePixelSize(Measure("\x1b[9999999H" + wide), 32);
  EXPECT_EQ(std::make_pair(shallow.width, shallow.height), std::make_pair(8 * kMaxPageColumns, 16));
  EXPECT_EQ(std::make_pair(deep.width, deep.height), std::make_pair(8 * kMaxPageColumns, 1280));
  EXPECT_EQ(PagePixelSize(PageMeasure{0, 5}, 1).height, 0);
}

}  // namespace
