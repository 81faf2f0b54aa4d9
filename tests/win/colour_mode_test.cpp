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

// The mode, the menu item's mark and the stored setting ("-": none).
std::tuple<int32_t, bool, std::string> Mode(HWND window) {
  return {viewer.ansiColours,
          (GetMenuState(GetMenu(window), IDM_ANSI_COLOURS, MF_BYCOMMAND) & MF_CHECKED) != 0,
          RegText(HKEY_LOCAL_MACHINE, kSettingsKey, "ansicolours")};
}

TEST(ColourMode, TheItemShowsAnsFilesInColourAndIsRemembered) {
  TempDir dir;
  // Blank on blue, a green block, a NUL (a blank cell, not the end) and a red block; then "ab".
  const std::string art =
      dir.Write("art.ans", std::string("\x1b[44m \x1b[0;32m\xdb\x1b[31m\0\xdb\r\nab", 25));
  {
    MainWindowTest test;
    EXPECT_EQ(Mode(test.window()), std::make_tuple(0, false, "-")) << "off on a fresh install";
    // Shown first in the text layout, whose line feed goes over the NUL.
    test.Show(art);
    EXPECT_EQ(std::make_tuple(ShownAnsiScreen(), viewer.pageCellHeight), std::make_tuple(nullptr, 8));

    SendMessageA(test.window(), WM_COMMAND, IDM_ANSI_COLOURS, 0);
    PumpMessages();
    EXPECT_EQ(Mode(test.window()), std::make_tuple(1, true, "1"));
    ASSERT_NE(ShownAnsiScreen(), nullptr);
    int32_t width, height;
    const std::vector<uint32_t> page = ReadPixels(viewer.pageBitmap, &width, &height);
    EXPECT_EQ(std::make_tuple(width, height, viewer.pageCellHeight, viewer.cellHeight),
              std::make_tuple(640, 32, 16, 16));
    EXPECT_EQ(std::vector<uint32_t>(
                  {page[2 * 640 + 2], page[5 * 640 + 10], page[5 * 640 + 18], page[5 * 640 + 26]}),
              std::vector<uint32_t>({0x0000AA, 0x00AA00, 0x000000, 0xAA0000}));
    EXPECT_EQ(WindowPixel(test.window(), 10 + 26, 10 + 5), RGB(0xAA, 0, 0)) << "the page at zoom 8";

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
      EXPECT_TRUE(wParam != VK_END || WindowPixel(test.window(), 14, 10 + viewer.viewHeight - 8) == 0xAAAAAA)
          << "row 199, light grey";
    }

    // Any other document keeps the text layout, in the zoom's square cells.
    test.Show(dir.Write("beside.nfo", "\x1b[31mred\r\n"));
    EXPECT_EQ(std::make_tuple(ShownAnsiScreen(), viewer.pageCellHeight, viewer.cellHeight),
              std::make_tuple(nullptr, 8, 9));
    KeyWith(test.window(), 'A', {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(Mode(test.window()), std::make_tuple(0, false, "0"));
    KeyWith(test.window(), 'A', {VK_CONTROL, VK_SHIFT});
  }
  // The next start reads the setting back.
  MainWindowTest again(true);
  EXPECT_EQ(Mode(again.window()), std::make_tuple(1, true, "1"));
  again.Show(art);
  EXPECT_NE(ShownAnsiScreen(), nullptr);
  ForgetSavedSettings();
}

}  // namespace
