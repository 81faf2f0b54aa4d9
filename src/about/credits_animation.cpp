#include "credits_animation.h"

#include <cmath>

// The names are the team's own inventions.
const CreditLine creditsTable[kCreditRows] = {
    {"Programming:", "Ottoline Quillfeather"},
    {"Graphics:", "Bramble Inkwright"},
    {"Fonts, Ideas & Beta testing", "Tamsin Glyphwood"},
    {"Beta testing:", "Fenwick Dotmatrix"},
    {"Beta testing:", "Pernilla Shadeblock"},
    {"Beta testing:", "Cosmo Halftone"},
    {"Beta testing:", "Ysolde Scanline"},
    {"Beta testing:", "Barnaby Codepage"},
    {"Beta testing:", "Wrenna Tabstop"},
    {"Negative:", "Grimsby Nullbyte"},
    {"Molvo, 2026: thanks for watching", "Molvo"},
};

void AdvanceCredits(CreditsAnimation& animation) {
  if (animation.swingAmplitude >= kMaxSwingAmplitude) {
    animation.creditIndex = animation.creditIndex >= kCreditRows - 1 ? 0 : animation.creditIndex + 1;
    animation.swingInward = 1;
  } else if (animation.swingAmplitude <= 0) {
    animation.swingInward = 0;
  }
  if (animation.swingInward == 1) {
    --animation.swingAmplitude;
    if (animation.creditBrightness <= 253) animation.creditBrightness += 3;
  } else {
    ++animation.swingAmplitude;
    if (animation.creditBrightness >= 2) animation.creditBrightness -= 3;
  }
}

void PlaceCredits(CreditsAnimation& animation, int32_t clientWidth, int32_t roleWidth, int32_t nameWidth) {
  const double a = animation.swingAmplitude;
  // Integer halves; the sum in double precision, truncated towards zero.
  animation.roleX = static_cast<int32_t>(a * std::cos(a) + (clientWidth / 2 - roleWidth / 2));
  animation.nameX = static_cast<int32_t>(a * std::sin(a) + (clientWidth / 2 - nameWidth / 2));
}
