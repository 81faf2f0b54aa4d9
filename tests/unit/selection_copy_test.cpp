// The selection's rectangle and copied text; the names in sheet .ini files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/font_sheet_list.h"
#include "render/layout_interpreter.h"
#include "render/selection_copy.h"

namespace {

TEST(Selection, RectangleAndCopiedText) {
  std::string doc;  // rows "L00-aaa..." of 45 bytes, row 2 "ab"; CR LF ends
  for (int i = 0; i < 14; ++i) {
    doc +=
        (i == 2 ? "ab" : "L" + std::to_string(100 + i).substr(1) + "-" + std::string(41, 'a' + i)) + "\r\n";
  }
  std::vector<int32_t> table(kLineTableSize, 5);  // what an earlier document left
  const int32_t rows = MeasureLayout(reinterpret_cast<const uint8_t*>(doc.data()),
                                     static_cast<int32_t>(doc.size()), table.data())
                           .rowCount;
  struct Case {
    const char* what;
    int32_t zoom, viewColumns, x0, y0, x1, y1, scrolled, pageRows;
    std::string box, text;
  };
  // clang-format off
  const Case cases[] = {
      {"zoom 8 example", 8, 90, 12, 12, 36, 28, 0, rows, "10 10 34 26", "L00\r\nL01"},
      {"reverse drag", 8, 90, 36, 28, 12, 12, 0, rows, "10 10 34 26", "L00\r\nL01"},
      {"scrolled 10 rows", 8, 90, 12, 12, 36, 20, 10, rows, "10 10 34 18", "L10"},
      {"wider than a short row", 8, 90, 12, 28, 60, 36, 0, rows, "10 26 58 34", "ab\r\nL0"},
      {"from the margin", 8, 90, 3, 4, 36, 20, 0, rows, "10 10 34 18", "L00"},
      {"zoom 3", 3, 90, 14, 14, 23, 20, 0, rows, "13 13 22 19", "01-\r\nb\r\n"},
      {"zoom 15, a quarter cell early", 15, 90, 22, 12, 71, 26, 0, rows, "25 10 70 25", "00-"},
      {"rows past the document", 8, 90, 12, 12, 36, 44, 13, rows, "10 10 34 42", "L13\r\n"},
      {"rows past the table", 8, 90, 12, 12, 36, 44, kLineTableSize - 2, 20000, "10 10 34 42", "aaa"},
  };
  // clang-format on
  char out[kSelectionTextSize];
  for (const Case& c : cases) {
    const SelectionGrid grid{c.zoom, c.zoom, c.viewColumns, 90};
    const SelectionPoint end = SnapToCell(c.x1, c.y1, grid);
    const CellSpan cells = SelectedCells(SnapToCell(c.x0, c.y0, grid), {end.x + 2, end.y + 2}, grid);
    const SelectionBox b = CellSpanBox(cells, grid);
    EXPECT_EQ(std::to_string(b.left) + " " + std::to_string(b.top) + " " + std::to_string(b.right) + " " +
                  std::to_string(b.bottom),
              c.box)
        << c.what;
    CopySelectedText({doc.c_str(), table.data(), c.pageRows, c.scrolled}, cells, out, sizeof out);
    EXPECT_EQ(out, c.text) << c.what;
  }
  // A large rectangle: exactly the first 1023 characters of the joined rows.
  EXPECT_EQ(CopySelectedText({doc.c_str(), table.data(), rows, 0}, {0, 0, 91, 14}, out, sizeof out), 1023);
  EXPECT_EQ(std::string(out, 93), doc.substr(0, 91) + "\r\n");
}

TEST(FontDisplayName, FirstBytesOfTheIni) {
  const std::string cases[][2] = {{"Blocky\r\n", "Blocky"},
                                  {"Blocky", "Block"},
                                  {"A\r\nB\r\n", "A\r\nB"},
                                  {"", ""},
                                  {{"ab\0c\r\n", 6}, "a"}};
  for (const auto& c : cases)
    EXPECT_EQ(FontDisplayName(c[0].data(), static_cast<int32_t>(c[0].size())), c[1]);
}

}  // namespace
