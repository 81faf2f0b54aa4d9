// The PNG writer on the 1-bit page of the 512 KB document that `make bench`
// exports (the corpus's .nfo files in name order, again and again, without
// the bytes 0x00 and 0x1A, cut to 524288 bytes), drawn with the built-in
// glyph sheet: deflated on one thread, then on one thread a core; best of
// five each.
//   png_writer_benchmark [DOCUMENT]
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "art/document_reading.h"
#include "raster/glyph_table.h"
#include "art/layout_interpreter.h"
#include "art/page_limits.h"
#include "raster/png_writer.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string BenchDocument() {
  std::vector<std::string> paths;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(QP_CORPUS_DIR, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    std::string extension = it->path().extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (it->is_regular_file() && extension == ".nfo") paths.push_back(it->path().string());
  }
  std::sort(paths.begin(), paths.end());
  std::string text;
  for (const std::string& path : paths) text += ReadFile(path);
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\0' || c == '\x1A'; }),
             text.end());
  std::string document;
  while (!text.empty() && document.size() < 524288) document += text;
  document.resize(std::min<size_t>(document.size(), 524288));
  return document;
}

// The glyph rows of the built-in sheet (a bottom-up 1-bit BMP), a byte a
// row, leftmost pixel in the top bit, 1 white.
bool ReadGlyphs(uint8_t (&glyphs)[256][8]) {
  const std::string bmp = ReadFile(QP_GLYPH_SHEET);
  if (bmp.size() < 62 || bmp[28] != 1) return false;
  uint32_t offset;
  std::memcpy(&offset, &bmp[10], 4);
  const size_t stride = (kSheetWidth + 31) / 32 * 4;
  if (bmp.size() < offset + stride * kSheetHeight) return false;
  const bool inverted = bmp[54] != 0;  // palette entry 0 is not black
  GlyphPosition table[256] = {};
  BuildGlyphTable(table);
  for (int c = 0; c < 256; ++c) {
    for (int i = 0; i < 8; ++i) {
      const size_t row = static_cast<size_t>(kSheetHeight - 1 - (table[c].y + i));
      const uint8_t bits = static_cast<uint8_t>(bmp[offset + row * stride + table[c].x / 8]);
      glyphs[c][i] = c < 2 ? 0xFF : inverted ? static_cast<uint8_t>(~bits) : bits;
    }
  }
  return true;
}

struct DrawSink {
  const uint8_t (*glyphs)[8];
  std::vector<uint8_t>& bits;
  int32_t columns, rows;
  void Examine(int32_t, int32_t) {}
  void RowStart(int32_t, int32_t) {}
  void Draw(uint8_t b, int32_t column, int32_t row) {
    if (static_cast<uint32_t>(column) >= static_cast<uint32_t>(columns) ||
        static_cast<uint32_t>(row) >= static_cast<uint32_t>(rows))
      return;
    uint8_t* out = &bits[static_cast<size_t>(row) * 8 * columns + column];
    for (int i = 0; i < 8; ++i) out[static_cast<size_t>(i) * columns] = glyphs[b][i];
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::string document = argc > 1 ? ReadFile(argv[1]) : BenchDocument();
  static uint8_t glyphs[256][8];
  if (document.empty() || !ReadGlyphs(glyphs)) {
    std::fprintf(stderr, "png-writer: no document or glyph sheet\n");
    return 1;
  }
  std::vector<uint8_t> laidOut(document.size() + 1);
  const int32_t length =
      LaidOutText(reinterpret_cast<const uint8_t*>(document.data()), document.size(), laidOut.data());
  const auto* text = laidOut.data();
  const PageMeasure cells = LimitPageSize(MeasureLayout(text, length, nullptr), 1);
  std::vector<uint8_t> bits(static_cast<size_t>(cells.columnCount) * cells.rowCount * 8, 0xFF);
  DrawSink sink{glyphs, bits, cells.columnCount, cells.rowCount};
  RunLayoutPass(text, length, sink);

  static const uint32_t kBlackAndWhite[2] = {0x000000, 0xFFFFFF};
  PixelRows page;
  page.pixels = bits.data();
  page.stride = static_cast<size_t>(cells.columnCount);
  page.width = cells.columnCount * 8;
  page.height = cells.rowCount * 8;
  page.palette = kBlackAndWhite;
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  // One part, one a core, and the export's own bands of a quarter megabyte.
  double best[3] = {1e9, 1e9, 1e9};
  size_t bytes[3] = {};
  for (int run = 0; run < 5; ++run) {
    for (int k = 0; k < 3; ++k) {
      std::vector<uint8_t> png;
      const auto start = std::chrono::steady_clock::now();
      if (!EncodePng(page, png, k == 0 ? 1 : k == 1 ? cores : 0)) return 1;
      const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
      best[k] = std::min(best[k], took.count());
      bytes[k] = png.size();
    }
  }
  std::printf("png-writer-page: %d x %d pixels, 1 bit, %zu bytes\n", page.width, page.height, bits.size());
  std::printf("png-writer: 1 thread %.1f ms (PNG of %zu bytes), %u threads %.1f ms (%zu bytes), %.1fx\n",
              best[0], bytes[0], cores, best[1], bytes[1], best[0] / best[1]);
  std::printf("png-writer-bands: %.1f ms (%zu bytes), %.1fx the %u threads' time\n", best[2], bytes[2],
              best[2] / best[1], cores);
  return 0;
}
