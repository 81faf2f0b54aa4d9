// The encoder's PNG of a 1-bit page whose rows the bitmap pads (3 cells, 3
// bytes a row in 4), read back with the platform's own decoder, is the page.
#include <gtest/gtest.h>
#include <wincodec.h>

#include "app/png_export.h"
#include "reference_render.h"
#include "render/png_encoder.h"

TEST(PngEncoder, PaddedOneBitRowsComeOutWhole) {
  static GlyphPixels glyphs = {1, {}, {}};  // a different row pattern for each byte
  for (int c = 0; c < 256; ++c) {
    for (int row = 0; row < 8; ++row) glyphs.mono[c][row] = static_cast<uint8_t>(c * 7 + row * 29);
  }
  char text[16] = "AB\r\n\xDB";
  Page page = DrawDocumentPage(text, glyphs);
  ASSERT_EQ(page.columns, 3);
  std::vector<uint8_t> png;
  ASSERT_TRUE(PngEncoder().Encode(page, png));

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICBitmapSource* rgb = nullptr;
  std::vector<uint32_t> pixels(24 * 16);
  ASSERT_TRUE(
      SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromMemory(png.data(), static_cast<DWORD>(png.size()))) &&
      SUCCEEDED(
          factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame, &rgb)) &&
      SUCCEEDED(rgb->CopyPixels(nullptr, 24 * 4, 24 * 16 * 4, reinterpret_cast<BYTE*>(pixels.data()))));
  for (IUnknown* object : std::initializer_list<IUnknown*>{rgb, frame, decoder, stream, factory})
    object->Release();
  for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  int32_t width, height;
  EXPECT_TRUE(pixels == ReadPixels(page.bitmap, &width, &height));
  DeleteObject(page.bitmap);
}
