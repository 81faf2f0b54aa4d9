// View > Gallery in the real main window: the grid of the shown document's folder, its keys, tiles drawn on
// the worker as the thumbnailer draws them, and the piece it opens or returns to.
#include "test_support.h"
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "art/document.h"
#include "document/document.h"
#include "export/export_core.h"
#include "raster/thumbnail.h"
#include "resources/resource_ids.h"
#include "app/gallery.h"
#include "view/render_page.h"
#include "view/view.h"
#include "win32/viewer_state.h"

namespace {

// A text file ending in a SAUCE record with `title` and `author`.
std::string WithSauce(const std::string& text, const std::string& title, const std::string& author) {
  std::string record = "SAUCE00" + title + std::string(35 - title.size(), ' ') + author +
                       std::string(20 - author.size(), ' ') + std::string(20, ' ') + "20260101";
  record += std::string(4, '\0') + '\1' + std::string(128 - record.size() - 5, '\0');
  return text + '\x1a' + record;
}

// Pumps the window's messages until every piece's tile is drawn, for at most a few seconds of waiting for
// messages: the worker posts one when tiles are ready.
bool WaitForTiles(int32_t count) {
  for (int round = 0; round < 100; ++round) {
    PumpMessages();
    bool all = true;
    for (int32_t i = 0; i < count; ++i) all = all && GalleryTileOf(i).drawn;
    if (all) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  return false;
}

std::string Title(HWND window) {
  char title[512] = {};
  GetWindowTextA(window, title, sizeof title);
  return title;
}

// Whether piece `index`'s tile is the thumbnailer's picture of its file at the gallery's size, drawn as the
// View menu's choices draw it.
bool TileIsThumbnail(int32_t index) {
  const std::string path = BrowseEntry(index);
  const GalleryTileView tile = GalleryTileOf(index);
  Document document;
  ReadDocument(path.c_str(), DocumentReader(path.c_str()), ShownOptions(settings), document);
  GlyphPixels glyphs;
  ExportPage page;
  Thumbnail thumbnail;
  if (!ReadGlyphPixels(view.glyphSheet.get(), view.glyphTable, glyphs) ||
      !DrawExportPage(document, glyphs, GalleryTileSize(), page) ||
      !MakeThumbnail(page.rows, GalleryTileSize(), thumbnail) || tile.width != thumbnail.width ||
      tile.height != thumbnail.height)
    return false;
  for (size_t p = 0; p < tile.pixels.size(); ++p) {
    const uint8_t* rgb = &thumbnail.rgb[p * 3];
    if (tile.pixels[p] != ((uint32_t{rgb[0]} << 16) | (uint32_t{rgb[1]} << 8) | rgb[2])) return false;
  }
  return true;
}

TEST(Gallery, ShowsTheFolderDrawsItsTilesAndOpensOrReturns) {
  MainWindowTest test;
  TempDir dir;
  const std::string plain = dir.Write("plain.asc", "Plain text\r\nand \xdb\xdb\xb1 blocks\r\n");
  dir.Write("signed.nfo", WithSauce("signed\r\n", "A Title", "Someone"));
  const std::string gone = dir.Write("gone.nfo", "listed, then removed\r\n");
  test.Show(plain);
  DeleteFileA(gone.c_str());
  SetWindowPos(test.window(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  const int32_t shown = viewer.browseIndex;
  ASSERT_EQ(viewer.browseLast, 2);

  KeyWith(test.window(), 'G', {VK_CONTROL});
  ASSERT_TRUE(GalleryShown());
  EXPECT_TRUE(GetMenuState(GetMenu(test.window()), IDM_GALLERY, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(GallerySelection(), shown);
  ASSERT_TRUE(WaitForTiles(3));
  for (int32_t i = 0; i < 3; ++i) {
    const std::string path = BrowseEntry(i);
    const GalleryTileView tile = GalleryTileOf(i);
    EXPECT_EQ(tile.failed, path == gone) << path;
    if (path.find("signed") != std::string::npos) {
      EXPECT_EQ(tile.title + "/" + tile.author, "A Title/Someone");
    } else if (path == plain) {
      EXPECT_TRUE(TileIsThumbnail(i));
    }
  }

  // The keys move the selection, which the status bar counts; Esc returns to the piece shown, unchanged.
  SendMessageA(test.window(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(GallerySelection(), 2);
  PumpMessages();
  EXPECT_NE(test.StatusText(1).find("3/3"), std::string::npos)
      << test.StatusText(1);  // the selection's place
  // A narrower window flows the grid into more rows and scrolls the selection back into view.
  SetWindowPos(test.window(), nullptr, 0, 0, 200, 300, SWP_NOMOVE | SWP_NOZORDER);
  int32_t first = 0, end = 0;
  GalleryVisibleRange(view, viewer, first, end);
  EXPECT_TRUE(first <= 2 && 2 < end) << first << " " << end;
  SendMessageA(test.window(), WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(GallerySelection(), 0);
  PumpMessages();
  EXPECT_NE(test.StatusText(1).find("1/3"), std::string::npos) << test.StatusText(1);
  SendMessageA(test.window(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_FALSE(GalleryShown());
  EXPECT_FALSE(GetMenuState(GetMenu(test.window()), IDM_GALLERY, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(std::string(viewer.currentPath), plain);
  ASSERT_TRUE(IsWindow(test.window()));  // Esc in the gallery does not close the program

  // Enter opens the selected piece: the other readable one.
  SendMessageA(test.window(), WM_COMMAND, IDM_GALLERY, 0);
  int32_t other = 0;
  while (BrowseEntry(other).find("signed") == std::string::npos) ++other;
  for (int i = 0; i < 3 && GallerySelection() != other; ++i)
    SendMessageA(test.window(), WM_KEYDOWN, GallerySelection() < other ? VK_RIGHT : VK_LEFT, 0);
  SendMessageA(test.window(), WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  EXPECT_FALSE(GalleryShown());
  EXPECT_NE(Title(test.window()).find("signed.nfo"), std::string::npos) << Title(test.window());
}

TEST(Gallery, TilesFollowTheViewMenusChoices) {
  MainWindowTest test;
  TempDir dir;
  test.Show(dir.Write("red.ans", "\x1b[41m\x1b[2J\x1b[1;33mcolours\r\n"));
  for (int colours = 0; colours < 2; ++colours) {
    SendMessageA(test.window(), WM_COMMAND, IDM_GALLERY, 0);
    ASSERT_TRUE(WaitForTiles(1));
    EXPECT_TRUE(TileIsThumbnail(0)) << "colours " << colours;
    SendMessageA(test.window(), WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageA(test.window(), WM_COMMAND, IDM_ANSI_COLOURS, 0);
  }
}

TEST(Gallery, EscReturnsToThePieceWhereItWasScrolled) {
  MainWindowTest test;
  TempDir dir;
  std::string rows;
  for (int i = 0; i < 300; ++i) rows += "row " + std::to_string(i) + "\r\n";
  test.Show(dir.Write("tall.asc", rows));
  SendMessageA(test.window(), WM_KEYDOWN, VK_END, 0);
  const int32_t scrolled = view.scrollY;
  ASSERT_GT(scrolled, 0);
  KeyWith(test.window(), 'G', {VK_CONTROL});
  SendMessageA(test.window(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_EQ(view.scrollY, scrolled);
}

}  // namespace

// F11 in the gallery: the grid covers the whole screen from its top-left corner; Esc leaves the gallery
// first, then full screen, and never ends the program; F11 again brings the window back, the gallery still
// shown.
TEST(Gallery, FullScreenHoldsTheGridAndEscLeavesOneModeAtATime) {
  MainWindowTest test;
  TempDir dir;
  dir.Write("b.nfo", "second\r\n");
  test.Show(dir.Write("a.nfo", "first\r\n"));
  HWND window = test.window();
  RECT before, after, client;
  GetWindowRect(window, &before);
  for (const WPARAM leave : {VK_F11, VK_ESCAPE}) {
    KeyWith(window, 'G', {VK_CONTROL});
    SendMessageA(window, WM_KEYDOWN, VK_F11, 0);
    PumpMessages();
    ASSERT_TRUE(GalleryShown());
    // The first tile, selected, at the corner; the grid's ground down to the screen's last row.
    GetClientRect(window, &client);
    EXPECT_EQ(WindowPixel(window, 0, 0), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(WindowPixel(window, client.right - 1, client.bottom - 1), GetSysColor(COLOR_WINDOW));
    SendMessageA(window, WM_KEYDOWN, leave, 0);
    PumpMessages();
    EXPECT_EQ(GalleryShown(), leave == VK_F11) << leave;
    if (leave == VK_ESCAPE) {  // the piece in full screen, on black
      EXPECT_EQ(WindowPixel(window, 0, 0), RGB(0, 0, 0));
      SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
      PumpMessages();
    }
    ASSERT_TRUE(IsWindow(window));
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&after, &before)) << leave;
    if (GalleryShown()) SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  }
}
