// The ANSI colour mode's render, whole: the record, the interpreter's one
// pass, the page's allocation and the 4-bit rasteriser. Built natively and
// for Windows (`make bench` runs it under Wine). Best of 10 runs each:
//   ansi-512k:  the corpus's hell01.ans cut to 512 KB (a page of sequences)
//               target at most 20 ms
//   ansi-tall:  512 KB of rows of 80 coloured cells (about 6,000 rows)
//               target at most 30 ms and 64 MB of page
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "render/ansi_screen.h"

namespace {

constexpr size_t kDocumentSize = 524288;

double Milliseconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Timing {
  double total = 1e9;
  double interpret = 0, draw = 0;  // the fastest run's parts
  double warmDraw = 1e9;           // drawing again into the same page
  int32_t columns = 0, rows = 0;
  size_t pageBytes = 0;
};

Timing Render(const std::string& document) {
  Timing best;
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(document.data());
  for (int run = 0; run < 10; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const AnsiScreen screen = ReadAnsiScreen(bytes, document.size());
    const double interpreted = Milliseconds(start);
    const AnsiPageSize page = AnsiPageSizeOf(screen);
    const size_t pageBytes = static_cast<size_t>(page.stride) * static_cast<size_t>(page.height);
    // Newly allocated and uninitialised, as a new DIB section's bits would
    // be: every byte is drawn, and each memory page is first touched here.
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[pageBytes]);
    RasteriseAnsi(screen, pixels.get());
    const double total = Milliseconds(start);
    if (total < best.total) {
      best.total = total;
      best.interpret = interpreted;
      best.draw = total - interpreted;
      best.columns = screen.columns;
      best.rows = screen.rows;
      best.pageBytes = pageBytes;
    }
    const auto again = std::chrono::steady_clock::now();
    RasteriseAnsi(screen, pixels.get());
    best.warmDraw = std::min(best.warmDraw, Milliseconds(again));
  }
  return best;
}

void Report(const char* name, const Timing& t, double target) {
  std::printf(
      "%s %.1f ms (target %.0f; interpret %.1f, new page and draw %.1f; draw into a used page %.1f), "
      "%d x %d cells, page %.1f MB\n",
      name, t.total, target, t.interpret, t.draw, t.warmDraw, t.columns, t.rows, t.pageBytes / 1048576.0);
}

std::string Hell01() {
  const std::filesystem::path path =
      std::filesystem::path(QP_CORPUS_DIR) / "ansiart2utf8/test_data/bbs/hell01.ans";
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (text.empty()) return text;
  while (text.size() < kDocumentSize) text += text;
  text.resize(kDocumentSize);
  return text;
}

// Rows of 80 cells (the last column starts the next row), each in its own
// colours: shades, blocks and letters.
std::string TallDocument() {
  static const char kCells[] = "\xb0\xb1\xb2\xdb\xdc\xdf ANSI-art\xc4\xcd\xba";
  std::string text;
  text.reserve(kDocumentSize);
  for (int row = 0; text.size() < kDocumentSize; ++row) {
    text += "\x1b[4" + std::to_string(row % 8) + ";3" + std::to_string((row + 3) % 8) + "m";
    for (int column = 0; column < 80; ++column) text += kCells[(row + column) % (sizeof kCells - 1)];
  }
  text.resize(kDocumentSize);
  return text;
}

}  // namespace

int main() {
  const std::string hell = Hell01();
  if (hell.empty()) {
    std::printf("ansi-512k: skipped, no hell01.ans in %s\n", QP_CORPUS_DIR);
  } else {
    Report("ansi-512k:", Render(hell), 20);
  }
  const Timing tall = Render(TallDocument());
  Report("ansi-tall:", tall, 30);

  // What the first touch of a page costs on this machine, whatever draws
  // it: the same bytes newly allocated and written once.
  double fresh = 1e9;
  for (int run = 0; run < 10; ++run) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[tall.pageBytes]);
    std::memset(bytes.get(), run, tall.pageBytes);
    fresh = std::min(fresh, Milliseconds(start) + (bytes[tall.pageBytes / 2] == 255 ? 1e-9 : 0));
  }
  std::printf("fresh-memory: writing the tall page's %.1f MB newly allocated takes %.1f ms here\n",
              tall.pageBytes / 1048576.0, fresh);
  return 0;
}
