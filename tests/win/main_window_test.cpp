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
