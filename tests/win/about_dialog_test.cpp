// The About dialog, opened by the main window's menu, driven inside its modal loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "about/about.h"
#include "core/viewer_state.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlue = RGB(0, 0, 255);
void (*aboutBody)(HWND);
std::vector<HGDIOBJ> objects;  // the logo, its DC and the brush of each opening

void CALLBACK RunAboutBody(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "About");
  if (!IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  objects.insert(objects.end(), {aboutState.logoBitmap, aboutState.logoDC, viewer.backgroundBrush});
  aboutBody(dialog);
}

// Help, About; `body` runs once the modal loop has shown the dialog, and closes it.
void WithAbout(HWND mainWindow, void (*body)(HWND)) {
  aboutBody = body;
  SetTimer(nullptr, 0, 10, RunAboutBody);
  SendMessageA(mainWindow, WM_COMMAND, IDM_ABOUT, 0);
}

// The link's colour (white or blue on black) once the mouse has moved to (x, y).
COLORREF LinkColourAt(HWND dialog, int x, int y) {
  SendMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  const RECT& link = aboutState.linkRect;
  HDC dc = GetDC(dialog);
  COLORREF brightest = 0;
  for (int py = link.top; py < link.bottom; ++py)
    for (int px = link.left; px < link.right; ++px) brightest = std::max(brightest, GetPixel(dc, px, py));
  ReleaseDC(dialog, dc);
  return brightest;
}

std::string shellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
  shellCalls += std::string(verb) + " " + file + " " + std::to_string(show) + ";";
  return reinterpret_cast<HINSTANCE>(42);
}

TEST(AboutDialog, LinkFramesAndClosing) {
  MainWindowTest test;
  aboutShellExecute = RecordShellExecute;
  WithAbout(test.window(), [](HWND dialog) {
    for (MSG press :
         {MSG{dialog, WM_KEYDOWN, VK_RETURN, 0, 0, {}}, MSG{dialog, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}}})
      IsDialogMessageA(dialog, &press);
    EXPECT_TRUE(aboutState.open && IsWindowVisible(dialog)) << "Enter and Escape leave it open";

    // All four edges belong to the link; the last point leaves the mouse on it for the click.
    const int left = aboutState.linkRect.left, right = aboutState.linkRect.right;
    const std::tuple<int, int, COLORREF> points[] = {{left, 129, kWhite},      {left, 130, kBlue},
                                                     {left - 1, 130, kWhite},  {right, 147, kWhite},
                                                     {right + 1, 140, kWhite}, {right, 146, kBlue}};
    for (const auto& [x, y, colour] : points) EXPECT_EQ(LinkColourAt(dialog, x, y), colour) << x << "," << y;
    SendMessageA(dialog, WM_LBUTTONDOWN, 0, MAKELPARAM(right, 146));
    // Activation by a click does not draw it all again: the link stays blue.
    SendMessageA(dialog, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(LinkColourAt(dialog, right, 146), kBlue);

    const int32_t& swing = aboutState.credits.swingAmplitude;
    const int32_t before = swing;
    for (DWORD start = GetTickCount(); swing == before && GetTickCount() - start < 5000; Sleep(10))
      PumpMessages();
    EXPECT_NE(swing, before) << "no animation frame came while nothing else happened";
    SendMessageA(GetDlgItem(dialog, IDC_ABOUT_OK), BM_CLICK, 0, 0);
  });
  WithAbout(test.window(), [](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
  aboutShellExecute = ShellExecuteA;
  EXPECT_EQ(shellCalls, "open http://quillpane.example.org/ 3;");
  // Closing frees the logo and its DC; the next opening, the brush of the last.
  std::string types;
  for (HGDIOBJ object : objects) types += std::to_string(GetObjectType(object)) + " ";
  EXPECT_EQ(types, "0 0 0 0 0 " + std::to_string(OBJ_BRUSH) + " ");
}

}  // namespace
