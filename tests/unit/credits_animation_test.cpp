// The credits cycle: the amplitude swings 0 up to 80 and back, the grey
// level follows it between 255 and 15, and a new row starts at the top.

#include <gtest/gtest.h>

#include "about/credits_animation.h"

namespace {

TEST(CreditsAnimation, Cycle) {
  CreditsAnimation a;
  struct Step {
    int frames;  // since the step before, from the first frame of a run
    int32_t amplitude, inward, row, brightness;
  };
  const Step steps[] = {
      {1, 1, 0, 0, 252},    {79, 80, 0, 0, 15}, {1, 79, 1, 1, 18},           {79, 0, 1, 1, 255},
      {1, 1, 0, 1, 252},    {80, 79, 1, 2, 18}, {8 * 160 - 1, 80, 0, 9, 15}, {1, 79, 1, 10, 18},
      {159, 80, 0, 10, 15}, {1, 79, 1, 0, 18},
  };
  int frame = 0;
  for (const Step& s : steps) {
    for (int i = 0; i < s.frames; ++i) {
      AdvanceCredits(a);
      ASSERT_TRUE(a.creditBrightness >= 15 && a.creditBrightness <= 255) << frame + i;
    }
    frame += s.frames;
    EXPECT_EQ(a.swingAmplitude, s.amplitude) << frame;
    EXPECT_EQ(a.swingInward, s.inward) << frame;
    EXPECT_EQ(a.creditIndex, s.row) << frame;
    EXPECT_EQ(a.creditBrightness, s.brightness) << frame;
  }
}

TEST(CreditsAnimation, PositionsTruncateTheDoubleSumTowardsZero) {
  struct Case {
    int32_t amplitude, width, roleWidth, nameWidth, roleX, nameX;
  };
  const Case cases[] = {
      {1, 301, 97, 41, 102, 130},     // the first frame: 150 - 48 + 0.54, 150 - 20 + 0.84
      {4, 301, 97, 42, 99, 125},      // 99.39 and 125.97
      {80, 20, 200, 300, -98, -219},  // -98.83 and -219.51
  };
  for (const Case& c : cases) {
    CreditsAnimation a;
    a.swingAmplitude = c.amplitude;
    PlaceCredits(a, c.width, c.roleWidth, c.nameWidth);
    EXPECT_EQ(a.roleX, c.roleX) << c.amplitude;
    EXPECT_EQ(a.nameX, c.nameX) << c.amplitude;
  }
}

}  // namespace
