// The credits swing 0 to 80 pixels and back, grey from 255 to 15, a new row at the widest.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "about/credits_animation.h"

namespace {

TEST(CreditsAnimation, Cycle) {
  // Frames since the step before, then amplitude, inward, row and brightness.
  const std::pair<int, std::vector<int32_t>> steps[] = {
      {80, {80, 0, 0, 15}},     // out to the widest swing, the darkest grey
      {1, {79, 1, 1, 18}},      // the next row at the widest swing
      {80, {1, 0, 1, 252}},     // in to the middle and out again
      {1519, {80, 0, 10, 15}},  // the last row at its widest
      {1, {79, 1, 0, 18}},      // after the last row, the first
  };
  CreditsAnimation a;
  for (const auto& [frames, want] : steps) {
    for (int i = 0; i < frames; ++i) AdvanceCredits(a);
    const std::vector<int32_t> got = {a.swingAmplitude, a.swingInward, a.creditIndex, a.creditBrightness};
    EXPECT_EQ(got, want);
  }
}

// Amplitude; client, role and name widths; role and name x: integer halves, the sum truncated.
TEST(CreditsAnimation, PositionsTruncateTheDoubleSumTowardsZero) {
  const int32_t cases[][6] = {
      {1, 301, 97, 41, 102, 130},     // 150 - 48 + 0.54, 150 - 20 + 0.84
      {80, 21, 200, 300, -98, -219},  // 10 - 100 - 8.83, 10 - 150 - 79.51
  };
  for (const auto& c : cases) {
    CreditsAnimation a{c[0]};
    PlaceCredits(a, c[1], c[2], c[3]);
    EXPECT_EQ(std::make_pair(a.roleX, a.nameX), std::make_pair(c[4], c[5])) << c[0];
  }
}

}  // namespace
