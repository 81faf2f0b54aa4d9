#include <algorithm>

#include "../win32/settings.h"
#include "../win32/viewer_state.h"
#include "../resources/resource_ids.h"
#include "view.h"

namespace {

// Each look's radio items, in the order of LookChoice (as the file says,
// on, off), where its choice is kept and how it is written.
struct LookItems {
  int32_t Settings::*choice;
  void (*write)(const Settings&);
  UINT items[3];
};
const LookItems kLooks[] = {
    {&Settings::letterSpacing, WriteLetterSpacing, {IDM_LETTERS_FILE, IDM_LETTERS_9, IDM_LETTERS_8}},
    {&Settings::aspect, WriteAspect, {IDM_ASPECT_FILE, IDM_ASPECT_4_3, IDM_ASPECT_SQUARE}},
};

void CheckLookItem(const ViewerState& viewer, const Settings& settings, const LookItems& look) {
  const UINT first = std::min({look.items[0], look.items[1], look.items[2]});
  const UINT last = std::max({look.items[0], look.items[1], look.items[2]});
  CheckMenuRadioItem(GetMenu(viewer.mainWindow), first, last,
                     look.items[static_cast<size_t>(settings.*look.choice)], MF_BYCOMMAND);
}

void CheckColourModeItem(const ViewerState& viewer, const Settings& settings) {
  CheckMenuItem(GetMenu(viewer.mainWindow), IDM_ANSI_COLOURS,
                MF_BYCOMMAND | (settings.ansiColours ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

void RenderAgain(View& view, const ViewerState& viewer) {
  // The window keeps its place: the layout starts from where it stands.
  GetWindowRect(viewer.mainWindow, &view.windowRect);
  view.needsRender = 1;
  InvalidateRect(viewer.mainWindow, &view.repaintRect, TRUE);
}

void ShowColourModeSetting(const ViewerState& viewer, const Settings& settings) {
  CheckColourModeItem(viewer, settings);
  for (const LookItems& look : kLooks) CheckLookItem(viewer, settings, look);
}

bool ChooseLook(View& view, const ViewerState& viewer, Settings& settings, UINT command) {
  for (const LookItems& look : kLooks)
    for (int32_t choice = 0; choice < 3; ++choice) {
      if (look.items[choice] != command) continue;
      settings.*look.choice = choice;
      CheckLookItem(viewer, settings, look);
      look.write(settings);
      RenderAgain(view, viewer);
      return true;
    }
  return false;
}

void ToggleColourMode(View& view, const ViewerState& viewer, Settings& settings) {
  settings.ansiColours = settings.ansiColours ? 0 : 1;
  CheckColourModeItem(viewer, settings);
  WriteColourMode(settings);
  RenderAgain(view, viewer);
}
