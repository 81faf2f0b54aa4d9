// quillpane.exe --png: the PNG, read back with the platform's decoder, is
// the page the window draws; a named sheet's colours come through whole;
// a PNG that cannot be put in place leaves nothing behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincodec.h>

#include <string>
#include <vector>

#include "app/png_export.h"
#include "app/viewer_state.h"
#include "reference_render.h"
#include "test_support.h"

namespace {

// The PNG's pixels as 0x00RRGGBB, and its pixel format.
std::vector<uint32_t> DecodePng(const std::string& path, UINT* width, UINT* height, GUID* format) {
  std::vector<uint32_t> pixels;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICBitmapSource* converted = nullptr;
  const std::wstring wide(path.begin(), path.end());
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(width, height)) &&
      SUCCEEDED(frame->GetPixelFormat(format)) &&
      SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame, &converted))) {
    pixels.resize(static_cast<size_t>(*width) * *height);
    converted->CopyPixels(nullptr, *width * 4, static_cast<UINT>(pixels.size() * 4),
                          reinterpret_cast<BYTE*>(pixels.data()));
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  }
  for (IUnknown* object : std::initializer_list<IUnknown*>{converted, frame, decoder, factory}) {
    if (object != nullptr) object->Release();
  }
  CoUninitialize();
  return pixels;
}

int Export(const std::string& arguments, const std::string& fontsFolder) {
  return RunExport(ParseExportRequest(("q.exe " + arguments).c_str()), fontsFolder);
}

std::string Quote(const std::string& path) { return "\"" + path + "\""; }

TEST(PngExport, ThePngIsThePageTheWindowDraws) {
  // Art saved as UTF-8: the export reads it as the window does.
  std::string file = std::string(QP_CORPUS_DIR) + "/enigma-bbs/misc/startup_banner.asc";
  for (char& c : file) c = c == '/' ? '\\' : c;
  TempDir dir;
  ASSERT_EQ(Export("--png " + Quote(dir.path() + "banner.png") + " " + Quote(file), dir.path()), kExportDone);
  UINT width = 0, height = 0;
  GUID format = {};
  const std::vector<uint32_t> png = DecodePng(dir.path() + "banner.png", &width, &height, &format);
  EXPECT_TRUE(IsEqualGUID(format, GUID_WICPixelFormat1bppIndexed));

  MainWindowTest test;
  test.Show(file);
  int32_t pageWidth, pageHeight;
  const std::vector<uint32_t> page = ReadPixels(viewer.pageBitmap, &pageWidth, &pageHeight);
  EXPECT_EQ(static_cast<int32_t>(width), pageWidth);
  EXPECT_EQ(static_cast<int32_t>(height), pageHeight);
  EXPECT_TRUE(png == page);
}

TEST(PngExport, AColourSheetGivesAColourPng) {
  // A 24-bit sheet whose every pixel has its own colour.
  TempDir dir;
  const auto colour = [](int x, int y) { return static_cast<uint32_t>((x * 5) << 16 | y << 8 | 0x40); };
  BITMAPINFOHEADER info = {sizeof info, kSheetWidth, kSheetHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::string pixels;
  for (int y = kSheetHeight - 1; y >= 0; --y) {  // bottom row first
    for (int x = 0; x < kSheetWidth; ++x) {
      const uint32_t c = colour(x, y);
      pixels += {static_cast<char>(c), static_cast<char>(c >> 8), static_cast<char>(c >> 16)};
    }
  }
  const BITMAPFILEHEADER head = {0x4D42, static_cast<DWORD>(sizeof head + sizeof info + pixels.size()), 0, 0,
                                 sizeof head + sizeof info};
  dir.Write("tint.bmp", std::string(reinterpret_cast<const char*>(&head), sizeof head) +
                            std::string(reinterpret_cast<const char*>(&info), sizeof info) + pixels);
  const std::string file = dir.Write("ab.nfo", "AB");
  ASSERT_EQ(Export("--sheet tint --png " + Quote(dir.path() + "ab.png") + " " + Quote(file), dir.path()),
            kExportDone);

  UINT width = 0, height = 0;
  GUID format = {};
  const std::vector<uint32_t> png = DecodePng(dir.path() + "ab.png", &width, &height, &format);
  ASSERT_EQ(width * height, 24u * 8u);  // A, B and the appended line feed
  EXPECT_FALSE(IsEqualGUID(format, GUID_WICPixelFormat1bppIndexed));
  GlyphPosition table[256];
  BuildGlyphTable(table);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(png[y * 24 + x], colour(table['A'].x + x, table['A'].y + y));
      EXPECT_EQ(png[y * 24 + 8 + x], colour(table['B'].x + x, table['B'].y + y));
      EXPECT_EQ(png[y * 24 + 16 + x], kPageClearColour);
    }
  }
}

TEST(PngExport, APngThatCannotBePutInPlaceLeavesNothing) {
  TempDir dir;
  const std::string file = dir.Write("a.nfo", "a\n");
  CreateDirectoryA((dir.path() + "taken.png").c_str(), nullptr);
  // The first PNG's name is a folder; the second PNG is written all the same.
  EXPECT_EQ(Export("--png " + Quote(dir.path() + "taken.png") + " " + Quote(file) + " --png " +
                       Quote(dir.path() + "b.png") + " " + Quote(file),
                   dir.path()),
            kExportFailed);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir.path() + "*.tmp").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  EXPECT_NE(GetFileAttributesA((dir.path() + "b.png").c_str()), INVALID_FILE_ATTRIBUTES);
  RemoveDirectoryA((dir.path() + "taken.png").c_str());
}

}  // namespace
