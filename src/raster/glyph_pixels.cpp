#include "glyph_pixels.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "screen_fonts.h"

#include <cstring>

#include "bmp_header.h"

namespace {

// White: a cell outside the sheet is the page's ground.
constexpr uint32_t kClear = 0xFFFFFF;

uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// One colour channel of a masked pixel, widened to 8 bits as Windows (and
// Wine) read it back: the channel's top 8 bits, or fewer bits repeated
// once below themselves (5 bits v give v << 3 | v >> 2).
class Channel {
 public:
  explicit Channel(uint32_t mask) {
    if (mask == 0) return;
    while ((mask & 1) == 0) mask >>= 1, ++shift_;
    while ((mask & 1) == 1) mask >>= 1, ++length_;
  }
  uint32_t Read(uint32_t pixel) const {
    if (length_ == 0) return 0;
    const int shift = shift_ - (8 - length_);
    uint32_t field = shift < 0 ? pixel << -shift : pixel >> shift;
    field &= length_ >= 8 ? 0xFFu : (0xFF00u >> length_) & 0xFFu;
    return (field | field >> length_) & 0xFF;
  }

 private:
  int shift_ = 0;
  int length_ = 0;
};

}  // namespace

bool GlyphPixelsFromSheet(const SheetImage& sheet, const GlyphPosition (&table)[256], GlyphPixels& pixels) {
  pixels.bitsPerPixel = 0;
  const int bits = sheet.bitsPerPixel;
  if ((bits != 1 && bits != 32) || sheet.width <= 0 || sheet.height <= 0 ||
      sheet.stride < (static_cast<size_t>(sheet.width) * bits + 7) / 8 ||
      sheet.bits.size() < sheet.stride * static_cast<size_t>(sheet.height)) {
    return false;
  }
  for (int c = 0; c < 256; ++c) {
    const int32_t x = table[c].x;
    const int32_t y = table[c].y;
    const bool inside = x >= 0 && y >= 0 && x % 8 == 0 && x + 8 <= sheet.width && y + 8 <= sheet.height;
    for (int i = 0; i < 8; ++i) {
      // A cell outside the sheet keeps the clear colour; only a cell inside
      // it gives a pointer into the sheet's rows.
      const uint8_t* line = inside ? sheet.bits.data() + static_cast<size_t>(y + i) * sheet.stride : nullptr;
      if (bits == 1) {
        // Cells lie on whole bytes: x is a multiple of 8.
        pixels.mono[c][i] = line == nullptr  ? 0xFF
                            : sheet.inverted ? static_cast<uint8_t>(~line[x / 8])
                                             : line[x / 8];
      } else {
        for (int k = 0; k < 8; ++k) {
          uint32_t value = kClear;
          if (line != nullptr) std::memcpy(&value, line + static_cast<size_t>(x + k) * 4, 4);
          pixels.colour[c][8 * i + k] = value & 0xFFFFFF;
        }
      }
    }
  }
  pixels.bitsPerPixel = bits;
  return true;
}

bool ReadGlyphSheetBmp(const uint8_t* file, size_t size, SheetImage& sheet) {
  sheet = SheetImage();
  BmpLayout bmp;
  const size_t head = size < kBmpHeadSize ? size : kBmpHeadSize;
  if (!IsGlyphSheetBmp(file, head, size) || !ReadBmpHeader(file, head, size, bmp)) return false;
  // The header check puts the palette and every row inside the file.
  const uint8_t* palette = file + bmp.paletteOffset;
  const auto row = [&](int32_t y) {  // the image's row y, top first
    const int32_t stored = bmp.topDown ? y : bmp.height - 1 - y;
    return file + bmp.pixelOffset + static_cast<size_t>(stored) * bmp.rowSize;
  };
  sheet.width = bmp.width;
  sheet.height = bmp.height;
  if (bmp.bitsPerPixel == 1) {
    // Windows reads a 1-bit sheet back with its own palette, and the page
    // follows that palette's first entry: red in it means a 0 bit is white.
    // A palette of 1 entry still has one.
    sheet.bitsPerPixel = 1;
    sheet.inverted = palette[2] != 0;
    sheet.stride = static_cast<size_t>(bmp.rowSize);
    sheet.bits.resize(sheet.stride * static_cast<size_t>(bmp.height));
    for (int32_t y = 0; y < bmp.height; ++y)
      std::memcpy(sheet.bits.data() + static_cast<size_t>(y) * sheet.stride, row(y), sheet.stride);
    return true;
  }

  sheet.bitsPerPixel = 32;
  sheet.stride = static_cast<size_t>(bmp.width) * 4;
  sheet.bits.resize(sheet.stride * static_cast<size_t>(bmp.height));
  // The colour masks stand right after the 40 bytes every info header
  // begins with (inside the later headers, after a 40-byte one); without
  // them 16 bits are 5 each of red, green and blue.
  uint32_t masks[3] = {0x7C00, 0x3E0, 0x1F};
  if (bmp.bitsPerPixel == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  if (bmp.bitFields) {
    for (int i = 0; i < 3; ++i) masks[i] = Read32(file + 14 + 40 + 4 * i);
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  for (int32_t y = 0; y < bmp.height; ++y) {
    const uint8_t* in = row(y);
    uint8_t* out = sheet.bits.data() + static_cast<size_t>(y) * sheet.stride;
    for (int32_t x = 0; x < bmp.width; ++x, out += 4) {
      uint32_t pixel = 0;
      switch (bmp.bitsPerPixel) {
        case 4:
        case 8: {
          const uint32_t index = bmp.bitsPerPixel == 8 ? in[x] : (in[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15u;
          // An index past a short palette reads black.
          if (index < bmp.colourCount) pixel = Read32(palette + 4 * index) & 0xFFFFFF;
          break;
        }
        case 16: {
          // Windows keeps a 16-bit sheet as 5 bits each of red, green and
          // blue, whatever its masks: a 6-bit green loses its lowest bit.
          const uint32_t value = static_cast<uint32_t>(in[2 * x] | in[2 * x + 1] << 8);
          const auto five = [value](const Channel& channel) {
            const uint32_t bits = channel.Read(value) >> 3;
            return bits << 3 | bits >> 2;
          };
          pixel = five(red) << 16 | five(green) << 8 | five(blue);
          break;
        }
        case 32: {
          const uint32_t value = Read32(in + 4 * x);
          pixel = red.Read(value) << 16 | green.Read(value) << 8 | blue.Read(value);
          break;
        }
        default:  // 24
          pixel = static_cast<uint32_t>(in[3 * x] | in[3 * x + 1] << 8 | in[3 * x + 2] << 16);
          break;
      }
      out[0] = static_cast<uint8_t>(pixel);
      out[1] = static_cast<uint8_t>(pixel >> 8);
      out[2] = static_cast<uint8_t>(pixel >> 16);
      out[3] = 0;
    }
  }
  return true;
}

const GlyphPixels* FontGlyphPixels(CharacterSet set, int codePage) {
  static std::mutex made;
  static std::map<std::pair<CharacterSet, int>, std::unique_ptr<GlyphPixels>> fonts;
  const std::lock_guard<std::mutex> lock(made);
  std::unique_ptr<GlyphPixels>& pixels = fonts[{set, set == CharacterSet::kIbm ? codePage : 0}];
  if (pixels == nullptr) {
    const uint8_t* rows = ScreenFontRows(set, codePage, 8);
    if (rows == nullptr) return nullptr;
    pixels = std::make_unique<GlyphPixels>();
    pixels->bitsPerPixel = 1;
    // A set bit of a sheet is the white page; a font's set bit is ink.
    for (int c = 0; c < 256; ++c)
      for (int i = 0; i < 8; ++i) pixels->mono[c][i] = static_cast<uint8_t>(~rows[c * 8 + i]);
  }
  return pixels.get();
}
