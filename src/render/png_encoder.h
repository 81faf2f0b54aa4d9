// Pages as PNG files, through the platform's own image encoder (the Windows
// Imaging Component): a 1-bit page stays 1 bit per pixel with a black and
// white palette, a 32-bit page becomes 24-bit colour.
#ifndef QUILLPANE_PNG_ENCODER_H
#define QUILLPANE_PNG_ENCODER_H

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <vector>

#include "render_page.h"

class PngEncoder {
 public:
  PngEncoder();
  ~PngEncoder();
  PngEncoder(const PngEncoder&) = delete;
  PngEncoder& operator=(const PngEncoder&) = delete;
  // False when the platform has no imaging component to encode with.
  bool ready() const { return factory_ != nullptr; }
  // The whole page as the bytes of a PNG file; false when it cannot be
  // encoded.
  bool Encode(const Page& page, std::vector<uint8_t>& png);

 private:
  bool comStarted_ = false;
  IWICImagingFactory* factory_ = nullptr;
};

#endif
