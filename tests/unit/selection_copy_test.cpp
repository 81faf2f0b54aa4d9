// The selection's rectangle and copied text; the names in sheet .ini files.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "view/font_sheet_list.h"
#include "art/layout_interpreter.h"
#include "art/page_limits.h"
#include "text/selection_copy.h"

namespace {

// The page's cells of `doc`, as the window collects them after a render.
ShownRows Page(const std::string& doc) {
  const auto* text = reinterpret_cast<const uint8_t*>(doc.data());
  const auto length = static_cast<int32_t>(doc.size());
  const PageMeasure page = LimitPageSize(MeasureLayout(text, length, nullptr), 1);
  return CollectShownRows(text, length, page.columnCount, page.rowCount);
}

// A drag's rectangle, and the text it copies: what the selected cells show, never the bytes behind them.
TEST(Selection, RectangleAndCopiedText) {
  std::string doc, rows80;  // rows "L10-aaa..." of 45 bytes, row 2 "ab"; CR LF ends: 15 page rows
  for (int i = 0; i < 14; ++i)
    doc += (i == 2 ? "ab" : "L" + std::to_string(10 + i) + "-" + std::string(41, 'a' + i)) + "\r\n";
  for (int i = 0; i < 30; ++i) rows80 += std::string(80, 'x') + "\r\n";
  // {what, document, cell width and height on screen, press, release, rows scrolled, box, text}
  // clang-format off
  const std::tuple<const char*, std::string, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                   std::vector<int32_t>, std::string> cases[] = {
      {"back into the margin", doc, 8, 8, 36, 28, 3, 4, 0, {10, 10, 34, 26}, "L10\r\nL11"},
      {"wider than a short row", doc, 8, 8, 12, 28, 60, 36, 0, {10, 26, 58, 34}, "ab"},
      {"zoom 15, a quarter cell early", doc, 15, 15, 22, 12, 71, 26, 0, {25, 10, 70, 25}, "10-"},
      {"rows past the document", doc, 8, 8, 12, 12, 36, 44, 13, {10, 10, 34, 42}, "L23\r\n"},
      {"cells of 8 x 16 (an ANSI screen's)", doc, 8, 16, 12, 12, 36, 44, 0, {10, 10, 34, 42}, "L10\r\nL11"},
      {"a sequence is not copied", "\x1b[4000C#\n", 8, 8, 12, 12, 732, 20, 0, {10, 10, 730, 18}, ""},
      {"gaps are blanks", "a\tb\x1b[2Cc  \n", 8, 8, 12, 12, 172, 20, 0, {10, 10, 170, 18}, "a       b  c  "},
      {"the last byte drawn wins", "\x1b[sabc\x1b[uXY\n", 8, 8, 20, 12, 60, 20, 0, {18, 10, 58, 18}, "Yc"},
      {"cursor moves", "ab\x1b[Hxy\rcd\x1b[Aef\n", 8, 8, 12, 12, 44, 84, 1, {10, 10, 42, 82}, "xef\r\ncd"},
      {"cut at 1023", rows80, 8, 8, 12, 12, 740, 252, 0, {10, 10, 738, 250}, rows80.substr(0, 1023)},
  };
  // clang-format on
  char out[kSelectionTextSize];
  for (const auto& [what, document, cellWidth, cellHeight, x0, y0, x1, y1, scrolledRows, box, text] : cases) {
    const SelectionGrid grid{cellWidth, cellHeight, 100, 90};
    const SelectionPoint end = SnapToCell(x1, y1, grid);
    const CellSpan cells = SelectedCells(SnapToCell(x0, y0, grid), {end.x + 2, end.y + 2}, grid);
    const SelectionBox b = CellSpanBox(cells, grid);
    EXPECT_EQ(std::vector<int32_t>({b.left, b.top, b.right, b.bottom}), box) << what;
    EXPECT_EQ(CopySelectedText(Page(document), scrolledRows, cells, out, sizeof out),
              static_cast<int32_t>(text.size()))
        << what;
    EXPECT_EQ(out, text) << what;
  }
}

// The first line of the bytes read; the Keymap text doubles each '&', which would mark a key.
TEST(FontDisplayName, FirstLineOfTheIniAndItsMenuText) {
  const std::pair<std::string, std::string> cases[] = {{"A\r\nB\r\n", "A"},
                                                       {"Blocky", "Blocky"},
                                                       {"Line\nbreak\r\n", "Line"},
                                                       {"R&B && co\r", "R&B && co"},
                                                       {"", ""},
                                                       {{"ab\0c\r\n", 6}, "ab"}};
  for (const auto& [bytes, name] : cases)
    EXPECT_EQ(FontDisplayName(bytes.data(), static_cast<int>(bytes.size())), name) << name;
  EXPECT_EQ(FontMenuText(3, "R&B && co"), "3. R&&B &&&& co");
}

}  // namespace
