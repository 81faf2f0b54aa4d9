#include "png_encoder.h"

#include <zlib.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "lodepng.h"

namespace {

// zlib's fastest level: on the page of a 512 KB document it deflates nearly
// three times as fast as the usual level 6 for a file a third larger, and
// still finds the glyph rows that repeat (run-length matching alone saves a
// little more time but gives a file a quarter larger again).
constexpr int kDeflateLevel = 1;

// The zlib stream of lodepng's filtered rows, in memory lodepng frees.
unsigned Deflate(unsigned char** out, size_t* outSize, const unsigned char* in, size_t inSize,
                 const LodePNGCompressSettings*) {
  *out = nullptr;
  *outSize = 0;
  if (inSize > UINT_MAX / 2) return 1;  // past any page; zlib counts in 32 bits
  z_stream stream = {};
  if (deflateInit2(&stream, kDeflateLevel, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return 1;
  const uLong bound = deflateBound(&stream, static_cast<uLong>(inSize));
  auto* bytes = static_cast<unsigned char*>(std::malloc(bound));
  int result = Z_MEM_ERROR;
  if (bytes != nullptr) {
    stream.next_in = const_cast<Bytef*>(in);
    stream.avail_in = static_cast<uInt>(inSize);
    stream.next_out = bytes;
    stream.avail_out = static_cast<uInt>(bound);
    result = deflate(&stream, Z_FINISH);  // the bound leaves room for all of it in one call
  }
  const size_t written = stream.total_out;
  deflateEnd(&stream);
  if (result != Z_STREAM_END) {
    std::free(bytes);
    return 1;
  }
  *out = bytes;
  *outSize = written;
  return 0;
}

}  // namespace

bool PngEncoder::Encode(const Page& page, std::vector<uint8_t>& png) {
  png.clear();
  const bool mono = page.bitsPerPixel == 1;
  if (page.bits == nullptr || page.columns <= 0 || page.rows <= 0 || (!mono && page.bitsPerPixel != 32))
    return false;
  const unsigned width = static_cast<unsigned>(page.columns) * 8;
  const unsigned height = static_cast<unsigned>(page.rows) * 8;
  // lodepng reads rows without padding, colour as red, green and blue: the
  // bitmap's rows are padded to 4 bytes, and its colour is blue, green, red
  // and a byte the PNG drops. A 1-bit page whose rows need no padding goes
  // in as it is.
  const size_t rowBytes = mono ? static_cast<size_t>(page.columns) : static_cast<size_t>(width) * 3;
  const uint8_t* pixels = page.bits;
  std::vector<uint8_t> rows;
  if (!mono || rowBytes != static_cast<size_t>(page.stride)) {
    try {
      rows.resize(rowBytes * height);
    } catch (const std::bad_alloc&) {
      return false;
    }
    for (unsigned y = 0; y < height; ++y) {
      const uint8_t* from = page.bits + static_cast<size_t>(y) * page.stride;
      uint8_t* to = rows.data() + y * rowBytes;
      if (mono) {
        std::memcpy(to, from, rowBytes);
        continue;
      }
      for (unsigned x = 0; x < width; ++x, from += 4, to += 3) {
        to[0] = from[2], to[1] = from[1], to[2] = from[0];
      }
    }
    pixels = rows.data();
  }

  lodepng::State state;
  state.encoder.auto_convert = 0;  // the page's own format, never a scan of every pixel for a better one
  state.encoder.zlibsettings.custom_zlib = Deflate;
  // No row filter, as a palette page has anyway: a colour page's repeated
  // glyphs are left to deflate's matches, and trying every filter on every
  // row costs a third more time for a file a few percent smaller.
  state.encoder.filter_strategy = LFS_ZERO;
  for (LodePNGColorMode* mode : {&state.info_raw, &state.info_png.color}) {
    if (mono) {
      // Index 0 black, 1 white: the page's 0 and 1 bits as they are.
      mode->colortype = LCT_PALETTE;
      mode->bitdepth = 1;
      if (lodepng_palette_add(mode, 0, 0, 0, 255) != 0 || lodepng_palette_add(mode, 255, 255, 255, 255) != 0)
        return false;
    } else {
      mode->colortype = LCT_RGB;
      mode->bitdepth = 8;
    }
  }
  try {
    return lodepng::encode(png, pixels, width, height, state) == 0;
  } catch (const std::bad_alloc&) {
    png.clear();
    return false;
  }
}
