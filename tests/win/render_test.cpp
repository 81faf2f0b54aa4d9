// Rendering into real bitmaps: the fast page against one BitBlt per glyph
// on every corpus file, and the view, zoom and scrolling of the real window.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/viewer_state.h"
#include "reference_render.h"
#include "render/render_page.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

TEST(RenderPage, FastPageEqualsOneBlitPerGlyphOnTheCorpus) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(QP_CORPUS_DIR)) {
    if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path().string());
  }
  ASSERT_GT(files.size(), 100u) << "the corpus at " << QP_CORPUS_DIR;
  HBITMAP sheet = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_GLYPH_SHEET));
  static GlyphPosition table[256];
  static GlyphPixels glyphs;
  BuildGlyphTable(table);
  ASSERT_TRUE(ReadGlyphPixels(sheet, table, glyphs));
  EXPECT_EQ(glyphs.bitsPerPixel, 1);  // a monochrome sheet gives 1-bit pages
  // The built-in sheet through the glyph table: a row a byte, leftmost pixel
  // in bit 7, set = white. Control bytes, the blank and 255 are empty, A is
  // the PC font's A, and 28 to 31 and 128 to 159 are reversed glyphs (28 the
  // backslash, 155 the full block 219).
  const auto row = [&](int byte, int y) { return glyphs.mono[byte][y]; };
  for (int byte : {1, 27, 32, 255}) EXPECT_EQ(row(byte, 0) & row(byte, 3) & row(byte, 7), 0xFF) << byte;
  const uint8_t a[8] = {0xCF, 0x87, 0x33, 0x33, 0x03, 0x33, 0x33, 0xFF};
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(row('A', y), a[y]) << y;
    EXPECT_EQ(row(28, y), static_cast<uint8_t>(~row('\\', y))) << y;
    EXPECT_EQ(row(219, y), 0) << y;
    EXPECT_EQ(row(155, y), 0xFF) << y;
  }
  for (const std::string& file : files) {
    std::string text = ReadWholeFile(file).substr(0, kTextBufferSize);
    text = text.substr(0, text.find('\0'));
    if (text.empty() || text.back() != '\n') text += '\n';
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    Page page = CreatePage(MeasureLayout(bytes, length, nullptr), glyphs.bitsPerPixel);
    DrawPage(bytes, length, glyphs, page);
    HBITMAP reference = RenderReferencePage(bytes, length, sheet, table, nullptr);
    int32_t w1, h1, w2, h2;
    EXPECT_TRUE(ReadPixels(page.bitmap, &w1, &h1) == ReadPixels(reference, &w2, &h2)) << file;
    EXPECT_EQ(w1, w2) << file;
    DeleteObject(reference);
    DeleteObject(page.bitmap);
  }
  DeleteObject(sheet);
}

std::string Lines(int count, int width) {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::string(width, static_cast<char>('!' + i % 90)) + "\r\n";
  return text;
}

// At zoom 8 the window shows the page pixel for pixel from client point
// (10, 10), starting at the scrolled row.
void ExpectViewShowsThePage(HWND window) {
  UpdateWindow(window);
  const int32_t width = viewer.viewWidth, height = viewer.viewHeight;
  HDC windowDC = GetDC(window);
  HDC memory = CreateCompatibleDC(windowDC);
  HBITMAP shot = CreateCompatibleBitmap(windowDC, width, height);
  HGDIOBJ old = SelectObject(memory, shot);
  BitBlt(memory, 0, 0, width, height, windowDC, 10, 10, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(window, windowDC);
  int32_t w, h, pageWidth, pageHeight;
  const std::vector<uint32_t> view = ReadPixels(shot, &w, &h),
                              page = ReadPixels(viewer.pageBitmap, &pageWidth, &pageHeight);
  DeleteObject(shot);
  int mismatches = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const int32_t py = y + viewer.scrollY;
      const uint32_t want = x < pageWidth && py < pageHeight ? page[py * pageWidth + x] : 0xFFFFFF;
      mismatches += view[y * width + x] != want;
    }
  }
  EXPECT_EQ(mismatches, 0) << "scrolled to " << viewer.scrollY;
}

// The arithmetic of layout and scrolling is checked natively; here the
// window applies it. The scroll bar, the wheel, the arrow keys, Home and End
// move the view by rows: the thumb follows, the selection goes, and the
// window shows the page from the new row.
TEST(RenderWindow, ScrollingMovesTheViewNotThePage) {
  MainWindowTest test;
  TempDir dir;
  test.Show(dir.Write("tall.asc", Lines(400, 10)));
  ASSERT_NE(viewer.scrollBar, nullptr);
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(viewer.scrollBar, SB_CTL, &info);
  EXPECT_EQ(info.nMax, 401 * 8);
  EXPECT_EQ(static_cast<int32_t>(info.nPage), viewer.viewHeight);
  ExpectViewShowsThePage(test.window());
  const int32_t end = viewer.pageHeight - viewer.sourceHeight;
  const auto wheel = [](int delta, WORD keys = 0) { return MAKEWPARAM(keys, static_cast<WORD>(delta)); };
  // Message, wParam, then scrollY and selectionShown: a turn short of a notch
  // scrolls nothing and leaves the selection; a turn the other way drops
  // what was left of the last one; the scroll bar's own SB_BOTTOM does
  // nothing, but any scroll message removes the selection.
  const std::tuple<UINT, WPARAM, int32_t, int32_t> steps[] = {
      {WM_VSCROLL, SB_LINEDOWN, 8, 0},     {WM_VSCROLL, SB_LINEUP, 0, 0},
      {WM_MOUSEWHEEL, wheel(-120), 24, 0}, {WM_MOUSEWHEEL, wheel(-60), 24, 1},
      {WM_MOUSEWHEEL, wheel(-60), 48, 0},  {WM_MOUSEWHEEL, wheel(-30), 48, 1},
      {WM_MOUSEWHEEL, wheel(90), 48, 1},   {WM_MOUSEWHEEL, wheel(30), 24, 0},
      {WM_MOUSEWHEEL, wheel(360), 0, 0},   {WM_KEYDOWN, VK_DOWN, 8, 0},
      {WM_KEYDOWN, VK_UP, 0, 0},           {WM_KEYDOWN, VK_END, end, 0},
      {WM_KEYDOWN, VK_DOWN, end, 0},       {WM_KEYDOWN, VK_HOME, 0, 0},
      {WM_VSCROLL, SB_BOTTOM, 0, 0},       {WM_KEYDOWN, VK_DOWN, 8, 0}};
  for (const auto& [message, wParam, scrollY, selectionShown] : steps) {
    viewer.selectionShown = 1;
    SendMessageA(test.window(), message, wParam, 0);
    EXPECT_EQ(viewer.scrollY, scrollY) << message << " " << wParam;
    EXPECT_EQ(GetScrollPos(viewer.scrollBar, SB_CTL), scrollY / 8 * viewer.cellHeight);
    EXPECT_EQ(viewer.selectionShown, selectionShown);
  }
  ExpectViewShowsThePage(test.window());
}

// Keypad plus and Ctrl with the wheel: one pixel more a cell and the top
// shown again; the main keyboard's plus does not zoom; at 15 and at 1
// nothing changes, not even the scroll position.
TEST(RenderWindow, ZoomKeys) {
  MainWindowTest test;
  TempDir dir;
  test.Show(dir.Write("page.nfo", Lines(20, 40)));  // 41 x 21 cells
  RECT before, after;
  GetWindowRect(test.window(), &before);
  viewer.scrollY = 16;
  SendMessageA(test.window(), WM_KEYDOWN, VK_ADD, 0);
  SendMessageA(test.window(), WM_KEYDOWN, VK_OEM_PLUS, 0);
  GetWindowRect(test.window(), &after);
  EXPECT_EQ(after.right - after.left - (before.right - before.left), 41);
  EXPECT_EQ(after.bottom - after.top - (before.bottom - before.top), 21);
  EXPECT_EQ(viewer.scrollY, 0);
  SendMessageA(test.window(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 240), 0);
  EXPECT_EQ(viewer.cellWidth, 11);
  SendMessageA(test.window(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(viewer.cellWidth, 10);
  for (const auto& [key, limit] : {std::pair<WPARAM, int32_t>{VK_ADD, 15}, {VK_SUBTRACT, 1}}) {
    for (int i = 0; i < 20; ++i) SendMessageA(test.window(), WM_KEYDOWN, key, 0);
    viewer.scrollY = 8;
    SendMessageA(test.window(), WM_KEYDOWN, key, 0);
    EXPECT_EQ(viewer.cellWidth, limit);
    EXPECT_EQ(viewer.scrollY, 8);
  }
}

TEST(RenderWindow, HugeCursorMovesStillGiveAWorkingWindow) {
  MainWindowTest test;
  TempDir dir;
  std::string text = "top\n";
  for (int i = 0; i < 400; ++i) text += "\x1b[9999999C\x1b[9999999Hx";
  test.Show(dir.Write("huge.ans", text + "\x1b[H\x1b[7777777;1Hend\n"));
  ASSERT_NE(viewer.pageBitmap, nullptr);
  BITMAP shape = {};
  GetObjectA(viewer.pageBitmap, sizeof shape, &shape);
  EXPECT_EQ(shape.bmWidth, viewer.pageWidth);
  EXPECT_EQ(shape.bmHeight, viewer.pageHeight);
  SendMessageA(test.window(), WM_VSCROLL, SB_PAGEDOWN, 0);
  SendMessageA(test.window(), WM_KEYDOWN, VK_ADD, 0);
  PumpMessages();
  EXPECT_EQ(test.StatusText(1), "1/1");
}

}  // namespace
