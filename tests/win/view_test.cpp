// The real window's view: a drag's clipboard, the Keymap sheets, links, Find (the dialog, F3, Shift+F3) and
// View > ANSI colours (the item, its setting, 16 colours, scrolling, zoom and copy by 9 x 16 cells).
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "art/ansi_screen.h"
#include "art/screen_font.h"
#include "document/document.h"
#include "win32/viewer_state.h"
#include "view/view.h"
#include "view/view_text.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

TEST(Selection, DragCopiesTheCellsAndKeymapSheetsDrawThem) {
  MainWindowTest test(false, ProgramPath());  // the build's sheets are in the fonts folder beside it
  TempDir dir;
  test.Show(dir.Write("rows.nfo", "A\xCD\xBBxyz\r\n\xDB\xB2\xB1jkl\r\n"));
  SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(12, 12));
  SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(36, 28));
  // The art's bytes as text and OEM text (code page 437 in US English), whatever the code page, and Unicode.
  const std::string copied = "A\xCD\xBB\r\n\xDB\xB2\xB1";
  EXPECT_EQ(std::make_tuple(Clipboard<char>(CF_TEXT), Clipboard<char>(CF_OEMTEXT),
                            Clipboard<wchar_t>(CF_UNICODETEXT)),
            std::make_tuple(copied, copied, std::wstring(L"A\u2550\u2557\r\n\u2588\u2593\u2592")));
  OpenClipboard(nullptr);
  EXPECT_EQ(*static_cast<const DWORD*>(GlobalLock(GetClipboardData(CF_LOCALE))), 0x0409u);
  CloseClipboard();
  // Released in the press cell or on its grid line across: no cell is selected, the clipboard is left alone.
  for (const LPARAM release : {MAKELPARAM(13, 13), MAKELPARAM(13, 28)}) {
    SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(12, 12));
    SendMessageA(test.window(), WM_LBUTTONUP, 0, release);
    EXPECT_EQ(std::pair(view.selectionShown, Clipboard<char>(CF_TEXT)), std::pair(0, copied));
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
  // The shipped sheets and those the build makes of the code pages and Topaz, in name order.
  std::vector<std::string> names = {"Rururerir Blue  (Eng)", "Rururerir Bold  (Eng)"};
  for (const char* page :
       {"720 (Arabic)", "737 (Greek)", "775 (Baltic)", "819 (Latin-1)", "850 (Western European)",
        "852 (Central European)", "855 (Cyrillic)", "857 (Turkish)", "858 (Western European, euro)",
        "860 (Portuguese)", "861 (Icelandic)", "862 (Hebrew)", "863 (Canadian French)", "864 (Arabic)",
        "865 (Nordic)", "866 (Cyrillic)", "869 (Greek)", "872 (Cyrillic, euro)"})
    names.push_back("IBM " + std::string(page));
  names.insert(names.end(), {"Rururerir Thin  (Eng)", "Amiga Topaz"});
  std::string items;
  for (size_t i = 0; i < names.size(); ++i)
    items += std::to_string(202 + i) + " " + std::to_string(i) + ". " + names[i] + "|";
  items += "201 1. Rururerir  (Eng)|";

  // The same item again renders nothing; a sheet whose bitmap is missing is not taken.
  SendMessageA(test.window(), WM_COMMAND, 202, 0);
  PumpMessages();  // its render
  SendMessageA(test.window(), WM_COMMAND, 202, 0);
  lstrcpyA(view.fontList[2].fontBitmapPath, (dir.path() + "missing.bmp").c_str());
  SendMessageA(test.window(), WM_COMMAND, 204, 0);
  EXPECT_EQ(std::pair(view.needsRender, keymap()), std::pair(0, items + "0. Rururerir Blue  (Eng)"));
  SendMessageA(test.window(), WM_COMMAND, 201, 0);
  EXPECT_EQ(std::pair(view.needsRender, keymap()), std::pair(1, items + "1. Rururerir  (Eng)"));
}

// A record naming a Russian font: the text layout draws its 8-row glyphs, and a copy's Unicode text is
// Cyrillic while CF_TEXT keeps the bytes, as OEM text under a language whose OEM code page is 866.
TEST(Selection, AFontsCharactersAreWhatACopyPastes) {
  MainWindowTest test(false);
  TempDir dir;
  const std::string record = "\x1aSAUCE00" + std::string(87, ' ') +
                             std::string("\x01\x00\x50\0\0\0\0\0\0\0\0\0", 12) + "IBM VGA 866" +
                             std::string(11, '\0');
  test.Show(dir.Write("ru.nfo", "\x8F\xE0\xA8\xA2\xA5\xE2!\r\n" + record));
  SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(12, 12));
  SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(68, 20));
  const std::string bytes = "\x8F\xE0\xA8\xA2\xA5\xE2!";
  EXPECT_EQ(std::make_tuple(Clipboard<char>(CF_TEXT), Clipboard<char>(CF_OEMTEXT), Clipboard<wchar_t>(CF_UNICODETEXT)),
            std::make_tuple(bytes, bytes, std::wstring(L"\u041F\u0440\u0438\u0432\u0435\u0442!")));
  OpenClipboard(nullptr);
  EXPECT_EQ(*static_cast<const DWORD*>(GlobalLock(GetClipboardData(CF_LOCALE))), 0x0419u);
  CloseClipboard();
  EXPECT_EQ(ShownDocument().font.face.codePage, 866);
}

// The client point inside cell (column, row) of the view at zoom 8.
LPARAM CellPoint(int column, int row) { return MAKELPARAM(10 + 8 * column + 3, 10 + 8 * row + 3); }

TEST(LinksAndFind, HandAddressAClickThatOpensAndMatchesShownAsTheSelection) {
  MainWindowTest test;
  TempDir dir;
  // Row 0: a www. and a mail address; rows 1 and 2: a link that the wrap cut after "http:/".
  test.Show(dir.Write("links.nfo", "Visit www.quill.example.org/a, or mail art@quill.example.org.\r\n" +
                                       std::string(85, 'x') + " http://a.example.org/long\r\n"));
  for (const auto& [column, cursor] : {std::pair{10, IDC_HAND}, std::pair{2, IDC_ARROW}}) {  // row 0
    POINT point = {LOWORD(CellPoint(column, 0)), HIWORD(CellPoint(column, 0))};
    ClientToScreen(test.window(), &point);
    SetCursorPos(point.x, point.y);
    PumpMessages();  // the system's messages about the move, handled before the cursor is asked for
    SendMessageA(test.window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(test.window()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, cursor)) << column;
  }
  // The right part of the status bar shows the address while the pointer is on the link.
  SendMessageA(test.window(), WM_MOUSEMOVE, 0, CellPoint(45, 0));
  EXPECT_EQ(test.StatusText(1), "mailto:art@quill.example.org");
  SendMessageA(test.window(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(test.StatusText(1), "1/1");

  linkShellExecute = RecordShellExecute;
  const std::tuple<LPARAM, LPARAM, std::string> clicks[] = {
      {CellPoint(59, 0), CellPoint(59, 0), "open mailto:art@quill.example.org 1;"},
      {CellPoint(2, 2), CellPoint(2, 2), "open http://a.example.org/long 1;"},  // its second row
      {MAKELPARAM(97, 17), MAKELPARAM(90, 10), ""},  // in cell (10, 0), but far enough to select it
  };
  for (const auto& [press, release, want] : clicks) {
    shellCalls.clear();
    SendMessageA(test.window(), WM_LBUTTONDOWN, 0, press);
    SendMessageA(test.window(), WM_LBUTTONUP, 0, release);
    EXPECT_EQ(shellCalls, want) << press << " to " << release;
  }
  linkShellExecute = ShellExecuteA;
  EXPECT_EQ(std::make_pair(view.selectionShown, Clipboard<char>(CF_TEXT)),
            std::make_pair(1, std::string("q")));

  // Find: the dialog, then F3 and Shift+F3 show the matches as the selection.
  std::string rows;  // 600 rows; "Quill" at row 300, column 9, and "quill" at row 500, column 4
  for (int i = 0; i < 600; ++i)
    rows += i == 300 ? "find the Quill here\r\n" : i == 500 ? "and quill again\r\n" : "..........\r\n";
  test.Show(dir.Write("find.nfo", rows));
  KeyWith(test.window(), 'F', {VK_CONTROL});
  HWND dialog = FindDialogWindow();
  ASSERT_TRUE(dialog != nullptr && IsWindowVisible(dialog));
  const auto find = [dialog](const char* text) {
    SetDlgItemTextA(dialog, edt1, text);
    // Enter in the dialog's box, through the program's message loop, and then the quit.
    PostMessageA(GetDlgItem(dialog, edt1), WM_KEYDOWN, VK_RETURN, 0);
    PostQuitMessage(7);
    EXPECT_EQ(RunMessageLoop(), 7) << "the quit message's code";
  };
  find("quill");

  // Each match is the selection, its 5 cells from its first, in the view: at the view's last
  // whole row when it was below it, at its top when above. Painted inverted: black in white.
  const auto selection = [] {
    const RECT& r = view.selectionRect;
    return std::vector<LONG>{view.selectionShown, r.left, r.top, r.right, r.bottom};
  };
  const auto match = [](int column, int top) {
    return std::vector<LONG>{1, 10 + 8 * column, top, 10 + 8 * (column + 5), top + 8};
  };
  const int bottom = 10 + view.sourceHeight - 8;
  EXPECT_EQ(selection(), match(9, bottom));
  EXPECT_EQ(WindowPixel(test.window(), 82, bottom) + WindowPixel(test.window(), 74, bottom),
            COLORREF{0xFFFFFF});              // Q's corner, e's
  KeyWith(test.window(), VK_F3, {VK_SHIFT});  // none above row 300: round the start to the last
  EXPECT_EQ(std::make_pair(selection(), test.StatusText(0)),
            std::make_pair(match(4, bottom), std::string("From the end: quill")));
  KeyWith(test.window(), VK_F3, {});  // none below row 500: round the end to the first
  EXPECT_EQ(std::make_pair(selection(), test.StatusText(0)),
            std::make_pair(match(9, 10), std::string("From the top: quill")));

  // Not found: nothing moves, and the status bar says so until the next key.
  const auto before = std::make_pair(view.scrollY, selection());
  find("zzz");
  EXPECT_EQ(std::make_pair(std::make_pair(view.scrollY, selection()), test.StatusText(0)),
            std::make_pair(before, std::string("Not found: zzz")));
  SendMessageA(test.window(), WM_KEYDOWN, VK_SHIFT, 0);
  EXPECT_EQ(test.StatusText(0).substr(0, 7), "anttkn:");
}

// The mode, the menu item's mark and the stored setting ("-": none).
std::tuple<int32_t, bool, std::string> Mode(HWND window) {
  return {settings.ansiColours,
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
    // Shown first in the text layout, which ends at the NUL; the status bar's length stays in colour.
    test.Show(art);
    EXPECT_EQ(std::make_tuple(ShownAnsiScreen(), view.pageCellHeight), std::make_tuple(nullptr, 8));
    const std::string status = test.StatusText(0);

    SendMessageA(test.window(), WM_COMMAND, IDM_ANSI_COLOURS, 0);
    PumpMessages();
    EXPECT_EQ(Mode(test.window()), std::make_tuple(1, true, "1"));
    EXPECT_EQ(test.StatusText(0), status);
    EXPECT_EQ(std::make_tuple(view.pageWidth, view.pageHeight, view.pageCellHeight, view.cellHeight),
              std::make_tuple(640, 32, 16, 16));
    // At zoom 8.
    const auto pixel = [&test](int x, int y) { return WindowPixel(test.window(), 10 + x, 10 + y); };
    EXPECT_EQ(std::vector<COLORREF>({pixel(2, 2), pixel(10, 5), pixel(18, 5), pixel(26, 5)}),
              std::vector<COLORREF>({RGB(0, 0, 0xAA), RGB(0, 0xAA, 0), RGB(0, 0, 0), RGB(0xAA, 0, 0)}));

    // Rows of 16 page pixels: the arrows and the wheel scroll by them, the zoom keeps their shape.
    // End shows the last rows, which the page draws only once they are shown.
    std::string tall;
    for (int i = 0; i < 200; ++i) tall += "\x1b[3" + std::to_string(i % 8) + "m\xdb\xdb\r\n";
    test.Show(dir.Write("tall.ANS", tall));
    const int32_t end = view.pageHeight - view.sourceHeight;
    const std::tuple<UINT, WPARAM, int32_t, int32_t, int32_t> steps[] = {
        {WM_KEYDOWN, VK_DOWN, 16, 16, 16},  {WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 64, 64, 16},
        {WM_KEYDOWN, VK_END, end, end, 16}, {WM_KEYDOWN, VK_ADD, 0, 0, 18},
        {WM_KEYDOWN, VK_DOWN, 16, 18, 18},
    };
    for (const auto& [message, wParam, scrollY, thumb, cellHeight] : steps) {
      SendMessageA(test.window(), message, wParam, 0);
      EXPECT_EQ(std::make_tuple(view.scrollY, GetScrollPos(view.scrollBar, SB_CTL), view.cellHeight),
                std::make_tuple(scrollY, thumb, cellHeight))
          << message << " " << wParam;
      EXPECT_TRUE(wParam != VK_END || WindowPixel(test.window(), 14, 10 + view.viewHeight - 8) == 0xAAAAAA)
          << "row 199, light grey";
    }

    // Any other document keeps the text layout, in the zoom's square cells.
    test.Show(dir.Write("beside.nfo", "\x1b[31mred\r\n"));
    EXPECT_EQ(std::make_tuple(ShownAnsiScreen(), view.pageCellHeight, view.cellHeight),
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

// View > 9-pixel letters > On (kept as 1): cells 9 pixels wide, the 9th column repeating the 8th for a
// block (not for 'A'), and a drag picks cells by that width.
TEST(ColourScreens, NinePixelLettersAreShownAndPicked) {
  TempDir dir;
  MainWindowTest test;
  SendMessageA(test.window(), WM_COMMAND, IDM_ANSI_COLOURS, 0);
  SendMessageA(test.window(), WM_COMMAND, IDM_LETTERS_9, 0);
  test.Show(dir.Write("nine.ans", "\x1b[37;44m\333ABCDEFGH\r\n-abcdefgh"));
  EXPECT_EQ(std::make_tuple(view.pageWidth, RegText(HKEY_LOCAL_MACHINE, kSettingsKey, "letterspacing"),
                            GetMenuState(GetMenu(test.window()), IDM_LETTERS_9, MF_BYCOMMAND) & MF_CHECKED,
                            WindowPixel(test.window(), 10 + 8, 15), WindowPixel(test.window(), 10 + 17, 15)),
            std::make_tuple(720, std::string("1"), UINT{MF_CHECKED}, RGB(0xAA, 0xAA, 0xAA), RGB(0, 0, 0xAA)));
  // From the middle of cell 5 ('E') to that of cell 8 a row down: 8-pixel cells would pick "FGH".
  SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(10 + 9 * 5 + 4, 18));
  SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(10 + 9 * 8 + 4, 44));
  EXPECT_EQ(Clipboard<char>(CF_TEXT), "EFG\r\nefg");
}

LRESULT informationSelection = -1;

void CALLBACK ReadInformationSelection(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "Information");
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  informationSelection = SendDlgItemMessageA(dialog, IDC_INFORMATION_TEXT, EM_GETSEL, 0, 0);
  EndDialog(dialog, 0);
}

std::string Information() { return InformationText(view, viewer, ShownDocument()); }

// A SAUCE record's title, author and group stand before the place in the status bar, and File > Information
// lists its fields; scene formats are always colour screens, and a colour screen reads all of a file longer
// than the text layout's 512 KB.
TEST(ColourScreens, SauceShownAndWholeFilesRead) {
  const std::string input = std::string(QP_CORPUS_DIR) + "/image-textmode/corpus/input/";
  if (GetFileAttributesA(input.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no corpus";
  MainWindowTest test;
  test.Show(input + "LD-AF1.ANS");
  EXPECT_EQ(test.StatusText(1).substr(0, 45), "After Forever \u00b7 Lord Jazz / ACiD Productions");
  EXPECT_NE(Information().find("Title:\tAfter Forever\r\nAuthor:\tLord Jazz\r\n"), std::string::npos);
  // A record naming no font: the one the page is drawn in. The dialog opens with nothing selected.
  EXPECT_NE(Information().find("Font:\tRururerir  (Eng) (the record names none)\r\n"), std::string::npos);
  SetTimer(nullptr, 0, 10, ReadInformationSelection);
  SendMessageA(test.window(), WM_COMMAND, IDM_INFORMATION, 0);
  EXPECT_EQ(informationSelection, 0);
  // A scene format has no other reading: in colour whatever the mode says.
  test.Show(std::string(QP_CORPUS_DIR) + "/ansilove/tests/bs-alove.xb");
  ASSERT_NE(ShownAnsiScreen(), nullptr);
  EXPECT_EQ(std::make_tuple(view.pageWidth, view.pageHeight), std::make_tuple(640, 944));
  SendMessageA(test.window(), WM_COMMAND, IDM_ANSI_COLOURS, 0);
  // 24-bit and 256-colour cells in their exact colours.
  TempDir dir;
  test.Show(dir.Write("exact.ans", "\x1b[38;2;10;20;30m\xdb\x1b[38;5;100m\xdb"));
  EXPECT_EQ(std::make_pair(WindowPixel(test.window(), 14, 18), WindowPixel(test.window(), 22, 18)),
            std::make_pair(RGB(10, 20, 30), RGB(135, 135, 0)));
  test.Show(input + "LD-AF1.ANS");
  EXPECT_NE(Information().find("Font:\tIBM VGA (the record names none)\r\n"), std::string::npos);
  test.Show(input + "JD-CH01.ANS");  // 1,000,000 bytes
  ASSERT_NE(ShownAnsiScreen(), nullptr);
  const std::string bytes = ReadWholeFile(input + "JD-CH01.ANS");
  const auto cells = [](const AnsiScreen& screen) {
    return std::string(reinterpret_cast<const char*>(screen.cells.data()), 2 * screen.cells.size());
  };
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  EXPECT_EQ(cells(*ShownAnsiScreen()), cells(ReadAnsiScreen(data, bytes.size())));
  test.Show(input + "SCREEN4.PCB");
  EXPECT_EQ(Information(), "This file carries no SAUCE record.\r\nFont:\tIBM VGA");
  SendMessageA(test.window(), WM_COMMAND, IDM_ANSI_COLOURS, 0);
}

// A blinking cell blinks on the blink timer and a steady one stays; a screen without blinking cells runs no
// timer. Ctrl+P plays the screen from its empty start (Space holds it there), and again shows it whole.
TEST(ScreenTiming, BlinkAndPlay) {
  TempDir dir;
  MainWindowTest test;
  SendMessageA(test.window(), WM_COMMAND, IDM_ANSI_COLOURS, 0);
  test.Show(dir.Write("blink.ans", "\x1b[5;31m\xdb\x1b[0;32m\xdb"));
  const auto pixels = [&test] {
    return std::make_pair(WindowPixel(test.window(), 12, 15), WindowPixel(test.window(), 20, 15));
  };
  const COLORREF red = RGB(0xAA, 0, 0), green = RGB(0, 0xAA, 0), black = RGB(0, 0, 0);
  const COLORREF before = pixels().first;  // either phase
  EXPECT_TRUE(pixels() == std::make_pair(red, green) || pixels() == std::make_pair(black, green));
  for (const DWORD start = GetTickCount(); pixels().first == before && GetTickCount() - start < 5000;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    PumpMessages();
  }
  EXPECT_EQ(pixels(), std::make_pair(before == red ? black : red, green)) << "the other phase";

  // The status bar says that a play runs, is paused, and at what speed, before anything else.
  const auto play = [&test] { return test.StatusText(0).substr(0, test.StatusText(0).find(" \u2014")); };
  KeyWith(test.window(), 'P', {VK_CONTROL});
  std::vector<std::string> plays = {play()};
  SendMessageA(test.window(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(pixels().second, black) << "byte 0";
  plays.push_back(play());
  SendMessageA(test.window(), WM_KEYDOWN, VK_SPACE, 0);
  KeyWith(test.window(), 'P', {VK_CONTROL});
  EXPECT_EQ(pixels().second, green);
  plays.push_back(play().substr(0, 7));
  EXPECT_EQ(plays, (std::vector<std::string>{"Playing at 14400 bit/s", "Paused at 14400 bit/s", "anttkn:"}));

  test.Show(dir.Write("steady.ans", "\x1b[31m\xdb"));
  EXPECT_FALSE(KillTimer(test.window(), kBlinkTimer));
  SendMessageA(test.window(), WM_COMMAND, IDM_SPEED_FIRST + 3, 0);
  EXPECT_EQ(std::make_pair(
                GetMenuState(GetMenu(test.window()), IDM_SPEED_FIRST + 3, MF_BYCOMMAND) & UINT{MF_CHECKED},
                RegText(HKEY_LOCAL_MACHINE, kSettingsKey, "playspeed")),
            std::make_pair(UINT{MF_CHECKED}, std::string("28800")));
  ForgetSavedSettings();
}

// View > Font's items: each font's text (an IBM family's code page after the family's name), command and
// mark.
struct FontItem {
  std::string text;
  UINT command;
  bool marked;
};
std::string MenuText(HMENU menu, int position) {
  char text[64] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}
// Found where it belongs, after View > 4:3 aspect.
std::vector<FontItem> FontItems(HWND window) {
  HMENU view = GetSubMenu(GetMenu(window), 2), fonts = nullptr;
  for (int i = 1; i < GetMenuItemCount(view); ++i)
    if (MenuText(view, i) == "&Font" && MenuText(view, i - 1) == "4:3 a&spect") fonts = GetSubMenu(view, i);
  std::vector<FontItem> items;
  const auto add = [&items](HMENU from, const std::string& family) {
    for (int i = 0; i < GetMenuItemCount(from); ++i) {
      const UINT state = GetMenuState(from, i, MF_BYPOSITION);
      if (GetSubMenu(from, i) == nullptr && !(state & MF_SEPARATOR))
        items.push_back({family + MenuText(from, i), GetMenuItemID(from, i), (state & MF_CHECKED) != 0});
    }
  };
  add(fonts, "");
  for (int i = 0; i < GetMenuItemCount(fonts); ++i)
    if (HMENU pages = GetSubMenu(fonts, i)) add(pages, MenuText(fonts, i) + " ");
  return items;
}

std::vector<std::string> Marked(HWND window) {
  std::vector<std::string> marked;
  for (const FontItem& item : FontItems(window))
    if (item.marked) marked.push_back(item.text);
  return marked;
}

// View > Font offers every font and marks the one chosen alone, stores its name for the next start (any
// other stored text reads as the file says); File > Information and the status bar name the font in use.
TEST(FontMenu, EveryFontOfferedOneMarkedAndKept) {
  TempDir dir;
  std::string record(128, '\0');
  record.replace(0, 7, "SAUCE00").replace(106, 7, "IBM VGA");
  record[94] = record[95] = 1;
  const std::string named = dir.Write("named.nfo", "\x8e\r\n\x1a" + record);
  {
    MainWindowTest test;
    EXPECT_EQ(Marked(test.window()), std::vector<std::string>{"As the &file says"});
    // Every family's item, the IBM ones each with every code page; choosing one marks it alone (across the
    // submenus) and stores its name as SAUCE spells it (437 left out).
    const std::vector<FontItem> items = FontItems(test.window());
    EXPECT_EQ(items.size(), size_t{1 + 5 * kCodePageCount + (kFontFamilyCount - 5)});
    for (const FontItem& item : items) {
      const std::string shown = item.text.substr(0, item.text.find(" ("));
      if (shown != "IBM VGA 437" && shown != "IBM EGA43 872" && shown != "Amiga mOsOul") continue;
      SendMessageA(test.window(), WM_COMMAND, item.command, 0);
      EXPECT_EQ(Marked(test.window()), std::vector<std::string>{item.text});
      EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kSettingsKey, "Font"), shown == "IBM VGA 437" ? "IBM VGA" : shown);
    }
    for (const FontItem& item : FontItems(test.window()))
      if (item.text == "IBM EGA 866 (Russian)") SendMessageA(test.window(), WM_COMMAND, item.command, 0);
    test.Show(dir.Write("plain.nfo", "\x8e\r\n"));
    EXPECT_EQ(std::make_pair(Information(), test.StatusText(0).substr(0, 15)),
              std::make_pair(std::string("This file carries no SAUCE record.\r\nFont:\tIBM EGA 866"),
                             std::string("IBM EGA 866 \xe2\x80\x94")));
    test.Show(named);
    EXPECT_NE(Information().find("Font:\tIBM EGA 866 (the record names IBM VGA)\r\n"), std::string::npos);
  }
  {
    MainWindowTest again(true);
    EXPECT_EQ(Marked(again.window()), std::vector<std::string>{"IBM EGA 866 (Russian)"});
    SendMessageA(again.window(), WM_COMMAND, IDM_FONT_AS_FILE, 0);
    again.Show(named);
    EXPECT_NE(Information().find("Font:\tRururerir  (Eng) (the record names IBM VGA)\r\n"),
              std::string::npos);
    EXPECT_EQ(again.StatusText(0).substr(0, 7), "anttkn:");
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS);
    WriteTextValue(key, "Font", "IBM VGX 866");
    RegCloseKey(key);
  }
  MainWindowTest garbage(true);
  EXPECT_EQ(std::make_pair(Marked(garbage.window()), settings.font),
            std::make_pair(std::vector<std::string>{"As the &file says"}, std::string()));
  ForgetSavedSettings();
}

}  // namespace
