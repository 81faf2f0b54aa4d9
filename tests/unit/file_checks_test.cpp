// What is checked before a file is opened or handed to a loader (device names, BMP headers against the
// file's size), and what a document's read leaves and a failure says.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "art/document_reading.h"
#include "bmp_file.h"
#include "core/file_names.h"
#include "core/state_types.h"
#include "raster/bmp_header.h"
#include "raster/glyph_pixels.h"

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

TEST(LoadDocumentBytes, TheDecodedBytesThenZerosOnly) {
  static char text[kTextBufferSize + 2];
  std::memset(text, 'x', sizeof text);
  const std::string utf16("\xFF\xFE\x54\x25\x50\x25\r\0\n\0", 10), want = "\xC9\xCD\r\n";
  const auto read = [&](uint8_t* bytes, size_t capacity) {
    std::memcpy(bytes, utf16.data(), utf16.size());
    return FileStart{3, capacity == kTextBufferSize ? utf16.size() : 0, true, ""};
  };
  const FileStart start = LoadDocumentBytes(read, text);
  EXPECT_EQ(std::string(text, sizeof text), want + std::string(sizeof text - want.size(), '\0'));
  EXPECT_EQ(std::make_pair(start.count, start.cut), std::make_pair(want.size(), true));  // the cut passes
}

TEST(SystemReason, ThePhraseWithoutItsLineEndsAndFullStopOrTheCode) {
  EXPECT_EQ(SystemReason("Not ready.\r\n", 21) + "|" + SystemReason(nullptr, 9), "Not ready|error 9");
}

// "WxH bits, N colours, rows at OFFSET of ROW SIZE [top]" when the headers are read, with "sheet of B" when
// the sheet check takes it and the native reader reads it at B bits a pixel; "refused" otherwise.
std::string Describe(const std::string& bytes) {
  const auto* file = reinterpret_cast<const uint8_t*>(bytes.data());
  BmpLayout l;
  const size_t head = bytes.size() < kBmpHeadSize ? bytes.size() : kBmpHeadSize;
  if (!ReadBmpHeader(file, head, bytes.size(), l)) return "refused";
  SheetImage sheet;
  const bool read = ReadGlyphSheetBmp(file, bytes.size(), sheet);
  return std::to_string(l.width) + "x" + std::to_string(l.height) + " " + std::to_string(l.bitsPerPixel) +
         ", " + std::to_string(l.colourCount) + " colours, rows at " + std::to_string(l.pixelOffset) +
         " of " + std::to_string(l.rowSize) + (l.topDown ? " top" : "") +
         (IsGlyphSheetBmp(file, head, bytes.size())
              ? " sheet of " + (read ? std::to_string(sheet.bitsPerPixel) : std::string("nothing"))
              : "");
}

TEST(BmpHeader, Table) {
  const auto with = [](auto change) {
    Bmp b;
    change(b);
    return BmpFile(b);
  };
  const std::pair<std::string, const char*> cases[] = {
      {with([](Bmp&) {}), "48x368 1, 2 colours, rows at 62 of 8 sheet of 1"},
      {with([](Bmp& b) { b.bits = 4; }), "48x368 4, 16 colours, rows at 118 of 24 sheet of 32"},
      {with([](Bmp& b) { b.bits = 8, b.colours = 2; }), "48x368 8, 2 colours, rows at 62 of 48 sheet of 32"},
      {with([](Bmp& b) { b.bits = 24, b.height = -368; }), "48x368 24, 0 colours, rows at 54 of 144 top"},
      {with([](Bmp& b) { b.bits = 16, b.compression = 3; }),
       "48x368 16, 0 colours, rows at 66 of 96 sheet of 32"},
      {with([](Bmp& b) { b.bits = 32, b.infoSize = 124; }),
       "48x368 32, 0 colours, rows at 138 of 192 sheet of 32"},
      {with([](Bmp& b) { b.width = 1200, b.height = 600; }), "1200x600 1, 2 colours, rows at 62 of 152"},
      // The rows do not all lie inside the file.
      {with([](Bmp& b) { b.pixels = 8 * 368 - 1; }), "refused"},
      {with([](Bmp& b) { b.offset = 0x7FFFFFF0; }), "refused"},
      {with([](Bmp& b) { b.width = b.height = 30000, b.pixels = 1024; }), "refused"},
      {with([](Bmp& b) { b.width = b.height = 0x7FFFFFFF, b.bits = 32, b.pixels = 16; }), "refused"},
      // Headers that are not read.
      {with([](Bmp& b) { b.offset = 54; }), "refused"},  // the rows overlap the palette
      {with([](Bmp& b) { b.bits = 7; }), "refused"},
      {with([](Bmp& b) { b.height = INT32_MIN, b.pixels = 0; }), "refused"},
      {with([](Bmp& b) { b.bits = 8, b.compression = 1; }), "refused"},  // run-length
      {with([](Bmp& b) { b.infoSize = 12; }), "refused"},
      {"BM", "refused"},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(Describe(cases[i].first), cases[i].second) << "case " << i;
}

}  // namespace
