// The wheel's rows and the start zoom, as the system sets them.
#include "core/scroll_steps.h"

#include <gtest/gtest.h>

#include <climits>

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

TEST(StartZoomForDpi, Screens) {
  const std::pair<int32_t, int32_t> cases[] = {{96, 8},  {120, 10}, {144, 12},    {192, 15},
                                               {101, 8}, {102, 9},  {72, 6},      {1, 1},
                                               {0, 8},   {-96, 8},  {INT_MAX, 15}};
  for (const auto& [dpi, zoom] : cases) EXPECT_EQ(StartZoomForDpi(dpi), zoom) << dpi << " DPI";
}

}  // namespace
