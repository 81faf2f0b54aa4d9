// View > ANSI colours in the real window: the menu item and its setting, the
// page in the 16 colours, scrolling and zoom by 8 x 16 cells, and the copy.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/viewer_state.h"
#include "reference_render.h"
#include "render/render.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

bool ItemChecked(HWND window) {
  return (GetMenuState(GetMenu(window), IDM_ANSI_COLOURS, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// The stored ansicolours value; -1 when there is none.
int64_t StoredSetting() {
  HKEY key;
  DWORD value = 0, size = sizeof value, type = 0;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Molvo\\Quillpane", 0, KEY_READ, &key)) return -1;
  const LONG result =
      RegQueryValueExA(key, "ansicolours", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_DWORD ? int64_t{value} : -1;
}

void PressCtrlShiftA(HWND window) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(window, WM_KEYDOWN, 'A', 0);
  keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  PumpMessages();
}

template <typename Char>
std::basic_string<Char> Clipboard(UINT format) {
  OpenClipboard(nullptr);
  HANDLE data = GetClipboardData(format);
  const std::basic_string<Char> text = static_cast<const Char*>(GlobalLock(data));
  GlobalUnlock(data);
  CloseClipboard();
  return text;
}

TEST(ColourMode, TheItemShowsAnsFilesInColourAndIsRemembered) {
  TempDir dir;
  // Blank on blue, a green block, a NUL (a blank cell, not the end) and a red block; then "ab".
  const std::string art =
      dir.Write("art.ans", std::string("\x1b[44m \x1b[0;32m\xdb\x1b[31m\0\xdb\r\nab", 27));
  {
    MainWindowTest test;
    EXPECT_EQ(std::make_tuple(viewer.ansiColours, ItemChecked(test.window()), StoredSetting()),
              std::make_tuple(0, false, int64_t{-1}))
        << "off on a fresh install";
    // Shown first in the text layout, whose line feed goes over the NUL.
    test.Show(art);
    EXPECT_EQ(std::make_tuple(ShownAnsiScreen(), viewer.pageCellHeight), std::make_tuple(nullptr, 8));

    SendMessageA(test.window(), WM_COMMAND, IDM_ANSI_COLOURS, 0);
    PumpMessages();
    EXPECT_EQ(std::make_tuple(ItemChecked(test.window()), StoredSetting()),
              std::make_tuple(true, int64_t{1}));
    ASSERT_NE(ShownAnsiScreen(), nullptr);
    int32_t width, height;
    const std::vector<uint32_t> page = ReadPixels(viewer.pageBitmap, &width, &height);
    EXPECT_EQ(std::make_tuple(width, height, viewer.pageCellHeight, viewer.cellHeight),
              std::make_tuple(640, 32, 16, 16));
    EXPECT_EQ(std::vector<uint32_t>(
                  {page[2 * 640 + 2], page[5 * 640 + 10], page[5 * 640 + 18], page[5 * 640 + 26]}),
              std::vector<uint32_t>({0x0000AA, 0x00AA00, 0x000000, 0xAA0000}));
    UpdateWindow(test.window());
    HDC windowDC = GetDC(test.window());
    EXPECT_EQ(GetPixel(windowDC, 10 + 26, 10 + 5), RGB(0xAA, 0, 0)) << "the window shows the page at zoom 8";
    ReleaseDC(test.window(), windowDC);

    // A drag selects whole 8 x 16 cells and copies the characters they show.
    SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(12, 12));
    SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(44, 44));
    const RECT& box = viewer.selectionRect;
    EXPECT_EQ(std::make_tuple(box.left, box.top, box.right, box.bottom), std::make_tuple(10, 10, 42, 42));
    EXPECT_EQ(Clipboard<char>(CF_TEXT), " \u2588 \u2588\r\nab");  // UTF-8, the code page
    EXPECT_EQ(Clipboard<wchar_t>(CF_UNICODETEXT), L" \u2588 \u2588\r\nab");

    // Rows of 16 page pixels: the arrows and the wheel scroll by them, the zoom keeps their shape.
    // End shows the last rows, which the page draws only once they are shown.
    std::string tall;
    for (int i = 0; i < 200; ++i) tall += "\x1b[3" + std::to_string(i % 8) + "m\xdb\xdb\r\n";
    test.Show(dir.Write("tall.ANS", tall));
    const int32_t end = viewer.pageHeight - viewer.sourceHeight;
    const std::tuple<UINT, WPARAM, int32_t, int32_t, int32_t> steps[] = {
        {WM_KEYDOWN, VK_DOWN, 16, 16, 16},  {WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 64, 64, 16},
        {WM_KEYDOWN, VK_END, end, end, 16}, {WM_KEYDOWN, VK_ADD, 0, 0, 18},
        {WM_KEYDOWN, VK_DOWN, 16, 18, 18},
    };
    for (const auto& [message, wParam, scrollY, thumb, cellHeight] : steps) {
      SendMessageA(test.window(), message, wParam, 0);
      EXPECT_EQ(std::make_tuple(viewer.scrollY, GetScrollPos(viewer.scrollBar, SB_CTL), viewer.cellHeight),
                std::make_tuple(scrollY, thumb, cellHeight))
          << message << " " << wParam;
      if (wParam != VK_END) continue;
      UpdateWindow(test.window());
      HDC dc = GetDC(test.window());
      EXPECT_EQ(GetPixel(dc, 14, 10 + viewer.viewHeight - 8), RGB(0xAA, 0xAA, 0xAA)) << "row 199, light grey";
      ReleaseDC(test.window(), dc);
    }

    // Any other document keeps the text layout, in the zoom's square cells.
    test.Show(dir.Write("beside.nfo", "\x1b[31mred\r\n"));
    EXPECT_EQ(std::make_tuple(ShownAnsiScreen(), viewer.pageCellHeight, viewer.cellHeight),
              std::make_tuple(nullptr, 8, 9));
    PressCtrlShiftA(test.window());
    EXPECT_EQ(std::make_tuple(viewer.ansiColours, ItemChecked(test.window()), StoredSetting()),
              std::make_tuple(0, false, int64_t{0}));
    PressCtrlShiftA(test.window());
  }
  // The next start reads the setting back.
  MainWindowTest again(true);
  EXPECT_EQ(std::make_tuple(viewer.ansiColours, ItemChecked(again.window())), std::make_tuple(1, true));
  again.Show(art);
  EXPECT_NE(ShownAnsiScreen(), nullptr);
  ForgetSavedSettings();
}

}  // namespace
