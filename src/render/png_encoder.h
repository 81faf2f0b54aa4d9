// Pages as PNG files through the PNG writer: a 1-bit page stays 1 bit per
// pixel with a black and white palette, a 32-bit page becomes 24-bit
// colour.
#ifndef QUILLPANE_PNG_ENCODER_H
#define QUILLPANE_PNG_ENCODER_H

#include <cstdint>
#include <vector>

#include "render_page.h"

class PngEncoder {
 public:
  // The whole page as the bytes of a PNG file; false when it cannot be
  // encoded (no pixels, or not enough memory).
  bool Encode(const Page& page, std::vector<uint8_t>& png);
};

#endif
