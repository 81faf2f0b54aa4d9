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
  void SetUp() override {
    runSaveDialog = FakeSaveDialog, windowExportMessageBox = RecordMessage, messages = {};
  }
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
    EXPECT_EQ(RunExport(ParseExportRequest(
                            ("q.exe --png \"" + out + "\" " + switches + " \"" + file + "\"").c_str()),
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
                                         {3, OutputKind::kAnsi, "art.ans.ans"},
                                         {4, OutputKind::kHtml, "a.htm"}}) {
    SaveAs(dir.path() + name, type);
    std::vector<uint8_t> bytes;
    DocumentOutput(kind, ShownDocument(), glyphs, ExportRequest(), art, bytes);
    EXPECT_EQ(ReadWholeFile(dir.path() + name), std::string(bytes.begin(), bytes.end())) << name;
  }
  EXPECT_EQ(std::make_pair(offered, messages.size()),
            std::make_pair(std::string("art.ans.ans|ans"), size_t{0}));

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
  const auto refused = [](const std::string& path, const char* pack) {
    return "\"" + path + "\" is the art shown" + pack + ": it is never written over. Choose another name.";
  };
  EXPECT_EQ(
      messages,
      (std::vector<std::string>{
          refused(dir.path() + "ART.ANS", ""), refused(link, ""), refused(pack, " (the pack it comes from)"),
          "Cannot write \"" + dir.path() + "none\\out.png\": " + SystemReason(ERROR_PATH_NOT_FOUND)}));
  // The text layout in the Keymap sheet shown (the blue one), as --sheet draws it.
  SendMessageA(test.window(), WM_COMMAND, 202, 0);
  const std::string banner = dir.Write("banner.asc", "\u2554\u2550\u2557 Quill \u2588\u2593\r\n");
  test.Show(banner);
  SaveAs(dir.path() + "banner.png", 1);
  EXPECT_EQ(ReadWholeFile(dir.path() + "banner.png"), CommandLinePng("--sheet blue", banner));
}

// The clipboard's CF_DIB against pixels left .. right - 1 of rows top .. bottom - 1 of the export's page of
// the shown document: its size and depth, and the first pixel that differs, if any.
std::string CopiedAgainstExport(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  GlyphPixels glyphs;
  ReadGlyphPixels(view.glyphSheet.get(), view.glyphTable, glyphs);
  ExportPage page;
  EXPECT_TRUE(DrawExportPage(ShownDocument(), glyphs, 0, page));
  OpenClipboard(nullptr);
  HANDLE data = GetClipboardData(CF_DIB);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
  std::string said = std::to_string(header->biWidth) + " x " + std::to_string(header->biHeight) + " x " +
                     std::to_string(header->biBitCount);
  const bool sized =
      header->biWidth == right - left && header->biHeight == bottom - top && header->biBitCount == 24;
  for (int32_t y = top; sized && y < bottom; ++y)
    for (int32_t x = left; x < right; ++x) {
      const uint8_t* row = page.rows.pixels + y * page.rows.stride;  // top-down
      const uint8_t* dib =
          reinterpret_cast<const uint8_t*>(header + 1) +  // bottom-up, rows of 4-byte multiples
          (bottom - 1 - y) * ((3 * (right - left) + 3) & ~3) + 3 * (x - left);
      const uint32_t expected = page.rows.format == PixelFormat::kIndexed1
                                    ? page.palette[row[x / 8] >> (7 - x % 8) & 1]
                                : page.rows.format == PixelFormat::kIndexed4
                                    ? page.palette[x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4]
                                    : row[3 * x] << 16 | row[3 * x + 1] << 8 | row[3 * x + 2];
      if ((dib[2] << 16 | dib[1] << 8 | dib[0]) != static_cast<int>(expected)) {
        said += " differs at " + std::to_string(x) + "," + std::to_string(y);
        y = bottom;
        break;
      }
    }
  GlobalUnlock(data);
  CloseClipboard();
  return said;
}

TEST_F(WindowExportTest, CopyPictureIsTheExportsPixelsOfTheSelectionOrOfTheWholePage) {
  ShowNine("\x1b[37;44m\333ABCDEFGH\r\n-\x1b[1;31mabcdefgh");
  // Cells 5 to 7 of both rows ("EFG", "efg"): 9 x 16 pixels each, from pixel 45 across.
  SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(10 + 9 * 5 + 4, 18));
  SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(10 + 9 * 8 + 4, 44));
  KeyWith(test.window(), 'C', {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(CopiedAgainstExport(45, 0, 72, 32), "27 x 32 x 24");
  // A click hides the selection: the whole page, here stretched to 4:3 (RGB).
  SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(12, 12));
  SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
  SendMessageA(test.window(), WM_COMMAND, IDM_ASPECT_4_3, 0);
  SendMessageA(test.window(), WM_COMMAND, IDM_COPY_PICTURE, 0);
  EXPECT_EQ(CopiedAgainstExport(0, 0, 720, 43), "720 x 43 x 24");
  // Its second row's cells: from where one row stretched ends (21.6 rounded) to where two do.
  SendMessageA(test.window(), WM_LBUTTONDOWN, 0, MAKELPARAM(10 + 9 * 5 + 4, 10 + 22 + 4));
  SendMessageA(test.window(), WM_LBUTTONUP, 0, MAKELPARAM(10 + 9 * 8 + 4, 10 + 44 + 4));
  SendMessageA(test.window(), WM_COMMAND, IDM_COPY_PICTURE, 0);
  EXPECT_EQ(CopiedAgainstExport(45, 22, 72, 43), "27 x 21 x 24");
  // The text layout's page, 1 bit a pixel in the built-in sheet, whole (a new document has no selection).
  test.Show(dir.Write("rows.nfo", "A\xCD\xBBxyz\r\n\xDB\xB2\xB1jkl\r\n"));
  SendMessageA(test.window(), WM_COMMAND, IDM_COPY_PICTURE, 0);
  EXPECT_EQ(CopiedAgainstExport(0, 0, 56, 24), "56 x 24 x 24");
}

}  // namespace
