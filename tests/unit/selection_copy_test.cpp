// The selection's rectangle and copied text; the names in sheet .ini files.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "render/font_sheet_list.h"
#include "render/layout_interpreter.h"
#include "render/selection_copy.h"

namespace {

TEST(Selection, RectangleAndCopiedText) {
  std::string doc;  // rows "L10-aaa..." of 45 bytes, row 2 "ab"; CR LF ends: 15 page rows
  for (int i = 0; i < 14; ++i)
    doc += (i == 2 ? "ab" : "L" + std::to_string(10 + i) + "-" + std::string(41, 'a' + i)) + "\r\n";
  std::vector<int32_t> table(kLineTableSize, 5);  // what an earlier document left
  MeasureLayout(reinterpret_cast<const uint8_t*>(doc.data()), static_cast<int32_t>(doc.size()), table.data());
  const std::tuple<const char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                   std::vector<int32_t>, std::string>
      cases[] = {
          {"back into the margin", 8, 36, 28, 3, 4, 0, 15, {10, 10, 34, 26}, "L10\r\nL11"},
          {"wider than a short row", 8, 12, 28, 60, 36, 0, 15, {10, 26, 58, 34}, "ab\r\nL1"},
          {"zoom 15, a quarter cell early", 15, 22, 12, 71, 26, 0, 15, {25, 10, 70, 25}, "10-"},
          {"rows past the document", 8, 12, 12, 36, 44, 13, 15, {10, 10, 34, 42}, "L23\r\n"},
          {"rows past the table", 8, 12, 12, 36, 44, kLineTableSize - 2, 20000, {10, 10, 34, 42}, "aaa"},
      };
  char out[kSelectionTextSize];
  for (const auto& [what, zoom, x0, y0, x1, y1, scrolledRows, pageRows, box, text] : cases) {
    const SelectionGrid grid{zoom, zoom, 90, 90};
    const SelectionPoint end = SnapToCell(x1, y1, grid);
    const CellSpan cells = SelectedCells(SnapToCell(x0, y0, grid), {end.x + 2, end.y + 2}, grid);
    const SelectionBox b = CellSpanBox(cells, grid);
    EXPECT_EQ(std::vector<int32_t>({b.left, b.top, b.right, b.bottom}), box) << what;
    CopySelectedText({doc.c_str(), table.data(), pageRows, scrolledRows}, cells, out, sizeof out);
    EXPECT_EQ(out, text) << what;
  }
  EXPECT_EQ(CopySelectedText({doc.c_str(), table.data(), 15, 0}, {0, 0, 91, 14}, out, sizeof out), 1023);
}

// The first line of the bytes read, and the Keymap text it gives as sheet 3.
TEST(FontDisplayName, FirstLineOfTheIniAndItsMenuText) {
  const std::string cases[][3] = {
      {"A\r\nB\r\n", "A", "3. A"},
      {"Blocky", "Blocky", "3. Blocky"},
      {"Line\nbreak\r\n", "Line", "3. Line"},
      {"R&B && co\r", "R&B && co", "3. R&&B &&&& co"},
      {"", "", "3. "},
      {{"ab\0c\r\n", 6}, "ab", "3. ab"},
  };
  for (const auto& [bytes, name, item] : cases) {
    EXPECT_EQ(FontDisplayName(bytes.data(), static_cast<int>(bytes.size())), name);
    EXPECT_EQ(FontMenuText(3, name), item);
  }
}

}  // namespace
