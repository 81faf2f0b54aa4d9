#include "../win32/registry.h"
#include "../win32/viewer_state.h"
#include "../resources/resource_ids.h"
#include "view.h"

namespace {

constexpr char kColourModeValue[] = "ansicolours";

void CheckColourModeItem() {
  CheckMenuItem(GetMenu(viewer.mainWindow), IDM_ANSI_COLOURS,
                MF_BYCOMMAND | (viewer.ansiColours ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

void ReadColourModeSetting() {
  // Off unless the value is there and 1: a fresh install shows every
  // document in the text layout.
  DWORD stored = 0;
  HKEY key = OpenKey(HKEY_LOCAL_MACHINE, kSettingsKey);
  if (key != nullptr) {
    ReadDwordValue(key, kColourModeValue, stored);
    RegCloseKey(key);
  }
  viewer.ansiColours = stored == 1 ? 1 : 0;
  CheckColourModeItem();
}

void ToggleColourMode() {
  viewer.ansiColours = viewer.ansiColours ? 0 : 1;
  CheckColourModeItem();
  HKEY key = CreateKey(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS);
  if (key != nullptr) {
    WriteDwordValue(key, kColourModeValue, static_cast<DWORD>(viewer.ansiColours));
    RegCloseKey(key);
  }
  // The window keeps its place: the layout starts from where it stands.
  GetWindowRect(viewer.mainWindow, &viewer.windowRect);
  viewer.needsRender = 1;
  InvalidateRect(viewer.mainWindow, &viewer.repaintRect, TRUE);
}
