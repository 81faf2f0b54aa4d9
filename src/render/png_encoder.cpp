#include "png_encoder.h"

#include <cstring>

namespace {

// Releases a COM interface at the end of a scope.
template <typename Interface>
class Held {
 public:
  Held() = default;
  ~Held() {
    if (p_ != nullptr) p_->Release();
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  Interface* operator->() const { return p_; }
  Interface* get() const { return p_; }
  Interface** out() { return &p_; }

 private:
  Interface* p_ = nullptr;
};

}  // namespace

PngEncoder::PngEncoder() {
  comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory_)))) {
    factory_ = nullptr;
  }
}

PngEncoder::~PngEncoder() {
  if (factory_ != nullptr) factory_->Release();
  if (comStarted_) CoUninitialize();
}

bool PngEncoder::Encode(const Page& page, std::vector<uint8_t>& png) {
  png.clear();
  if (factory_ == nullptr || page.bits == nullptr) return false;
  const bool mono = page.bitsPerPixel == 1;
  const UINT width = static_cast<UINT>(page.columns) * 8;
  const UINT height = static_cast<UINT>(page.rows) * 8;
  Held<IStream> stream;
  Held<IWICBitmapEncoder> encoder;
  Held<IWICBitmapFrameEncode> frame;
  Held<IPropertyBag2> options;
  Held<IWICPalette> palette;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.out())) ||
      FAILED(factory_->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.out(), options.out())) ||
      FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(width, height))) {
    return false;
  }
  // The page's own pixels go in as they are: 1-bit rows whose 0 bits are
  // black and 1 bits white, or 32-bit rows of blue, green, red and a byte
  // the encoder drops. An encoder that offers another format is refused
  // rather than fed pixels it would misread.
  const WICPixelFormatGUID wanted = mono ? GUID_WICPixelFormat1bppIndexed : GUID_WICPixelFormat32bppBGR;
  WICPixelFormatGUID format = wanted;
  if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, wanted)) return false;
  if (mono) {
    WICColor colours[2] = {0xFF000000, 0xFFFFFFFF};
    if (FAILED(factory_->CreatePalette(palette.out())) || FAILED(palette->InitializeCustom(colours, 2)) ||
        FAILED(frame->SetPalette(palette.get()))) {
      return false;
    }
  }
  const UINT stride = static_cast<UINT>(page.stride);
  if (FAILED(frame->WritePixels(height, stride, stride * height, page.bits)) || FAILED(frame->Commit()) ||
      FAILED(encoder->Commit())) {
    return false;
  }
  STATSTG about = {};
  HGLOBAL memory = nullptr;
  if (FAILED(stream->Stat(&about, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream.get(), &memory))) {
    return false;
  }
  const void* bytes = GlobalLock(memory);
  if (bytes == nullptr) return false;
  const auto* first = static_cast<const uint8_t*>(bytes);
  png.assign(first, first + static_cast<size_t>(about.cbSize.QuadPart));
  GlobalUnlock(memory);
  return true;
}
