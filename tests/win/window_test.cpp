// The real main window: its status bar, message loop and start zoom (its first paint, at zero size, sizes it
// for every end-to-end test); the fast page against one BitBlt per glyph on every corpus file; the view, zoom
// and scrolling; the About dialog, opened by the menu and driven inside its modal loop.
#include "test_support.h"
#include <gtest/gtest.h>

#include <process.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "about/about.h"
#include "art/document_reading.h"
#include "app/main_window.h"
#include "win32/viewer_state.h"
#include "document/document.h"
#include "view/view.h"
#include "view/render_page.h"
#include "resources/resource_ids.h"

namespace {

TEST(MainWindow, TheStatusBarFollowsTheDocument) {
  MainWindowTest test;
  TempDir dir;
  // Five bytes before the zero byte and the line feed a render appends.
  test.Show(dir.Write("Zero.NFO", std::string("12345\0abc", 9)));
  const std::string runs = ", runtimes:" + std::to_string(settings.runCount);
  EXPECT_EQ(test.StatusText(0) + " " + test.StatusText(1),
            "anttkn:6, filhantag:" + std::to_string(ShownDocument().start.opened) + runs + " 1/1");
  dir.Write("other.asc", "x\n");
  test.Show(dir.path() + "gone.nfo");
  EXPECT_EQ(test.StatusText(0) + " " + test.StatusText(1), "anttkn:39, filhantag:-1" + runs + " 0/2");
  // Page Down from outside the list goes to its first entry, and stops at the end.
  for (const char* want : {"1/2", "2/2", "2/2"}) {
    SendMessageA(test.window(), WM_KEYDOWN, VK_NEXT, 0);
    PumpMessages();
    EXPECT_EQ(test.StatusText(1), want);
  }
  EXPECT_STREQ(ShownDocument().text.data(), "x\n");
  // A scene format counts the bytes read, a zero too; its note comes first, where nothing cuts it off.
  test.Show(dir.Write("short.adf", std::string("\1\2\0\0abc", 7)));
  EXPECT_EQ(test.StatusText(0),
            "the file ends before the cells of an Artworx picture \u2014 anttkn:7, filhantag:" +
                std::to_string(ShownDocument().start.opened) + runs);
  // A text of more bytes than UTF-16 units (the bar counts its length in those) is read back whole when the
  // bar is written again: read into room for its length alone, it overran the heap.
  std::string wide;
  for (int i = 0; i < 50; ++i) wide += "\u00e9\u2014";
  std::snprintf(viewer.findNote, sizeof viewer.findNote, "%s", wide.c_str());
  for (int i = 0; i < 3; ++i) {
    InvalidateRect(test.window(), nullptr, FALSE);
    UpdateWindow(test.window());
  }
  EXPECT_EQ(test.StatusText(0).size(), wide.size());
  viewer.findNote[0] = '\0';
}

// Wine reads the DPI from LogPixels as a process starts: a child runs the disabled test below at 192 DPI.
TEST(MainWindow, StartZoomFollowsTheScreensDpi) {
  const char* const desktop = "Control Panel\\Desktop";
  const std::string previous = RegText(HKEY_CURRENT_USER, desktop, "LogPixels");
  DWORD dpi = 192;
  RegSetKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
  const std::string program = ProgramPath();
  // -1 when it cannot start; the setting is put back all the same.
  EXPECT_EQ(_spawnl(_P_WAIT, program.c_str(), program.c_str(), "--gtest_also_run_disabled_tests",
                    "--gtest_filter=MainWindow.DISABLED_StartZoomHere", nullptr),
            0)
      << "the start zoom at 192 DPI is not 15";
  dpi = previous == "-" ? 0 : std::stoul(previous);
  if (dpi == 0) RegDeleteKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels");
  if (dpi != 0) RegSetKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

TEST(MainWindow, DISABLED_StartZoomHere) {
  MainWindowTest test;
  EXPECT_EQ(view.cellWidth, 15);
}

BOOL WINAPI FailingGetMessage(LPMSG, HWND, UINT, UINT) { return -1; }

// A quit message's code is the Find test's.
TEST(MainWindow, AFailedMessageLoopExitsWithOne) { EXPECT_EQ(RunMessageLoop(FailingGetMessage), 1); }

TEST(RenderPage, FastPageEqualsOneBlitPerGlyphOnTheCorpus) {
  HBITMAP sheet = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_GLYPH_SHEET));
  static GlyphPosition table[256];
  static GlyphPixels glyphs;
  BuildGlyphTable(table);
  ASSERT_TRUE(ReadGlyphPixels(sheet, table, glyphs));
  EXPECT_EQ(glyphs.bitsPerPixel, 1);  // a monochrome sheet gives 1-bit pages
  // The built-in sheet through the glyph table, set bits white: control bytes, the blank and 255 are empty,
  // and 28 to 31 and 128 to 159 are reversed glyphs (28 the backslash, 155 the full block).
  uint64_t rows[256];  // a glyph's 8 rows of 8 pixels
  std::memcpy(rows, glyphs.mono, sizeof rows);
  for (int byte : {1, 27, 32, 155, 255}) EXPECT_EQ(rows[byte], ~0ull) << byte;
  EXPECT_EQ(std::make_pair(rows[28], rows[219]), std::make_pair(~rows['\\'], uint64_t{0}));
  if (!std::filesystem::is_directory(QP_CORPUS_DIR)) GTEST_SKIP() << "no corpus at " << QP_CORPUS_DIR;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(QP_CORPUS_DIR)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
    static Document document;
    static uint8_t bytes[kTextBufferSize + 2];
    LoadDocumentFile(entry.path().string().c_str(), DocumentReader(entry.path().string().c_str()), {}, document);
    const int32_t length =
        LaidOutText(reinterpret_cast<const uint8_t*>(document.text.data()), document.start.count, bytes);
    Page page = CreatePage(MeasureLayout(bytes, length, nullptr), glyphs.bitsPerPixel);
    DrawPage(bytes, length, glyphs, page);
    HBITMAP reference = RenderReferencePage(bytes, length, sheet, table);
    int32_t w1, h1, w2, h2;
    EXPECT_TRUE(ReadPixels(page.bitmap, &w1, &h1) == ReadPixels(reference, &w2, &h2) && w1 == w2)
        << entry.path();
    DeleteObject(reference);
    DeleteObject(page.bitmap);
  }
  DeleteObject(sheet);
}

// The arithmetic of layout and scrolling is checked natively; here the window applies it and shows it.
TEST(RenderWindow, ScrollZoomAndHugeCursorMoves) {
  MainWindowTest test;
  TempDir dir;
  std::string tall;  // 41 x 401 cells, each row its own character
  for (int i = 0; i < 400; ++i) tall += std::string(40, static_cast<char>('!' + i % 90)) + "\r\n";
  test.Show(dir.Write("tall.asc", tall));
  const int32_t end = view.pageHeight - view.sourceHeight;
  const UINT bar = WM_VSCROLL, key = WM_KEYDOWN, turn = WM_MOUSEWHEEL;
  // The scroll bar, the wheel (a turn for wParam), the arrow keys, Home and End move the view by
  // rows: the thumb follows and the selection goes. A turn short of a notch scrolls nothing; a
  // turn the other way drops what was left of the last one; the bar's own SB_BOTTOM does nothing.
  const std::tuple<UINT, int, int32_t, int32_t> steps[] = {
      {bar, SB_LINEDOWN, 8, 0}, {bar, SB_LINEUP, 0, 0}, {turn, -120, 24, 0},    {turn, -60, 24, 1},
      {turn, -60, 48, 0},       {turn, -30, 48, 1},     {turn, 90, 48, 1},      {turn, 30, 24, 0},
      {turn, 360, 0, 0},        {key, VK_DOWN, 8, 0},   {key, VK_UP, 0, 0},     {key, VK_END, end, 0},
      {key, VK_DOWN, end, 0},   {key, VK_HOME, 0, 0},   {bar, SB_BOTTOM, 0, 0}, {key, VK_DOWN, 8, 0}};
  for (const auto& [message, wParam, scrollY, selectionShown] : steps) {
    view.selectionShown = 1;
    SendMessageA(test.window(), message, message == turn ? MAKEWPARAM(0, wParam) : wParam, 0);
    EXPECT_EQ(std::make_tuple(view.scrollY, GetScrollPos(view.scrollBar, SB_CTL), view.selectionShown),
              std::make_tuple(scrollY, scrollY, selectionShown))
        << message << " " << wParam;
  }
  // The wheel follows the user's rows a notch, here a view's height (WHEEL_PAGESCROLL).
  UINT setting = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &setting, 0);
  SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0);
  SendMessageA(test.window(), key, VK_HOME, 0);
  SendMessageA(test.window(), turn, MAKEWPARAM(0, -120), 0);
  EXPECT_EQ(view.scrollY, view.sourceHeight);
  SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, setting, nullptr, 0);
  // Cell size and scrollY, each from 16: Ctrl with the wheel zooms a step a notch and shows the top; 15 and 1
  // are the limits, where nothing moves (the keypad's keys and the window's size: end-to-end).
  test.Show(dir.Write("page.nfo", tall.substr(0, 20 * 42)));  // 41 x 21 cells
  const std::tuple<int, int32_t, int32_t> zooms[] = {
      {1200, 15, 0}, {120, 15, 16}, {-2400, 1, 0}, {-120, 1, 16}, {840, 8, 0}};
  for (const auto& [delta, cellWidth, scrollY] : zooms) {
    view.scrollY = 16;
    SendMessageA(test.window(), turn, MAKEWPARAM(MK_CONTROL, delta), 0);
    EXPECT_EQ(std::make_pair(view.cellWidth, view.scrollY), std::make_pair(cellWidth, scrollY)) << delta;
  }
  // Cursor moves far past any bitmap: the page is cut to size; the window scrolls, zooms, paints.
  std::string huge = "top\n";
  for (int i = 0; i < 400; ++i) huge += "\x1b[9999999C\x1b[9999999Hx";
  test.Show(dir.Write("huge.ans", huge + "\x1b[H\x1b[7777777;1Hend\n"));
  BITMAP made = {};
  ASSERT_TRUE(GetObjectA(view.pageBitmap.get(), sizeof made, &made));
  EXPECT_EQ(std::make_tuple(made.bmWidth, made.bmHeight),
            std::make_tuple(view.pageWidth, view.pageHeight));
  SendMessageA(test.window(), WM_VSCROLL, SB_PAGEDOWN, 0);
  SendMessageA(test.window(), WM_KEYDOWN, VK_ADD, 0);
  PumpMessages();
  EXPECT_EQ(test.StatusText(1), "2/3");  // huge.ans after page.nfo, before tall.asc
  // Zoomed, the page is wider and taller than the screen: the window and its scroll bar stay in reach.
  RECT work, window, scrollBar;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(test.window(), &window);
  ASSERT_TRUE(GetWindowRect(view.scrollBar, &scrollBar));
  for (const RECT& r : {window, scrollBar})
    EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom);
}

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlue = RGB(0, 0, 255);
void (*aboutBody)(HWND);
std::vector<HGDIOBJ> objects;  // the logo, its DC and the brush of each opening

void CALLBACK RunAboutBody(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "About");
  if (!IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  objects.insert(objects.end(),
                 {aboutState.logoBitmap.get(), aboutState.logoDC.get(), viewer.backgroundBrush.get()});
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

TEST(AboutDialog, LinkFramesAndClosing) {
  MainWindowTest test;
  aboutShellExecute = RecordShellExecute;
  shellCalls.clear();
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
