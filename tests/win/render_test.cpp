// Rendering into real bitmaps: the page against the glyph sheet, the fast
// page against one BitBlt per glyph, and the view's geometry in the real
// window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/viewer_state.h"
#include "reference_render.h"
#include "render/render_page.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

HBITMAP LoadSheet() { return LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_GLYPH_SHEET)); }

// The 8 x 8 pixels of byte b's cell in the sheet, as 0x00RRGGBB.
std::vector<uint32_t> SheetCell(const std::vector<uint32_t>& sheet, int32_t sheetWidth, int b) {
  GlyphPosition table[256] = {};
  BuildGlyphTable(table);
  std::vector<uint32_t> cell;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) cell.push_back(sheet[(table[b].y + y) * sheetWidth + table[b].x + x]);
  }
  return cell;
}

std::vector<uint32_t> PageCell(const std::vector<uint32_t>& page, int32_t pageWidth, int column, int row) {
  std::vector<uint32_t> cell;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) cell.push_back(page[(8 * row + y) * pageWidth + 8 * column + x]);
  }
  return cell;
}

struct FastPage {
  Page page;
  ~FastPage() {
    if (page.bitmap) DeleteObject(page.bitmap);
  }
};

void RenderFast(const std::string& text, HBITMAP sheet, FastPage& out) {
  static GlyphPosition table[256];
  static GlyphPixels glyphs;
  BuildGlyphTable(table);
  ASSERT_TRUE(ReadGlyphPixels(sheet, table, glyphs));
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  out.page = CreatePage(MeasureLayout(bytes, length, nullptr), glyphs.bitsPerPixel);
  DrawPage(bytes, length, glyphs, out.page);
}

TEST(RenderPage, KnownTextShowsTheSheetsGlyphsOnWhite) {
  HBITMAP sheet = LoadSheet();
  ASSERT_NE(sheet, nullptr);
  int32_t sheetWidth, sheetHeight;
  const std::vector<uint32_t> sheetPixels = ReadPixels(sheet, &sheetWidth, &sheetHeight);
  ASSERT_EQ(sheetWidth, 48);
  ASSERT_EQ(sheetHeight, 368);

  // Row 0: "Az" and the full block; row 1: a tab, then byte 155 and 1.
  FastPage fast;
  RenderFast("Az\xDB\n\t\x9B\x01\n", sheet, fast);
  ASSERT_NE(fast.page.bitmap, nullptr);
  EXPECT_EQ(fast.page.bitsPerPixel, 1);  // a monochrome sheet gives a 1-bit page
  int32_t width, height;
  const std::vector<uint32_t> page = ReadPixels(fast.page.bitmap, &width, &height);
  ASSERT_EQ(width, 8 * 11);  // the line feed after byte 1 is examined in column 10
  ASSERT_EQ(height, 16);
  EXPECT_EQ(PageCell(page, width, 0, 0), SheetCell(sheetPixels, sheetWidth, 'A'));
  EXPECT_EQ(PageCell(page, width, 1, 0), SheetCell(sheetPixels, sheetWidth, 'z'));
  const std::vector<uint32_t> black(64, 0x000000), white(64, 0xFFFFFF);
  EXPECT_EQ(PageCell(page, width, 2, 0), black);  // the full block
  EXPECT_EQ(PageCell(page, width, 8, 1), white);  // byte 155: reversed full block
  EXPECT_EQ(PageCell(page, width, 9, 1), white);  // byte 1 shares the empty cell 0
  // Cells that get no glyph show the clear colour.
  EXPECT_EQ(PageCell(page, width, 5, 0), white);
  EXPECT_EQ(PageCell(page, width, 3, 1), white);
  DeleteObject(sheet);
}

// Files of the corpus, recursively, as they would be loaded.
void CollectCorpus(const std::string& folder, std::vector<std::string>& files) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == ".." || name == "_licences") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CollectCorpus(folder + "\\" + name, files);
    } else if (name.size() < 3 || name.compare(name.size() - 3, 3, ".md") != 0) {
      files.push_back(folder + "\\" + name);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

TEST(RenderPage, FastPageEqualsOneBlitPerGlyphOnTheCorpus) {
  std::vector<std::string> files;
  CollectCorpus(QP_CORPUS_DIR, files);
  if (files.empty()) GTEST_SKIP() << "no corpus at " << QP_CORPUS_DIR;
  HBITMAP sheet = LoadSheet();
  static GlyphPosition table[256];
  BuildGlyphTable(table);
  int compared = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    std::string text = ReadWholeFile(file).substr(0, 524288);
    text = text.substr(0, text.find('\0'));
    if (text.empty() || text.back() != '\n') text += '\n';
    FastPage fast;
    RenderFast(text, sheet, fast);
    PageMeasure cells;
    HBITMAP reference = RenderReferencePage(reinterpret_cast<const uint8_t*>(text.data()),
                                            static_cast<int32_t>(text.size()), sheet, table, &cells);
    ASSERT_EQ(fast.page.columns, cells.columnCount);
    ASSERT_EQ(fast.page.rows, cells.rowCount);
    int32_t w1, h1, w2, h2;
    const std::vector<uint32_t> fastPixels = ReadPixels(fast.page.bitmap, &w1, &h1);
    const std::vector<uint32_t> referencePixels = ReadPixels(reference, &w2, &h2);
    DeleteObject(reference);
    ASSERT_EQ(w1, w2);
    ASSERT_EQ(h1, h2);
    EXPECT_TRUE(fastPixels == referencePixels);
    ++compared;
  }
  EXPECT_GT(compared, 100);
  DeleteObject(sheet);
}

std::string Lines(int count, int width) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += std::string(static_cast<size_t>(width), static_cast<char>('a' + i % 26)) + "\r\n";
  return text;
}

TEST(RenderWindow, ZoomStepsResizeTheWindowAndShowTheTop) {
  MainWindowTest test;
  TempDir dir;
  test.Show(dir.Write("page.nfo", Lines(20, 40)));
  // 41 columns (the carriage return) and 21 rows (the last line feed).
  ASSERT_EQ(viewer.pageWidth, 8 * 41);
  ASSERT_EQ(viewer.pageHeight, 8 * 21);
  RECT before, after;
  GetWindowRect(test.window(), &before);
  viewer.scrollY = 16;
  SendMessageA(test.window(), WM_KEYDOWN, VK_ADD, 0);
  PumpMessages();
  GetWindowRect(test.window(), &after);
  EXPECT_EQ(after.right - after.left, (before.right - before.left) + 41);
  EXPECT_EQ(after.bottom - after.top, (before.bottom - before.top) + 21);
  EXPECT_EQ(viewer.scrollY, 0);
  EXPECT_EQ(viewer.cellWidth, 9);
  EXPECT_EQ(viewer.cellHeight, 9);

  // The main keyboard's plus (VK_OEM_PLUS) does not zoom.
  SendMessageA(test.window(), WM_KEYDOWN, VK_OEM_PLUS, 0);
  EXPECT_EQ(viewer.cellWidth, 9);

  for (int i = 0; i < 20; ++i) SendMessageA(test.window(), WM_KEYDOWN, VK_ADD, 0);
  EXPECT_EQ(viewer.cellWidth, 15);
  PumpMessages();
  viewer.scrollY = 8;  // at the limit a key changes nothing, not even the scroll position
  GetWindowRect(test.window(), &before);
  SendMessageA(test.window(), WM_KEYDOWN, VK_ADD, 0);
  GetWindowRect(test.window(), &after);
  EXPECT_EQ(viewer.scrollY, 8);
  EXPECT_TRUE(EqualRect(&before, &after));

  for (int i = 0; i < 20; ++i) SendMessageA(test.window(), WM_KEYDOWN, VK_SUBTRACT, 0);
  EXPECT_EQ(viewer.cellWidth, 1);
  viewer.scrollY = 8;
  SendMessageA(test.window(), WM_KEYDOWN, VK_SUBTRACT, 0);
  EXPECT_EQ(viewer.cellWidth, 1);
  EXPECT_EQ(viewer.scrollY, 8);
  // At zoom 1 the view keeps its 200-pixel minimum width.
  EXPECT_EQ(viewer.viewWidth, 200);
}

TEST(RenderWindow, TallDocumentScrollsInWholeRows) {
  MainWindowTest test;
  TempDir dir;
  test.Show(dir.Write("tall.asc", Lines(400, 10)));
  ASSERT_NE(viewer.scrollBar, nullptr);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(viewer.viewHeight, work.bottom - 80);
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(viewer.scrollBar, SB_CTL, &info);
  EXPECT_EQ(info.nMax, 401 * 8);
  EXPECT_EQ(static_cast<int>(info.nPage), viewer.viewHeight);

  viewer.selectionShown = 1;
  SendMessageA(test.window(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(viewer.scrollY, 8);
  EXPECT_EQ(viewer.selectionShown, 0);  // any scroll removes the selection
  GetScrollInfo(viewer.scrollBar, SB_CTL, &info);
  EXPECT_EQ(info.nPos, 8);

  SendMessageA(test.window(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(viewer.scrollY, 8 + viewer.sourceHeight);
  SendMessageA(test.window(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 8 * 100 + 5), 0);
  EXPECT_EQ(viewer.scrollY, 8 * 100);  // snapped down to a whole row
  for (int i = 0; i < 100; ++i) SendMessageA(test.window(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(viewer.scrollY, viewer.pageHeight - viewer.sourceHeight);
  SendMessageA(test.window(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(viewer.scrollY, viewer.pageHeight - viewer.sourceHeight);

  // A new document shows its top again.
  test.Show(dir.Write("short.asc", "one line\n"));
  EXPECT_EQ(viewer.scrollY, 0);
  EXPECT_EQ(viewer.scrollBar, nullptr);
}

TEST(RenderWindow, HugeCursorMovesStillGiveAWorkingWindow) {
  MainWindowTest test;
  TempDir dir;
  std::string text = "top\n";
  for (int i = 0; i < 400; ++i) text += "\x1b[9999999C\x1b[9999999Hx";
  text += "\x1b[H\x1b[7777777;1Hend\n";
  test.Show(dir.Write("huge.ans", text));
  EXPECT_NE(viewer.pageBitmap, nullptr);
  EXPECT_GT(viewer.pageWidth, 0);
  EXPECT_GT(viewer.pageHeight, 0);
  BITMAP shape = {};
  GetObjectA(viewer.pageBitmap, sizeof shape, &shape);
  EXPECT_EQ(shape.bmWidth, viewer.pageWidth);
  EXPECT_EQ(shape.bmHeight, viewer.pageHeight);
  SendMessageA(test.window(), WM_VSCROLL, SB_PAGEDOWN, 0);
  SendMessageA(test.window(), WM_KEYDOWN, VK_ADD, 0);
  PumpMessages();
  EXPECT_TRUE(IsWindow(test.window()));
  EXPECT_EQ(test.StatusText(1), "1/1");
}

}  // namespace
