// The wheel, the arrow keys, Home and End move the real window's view by
// rows through the scroll bar's own steps: the thumb follows and the
// selection goes. Ctrl with the wheel zooms like the keypad.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

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
  const int32_t end = viewer.pageHeight - viewer.sourceHeight;
  const auto wheel = [](int delta, WORD keys = 0) { return MAKEWPARAM(keys, static_cast<WORD>(delta)); };
  // Message, wParam, then scrollY and selectionShown: a turn short of a notch
  // scrolls nothing and leaves the selection; a turn the other way drops
  // what was left of the last one.
  const std::tuple<UINT, WPARAM, int32_t, int32_t> steps[] = {
      {WM_MOUSEWHEEL, wheel(-120), 24, 0}, {WM_MOUSEWHEEL, wheel(-60), 24, 1},
      {WM_MOUSEWHEEL, wheel(-60), 48, 0},  {WM_MOUSEWHEEL, wheel(-30), 48, 1},
      {WM_MOUSEWHEEL, wheel(90), 48, 1},   {WM_MOUSEWHEEL, wheel(30), 24, 0},
      {WM_MOUSEWHEEL, wheel(360), 0, 0},   {WM_KEYDOWN, VK_DOWN, 8, 0},
      {WM_KEYDOWN, VK_UP, 0, 0},           {WM_KEYDOWN, VK_END, end, 0},
      {WM_KEYDOWN, VK_DOWN, end, 0},       {WM_KEYDOWN, VK_HOME, 0, 0},
      {WM_VSCROLL, SB_BOTTOM, 0, 0}};  // the scroll bar's own code still does nothing
  for (const auto& [message, wParam, scrollY, selectionShown] : steps) {
    viewer.selectionShown = 1;
    SendMessageA(test.window(), message, wParam, 0);
    EXPECT_EQ(viewer.scrollY, scrollY) << message << " " << wParam;
    EXPECT_EQ(GetScrollPos(viewer.scrollBar, SB_CTL), scrollY / 8 * viewer.cellHeight);
    EXPECT_EQ(viewer.selectionShown, selectionShown);
  }
  SendMessageA(test.window(), WM_MOUSEWHEEL, wheel(120, MK_CONTROL), 0);
  EXPECT_EQ(viewer.cellWidth, 9);
  SendMessageA(test.window(), WM_MOUSEWHEEL, wheel(-240, MK_CONTROL), 0);
  EXPECT_EQ(viewer.cellWidth, 7);
}

}  // namespace
