// A drag over the real window copies text; the build's sheets fill the Keymap menu.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "core/viewer_state.h"
#include "test_support.h"

namespace {

TEST(Selection, DragCopiesTheCellsAndKeymapSheetsDrawThem) {
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, sizeof program);
  MainWindowTest test(false, program);  // the build's sheets are in the fonts folder beside it
  TempDir dir;
  test.Show(dir.Write("rows.nfo", "A\xCD\xBBxyz\r\n\xDB\xB2\xB1jkl\r\n"));
  SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(12, 12));
  SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(36, 28));
  // The test program's code page is UTF-8, as the viewer's: CF_TEXT holds the characters' UTF-8.
  const std::string copied = "A\u2550\u2557\r\n\u2588\u2593\u2592";
  EXPECT_EQ(Clipboard<char>(CF_TEXT), copied);
  EXPECT_EQ(Clipboard<wchar_t>(CF_UNICODETEXT), L"A\u2550\u2557\r\n\u2588\u2593\u2592");
  // Released in the press cell, or on the press cell's grid line across:
  // no cell is selected, and what the user copied stays on the clipboard.
  for (const LPARAM release : {MAKELPARAM(13, 13), MAKELPARAM(13, 28)}) {
    SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(12, 12));
    SendMessageA(test.window(), WM_LBUTTONUP, 0, release);
    EXPECT_EQ(std::pair(viewer.selectionShown, Clipboard<char>(CF_TEXT)), std::pair(0, copied))
        << "a click hides the selection and leaves the clipboard alone";
  }

  const auto keymap = [menu = GetSubMenu(GetMenu(test.window()), 1)] {  // ids and texts, then the checked
    std::string items, checked;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[64] = {};
      GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
      items += std::to_string(GetMenuItemID(menu, i)) + " " + text + "|";
      if (GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) checked += text;
    }
    return items + checked;
  };
  const std::string items =
      "202 0. Rururerir Blue  (Eng)|203 1. Rururerir Bold  (Eng)|"
      "204 2. Rururerir Thin  (Eng)|201 1. Rururerir  (Eng)|";

  // The colour sheet's pixels reach the window unchanged: dark blue on white, the top of the A.
  PumpMessages();  // the clicks' paints
  SendMessageA(test.window(), WM_COMMAND, 202, 0);
  EXPECT_EQ(std::make_pair(WindowPixel(test.window(), 12, 10), WindowPixel(test.window(), 10, 10)),
            std::make_pair(RGB(0, 0, 0xAA), RGB(0xFF, 0xFF, 0xFF)));

  // The same item again renders nothing; a sheet whose bitmap is missing is not taken.
  SendMessageA(test.window(), WM_COMMAND, 202, 0);
  lstrcpyA(viewer.fontList[2].fontBitmapPath, (dir.path() + "missing.bmp").c_str());
  SendMessageA(test.window(), WM_COMMAND, 204, 0);
  EXPECT_EQ(std::pair(viewer.needsRender, keymap()), std::pair(0, items + "0. Rururerir Blue  (Eng)"));
  SendMessageA(test.window(), WM_COMMAND, 201, 0);
  EXPECT_EQ(std::pair(viewer.needsRender, keymap()), std::pair(1, items + "1. Rururerir  (Eng)"));
}

}  // namespace
