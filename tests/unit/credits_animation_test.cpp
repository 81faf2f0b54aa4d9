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

}  // namespace
