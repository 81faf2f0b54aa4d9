// The real main window: its class, styles, menu, start-up and shutdown,
// driven with messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/main_window.h"
#include "app/viewer_state.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

struct MenuItem {
  int popup;
  int position;
  UINT id;  // 0 for a separator
  const char* text;
  bool grayed;
};

const MenuItem kMenu[] = {
    {0, 0, 101, "&Load", false},
    {0, 1, 103, "&Config", false},
    {0, 2, 0, "", false},
    {0, 3, 400, "none", true},
    {0, 4, 401, "none", true},
    {0, 5, 402, "none", true},
    {0, 6, 403, "none", true},
    {0, 7, 404, "none", true},
    {0, 8, 0, "", false},
    {0, 9, 102, "&Exit", false},
    {1, 0, 201, "1. Rururerir  (Eng)", false},
    {2, 0, 301, "Help", true},
    {2, 1, 302, "About", false},
};

TEST(MainWindow, MenuTextsIdsAndStates) {
  MainWindowTest test;
  HMENU menu = GetMenu(test.window());
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  const char* popups[] = {"&File", "&Keymap", "&Help"};
  for (int i = 0; i < 3; ++i) {
    char text[64] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, popups[i]);
  }
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 10);
  for (const MenuItem& item : kMenu) {
    SCOPED_TRACE(item.text);
    HMENU popup = GetSubMenu(menu, item.popup);
    EXPECT_EQ(GetMenuItemID(popup, item.position), item.id == 0 ? 0u : item.id);
    const UINT state = GetMenuState(popup, static_cast<UINT>(item.position), MF_BYPOSITION);
    if (item.id == 0) {
      EXPECT_TRUE(state & MF_SEPARATOR);
      continue;
    }
    char text[64] = {};
    GetMenuStringA(menu, item.id, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, item.text);
    EXPECT_EQ((state & MF_GRAYED) != 0, item.grayed);
  }
  // The built-in sheet carries the radio mark from the start.
  EXPECT_TRUE(GetMenuState(menu, IDM_BUILTIN_SHEET, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(MainWindow, ClassAndWindowStyles) {
  MainWindowTest test;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "MittLillaFunster", &windowClass));
  EXPECT_EQ(windowClass.style, 0x100Bu);
  EXPECT_EQ(windowClass.hbrBackground, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(windowClass.cbClsExtra, 0);
  EXPECT_EQ(windowClass.cbWndExtra, 0);
  EXPECT_NE(windowClass.hIcon, nullptr);

  const LONG style = GetWindowLongA(test.window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_BORDER);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_VISIBLE);
  const LONG exStyle = GetWindowLongA(test.window(), GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(exStyle & WS_EX_ACCEPTFILES);

  HWND status = GetDlgItem(test.window(), IDC_STATUS_BAR);
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status, viewer.statusBar);
  EXPECT_EQ(SendMessageA(status, SB_GETPARTS, 0, 0), 2);
}

TEST(MainWindow, FirstPaintHappensAtZeroSizeAndSizesTheWindow) {
  MainWindowTest test;  // creation pumps the messages it causes
  EXPECT_EQ(viewer.firstPaint, 0);
  EXPECT_EQ(viewer.needsRender, 0);
  EXPECT_NE(viewer.pageBitmap, nullptr);
  RECT rect;
  GetWindowRect(test.window(), &rect);
  EXPECT_GE(rect.right - rect.left, 200 + 30);
  EXPECT_EQ(rect.bottom - rect.top, viewer.viewHeight + 80);
  // With no document named the program's own file is shown.
  EXPECT_NE(test.Title().find(" - Quillpane 0.8.8 beta"), std::string::npos);
  EXPECT_EQ(test.StatusText(0).rfind("anttkn:", 0), 0u);
}

TEST(MainWindow, StatusBarAfterShowingFiles) {
  MainWindowTest test;
  TempDir dir;
  const std::string path = dir.Write("Zero.NFO", std::string("12345\0abc", 9));
  dir.Write("other.asc", "x\n");
  test.Show(path);
  PumpMessages();
  const std::string expected = "anttkn:6, filhantag:" + std::to_string(viewer.fileHandle) + ", runtimes:0";
  EXPECT_EQ(test.StatusText(0), expected);  // five bytes and the appended line feed
  EXPECT_NE(viewer.fileHandle, -1);
  EXPECT_EQ(test.StatusText(1), "1/2");

  test.Show(dir.path() + "gone.nfo");
  EXPECT_EQ(test.StatusText(0), "anttkn:24, filhantag:-1, runtimes:0");
  EXPECT_EQ(test.StatusText(1), "0/2");

  // Page Down from outside the list goes to its first entry.
  SendMessageA(test.window(), WM_KEYDOWN, VK_NEXT, 0);
  PumpMessages();
  EXPECT_EQ(test.StatusText(1), "1/2");
  SendMessageA(test.window(), WM_KEYDOWN, VK_NEXT, 0);
  PumpMessages();
  EXPECT_EQ(test.StatusText(1), "2/2");
  EXPECT_STREQ(viewer.textBuffer, "x\n");
  SendMessageA(test.window(), WM_KEYDOWN, VK_NEXT, 0);  // at the end: nothing
  PumpMessages();
  EXPECT_EQ(test.StatusText(1), "2/2");
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
