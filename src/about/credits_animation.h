// The About dialog's credits: eleven pairs of a role above a name, each
// swinging in from the sides while it brightens and out while it fades.
// The dialog measures the texts and draws them; the cycle itself is plain
// arithmetic over this state.
#ifndef QUILLPANE_CREDITS_ANIMATION_H
#define QUILLPANE_CREDITS_ANIMATION_H

#include <cstdint>

constexpr int32_t kCreditRows = 11;
constexpr int32_t kMaxSwingAmplitude = 80;

struct CreditLine {
  char role[50];
  char name[58];
};

extern const CreditLine creditsTable[kCreditRows];

// Lives for the whole run, so the credits go on where they stopped when the
// dialog is opened again.
struct CreditsAnimation {
  int32_t swingAmplitude = 0;  // 0 to 80, pixels and radians at once
  int32_t swingInward = 0;     // 1 while the amplitude decreases
  int32_t creditIndex = 0;     // row of creditsTable on show
  int32_t creditBrightness = 255;
  int32_t roleX = 0;  // where the role and name were drawn last
  int32_t nameX = 0;
};

// One frame's step of amplitude, direction, row and brightness. A new row
// starts at the outermost swing, before the pair swings in.
void AdvanceCredits(CreditsAnimation& animation);

// The x of the role (cosine path) and the name (sine path) of the current
// row for a client area `clientWidth` wide and texts of the given widths.
void PlaceCredits(CreditsAnimation& animation, int32_t clientWidth, int32_t roleWidth, int32_t nameWidth);

#endif
