// Links in the real window: the hand over a link, the address in the status
// bar, a click opening it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/main_window.h"
#include "core/viewer_state.h"
#include "render/view_text.h"
#include "test_support.h"

namespace {

// The client point inside cell (column, row) of the view at zoom 8.
LPARAM CellPoint(int column, int row) { return MAKELPARAM(10 + 8 * column + 3, 10 + 8 * row + 3); }

std::string opened;
HINSTANCE WINAPI RecordOpen(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT) {
  opened += std::string(verb) + " " + file;
  return reinterpret_cast<HINSTANCE>(33);
}

TEST(Links, HandAddressAndAClickThatOpens) {
  MainWindowTest test;
  TempDir dir;
  // Row 0: a www. and a mail address; rows 1 and 2: a link that the wrap cut after "http:/".
  test.Show(dir.Write("links.nfo", "Visit www.quill.example.org/a, or mail art@quill.example.org.\r\n" +
                                       std::string(85, 'x') + " http://a.example.org/long\r\n"));
  const auto cursorAt = [&](int column, int row) {
    POINT point = {LOWORD(CellPoint(column, row)), HIWORD(CellPoint(column, row))};
    ClientToScreen(test.window(), &point);
    SetCursorPos(point.x, point.y);
    SendMessageA(test.window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(test.window()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  EXPECT_EQ(cursorAt(10, 0), LoadCursorA(nullptr, IDC_HAND));
  EXPECT_EQ(cursorAt(2, 0), LoadCursorA(nullptr, IDC_ARROW));
  // The right part of the status bar shows the address while the pointer is on the link.
  const std::tuple<UINT, LPARAM, const char*> moves[] = {
      {WM_MOUSEMOVE, CellPoint(45, 0), "mailto:art@quill.example.org"},
      {WM_MOUSEMOVE, CellPoint(60, 0), "1/1"},  // the full stop after it
      {WM_MOUSEMOVE, CellPoint(1, 2), "http://a.example.org/long"},
      {WM_MOUSELEAVE, 0, "1/1"}};
  for (const auto& [message, point, want] : moves) {
    SendMessageA(test.window(), message, 0, point);
    EXPECT_EQ(test.StatusText(1), want) << message << " " << point;
  }

  linkShellExecute = RecordOpen;
  const std::tuple<LPARAM, LPARAM, std::string> clicks[] = {
      {CellPoint(10, 0), CellPoint(10, 0), "open http://www.quill.example.org/a"},
      {CellPoint(59, 0), CellPoint(59, 0), "open mailto:art@quill.example.org"},
      {CellPoint(2, 2), CellPoint(2, 2), "open http://a.example.org/long"},
      {CellPoint(10, 0), CellPoint(12, 0), ""},      // another cell of the link: no click
      {CellPoint(29, 0), CellPoint(29, 0), ""},      // the comma after it
      {MAKELPARAM(97, 17), MAKELPARAM(90, 10), ""},  // in cell (10, 0), but far enough to select it
      {CellPoint(10, 0), CellPoint(14, 1), ""},      // a drag from a link selects
  };
  for (const auto& [press, release, want] : clicks) {
    opened.clear();
    SendMessageA(test.window(), WM_LBUTTONDOWN, 0, press);
    SendMessageA(test.window(), WM_LBUTTONUP, 0, release);
    EXPECT_EQ(opened, want) << press << " to " << release;
  }
  linkShellExecute = ShellExecuteA;
  EXPECT_EQ(std::make_pair(viewer.selectionShown, std::string(viewer.selectionText)),
            std::make_pair(1, std::string("quil")));
}

}  // namespace
