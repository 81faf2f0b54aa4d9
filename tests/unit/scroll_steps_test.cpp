// The wheel's rows and the start zoom, as the system sets them.
#include "core/scroll_steps.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace {

TEST(WheelScrollRows, Settings) {
  struct Case {
    int32_t notches;
    uint32_t setting;
    int32_t viewRows, want;
  };
  const Case cases[] = {
      {1, 3, 40, 3},
      {-2, 3, 40, -6},
      {1, 0, 40, 3},                             // 0 would never scroll
      {1, UINT_MAX, 40, 40},                     // WHEEL_PAGESCROLL, and -1 read as a number
      {-1, static_cast<uint32_t>(-5), 40, -40},  // any huge count is a view's height
      {1, 1000, 40, 40},
      {1, UINT_MAX, 0, 1},
      {INT_MAX, UINT_MAX, INT_MAX, 1 << 30},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WheelScrollRows(c.notches, c.setting, c.viewRows), c.want)
        << c.notches << " notches, setting " << c.setting << ", " << c.viewRows << " rows";
  }
}

// Many rows in one step end where as many SB_LINEDOWN / SB_LINEUP steps
// would: page 400 pixels high, view 80 (the last full view at 320); a row
// is 8 or 16 page pixels.
TEST(ScrollRows, StopAtThePageEdges) {
  const int32_t cases[][6] = {
      // scrollY, pageHeight, rows, page cell height, new scrollY, moved
      {312, 400, 3, 8, 320, 1}, {320, 400, 1, 8, 320, 0},  {0, 400, 1 << 30, 8, 320, 1},
      {16, 400, -5, 8, 0, 1},   {0, 400, -3, 8, 0, 0},     {0, 40, 5, 8, 0, 0},
      {0, 400, 2, 16, 32, 1},   {64, 400, -1, 16, 48, 1},
  };
  for (const auto& c : cases) {
    const ScrollResult r = ScrollRows(ScrollInput{c[0], 80, c[1], 8, c[3], 7}, c[2]);
    EXPECT_EQ(std::make_tuple(r.scrollY, r.moved, r.updateBar, r.lastThumbRow),
              std::make_tuple(c[4], c[5] == 1, c[5] == 1, 7))
        << c[0] << " by " << c[2];
  }
}

TEST(StartZoomForDpi, Screens) {
  const std::pair<int32_t, int32_t> cases[] = {{96, 8},  {120, 10}, {144, 12},    {192, 15},
                                               {101, 8}, {102, 9},  {72, 6},      {1, 1},
                                               {0, 8},   {-96, 8},  {INT_MAX, 15}};
  for (const auto& [dpi, zoom] : cases) EXPECT_EQ(StartZoomForDpi(dpi), zoom) << dpi << " DPI";
}

}  // namespace
