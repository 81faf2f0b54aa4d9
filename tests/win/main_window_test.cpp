// The real main window's first paint, status bar and message loop.
#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "core/viewer_state.h"
#include "test_support.h"

namespace {

TEST(MainWindow, FirstPaintAtZeroSizeThenTheStatusBarFollowsTheDocument) {
  MainWindowTest test;  // created at zero size; the first paint comes all the same and sizes it
  RECT rect;
  GetWindowRect(test.window(), &rect);
  EXPECT_EQ(viewer.firstPaint, 0);
  EXPECT_EQ(rect.bottom - rect.top, viewer.viewHeight + 80);
  TempDir dir;
  // Five bytes before the zero byte and the line feed a render appends.
  test.Show(dir.Write("Zero.NFO", std::string("12345\0abc", 9)));
  const std::string runs = ", runtimes:" + std::to_string(viewer.runCount);
  EXPECT_EQ(test.StatusText(0) + " " + test.StatusText(1),
            "anttkn:6, filhantag:" + std::to_string(viewer.fileHandle) + runs + " 1/1");
  dir.Write("other.asc", "x\n");
  test.Show(dir.path() + "gone.nfo");
  EXPECT_EQ(test.StatusText(0) + " " + test.StatusText(1), "anttkn:24, filhantag:-1" + runs + " 0/2");
  // Page Down from outside the list goes to its first entry, and stops at the end.
  for (const char* want : {"1/2", "2/2", "2/2"}) {
    SendMessageA(test.window(), WM_KEYDOWN, VK_NEXT, 0);
    PumpMessages();
    EXPECT_EQ(test.StatusText(1), want);
  }
  EXPECT_STREQ(viewer.textBuffer, "x\n");
}

BOOL WINAPI FailingGetMessage(LPMSG, HWND, UINT, UINT) { return -1; }

BOOL WINAPI QuitWithSeven(LPMSG message, HWND, UINT, UINT) {
  *message = MSG{nullptr, WM_QUIT, 7, 0, 0, {}};
  return 0;
}

TEST(MainWindow, MessageLoopExitCodes) {
  EXPECT_EQ(RunMessageLoop(QuitWithSeven), 7);
  EXPECT_EQ(RunMessageLoop(FailingGetMessage), 1);
}

}  // namespace
