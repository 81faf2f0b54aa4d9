// Window layout, scroll steps, the wheel's rows and the start zoom, as plain arithmetic over sizes. The work
// area is 1024 x 768 unless a case says otherwise, so L (the tallest view) is 688.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <vector>

#include "core/scroll_steps.h"
#include "core/window_geometry.h"

namespace {

TEST(ComputeWindowLayout, EdgeCases) {
  const int32_t most = INT32_MAX;
  // {what; page, zoom (cell width), page cell height, work area (left, top, right, bottom), stored left and
  // top; view, source: width, height; scroll bar; window left, top, width, height; cell height; scroll range}
  // clang-format off
  const std::tuple<const char*, LayoutInput, std::vector<int32_t>> cases[] = {
      {"25 CR LF lines of 80: 81 x 26 cells", {648, 208, 8, 8, 0, 0, 1024, 768, 0, 0}, {648, 208, 648, 208, 0, 0, 0, 678, 288, 8, 208}},
      {"wider than the work area leaves room for the margin", {1600, 80, 8, 8, 0, 0, 1024, 768, 0, 0}, {994, 80, 992, 80, 0, 0, 0, 1024, 160, 8, 80}},
      {"empty page is 200 x 8", {0, 0, 8, 8, 0, 0, 1024, 768, 0, 0}, {200, 8, 200, 8, 0, 0, 0, 230, 88, 8, 0}},
      {"height exactly L gets a bar", {640, 688, 8, 8, 0, 0, 1024, 768, 0, 0}, {640, 688, 640, 688, 1, 0, 0, 688, 768, 8, 688}},
      {"taller page is cut to L", {640, 8000, 5, 8, 0, 0, 1024, 768, 0, 0}, {400, 688, 640, 1096, 1, 0, 0, 448, 768, 5, 5000}},
      {"negative position (a minimised window's) becomes 0", {648, 208, 8, 8, 0, 0, 1024, 768, -32000, -7}, {648, 208, 648, 208, 0, 0, 0, 678, 288, 8, 208}},
      {"largest stored place", {648, 208, 8, 8, 0, 0, 1024, 768, most, most}, {648, 208, 648, 208, 0, 346, 480, 678, 288, 8, 208}},
      {"largest page at zoom 15: the bar stays inside", {most, most, 15, 8, 0, 0, 1024, 768, most, 0}, {976, 688, 520, 360, 1, 0, 0, 1024, 768, 15, most}},
      {"work area of a second monitor, left and above", {648, 208, 8, 8, -1280, -200, 0, 824, 0, 900}, {648, 208, 648, 208, 0, -678, 536, 678, 288, 8, 208}},
      {"below a top task bar", {648, 208, 8, 8, 0, 40, 1024, 768, 100, 0}, {648, 208, 648, 208, 0, 100, 40, 678, 288, 8, 208}},
      {"zoom 5 keeps the shape: 5 x 10, whole rows in view", {640, 16000, 5, 16, 0, 0, 1024, 768, 0, 0}, {400, 688, 640, 1088, 1, 0, 0, 448, 768, 10, 10000}},
      {"work area smaller than any view", {648, 208, 8, 8, 0, 0, 100, 50, 30, 30}, {52, 0, 48, 0, 1, 0, 0, 100, 80, 8, 208}},
      {"9-pixel cells 22 high at zoom 5: 6 x 14, whole cells both ways", {720, 550, 5, 22, 0, 0, 1024, 768, 0, 0, 9}, {480, 350, 720, 550, 0, 0, 0, 510, 430, 14, 350, 6}},
      {"a font's 14 rows at zoom 1: 1 x 2", {640, 1400, 1, 14, 0, 0, 1024, 768, 0, 0}, {200, 200, 1600, 1400, 0, 0, 0, 230, 280, 2, 200}},
  };
  // clang-format on
  for (const auto& [what, in, want] : cases) {
    const LayoutResult r = ComputeWindowLayout(in);
    const std::vector<int32_t> got = {r.viewWidth,    r.viewHeight, r.sourceWidth,  r.sourceHeight,
                                      r.scrollBar,    r.windowLeft, r.windowTop,    r.windowWidth,
                                      r.windowHeight, r.cellHeight, r.scrollMaximum};
    // The column width only where a case gives it.
    EXPECT_EQ(got, std::vector<int32_t>(want.begin(), want.begin() + 11)) << what;
    if (want.size() > 11) {
      EXPECT_EQ(r.columnWidth, want[11]) << what;
    }
  }
}

TEST(ScrollStep, Codes) {
  // A page of 800 pixels with 200 pixels in view: 100 rows of 8, 50 of 16.
  struct Case {
    const char* what;
    int32_t scrollY, page, cell, row, thumbRow, code, thumb;  // page, cell, row: heights; row in page pixels
    std::vector<int32_t> want;                                // moved, bar updated, scrollY, last thumb row
  };
  const Case cases[] = {
      {"line up at the top", 0, 800, 8, 8, 7, 0, 0, {0, 0, 0, 7}},
      {"line down", 592, 800, 8, 8, 7, 1, 0, {1, 1, 600, 7}},
      {"line down stops at the last row", 600, 800, 8, 8, 7, 1, 0, {0, 0, 600, 7}},
      {"page down", 0, 800, 8, 8, 7, 3, 0, {1, 1, 200, 7}},
      {"page down there sets it again", 600, 800, 8, 8, 7, 3, 0, {1, 1, 600, 7}},
      {"page down on a page shorter than the view", 0, 64, 8, 8, 7, 3, 0, {1, 1, 0, 7}},
      {"page up", 600, 800, 8, 8, 7, 2, 0, {1, 1, 400, 7}},
      {"page up within one view goes to 0", 200, 800, 8, 8, 7, 2, 0, {1, 1, 0, 7}},
      {"track snaps to a row at zoom 3", 0, 800, 3, 8, 7, 5, 10, {1, 1, 24, 3}},
      {"track to the last thumb row, after line steps", 104, 800, 8, 8, 12, 5, 96, {0, 0, 104, 12}},
      {"end of drag leaves the bar alone", 0, 800, 8, 8, 7, 4, 200, {1, 0, 200, 25}},
      {"line down a row of 16", 0, 800, 16, 16, 7, 1, 0, {1, 1, 16, 7}},
      {"line up a row of 16", 32, 800, 16, 16, 7, 0, 0, {1, 1, 16, 7}},
      {"track snaps to a row of 8 x 16 cells at zoom 5", 0, 800, 10, 16, 7, 5, 35, {1, 1, 48, 3}},
      {"SB_TOP does nothing", 400, 800, 8, 8, 7, 6, 0, {0, 0, 400, 7}},
  };
  for (const Case& c : cases) {
    const ScrollResult r = ScrollStep({c.scrollY, 200, c.page, c.cell, c.row, c.thumbRow}, c.code, c.thumb);
    EXPECT_EQ(std::vector<int32_t>({r.moved, r.updateBar, r.scrollY, r.lastThumbRow}), c.want) << c.what;
  }
}

// Notches, the rows a notch as set, the view's rows, then the rows scrolled: 0 rows a notch would never
// scroll; a setting past the view (WHEEL_PAGESCROLL, -1 read as a number, any huge count) is its height.
TEST(WheelScrollRows, Settings) {
  // clang-format off
  const std::tuple<int32_t, uint32_t, int32_t, int32_t> cases[] = {
      {1, 3, 40, 3}, {-2, 3, 40, -6}, {1, 0, 40, 3}, {1, UINT_MAX, 40, 40}, {-1, UINT_MAX - 4, 40, -40},
      {1, 1000, 40, 40}, {1, UINT_MAX, 0, 1}, {INT_MAX, UINT_MAX, INT_MAX, 1 << 30}};
  // clang-format on
  for (const auto& [notches, setting, rows, want] : cases)
    EXPECT_EQ(WheelScrollRows(notches, setting, rows), want) << notches << " " << setting << " " << rows;
}

// Many rows in one step end where as many SB_LINEDOWN / SB_LINEUP steps would: page 400 pixels high, view 80
// (the last full view at 320); a row is 8 or 16 page pixels.
TEST(ScrollRows, StopAtThePageEdges) {
  const int32_t cases[][6] = {
      // scrollY, pageHeight, rows, page cell height, new scrollY, moved
      {312, 400, 3, 8, 320, 1}, {0, 400, 1 << 30, 8, 320, 1}, {16, 400, -5, 8, 0, 1},
      {0, 400, -3, 8, 0, 0},    {0, 40, 5, 8, 0, 0},          {0, 400, 2, 16, 32, 1},
  };
  for (const auto& c : cases) {
    const ScrollResult r = ScrollRows(ScrollInput{c[0], 80, c[1], 8, c[3], 7}, c[2]);
    EXPECT_EQ(std::make_tuple(r.scrollY, r.moved, r.updateBar, r.lastThumbRow),
              std::make_tuple(c[4], c[5] == 1, c[5] == 1, 7))
        << c[0] << " by " << c[2];
  }
}

// The zoom that shows every column: in the window (its margin, 48 with the bar of a tall page), and on a
// whole screen 1024 wide, where a larger current zoom stays.
TEST(FitWidthZoom, WholeColumns) {
  const std::tuple<const char*, LayoutInput, int32_t> window[] = {
      {"202-column BinaryText, tall", {1616, 8000, 8, 8, 0, 0, 1024, 768, 0, 0}, 4},
      {"81 short columns, no bar", {648, 208, 8, 8, 0, 0, 1024, 768, 0, 0}, 12},
      {"80 columns of 9-pixel letters", {720, 8000, 8, 16, 0, 0, 1024, 768, 0, 0, 9}, 11},
      {"wider than any zoom shows", {8000, 80, 8, 8, 0, 0, 1024, 768, 0, 0}, 1},
  };
  for (const auto& [what, in, zoom] : window) EXPECT_EQ(FitWidthZoom(in), zoom) << what;
  const int32_t screen[][4] = {
      // columns, page cell width, current zoom, zoom
      {202, 8, 4, 5}, {202, 8, 8, 8},  {80, 8, 8, 12},   {80, 8, 14, 14},
      {80, 9, 8, 11}, {2000, 8, 3, 3}, {2000, 8, 99, 1},
  };
  for (const auto& c : screen)
    EXPECT_EQ(FullScreenZoom(c[0], c[1], 1024, c[2]), c[3]) << c[0] << " at " << c[2];
}

// Page 400 pixels high, view 80: rows down to the last full view, a rest of 2 s in whole ticks, the next
// piece.
TEST(SlideStep, ScrollRestNext) {
  EXPECT_EQ(std::make_tuple(SlideTickMilliseconds(5), SlideTickMilliseconds(0), SlideTickMilliseconds(5000)),
            std::make_tuple(200, 1000, 1));
  int32_t waited = 7;
  EXPECT_EQ(SlideStep(ScrollInput{312, 80, 400, 8, 8, 0}, 5, waited), SlideAction::kScroll);
  EXPECT_EQ(waited, 0);
  for (const auto& [speed, ticks] : {std::pair{5, 10}, std::pair{3, 6}, std::pair{1000, 2000}}) {
    std::vector<SlideAction> got;
    for (int i = 0; i <= ticks; ++i)
      got.push_back(SlideStep(ScrollInput{320, 80, 400, 8, 8, 0}, speed, waited));
    std::vector<SlideAction> want(ticks, SlideAction::kWait);
    want.push_back(SlideAction::kNext);
    EXPECT_EQ(got, want) << speed << " rows a second";
    EXPECT_EQ(waited, 0);
  }
  // A page shorter than the view rests and goes on.
  EXPECT_EQ(SlideStep(ScrollInput{0, 80, 40, 8, 8, 0}, 25, waited), SlideAction::kWait);
}

TEST(StartZoomForDpi, Screens) {
  const std::pair<int32_t, int32_t> cases[] = {{101, 8}, {102, 9}, {1, 1}, {0, 8}, {-96, 8}, {INT_MAX, 15}};
  for (const auto& [dpi, zoom] : cases) EXPECT_EQ(StartZoomForDpi(dpi), zoom) << dpi << " DPI";
}

}  // namespace
