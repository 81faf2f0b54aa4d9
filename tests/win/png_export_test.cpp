// quillpane.exe --png where only Win32 shows it (the rest is compared with the native exporter end to end):
// the PNG as the platform decodes it is the window's page in a colour sheet; the native BMP reader against
// the system's loader; the platform's checks of OUTs and writes.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincodec.h>

#include <cstring>
#include <filesystem>
#include <set>

#include "../unit/bmp_file.h"
#include "../unit/zip_writer.h"
#include "export/png_export.h"
#include "win32/viewer_state.h"
#include "view/view.h"
#include "view/render_page.h"
#include "test_support.h"

namespace {

// The PNG's pixels as 0x00RRGGBB, top row first.
std::vector<uint32_t> DecodePng(const std::string& path) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICBitmapSource* rgb = nullptr;
  UINT width = 0, height = 0;
  std::vector<uint32_t> pixels;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(std::wstring(path.begin(), path.end()).c_str(), nullptr,
                                                   GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
      SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame, &rgb))) {
    pixels.resize(static_cast<size_t>(width) * height);
    rgb->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                    reinterpret_cast<BYTE*>(pixels.data()));
  }
  for (IUnknown* object : std::initializer_list<IUnknown*>{rgb, frame, decoder, factory})
    if (object != nullptr) object->Release();
  for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

int Export(const std::string& arguments, const std::string& fontsFolder) {
  return RunExport(ParseExportRequest(("q.exe " + arguments).c_str()), fontsFolder);
}

std::string Quote(const std::string& path) { return " \"" + path + "\""; }

std::string FontsFolder() {
  return ProgramPath().substr(0, ProgramPath().find_last_of("\\/") + 1) + "fonts\\";
}

TEST(PngExport, ThePngIsThePageTheWindowDraws) {
  // Art saved as UTF-8, which the export reads as the window does, in the blue colour sheet.
  TempDir dir;
  const std::string file =
      dir.Write("banner.asc", "\u2554\u2550\u2557 Quill \u2588\u2593\r\n\u255A\u2550\u255D\r\n");
  ASSERT_EQ(Export("--sheet blue --png" + Quote(dir.path() + "banner.png") + Quote(file), FontsFolder()),
            kExportDone);
  MainWindowTest test(false, ProgramPath());
  SendMessageA(test.window(), WM_COMMAND, 202, 0);  // the blue sheet
  test.Show(file);
  int32_t width, height;
  EXPECT_TRUE(DecodePng(dir.path() + "banner.png") == ReadPixels(view.pageBitmap.get(), &width, &height));
}

// A 48 x 368 BMP of `bits` a pixel with the palette or masks given.
std::string SheetBmp(uint16_t bits, const std::vector<uint32_t>& table, uint32_t compression = BI_RGB,
                     uint32_t infoSize = 40) {
  return BmpFile({48, 368, bits, compression, 0, infoSize, 0, -1, table});
}

TEST(PngExport, TheNativeSheetReaderGivesTheGlyphsTheSystemsLoaderGives) {
  // Names and bytes; the built-in sheet, which the program loads as a resource, from the file it is built of.
  const std::vector<std::pair<std::string, std::string>> sheets = {
      {"built-in", ReadWholeFile(QP_TEST_DATA_DIR "/../../src/resources/glyphs.bmp")},
      {"1 bit, white first", SheetBmp(1, {0xFFFFFF, 0})},
      {"1 bit, blue and yellow", SheetBmp(1, {0x0000FF, 0xFFFF00})},
      {"1 bit, one colour", SheetBmp(1, {0x800000})},
      {"4 bits",
       SheetBmp(4, {0x123456, 0xFF0000, 0x00FF00, 0x0000FF, 0xABCDEF, 0x010203, 0x808080, 0xFFFFFF, 0x111111,
                    0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888})},
      {"8 bits, 3 colours", SheetBmp(8, {0xFF8000, 0x203040, 0x00FF80})},
      {"16 bits", SheetBmp(16, {})},
      {"16 bits, 565", SheetBmp(16, {0xF800, 0x7E0, 0x1F}, BI_BITFIELDS)},
      {"16 bits, 444", SheetBmp(16, {0xF00, 0xF0, 0xF}, BI_BITFIELDS)},
      {"24 bits", SheetBmp(24, {})},
      {"32 bits", SheetBmp(32, {})},
      {"32 bits, masks", SheetBmp(32, {0xFF00, 0xFF000000, 0x3F0}, BI_BITFIELDS)},
      {"32 bits, version 5", SheetBmp(32, {0xFF0000, 0xFF00, 0xFF}, BI_BITFIELDS, 124)},
  };
  TempDir dir;
  GlyphPosition table[256];
  BuildGlyphTable(table);
  static GlyphPixels system, native;
  for (const auto& [name, bytes] : sheets) {
    ASSERT_FALSE(bytes.empty()) << name;
    HBITMAP sheet = LoadFontSheetFile(dir.Write("sheet.bmp", bytes).c_str());
    ASSERT_TRUE(sheet != nullptr && ReadGlyphPixels(sheet, table, system)) << name;
    DeleteObject(sheet);
    SheetImage image;
    ASSERT_TRUE(ReadGlyphSheetBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image) &&
                GlyphPixelsFromSheet(image, table, native))
        << name;
    EXPECT_EQ(native.bitsPerPixel, system.bitsPerPixel) << name;
    EXPECT_TRUE(system.bitsPerPixel == 1
                    ? std::memcmp(native.mono, system.mono, sizeof native.mono) == 0
                    : std::memcmp(native.colour, system.colour, sizeof native.colour) == 0)
        << name;
  }
  // A header whose rows are not in the file (which crashed the system's loader).
  EXPECT_EQ(LoadFontSheetFile(dir.Write("cut.bmp", SheetBmp(1, {0, 0xFFFFFF}).substr(0, 62)).c_str()),
            nullptr);
}

// Every name in `dir` with its bytes.
std::set<std::string> Snapshot(const TempDir& dir) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    files.insert(entry.path().filename().string() + "=" + ReadWholeFile(entry.path().string()));
  return files;
}

TEST(PngExport, AnOutThatWouldReplaceWhatItShouldNotRefusesTheWholeExport) {
  TempDir dir;
  const std::string art = dir.Write("art.nfo", "art"), other = dir.Write("other.nfo", "other");
  const std::string old = dir.Write("old.png", "\x89PNG\r\n\x1A\n and the rest");
  const std::set<std::string> before = Snapshot(dir);
  const std::string news = " --png" + Quote(dir.path() + "new.png") + Quote(art);
  for (const char* out : {"NEW.png", "nul.png"}) {  // given twice; a device
    const std::string arguments = news + " --png" + Quote(dir.path() + out) + Quote(other);
    EXPECT_EQ(Export(arguments, dir.path()), kExportFailed) << arguments;
    EXPECT_TRUE(Snapshot(dir) == before) << arguments;
  }
  // A PNG is replaced, and its temporary file is gone.
  EXPECT_EQ(Export("--png" + Quote(old) + Quote(art), dir.path()), kExportDone);
  EXPECT_EQ(DecodePng(old).size(), 32u * 8u);  // "art" and a line feed
  EXPECT_EQ(Snapshot(dir).size(), before.size());
}

TEST(PngExport, EachEntryOfAPackGetsAPngOfItsOwnWhereverTheFolderTakesTwoNamesForOne) {
  // Names flagged UTF-8 that differ only in the case of letters beyond A to Z, and two that are not UTF-8,
  // which the system reads alike; each entry's text as long as its place, so that no two pictures match.
  const char* const names[] = {"\xC3\x89.ans", "\xC3\xA9.ans", "\xCE\xA9.ans",
                               "\xCF\x89.ans", "bad\xFF.ans",  "bad\xFE.ans"};
  Pack pack;
  for (const char* name : names)
    pack.members.push_back({name, std::string(pack.members.size() + 1, 'x'), 0, 0x800});
  TempDir dir;
  const std::string zip = dir.Write("case.zip", Write(pack));
  // The folder's final backslash doubled before the quote, as the command line wants it.
  ASSERT_EQ(Export("--png" + Quote(dir.path() + "\\") + Quote(zip), dir.path()), kExportDone);
  std::set<std::string> pictures;
  for (const std::string& file : Snapshot(dir)) pictures.insert(file.substr(file.find('=')));
  EXPECT_EQ(pictures.size(), 7u);  // the pack and six PNGs
}

TEST(PngExport, ATextOutIsReplacedOnlyAsTheRecordOfWrittenTextsHoldsIt) {
  TempDir dir;
  const std::string art = dir.Write("art.nfo", "art"), saved = dir.Write("Saved.txt", "saved by the window");
  // Named in another case: the record's paths compare as the folders' names do.
  const std::string text = "--text" + Quote(dir.path() + "SAVED.TXT") + Quote(art);
  EXPECT_EQ(Export(text, dir.path()), kExportFailed);
  RememberWrittenText(saved, "saved by the window", 19);
  EXPECT_EQ(Export(text, dir.path()), kExportDone);
  dir.Write("Saved.txt", "changed since");
  EXPECT_EQ(Export(text, dir.path()), kExportFailed);
  EXPECT_EQ(ReadWholeFile(saved), "changed since");
}

TEST(WriteWholeFile, AFailedWriteLeavesNothingAndTheTemporaryNameIsNeverTaken) {
  TempDir dir;
  CreateDirectoryA((dir.path() + "folder.png").c_str(), nullptr);
  const std::string mine = dir.Write("mine.png.tmp", "mine");
  EXPECT_EQ(WriteWholeFile(dir.path() + "folder.png", "png", 3),
            "cannot write \"" + dir.path() + "folder.png\": Access denied");
  EXPECT_EQ(WriteWholeFile(dir.path() + "mine.png", "png", 3),
            "cannot write \"" + dir.path() + "mine.png\": \"" + mine +
                "\" is in the way (an export that was stopped leaves one)");
  EXPECT_EQ(Snapshot(dir), (std::set<std::string>{"folder.png=", "mine.png.tmp=mine"}));
}

}  // namespace
