// The export from the real window: File > Save as (the dialog driven through its function pointer) and
// File > Copy picture (the clipboard's DIB against the export's page).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "../unit/zip_writer.h"
#include "export/export_core.h"
#include "export/png_export.h"
#include "export/window_export.h"
#include "view/render_page.h"
#include "view/view.h"
#include "win32/disk_file.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

// What the fake Save dialog was offered (its name and default extension), and the path and type it chooses.
std::string offered, chosenPath;
DWORD chosenType = 1;
std::vector<std::string> messages;

BOOL WINAPI FakeSaveDialog(LPOPENFILENAMEA request) {
  offered = std::string(request->lpstrFile) + "|" + request->lpstrDefExt;
  lstrcpynA(request->lpstrFile, chosenPath.c_str(), static_cast<int>(request->nMaxFile));
  request->nFilterIndex = chosenType;
  return TRUE;
}

int WINAPI RecordMessage(HWND, LPCSTR text, LPCSTR, UINT) {
  messages.push_back(text);
  return IDOK;
}

class WindowExportTest : public testing::Test {
 protected:
  void SetUp() override { runSaveDialog = FakeSaveDialog, windowExportMessageBox = RecordMessage, messages = {}; }
  void TearDown() override { runSaveDialog = GetSaveFileNameA, windowExportMessageBox = MessageBoxA; }
  void SaveAs(const std::string& path, DWORD type) {
    chosenPath = path, chosenType = type;
    SendMessageA(test.window(), WM_COMMAND, IDM_SAVE_AS, 0);
  }
  // The shown .ans file, as View > ANSI colours and 9-pixel letters show it.
  std::string ShowNine(const std::string& bytes) {
    SendMessageA(test.window(), WM_COMMAND, IDM_ANSI_COLOURS, 0);
    SendMessageA(test.window(), WM_COMMAND, IDM_LETTERS_9, 0);
    const std::string art = dir.Write("art.ans", bytes);
    test.Show(art);
    return art;
  }
  // The PNG the command line writes with `switches` of `file`.
  std::string CommandLinePng(const std::string& switches, const std::string& file) {
    const std::string out = dir.path() + "command-line.png";
    EXPECT_EQ(RunExport(ParseExportRequest(("q.exe --png \"" + out + "\" " + switches + " \"" + file + "\"").c_str()),
                        ProgramFontsFolder()),
              0);
    return ReadWholeFile(out);
  }
  MainWindowTest test{false, ProgramPath()};  // the build's sheets are in the fonts folder beside it
  TempDir dir;
};

TEST_F(WindowExportTest, SaveAsWritesTheExportsBytesInTheReadingShownAndNeverOverTheArt) {
  const std::string art = ShowNine("\x1b[1;33;44mHello\r\n\x1b[0m\xDB\xB2 world");
  // Ctrl+S; the PNG is the command line's for the same reading, byte for byte.
  chosenPath = dir.path() + "art.png", chosenType = 1;
  KeyWith(test.window(), 'S', {VK_CONTROL});
  EXPECT_EQ(offered, "art.ans.png|png");
  EXPECT_EQ(ReadWholeFile(chosenPath), CommandLinePng("--colour --letter-spacing 9", art));
  // The text outputs: DocumentOutput's bytes; the dialog offers the type chosen last.
  GlyphPixels glyphs;
  ReadGlyphPixels(view.glyphSheet.get(), view.glyphTable, glyphs);
  for (const auto& [type, kind, name] : {std::tuple(2, OutputKind::kText, "art.txt"),
                                         {3, OutputKind::kAnsi, "art.ans.ans"}, {4, OutputKind::kHtml, "a.htm"}}) {
    SaveAs(dir.path() + name, type);
    std::vector<uint8_t> bytes;
    DocumentOutput(kind, ShownDocument(), glyphs, ExportRequest(), art, bytes);
    EXPECT_EQ(ReadWholeFile(dir.path() + name), std::string(bytes.begin(), bytes.end())) << name;
  }
  EXPECT_EQ(std::make_pair(offered, messages.size()), std::make_pair(std::string("art.ans.ans|ans"), size_t{0}));

  // The art shown, under another spelling or another name of the same file (a hard link), is refused; so is
  // the pack an entry comes from; a folder that is not there fails with the system's reason.
  const std::string link = dir.path() + "link.ans";
  ASSERT_TRUE(CreateHardLinkA(link.c_str(), art.c_str(), nullptr));
  for (const std::string& path : {dir.path() + "ART.ANS", link}) SaveAs(path, 3);
  const std::string pack = dir.Write("pack.zip", Write(Pack{{{"x.nfo", "in a pack\n"}}}));
  test.Show(pack + "\\x.nfo");
  SaveAs(pack, 2);
  SaveAs(dir.path() + "none\\out.png", 1);
  EXPECT_EQ(ReadWholeFile(art), "\x1b[1;33;44mHello\r\n\x1b[0m\xDB\xB2 world");
  EXPECT_EQ(messages,
            (std::vector<std::string>{
                "\"" + dir.path() + "ART.ANS\" is the art shown: it is never written over. Choose another name.",
                "\"" + link + "\" is the art shown: it is never written over. Choose another name.",
                "\"" + pack + "\" is the art shown (the pack it comes from): it is never written over. Choose "
                              "another name.",
                "Cannot write \"" + dir.path() + "none\\out.png\": " + SystemReason(ERROR_PATH_NOT_FOUND)}));
  // The text layout in the Keymap sheet shown (the blue one), as --sheet draws it.
  SendMessageA(test.window(), WM_COMMAND, 202, 0);
  const std::string banner = dir.Write("banner.asc", "\u2554\u2550\u2557 Quill \u2588\u2593\r\n");
  test.Show(banner);
  SaveAs(dir.path() + "banner.png", 1);
  EXPECT_EQ(ReadWholeFile(dir.path() + "banner.png"), CommandLinePng("--sheet blue", banner));
}

// The clipboard's CF_DIB as 0xRRGGBB pixels, top row first, and its size.
std::vector<uint32_t> ClipboardPicture(int32_t& width, int32_t& height) {
  std::vector<uint32_t> pixels;
  OpenClipboard(nullptr);
  HANDLE data = GetClipboardData(CF_DIB);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
  EXPECT_EQ(header->biBitCount, 24);
  width = header->biWidth, height = header->biHeight;  // bottom-up, rows of 4-byte multiples
  for (int32_t y = height - 1; y >= 0; --y)
    for (int32_t x = 0; x < width; ++x) {
      const auto* p = reinterpret_cast<const uint8_t*>(header + 1) + y * ((width * 3 + 3) & ~3) + 3 * x;
      pixels.push_back(uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0]);
    }
  GlobalUnlock(data);
  CloseClipboard();
  return pixels;
}

// Pixels left .. right - 1 of rows top .. bottom - 1 of the export's page of the shown document.
std::vector<uint32_t> ExportPixels(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  GlyphPixels glyphs;
  ReadGlyphPixels(view.glyphSheet.get(), view.glyphTable, glyphs);
  ExportPage page;
  EXPECT_TRUE(DrawExportPage(ShownDocument(), glyphs, 0, page));
  std::vector<uint32_t> pixels;
  for (int32_t y = top; y < std::min(bottom, page.rows.height); ++y)
    for (int32_t x = left; x < std::min(right, page.rows.width); ++x) {
      const uint8_t* row = page.rows.pixels + y * page.rows.stride;
      switch (page.rows.format) {
        case PixelFormat::kIndexed1: pixels.push_back(page.palette[row[x / 8] >> (7 - x % 8) & 1]); break;
        case PixelFormat::kIndexed4: pixels.push_back(page.palette[x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4]); break;
        case PixelFormat::kRgb24: pixels.push_back(row[3 * x] << 16 | row[3 * x + 1] << 8 | row[3 * x + 2]); break;
        default: ADD_FAILURE() << "a page format this test does not read"; return pixels;
      }
    }
  return pixels;
}

TEST_F(WindowExportTest, CopyPictureIsTheExportsPixelsOfTheSelectionOrOfTheWholePage) {
  ShowNine("\x1b[37;44m\333ABCDEFGH\r\n-\x1b[1;31mabcdefgh");
  // Cells 5 to 7 of both rows ("EFG", "efg"): 9 x 16 pixels each, from pixel 45 across.
  SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(10 + 9 * 5 + 4, 18));
  SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(10 + 9 * 8 + 4, 44));
  KeyWith(test.window(), 'C', {VK_CONTROL, VK_SHIFT});
  int32_t width = 0, height = 0;
  std::vector<uint32_t> copied = ClipboardPicture(width, height);
  EXPECT_EQ(std::make_pair(width, height), std::make_pair(27, 32));
  EXPECT_EQ(copied, ExportPixels(45, 0, 72, 32));
  // A click hides the selection: the whole page, here stretched to 4:3.
  SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(12, 12));
  SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
  SendMessageA(test.window(), WM_COMMAND, IDM_ASPECT_4_3, 0);
  SendMessageA(test.window(), WM_COMMAND, IDM_COPY_PICTURE, 0);
  copied = ClipboardPicture(width, height);
  EXPECT_EQ(std::make_pair(width, height), std::make_pair(720, 43));
  EXPECT_EQ(copied, ExportPixels(0, 0, 720, 43));
  // Its second row's cells: from where one row stretched ends (21.6 rounded) to where two do.
  SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(10 + 9 * 5 + 4, 10 + 22 + 4));
  SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(10 + 9 * 8 + 4, 10 + 44 + 4));
  SendMessageA(test.window(), WM_COMMAND, IDM_COPY_PICTURE, 0);
  EXPECT_EQ(ClipboardPicture(width, height), ExportPixels(45, 22, 72, 43));
  EXPECT_EQ(std::make_pair(width, height), std::make_pair(27, 21));
  // The text layout's page, 1 bit a pixel in the built-in sheet, whole (a new document has no selection).
  test.Show(dir.Write("rows.nfo", "A\xCD\xBBxyz\r\n\xDB\xB2\xB1jkl\r\n"));
  SendMessageA(test.window(), WM_COMMAND, IDM_COPY_PICTURE, 0);
  EXPECT_EQ(ClipboardPicture(width, height), ExportPixels(0, 0, view.pageWidth, view.pageHeight));
  EXPECT_EQ(std::make_pair(width, height), std::make_pair(view.pageWidth, view.pageHeight));
}

}  // namespace
