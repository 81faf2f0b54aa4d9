// BMP files for the header table and the Windows tests' loader comparison.
#ifndef QUILLPANE_TESTS_BMP_FILE_H
#define QUILLPANE_TESTS_BMP_FILE_H

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// The fields of a BMP file. `table`: the palette or the masks (none: a palette of `colours`, or 1 << bits,
// zeros, or zero masks), the masks in their place inside a longer header. `pixels` -1 gives every row,
// `offset` 0 puts the rows right after the table; the rows take every byte value.
struct Bmp {
  int32_t width = 48, height = 368;
  uint16_t bits = 1;
  uint32_t compression = 0, colours = 0, infoSize = 40, offset = 0;
  int64_t pixels = -1;
  std::vector<uint32_t> table = {};
};

inline std::string BmpFile(const Bmp& b) {
  std::string file = "BM";
  const auto put = [&file](uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file += static_cast<char>(value >> (8 * i));
  };
  const uint32_t entries = !b.table.empty() ? static_cast<uint32_t>(b.table.size())
                           : b.bits <= 8    ? (b.colours != 0 ? b.colours : 1u << b.bits)
                                            : (b.compression == 3 ? 3 : 0);
  const uint32_t offset = b.offset != 0 ? b.offset : 14 + b.infoSize + (b.infoSize == 40 ? 4 * entries : 0);
  const uint64_t rows = (static_cast<uint64_t>(b.width) * b.bits + 31) / 32 * 4 * std::abs(int64_t{b.height});
  const uint64_t count = b.pixels >= 0 ? static_cast<uint64_t>(b.pixels) : rows;
  put(offset + count, 4), put(0, 4), put(offset, 4);
  put(b.infoSize, 4), put(static_cast<uint32_t>(b.width), 4), put(static_cast<uint32_t>(b.height), 4);
  put(1, 2), put(b.bits, 2), put(b.compression, 4), put(rows, 4), put(0, 4), put(0, 4);
  put(b.colours != 0 ? b.colours : b.bits <= 8 ? b.table.size() : 0, 4), put(0, 4);
  file.resize(14 + b.infoSize);
  for (size_t i = 0; i < b.table.size(); ++i) {
    if (b.infoSize == 40) put(b.table[i], 4);
    else for (int k = 0; k < 4; ++k) file[54 + 4 * i + k] = static_cast<char>(b.table[i] >> (8 * k));
  }
  file.resize(14 + b.infoSize + (b.infoSize == 40 ? 4 * entries : 0));
  for (uint64_t i = 0; i < count; ++i) file += static_cast<char>(i * 131 + i / 7);
  return file;
}

#endif  // QUILLPANE_TESTS_BMP_FILE_H
