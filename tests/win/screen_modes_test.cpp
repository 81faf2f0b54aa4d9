// Fit width, full screen and the slideshow, driven through the real main window.
#include "test_support.h"
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/main_window.h"
#include "core/window_geometry.h"
#include "resources/resource_ids.h"
#include "document/slideshow.h"
#include "view/view.h"
#include "win32/viewer_state.h"

namespace {

std::string Rows(int count, int width) {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::string(width, static_cast<char>('!' + i % 90)) + "\r\n";
  return text;
}

bool Checked(HWND window, UINT command) {
  return (GetMenuState(GetMenu(window), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

TEST(ScreenModes, FitWidthShowsABinaryTextWholeAndIsKept) {
  MainWindowTest test;
  TempDir dir;
  // 160 columns a row, no SAUCE: wider than the screen at the start zoom, so cut.
  test.Show(dir.Write("wide.bin", std::string(160 * 2 * 30, '\x07')));
  ASSERT_LT(view.sourceWidth, view.pageWidth);
  SendMessageA(test.window(), WM_COMMAND, IDM_FIT_WIDTH, 0);
  PumpMessages();
  EXPECT_GE(view.sourceWidth, view.pageWidth);
  EXPECT_TRUE(Checked(test.window(), IDM_FIT_WIDTH));
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kSettingsKey, "fitwidth"), "1");
  // A larger zoom by the keys holds until the next piece is shown.
  SendMessageA(test.window(), WM_KEYDOWN, VK_ADD, 0);
  EXPECT_LT(view.sourceWidth, view.pageWidth);
  test.Show(dir.path() + "wide.bin");
  EXPECT_GE(view.sourceWidth, view.pageWidth);
}

TEST(ScreenModes, FullScreenCoversTheMonitorAndF11OrEscBringsTheWindowBack) {
  MainWindowTest test;
  TempDir dir;
  test.Show(dir.Write("page.nfo", Rows(20, 40)));
  HWND window = test.window();
  RECT before, covered, after;
  // Away from the monitor's corner, where full screen puts the window.
  SetWindowPos(window, nullptr, 120, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(window, &before);
  ASSERT_EQ(before.left, 120);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const auto shown = [&](RECT& rect) {
    GetWindowRect(window, &rect);
    return std::make_tuple(GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION, GetMenu(window) != nullptr,
                           IsWindowVisible(viewer.statusBar) != FALSE);
  };
  for (const WPARAM leave : {VK_F11, VK_ESCAPE}) {
    SendMessageA(window, WM_KEYDOWN, VK_F11, 0);
    PumpMessages();
    EXPECT_EQ(shown(covered), std::make_tuple(0, false, false));
    EXPECT_TRUE(EqualRect(&covered, &monitor.rcMonitor));
    // Black around the art, which stands in the middle.
    EXPECT_EQ(WindowPixel(window, 0, 0), RGB(0, 0, 0));
    EXPECT_GT(view.originX, kViewOrigin);
    SendMessageA(window, WM_KEYDOWN, leave, 0);
    PumpMessages();
    ASSERT_TRUE(IsWindow(window)) << "Esc closed the program in full screen";
    EXPECT_EQ(shown(after), std::make_tuple(WS_CAPTION, true, true)) << leave;
    EXPECT_TRUE(EqualRect(&after, &before)) << leave;
  }
  // Closed in full screen, the window's place kept for the next start is the windowed one.
  SendMessageA(window, WM_KEYDOWN, VK_F11, 0);
  DestroyWindow(window);
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kSettingsKey, "last.left"), std::to_string(before.left));
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kSettingsKey, "last.top"), std::to_string(before.top));
}

TEST(ScreenModes, SlideshowScrollsRestsOpensTheNextAndAKeyStopsIt) {
  MainWindowTest test;
  TempDir dir;
  HWND window = test.window();
  dir.Write("b.nfo", Rows(200, 30));
  test.Show(dir.Write("a.nfo", Rows(200, 40)));
  ASSERT_EQ(test.StatusText(1), "1/2");
  KeyWith(window, 'L', {VK_CONTROL});
  EXPECT_TRUE(Checked(window, IDM_SLIDESHOW));
  SendMessageA(window, WM_TIMER, kSlideTimer, 0);
  EXPECT_EQ(view.scrollY, 8);
  // To the end, a rest, then the next piece from its top: bounded, each tick one row or one resting tick.
  int ticks = 0;
  for (; ticks < 1000 && test.StatusText(1) != "2/2"; ++ticks) {
    SendMessageA(window, WM_TIMER, kSlideTimer, 0);
    UpdateWindow(window);
  }
  EXPECT_EQ(ticks, (view.pageHeight - view.sourceHeight) / 8 + 10);
  EXPECT_EQ(view.scrollY, 0);
  SendMessageA(window, WM_TIMER, kSlideTimer, 0);
  EXPECT_EQ(view.scrollY, 8);
  // A key stops it and does nothing else; the timer no longer moves the view.
  SendMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(window, WM_TIMER, kSlideTimer, 0);
  EXPECT_EQ(view.scrollY, 8);
  EXPECT_FALSE(Checked(window, IDM_SLIDESHOW));
}

}  // namespace
