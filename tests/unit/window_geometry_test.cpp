// Window layout and scroll steps, as plain arithmetic over sizes. The work
// area is 1024 x 768 unless a case says otherwise, so L (the tallest view)
// is 688.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/window_geometry.h"

namespace {

TEST(ComputeWindowLayout, EdgeCases) {
  struct Case {
    const char* what;
    LayoutInput in;
    int32_t viewW, viewH, sourceW, sourceH;
    bool bar;
    int32_t left, top, winW, winH;
  };
  // clang-format off
  const Case cases[] = {
      {"25 CR LF lines of 80: 81 x 26 cells", {648, 208, 8, 8, 1024, 768, 0, 0}, 648, 208, 648, 208, false, 0, 0, 678, 288},
      {"narrow page gets 200 pixels", {80, 40, 8, 8, 1024, 768, 0, 0}, 200, 40, 200, 40, false, 0, 0, 230, 120},
      {"exactly 200 stays 200", {200, 40, 8, 8, 1024, 768, 0, 0}, 200, 40, 200, 40, false, 0, 0, 230, 120},
      {"one cell past 200", {208, 40, 8, 8, 1024, 768, 0, 0}, 208, 40, 208, 40, false, 0, 0, 238, 120},
      {"wider than the work area gives W", {1600, 80, 8, 8, 1024, 768, 0, 0}, 1024, 80, 1024, 80, false, 0, 0, 1054, 160},
      {"empty page is 8 high", {0, 0, 8, 8, 1024, 768, 0, 0}, 200, 8, 200, 8, false, 0, 0, 230, 88},
      {"one row at zoom 1 is 8 high", {640, 8, 1, 1, 1024, 768, 0, 0}, 200, 8, 1600, 64, false, 0, 0, 230, 88},
      {"height exactly L gets a bar", {640, 688, 8, 8, 1024, 768, 0, 0}, 640, 688, 640, 688, true, 0, 0, 688, 768},
      {"one row less has none", {640, 680, 8, 8, 1024, 768, 0, 0}, 640, 680, 640, 680, false, 0, 0, 670, 760},
      {"taller page is cut to L", {640, 8000, 5, 5, 1024, 768, 0, 0}, 400, 688, 640, 1096, true, 0, 0, 448, 768},
      {"saved position pulled back inside", {648, 208, 8, 8, 1024, 768, 900, 600}, 648, 208, 648, 208, false, 346, 480, 678, 288},
      {"negative position becomes 0", {648, 208, 8, 8, 1024, 768, -40, -7}, 648, 208, 648, 208, false, 0, 0, 678, 288},
      {"work area smaller than any view", {648, 208, 8, 8, 100, 50, 30, 30}, 100, 0, 96, 0, true, 0, 0, 148, 80},
  };
  // clang-format on
  for (const Case& c : cases) {
    const LayoutResult r = ComputeWindowLayout(c.in);
    const int32_t got[] = {r.viewWidth,  r.viewHeight, r.sourceWidth, r.sourceHeight, r.scrollBar,
                           r.windowLeft, r.windowTop,  r.windowWidth, r.windowHeight};
    const int32_t want[] = {c.viewW, c.viewH, c.sourceW, c.sourceH, c.bar, c.left, c.top, c.winW, c.winH};
    EXPECT_TRUE(std::equal(got, got + 9, want)) << c.what;
  }
}

TEST(ScrollStep, Codes) {
  // A page of 100 rows (800 pixels) with 25 rows (200 pixels) in view.
  struct Case {
    const char* what;
    int32_t scrollY, pageHeight, cellHeight, lastThumbRow, code, thumb;
    bool moved, updateBar;
    int32_t wantY, wantThumbRow;
  };
  const Case cases[] = {
      {"line up at the top", 0, 800, 8, 7, 0, 0, false, false, 0, 7},
      {"line up", 8, 800, 8, 7, 0, 0, true, true, 0, 7},
      {"line down", 592, 800, 8, 7, 1, 0, true, true, 600, 7},
      {"line down stops at the last row", 600, 800, 8, 7, 1, 0, false, false, 600, 7},
      {"page down", 0, 800, 8, 7, 3, 0, true, true, 200, 7},
      {"page down just short of the end", 392, 800, 8, 7, 3, 0, true, true, 592, 7},
      {"page down to the last full view", 400, 800, 8, 7, 3, 0, true, true, 600, 7},
      {"page down there sets it again", 600, 800, 8, 7, 3, 0, true, true, 600, 7},
      {"page down on a page shorter than the view", 0, 64, 8, 7, 3, 0, true, true, 0, 7},
      {"page up", 600, 800, 8, 7, 2, 0, true, true, 400, 7},
      {"page up within one view goes to 0", 200, 800, 8, 7, 2, 0, true, true, 0, 7},
      {"page up at the top", 0, 800, 8, 7, 2, 0, false, false, 0, 7},
      {"track snaps down to a row", 0, 800, 8, 7, 5, 103, true, true, 96, 12},
      {"track at zoom 3", 0, 800, 3, 7, 5, 10, true, true, 24, 3},
      {"track to the same row", 0, 800, 8, 12, 5, 96, false, false, 0, 12},
      {"line steps keep the last thumb row", 104, 800, 8, 12, 5, 96, false, false, 104, 12},
      {"end of drag leaves the bar alone", 0, 800, 8, 7, 4, 200, true, false, 200, 25},
      {"SB_TOP does nothing", 400, 800, 8, 7, 6, 0, false, false, 400, 7},
      {"SB_ENDSCROLL does nothing", 400, 800, 8, 7, 8, 0, false, false, 400, 7},
  };
  for (const Case& c : cases) {
    const ScrollResult r =
        ScrollStep({c.scrollY, 200, c.pageHeight, c.cellHeight, c.lastThumbRow}, c.code, c.thumb);
    const int32_t got[] = {r.moved, r.updateBar, r.scrollY, r.lastThumbRow};
    const int32_t want[] = {c.moved, c.updateBar, c.wantY, c.wantThumbRow};
    EXPECT_TRUE(std::equal(got, got + 4, want)) << c.what;
  }
}

}  // namespace
