// What is checked before a file is opened or handed to a loader: names
// that open devices, and BMP headers against the file's size.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/file_names.h"
#include "render/bmp_header.h"
#include "render/glyph_pixels.h"

namespace {

TEST(NamesDevice, Table) {
  for (const char* path : {"nul", "C:\\art\\NUL.nfo", "com1.nfo", "/tmp/Com9.x.y", "lpt1 .diz", "art\\con. ",
                           "aux:stream", "prn", "\\\\.\\pipe\\x"}) {
    EXPECT_TRUE(NamesDevice(path)) << path;
  }
  for (const char* path : {"com10.nfo", "com0.nfo", "console.nfo", "nul\\a.nfo", "xnul.nfo", "", "C:\\art\\",
                           "lpt.nfo", " nul.nfo"}) {
    EXPECT_FALSE(NamesDevice(path)) << path;
  }
}

// The fields of a BMP file; `pixels` -1 gives every row, `offset` 0 puts
// the rows right after the palette.
struct Bmp {
  int32_t width = 48, height = 368;
  uint16_t bits = 1;
  uint32_t compression = 0, colours = 0, infoSize = 40, offset = 0;
  int64_t pixels = -1;
};

std::vector<uint8_t> Build(const Bmp& b) {
  std::vector<uint8_t> file;
  const auto put = [&file](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  const uint32_t palette = b.bits <= 8 ? 4u * (b.colours != 0 ? b.colours : 1u << b.bits) : 0u;
  const uint32_t masks = b.compression == 3 && b.infoSize == 40 ? 12 : 0;
  const uint32_t offset = b.offset != 0 ? b.offset : 14 + b.infoSize + masks + palette;
  file = {'B', 'M'};
  put(0, 4), put(0, 4), put(offset, 4);
  put(b.infoSize, 4), put(static_cast<uint32_t>(b.width), 4), put(static_cast<uint32_t>(b.height), 4);
  put(1, 2), put(b.bits, 2), put(b.compression, 4), put(0, 4), put(0, 4), put(0, 4);
  put(b.colours, 4), put(0, 4);
  file.resize(14 + b.infoSize + masks + palette);
  const uint64_t rows = (static_cast<uint64_t>(b.width) * b.bits + 31) / 32 * 4 * std::abs(int64_t{b.height});
  file.resize(file.size() + (b.pixels >= 0 ? static_cast<size_t>(b.pixels) : rows));
  return file;
}

// "WxH bits, N colours, rows at OFFSET of ROW SIZE [top]" when the headers are read, with
// "sheet of B" when the sheet check takes it and the native reader reads it at B bits a
// pixel; "refused" otherwise.
std::string SheetBits(const std::vector<uint8_t>& file) {
  SheetImage sheet;
  return ReadGlyphSheetBmp(file.data(), file.size(), sheet) ? std::to_string(sheet.bitsPerPixel) : "nothing";
}

std::string Describe(const std::vector<uint8_t>& file) {
  BmpLayout l;
  const size_t head = file.size() < kBmpHeadSize ? file.size() : kBmpHeadSize;
  if (!ReadBmpHeader(file.data(), head, file.size(), l)) return "refused";
  return std::to_string(l.width) + "x" + std::to_string(l.height) + " " + std::to_string(l.bitsPerPixel) +
         ", " + std::to_string(l.colourCount) + " colours, rows at " + std::to_string(l.pixelOffset) +
         " of " + std::to_string(l.rowSize) + (l.topDown ? " top" : "") +
         (IsGlyphSheetBmp(file.data(), head, file.size()) ? " sheet of " + SheetBits(file) : "");
}

TEST(BmpHeader, Table) {
  const auto with = [](auto change) {
    Bmp b;
    change(b);
    return Build(b);
  };
  const std::pair<std::vector<uint8_t>, const char*> cases[] = {
      {with([](Bmp&) {}), "48x368 1, 2 colours, rows at 62 of 8 sheet of 1"},
      {with([](Bmp& b) { b.bits = 4; }), "48x368 4, 16 colours, rows at 118 of 24 sheet of 32"},
      {with([](Bmp& b) { b.bits = 8, b.colours = 2; }), "48x368 8, 2 colours, rows at 62 of 48 sheet of 32"},
      {with([](Bmp& b) { b.bits = 24, b.height = -368; }), "48x368 24, 0 colours, rows at 54 of 144 top"},
      {with([](Bmp& b) { b.bits = 16, b.compression = 3; }),
       "48x368 16, 0 colours, rows at 66 of 96 sheet of 32"},
      {with([](Bmp& b) { b.bits = 32, b.compression = 3; }),
       "48x368 32, 0 colours, rows at 66 of 192 sheet of 32"},
      {with([](Bmp& b) { b.bits = 32, b.infoSize = 124; }),
       "48x368 32, 0 colours, rows at 138 of 192 sheet of 32"},
      {with([](Bmp& b) { b.width = 1200, b.height = 600; }), "1200x600 1, 2 colours, rows at 62 of 152"},
      // The rows do not all lie inside the file.
      {with([](Bmp& b) { b.pixels = 8 * 368 - 1; }), "refused"},
      {with([](Bmp& b) { b.pixels = 0; }), "refused"},
      {with([](Bmp& b) { b.offset = 0x7FFFFFF0; }), "refused"},
      {with([](Bmp& b) { b.width = b.height = 30000, b.pixels = 1024; }), "refused"},
      {with([](Bmp& b) { b.width = b.height = 0x7FFFFFFF, b.bits = 32, b.pixels = 16; }), "refused"},
      // Headers that are not read.
      {with([](Bmp& b) { b.offset = 54; }), "refused"},  // the rows overlap the palette
      {with([](Bmp& b) { b.bits = 7; }), "refused"},
      {with([](Bmp& b) { b.height = INT32_MIN, b.pixels = 0; }), "refused"},
      {with([](Bmp& b) { b.bits = 8, b.compression = 1; }), "refused"},  // run-length
      {with([](Bmp& b) { b.infoSize = 12; }), "refused"},
      {std::vector<uint8_t>{'B', 'M'}, "refused"},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(Describe(cases[i].first), cases[i].second) << "case " << i;
}

}  // namespace
