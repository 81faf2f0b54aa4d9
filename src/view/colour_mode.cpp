#include <algorithm>

#include "../win32/registry.h"
#include "../win32/handles.h"
#include "../win32/viewer_state.h"
#include "../resources/resource_ids.h"
#include "view.h"

namespace {

constexpr char kColourModeValue[] = "ansicolours";
// The colour screens' look: the values of LookChoice.
constexpr char kLetterSpacingValue[] = "letterspacing";
constexpr char kAspectValue[] = "aspect";

// Each look's radio items, in the order of LookChoice (as the file says,
// on, off), and where its choice is kept.
struct LookItems {
  const char* value;
  int32_t ViewerState::*choice;
  UINT items[3];
};
const LookItems kLooks[] = {
    {kLetterSpacingValue, &ViewerState::letterSpacing, {IDM_LETTERS_FILE, IDM_LETTERS_9, IDM_LETTERS_8}},
    {kAspectValue, &ViewerState::aspect, {IDM_ASPECT_FILE, IDM_ASPECT_4_3, IDM_ASPECT_SQUARE}},
};

void CheckLookItem(const LookItems& look) {
  const UINT first = std::min({look.items[0], look.items[1], look.items[2]});
  const UINT last = std::max({look.items[0], look.items[1], look.items[2]});
  CheckMenuRadioItem(GetMenu(viewer.mainWindow), first, last,
                     look.items[static_cast<size_t>(viewer.*look.choice)], MF_BYCOMMAND);
}

void WriteSetting(const char* name, int32_t value) {
  const RegistryKey key(CreateKey(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS));
  if (key) WriteDwordValue(key.get(), name, static_cast<DWORD>(value));
}

// The document is rendered again at the next paint, in a window that keeps
// its place: the layout starts from where it stands.
void RenderAgain() {
  GetWindowRect(viewer.mainWindow, &viewer.windowRect);
  viewer.needsRender = 1;
  InvalidateRect(viewer.mainWindow, &viewer.repaintRect, TRUE);
}

void CheckColourModeItem() {
  CheckMenuItem(GetMenu(viewer.mainWindow), IDM_ANSI_COLOURS,
                MF_BYCOMMAND | (viewer.ansiColours ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

void ReadColourModeSetting() {
  // Off unless the value is there and 1: a fresh install shows every
  // document in the text layout.
  DWORD stored = 0;
  const RegistryKey key(OpenKey(HKEY_LOCAL_MACHINE, kSettingsKey));
  if (key) ReadDwordValue(key.get(), kColourModeValue, stored);
  viewer.ansiColours = stored == 1 ? 1 : 0;
  CheckColourModeItem();
  // As the file says unless a known choice is stored.
  for (const LookItems& look : kLooks) {
    DWORD choice = 0;
    if (key) ReadDwordValue(key.get(), look.value, choice);
    viewer.*look.choice = choice <= 2 ? static_cast<int32_t>(choice) : 0;
    CheckLookItem(look);
  }
}

bool ChooseLook(UINT command) {
  for (const LookItems& look : kLooks)
    for (int32_t choice = 0; choice < 3; ++choice) {
      if (look.items[choice] != command) continue;
      viewer.*look.choice = choice;
      CheckLookItem(look);
      WriteSetting(look.value, choice);
      RenderAgain();
      return true;
    }
  return false;
}

void ToggleColourMode() {
  viewer.ansiColours = viewer.ansiColours ? 0 : 1;
  CheckColourModeItem();
  WriteSetting(kColourModeValue, viewer.ansiColours);
  RenderAgain();
}
