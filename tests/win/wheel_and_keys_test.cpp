// The wheel, the arrow keys, Home and End move the real window's view by
// rows through the scroll bar's own steps: the thumb follows and the
// selection goes. Ctrl with the wheel zooms like the keypad.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/viewer_state.h"
#include "test_support.h"

namespace {

TEST(WheelAndKeys, ScrollByRowsAndRemoveTheSelection) {
  MainWindowTest test;
  TempDir dir;
  std::string text;
  for (int i = 0; i < 400; ++i) text += "row\r\n";
  test.Show(dir.Write("tall.asc", text));
  ASSERT_NE(viewer.scrollBar, nullptr);
  const int32_t bottom = viewer.pageHeight - viewer.sourceHeight;
  const auto wheel = [](int delta, WPARAM keys = 0) { return MAKEWPARAM(keys, static_cast<WORD>(delta)); };
  // A turn short of a notch scrolls nothing, and leaves the selection.
  const struct {
    UINT message;
    WPARAM wParam;
    int32_t scrollY;
    int32_t selectionShown;
  } steps[] = {
      {WM_MOUSEWHEEL, wheel(-120), 24, 0},
      {WM_MOUSEWHEEL, wheel(-60), 24, 1},
      {WM_MOUSEWHEEL, wheel(-60), 48, 0},
      {WM_MOUSEWHEEL, wheel(-30), 48, 1},
      {WM_MOUSEWHEEL, wheel(90), 48, 1},  // the other way: the quarter turned down is dropped
      {WM_MOUSEWHEEL, wheel(30), 24, 0},
      {WM_MOUSEWHEEL, wheel(360), 0, 0},
      {WM_KEYDOWN, VK_DOWN, 8, 0},
      {WM_KEYDOWN, VK_UP, 0, 0},
      {WM_KEYDOWN, VK_END, bottom, 0},
      {WM_KEYDOWN, VK_DOWN, bottom, 0},
      {WM_KEYDOWN, VK_HOME, 0, 0},
      {WM_VSCROLL, SB_BOTTOM, 0, 0},  // the bar's own code still does nothing
  };
  for (const auto& step : steps) {
    viewer.selectionShown = 1;
    SendMessageA(test.window(), step.message, step.wParam, 0);
    EXPECT_EQ(viewer.scrollY, step.scrollY) << step.message << " " << step.wParam;
    EXPECT_EQ(GetScrollPos(viewer.scrollBar, SB_CTL), step.scrollY / 8 * viewer.cellHeight);
    EXPECT_EQ(viewer.selectionShown, step.selectionShown);
  }
  SendMessageA(test.window(), WM_MOUSEWHEEL, wheel(120, MK_CONTROL), 0);
  EXPECT_EQ(viewer.cellWidth, 9);
  SendMessageA(test.window(), WM_MOUSEWHEEL, wheel(-240, MK_CONTROL), 0);
  EXPECT_EQ(viewer.cellWidth, 7);
}

}  // namespace
