// The real main window's first paint, status bar and message loop.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600  // RegSetKeyValueA
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

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

// Wine reads the screen's DPI from LogPixels when a process starts: a child
// process runs the disabled test below under each setting.
TEST(MainWindow, StartZoomFollowsTheScreensDpi) {
  const char* const desktop = "Control Panel\\Desktop";
  const std::string previous = RegText(HKEY_CURRENT_USER, desktop, "LogPixels");
  const auto setDpi = [desktop](DWORD dpi) {
    RegSetKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
  };
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, sizeof program);
  std::string command = std::string("\"") + program +
                        "\" --gtest_also_run_disabled_tests --gtest_filter=MainWindow.DISABLED_StartZoomHere";
  for (const auto& [dpi, zoom] : {std::pair<DWORD, int>{192, 15}, {96, 8}}) {
    setDpi(dpi);
    SetEnvironmentVariableA("QP_WANT_START_ZOOM", std::to_string(zoom).c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &child)) {
      ADD_FAILURE() << "cannot start " << command;  // and the setting is still put back
      continue;
    }
    if (WaitForSingleObject(child.hProcess, 120000) != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 2);
    DWORD exitCode = 2;
    GetExitCodeProcess(child.hProcess, &exitCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_EQ(exitCode, 0u) << "the start zoom at " << dpi << " DPI is not " << zoom;
  }
  SetEnvironmentVariableA("QP_WANT_START_ZOOM", nullptr);
  if (previous == "-") {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels");
  } else {
    setDpi(std::stoul(previous));
  }
}

TEST(MainWindow, DISABLED_StartZoomHere) {
  const char* want = std::getenv("QP_WANT_START_ZOOM");
  ASSERT_NE(want, nullptr);
  MainWindowTest test;
  EXPECT_EQ(viewer.cellWidth, std::atoi(want));
}

BOOL WINAPI FailingGetMessage(LPMSG, HWND, UINT, UINT) { return -1; }

// A quit message's code is the Find test's.
TEST(MainWindow, AFailedMessageLoopExitsWithOne) { EXPECT_EQ(RunMessageLoop(FailingGetMessage), 1); }

}  // namespace
