// A drag over the real window copies the cells' text; the build's sheets
// beside the test program fill the Keymap menu, and choosing one draws.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "app/viewer_state.h"
#include "test_support.h"

namespace {

// The clipboard's CF_TEXT, and its CF_UNICODETEXT as UTF-16 bytes.
std::string ClipboardText(UINT format = CF_TEXT) {
  OpenClipboard(nullptr);
  HANDLE data = GetClipboardData(format);
  const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : "";
  const std::string text = format == CF_TEXT
                               ? std::string(bytes)
                               : std::string(bytes, 2 * lstrlenW(reinterpret_cast<LPCWSTR>(bytes)));
  if (data != nullptr) GlobalUnlock(data);
  CloseClipboard();
  return text;
}

void Mouse(HWND window, UINT message, int x, int y) { SendMessageA(window, message, 0, MAKELPARAM(x, y)); }

TEST(Selection, DragCopiesTheCellsAndAClickHidesThem) {
  MainWindowTest test;
  TempDir dir;
  test.Show(dir.Write("rows.nfo", "\xC9\xCD\xBB" "def\r\n\xDB\xB2\xB1" "jkl\r\nmnopqr\r\n"));
  Mouse(test.window(), WM_LBUTTONDOWN, 12, 12);
  Mouse(test.window(), WM_MOUSEMOVE, 36, 28);
  Mouse(test.window(), WM_LBUTTONUP, 36, 28);
  // The bytes as they are, and as the characters the glyphs show: the frame
  // corners and bar, a full block and two shades.
  EXPECT_EQ(ClipboardText(), "\xC9\xCD\xBB\r\n\xDB\xB2\xB1");
  EXPECT_EQ(ClipboardText(CF_UNICODETEXT),
            std::string("\x54\x25\x50\x25\x57\x25\r\0\n\0\x88\x25\x93\x25\x92\x25", 16));
  EXPECT_TRUE(viewer.selectionShown);
  // Hidden by a scroll, it does not come back with the next press.
  SendMessageA(test.window(), WM_VSCROLL, SB_LINEDOWN, 0);
  Mouse(test.window(), WM_LBUTTONDOWN, 12, 12);
  EXPECT_TRUE(IsRectEmpty(&viewer.selectionRect));
  Mouse(test.window(), WM_LBUTTONUP, 13, 13);
  EXPECT_EQ(ClipboardText(), "");
  EXPECT_FALSE(viewer.selectionShown);
}

TEST(FontSheets, KeymapItemsAndChoosingThem) {
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, sizeof program);
  MainWindowTest test(false, std::string(program, std::strrchr(program, '\\') + 1));
  TempDir dir;
  test.Show(dir.Write("a.nfo", "A\n"));
  HMENU menu = GetMenu(test.window());
  std::string items;
  for (int i = 0; i < GetMenuItemCount(GetSubMenu(menu, 1)); ++i) {
    char text[64] = {};
    GetMenuStringA(GetSubMenu(menu, 1), i, text, sizeof text, MF_BYPOSITION);
    items += std::to_string(GetMenuItemID(GetSubMenu(menu, 1), i)) + " " + text + "|";
  }
  EXPECT_EQ(items,
            "202 0. Rururerir Blue  (Eng)|203 1. Rururerir Bold  (Eng)|204 2. Rururerir Thin  (Eng)|"
            "201 1. Rururerir  (Eng)|");
  const auto checked = [&] {
    std::string marked;
    for (UINT id = 201; id <= 204; ++id)
      marked += GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED ? "x" : ".";
    return marked;
  };

  // The colour sheet's pixels reach the page unchanged: dark blue on white.
  SendMessageA(test.window(), WM_COMMAND, 202, 0);
  EXPECT_EQ(checked(), ".x..");
  PumpMessages();
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, viewer.pageBitmap);
  EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 0xAA));  // the top of the A
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  SelectObject(dc, old);
  DeleteDC(dc);

  // The same item again renders nothing; a sheet whose bitmap is missing is
  // not taken: the sheet and the mark stay.
  HBITMAP sheet = viewer.glyphSheet;
  SendMessageA(test.window(), WM_COMMAND, 202, 0);
  std::strcpy(viewer.fontList[2].fontBitmapPath, (dir.path() + "missing.bmp").c_str());
  SendMessageA(test.window(), WM_COMMAND, 204, 0);
  EXPECT_EQ(viewer.needsRender, 0);
  EXPECT_EQ(viewer.glyphSheet, sheet);
  EXPECT_EQ(checked(), ".x..");

  SendMessageA(test.window(), WM_COMMAND, 201, 0);
  EXPECT_EQ(checked(), "x...");
  EXPECT_EQ(viewer.needsRender, 1);
}

}  // namespace
