// The real main window: its class, styles, menu, first paint, status bar and
// message loop, driven with messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/main_window.h"
#include "app/viewer_state.h"
#include "test_support.h"

namespace {

// "text=id" for each item ("-" a separator), with g when grayed and c when
// checked, popups in brackets.
std::string DescribeMenu(HMENU menu) {
  std::string text;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char name[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), name, sizeof name, MF_BYPOSITION);
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    if (i > 0) text += " ";
    if (HMENU popup = GetSubMenu(menu, i)) {
      text += std::string(name) + "[" + DescribeMenu(popup) + "]";
    } else if (state & MF_SEPARATOR) {
      text += "-";
    } else {
      text += std::string(name) + "=" + std::to_string(GetMenuItemID(menu, i)) +
              (state & MF_GRAYED ? "g" : "") + (state & MF_CHECKED ? "c" : "");
    }
  }
  return text;
}

TEST(MainWindow, Menu) {
  MainWindowTest test;
  EXPECT_EQ(DescribeMenu(GetMenu(test.window())),
            "&File[&Load=101 &Config=103 - none=400g none=401g none=402g none=403g none=404g - &Exit=102] "
            "&Keymap[1. Rururerir  (Eng)=201c] &Help[Help=301g About=302]");
}

TEST(MainWindow, FirstPaintHappensAtZeroSizeAndSizesTheWindow) {
  MainWindowTest test;  // creation pumps the messages it causes
  EXPECT_EQ(viewer.firstPaint, 0);
  EXPECT_NE(viewer.pageBitmap, nullptr);
  RECT rect;
  GetWindowRect(test.window(), &rect);
  EXPECT_EQ(rect.bottom - rect.top, viewer.viewHeight + 80);
  // With no document named the program's own file is shown.
  EXPECT_NE(test.Title().find(" - Quillpane 0.8.8 beta"), std::string::npos);
}

TEST(MainWindow, StatusBarFollowsTheDocumentAndItsFolder) {
  MainWindowTest test;
  TempDir dir;
  test.Show(dir.Write("Zero.NFO", std::string("12345\0abc", 9)));
  // Five bytes before the zero byte and the line feed a render appends.
  const std::string runs = ", runtimes:" + std::to_string(viewer.runCount);
  EXPECT_EQ(test.StatusText(0), "anttkn:6, filhantag:" + std::to_string(viewer.fileHandle) + runs);
  EXPECT_NE(viewer.fileHandle, -1);
  EXPECT_EQ(test.StatusText(1), "1/1");
  dir.Write("other.asc", "x\n");
  test.Show(dir.path() + "gone.nfo");
  EXPECT_EQ(test.StatusText(0), "anttkn:24, filhantag:-1" + runs);
  EXPECT_EQ(test.StatusText(1), "0/2");
  // Page Down from outside the list goes to its first entry; at the end it
  // does nothing.
  for (const char* want : {"1/2", "2/2", "2/2"}) {
    SendMessageA(test.window(), WM_KEYDOWN, VK_NEXT, 0);
    PumpMessages();
    EXPECT_EQ(test.StatusText(1), want);
  }
  EXPECT_STREQ(viewer.textBuffer, "x\n");
}

BOOL WINAPI FailingGetMessage(LPMSG, HWND, UINT, UINT) { return -1; }

BOOL WINAPI QuitWithSeven(LPMSG message, HWND, UINT, UINT) {
  message->message = WM_QUIT;
  message->wParam = 7;
  return 0;
}

TEST(MainWindow, MessageLoopExitCodes) {
  EXPECT_EQ(RunMessageLoop(QuitWithSeven), 7);
  EXPECT_EQ(RunMessageLoop(FailingGetMessage), 1);
}

}  // namespace
