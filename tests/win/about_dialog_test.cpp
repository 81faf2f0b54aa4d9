// The About dialog opened by the real main window's menu command and driven
// inside its modal loop from a thread timer.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "about/about.h"
#include "app/viewer_state.h"
#include "reference_render.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlue = RGB(0, 0, 255);
std::function<void(HWND)> aboutBody;

void CALLBACK RunAboutBody(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "About");
  // The modal loop shows the dialog once its queue is first empty.
  if (dialog == nullptr || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  aboutBody(dialog);
}

// Help, About; `body` runs while the dialog is open and closes it.
void WithAbout(HWND mainWindow, std::function<void(HWND)> body) {
  aboutBody = std::move(body);
  SetTimer(nullptr, 0, 10, RunAboutBody);
  SendMessageA(mainWindow, WM_COMMAND, IDM_ABOUT, 0);
}

// The colour of the link's first lit pixel.
COLORREF LinkColour(HWND dialog) {
  HDC dc = GetDC(dialog);
  COLORREF colour = 0;
  const RECT& link = aboutState.linkRect;
  for (int i = 0; colour == 0 && i < (link.right - link.left) * 17; ++i) {
    colour = GetPixel(dc, link.left + i % (link.right - link.left), link.top + i / (link.right - link.left));
  }
  ReleaseDC(dialog, dc);
  return colour;
}

std::string shellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                    INT show) {
  const bool plain = owner == FindWindowA("#32770", "About") && parameters == nullptr && directory == nullptr;
  shellCalls += std::string(verb) + " " + file + " " + std::to_string(show) + (plain ? ";" : " ?;");
  return reinterpret_cast<HINSTANCE>(42);
}

// The pixels of `source` in the rectangle at (x, y) of size w x h.
std::vector<uint32_t> Shot(HDC source, int x, int y, int w, int h) {
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, source, x, y, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  int32_t width, height;
  const std::vector<uint32_t> pixels = ReadPixels(bitmap, &width, &height);
  DeleteObject(bitmap);
  return pixels;
}

// The logo at (W/2 - 70, 70) and the version line at (2, H - 18), white on
// black in the system font.
void ExpectLogoAndVersion(HWND dialog) {
  HDC dc = GetDC(dialog), memory = CreateCompatibleDC(dc);
  HBITMAP logo = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_LOGO));
  HGDIOBJ old = SelectObject(memory, logo);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_TRUE(Shot(dc, client.right / 2 - 70, 70, 141, 56) == Shot(memory, 0, 0, 141, 56)) << "logo";
  const char version[] = "Ver: 0.8.8 beta";
  SIZE size;
  GetTextExtentPoint32A(dc, version, lstrlenA(version), &size);
  HBITMAP text = CreateCompatibleBitmap(dc, size.cx, size.cy);
  SelectObject(memory, text);
  SetTextColor(memory, RGB(255, 255, 255));
  SetBkColor(memory, RGB(0, 0, 0));
  TextOutA(memory, 0, 0, version, lstrlenA(version));
  EXPECT_TRUE(Shot(dc, 2, client.bottom - 18, size.cx, size.cy) == Shot(memory, 0, 0, size.cx, size.cy))
      << version;
  SelectObject(memory, old);
  DeleteObject(text);
  DeleteObject(logo);
  DeleteDC(memory);
  ReleaseDC(dialog, dc);
}

void Mouse(HWND dialog, UINT message, int x, int y) { SendMessageA(dialog, message, 0, MAKELPARAM(x, y)); }

TEST(AboutDialog, LinkFramesAndClosing) {
  MainWindowTest test;
  aboutShellExecute = RecordShellExecute;
  std::vector<HGDIOBJ> objects;  // the logo, its DC and the brush of each opening
  const auto opened = [&](HWND dialog) {
    objects.insert(objects.end(), {aboutState.logoBitmap, aboutState.logoDC, viewer.backgroundBrush});
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
      MSG message = {GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
      IsDialogMessageA(dialog, &message);
    }
    EXPECT_TRUE(aboutState.open && IsWindowVisible(dialog)) << "Enter and Escape leave it open";
  };
  WithAbout(test.window(), [&](HWND dialog) {
    opened(dialog);
    ExpectLogoAndVersion(dialog);
    const RECT link = aboutState.linkRect;
    EXPECT_EQ(LinkColour(dialog), kWhite);
    // All four edges belong to the link.
    const struct {
      int x, y;
      COLORREF colour;
    } points[] = {{link.left, 130, kBlue},   {link.left - 1, 130, kWhite},  {link.right, 146, kBlue},
                  {link.right, 147, kWhite}, {link.right + 1, 140, kWhite}, {link.left, 129, kWhite},
                  {link.right, 135, kBlue}};
    for (const auto& p : points) {
      Mouse(dialog, WM_MOUSEMOVE, p.x, p.y);
      EXPECT_EQ(LinkColour(dialog), p.colour) << p.x << "," << p.y;
    }
    Mouse(dialog, WM_LBUTTONDOWN, link.right, 135);
    // Activation by a click keeps the blue; any other activation draws it all.
    SendMessageA(dialog, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(LinkColour(dialog), kBlue);
    SendMessageA(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(LinkColour(dialog), kWhite);
    Mouse(dialog, WM_MOUSEMOVE, link.right, 147);
    Mouse(dialog, WM_LBUTTONDOWN, link.right, 147);
    // The frames come while nothing else happens.
    const int32_t amplitude = aboutState.credits.swingAmplitude;
    for (DWORD start = GetTickCount(); aboutState.credits.swingAmplitude == amplitude;) {
      if (GetTickCount() - start > 5000) break;
      PumpMessages();
      Sleep(10);
    }
    EXPECT_NE(aboutState.credits.swingAmplitude, amplitude) << "no animation frame";
    SendMessageA(GetDlgItem(dialog, IDC_ABOUT_OK), BM_CLICK, 0, 0);
  });
  WithAbout(test.window(), [&](HWND dialog) {
    opened(dialog);
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  aboutShellExecute = ShellExecuteA;
  EXPECT_EQ(shellCalls, "open http://quillpane.example.org/ 3;");
  // Closing frees the logo and its DC. Each opening replaces the brush of
  // the one before; the main window deletes the last one at exit.
  const DWORD types[] = {0, 0, 0, 0, 0, OBJ_BRUSH};
  ASSERT_EQ(objects.size(), 6u);
  for (size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(GetObjectType(objects[i]), types[i]) << i;
}

}  // namespace
