// Helpers shared by the unit tests. Dump writes a screen as text: each row's characters, '.' for an empty
// cell, the row's trailing empty cells left out (kept with `whole`), and '|' after each row.
#ifndef QUILLPANE_TESTS_SCREEN_TEXT_H
#define QUILLPANE_TESTS_SCREEN_TEXT_H

#include <lodepng.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "art/scene_formats.h"
#include "raster/ansi_raster.h"

using Reader = FormatReading (*)(const uint8_t*, size_t);

inline const uint8_t* Bytes(const std::string& text) { return reinterpret_cast<const uint8_t*>(text.data()); }

// `text`, comment lines and a record.
inline std::string File(const std::string& text, uint8_t dataType = 1, uint8_t fileType = 1, uint16_t width = 80,
                 uint8_t flags = 0, const std::string& font = "IBM VGA", uint8_t comments = 0) {
  const uint8_t fields[] = {
      dataType, fileType, static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8), 0, 0, 0, 0, 0, 0,
      comments, flags};
  return text + (comments > 0 ? "COMNT" + std::string(64 * comments, 'c') : "") + "SAUCE00" +
         std::string(87, ' ') + std::string(fields, fields + sizeof fields) + font +
         std::string(22 - font.size(), '\0');
}

inline FormatReading Read(Reader reader, const std::string& bytes) {
  return reader(Bytes(bytes), bytes.size());
}

// A literal's bytes, zeros included.
template <size_t N>
std::string B(const char (&bytes)[N]) {
  return std::string(bytes, N - 1);
}

inline std::string Dump(const AnsiScreen& screen, bool whole = false) {
  std::string text;
  for (int32_t row = 0; row < screen.rows; ++row) {
    std::string line;
    for (int32_t column = 0; column < screen.columns; ++column)
      line +=
          screen.At(column, row).character == 0 ? '.' : static_cast<char>(screen.At(column, row).character);
    text += (whole ? line : line.erase(line.find_last_not_of('.') + 1)) + "|";
  }
  return text;
}

// A PNG read back with lodepng, which checks every chunk's CRC and the zlib stream's Adler-32: empty on any
// fault.
struct Decoded {
  unsigned width = 0, height = 0;
  int idatChunks = 0;
  std::vector<uint32_t> rgb;  // 0xRRGGBB, top row first
};

inline Decoded Decode(const std::vector<uint8_t>& png) {
  Decoded out;
  std::vector<uint8_t> rgb;
  if (lodepng::decode(rgb, out.width, out.height, png, LCT_RGB, 8) != 0) return {};
  for (size_t i = 0; i < rgb.size(); i += 3)
    out.rgb.push_back(uint32_t{rgb[i]} << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
  for (size_t at = 8; at + 12 <= png.size(); at += 12 + lodepng_chunk_length(&png[at]))
    out.idatChunks += std::memcmp(&png[at + 4], "IDAT", 4) == 0;
  return out;
}

inline std::string CorpusFile(const std::string& path) {
  std::ifstream in(std::string(QP_CORPUS_DIR) + "/" + path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The colour of each pixel of a screen's page, 0xRRGGBB.
inline std::vector<uint32_t> Pixels(const AnsiScreen& screen) {
  const AnsiPageSize page = AnsiPageSizeOf(screen);
  std::vector<uint8_t> bits(static_cast<size_t>(page.stride) * page.height);
  RasteriseAnsi(screen, bits.data());
  std::vector<uint32_t> pixels;
  for (int32_t y = 0; y < page.height; ++y)
    for (int32_t x = 0; x < page.width; ++x) {
      const uint8_t* row = &bits[static_cast<size_t>(y) * page.stride];
      pixels.push_back(page.bitsPerPixel == 32
                           ? uint32_t{row[4 * x + 2]} << 16 | row[4 * x + 1] << 8 | row[4 * x]
                           : screen.palette[x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4]);
    }
  return pixels;
}

#endif
