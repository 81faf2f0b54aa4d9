// The ANSI colour mode's render, for two 512 KB documents:
//   ansi-512k:  the corpus's hell01.ans cut to 512 KB (a page of sequences)
//               target at most 20 ms
//   ansi-512k-vga: the same in 9-pixel letters stretched for a 4:3 screen
//               (under Wine), beside the square page's time of the same run
//   ansi-tall:  rows of 80 coloured cells with CR LF between them
//               target at most 30 ms and 64 MB of page
//   ansi-worst: hostile documents built to make a read slower than linear in
//               its size (natively only); the slowest of them, target at
//               most 50 ms
//   apng:       the whole hell01.ans played at 28800 bit/s into an animated
//               PNG (natively only), beside its still PNG
//   fonts:      every screen font built, in a fresh process (natively), and
//               ansi-512k in IBM VGA 866 beside 437, target within 10%:
//               under Wine both files with a record naming the font;
//               natively the screen's code page set, and the tall page too
// Under Wine (`make bench`) it times the window's own render, RenderDocument
// in the real main window with View > ANSI colours on: the record, the
// interpreter, the 16-colour DIB section's creation, the rasteriser and the
// window's layout; best of 5, each into a newly made page (a page of
// another size was shown before), and again into the page kept from the
// last render. Natively it times the pure interpreter and rasteriser, with
// the lines marked "native".
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

#include "art/ansi_screen.h"
#include "art/document_reading.h"
#include "raster/ansi_raster.h"
#include "raster/png_writer.h"
#include "raster/screen_fonts.h"
#include "raster/screen_animation.h"
#include "text/ansi_text.h"

#ifdef _WIN32
#include <windows.h>

#include "app/main_window.h"
#include "win32/viewer_state.h"
#include "view/window_layout.h"
#include "view/view.h"
#include "test_support.h"
#endif

namespace {

constexpr size_t kDocumentSize = 524288;

double Milliseconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

#ifndef _WIN32
// The pure interpreter and rasteriser, natively: the screen, then a band of
// 128 rows as the window draws at the start zoom, each into newly allocated
// memory as a new DIB section's would be; and, for comparison, the whole
// page, which the window never draws.
constexpr int32_t kBandRows = 128;

struct Timing {
  double total = 1e9;
  double interpret = 0, band = 0;  // the fastest run's parts
  double wholeFresh = 1e9, wholeUsed = 1e9;
  int32_t columns = 0, rows = 0;
  size_t pageBytes = 0;
};

Timing Render(const std::string& document, int16_t codePage = 437) {
  Timing best;
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(document.data());
  for (int run = 0; run < 10; ++run) {
    auto start = std::chrono::steady_clock::now();
    AnsiScreen screen = ReadAnsiScreen(bytes, document.size());
    screen.codePage = codePage;
    const double interpreted = Milliseconds(start);
    const AnsiPageSize page = AnsiPageSizeOf(screen);
    const size_t pageBytes = static_cast<size_t>(page.stride) * static_cast<size_t>(page.height);
    const int32_t bandRows = std::min(screen.rows, kBandRows);
    std::unique_ptr<uint8_t[]> band(
        new uint8_t[static_cast<size_t>(page.stride) * bandRows * screen.cellHeight]);
    RasteriseAnsiRows(screen, 0, bandRows, band.get());
    const double total = Milliseconds(start);
    if (total < best.total) {
      best.total = total;
      best.interpret = interpreted;
      best.band = total - interpreted;
      best.columns = screen.columns;
      best.rows = screen.rows;
      best.pageBytes = pageBytes;
    }
    start = std::chrono::steady_clock::now();
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[pageBytes]);
    RasteriseAnsi(screen, pixels.get());
    best.wholeFresh = std::min(best.wholeFresh, Milliseconds(start));
    start = std::chrono::steady_clock::now();
    RasteriseAnsi(screen, pixels.get());
    best.wholeUsed = std::min(best.wholeUsed, Milliseconds(start));
  }
  return best;
}

void Report(const char* name, const Timing& t) {
  std::printf(
      "%s %.1f ms (interpret %.1f, a new band of %d rows %.1f), %d x %d cells; the whole page, %.1f MB, "
      "would take %.1f ms new, %.1f ms drawn again\n",
      name, t.total, t.interpret, static_cast<int>(std::min(t.rows, kBandRows)), t.band, t.columns, t.rows,
      t.pageBytes / 1048576.0, t.wholeFresh, t.wholeUsed);
}

// Hostile documents of 512 KB: a head, then `unit` (given its index) until
// the next one would not fit; `columns` other than 80 come from a record.
template <typename Unit>
std::string Hostile(const std::string& head, Unit unit, uint16_t columns = 80) {
  const size_t room = columns == 80 ? kDocumentSize : kDocumentSize - 128;
  std::string text = head;
  for (int i = 0;; ++i) {
    const std::string next = unit(i);
    if (text.size() + next.size() > room) break;
    text += next;
  }
  if (columns == 80) return text;
  const char fields[] = {1, 1, static_cast<char>(columns & 0xFF), static_cast<char>(columns >> 8)};
  return text + "SAUCE00" + std::string(87, ' ') + std::string(fields, 4) + std::string(30, '\0');
}

std::vector<std::string> HostileDocuments() {
  const std::string esc = "\x1b[";
  const std::string last = std::to_string(AnsiRowLimit(80, 16));  // the last row a page keeps
  const int32_t wideLimit = AnsiRowLimit(1000, 16);
  const std::string wideLast = std::to_string(wideLimit);
  auto fixed = [](std::string unit) { return [unit](int) { return unit; }; };
  return {
      // Each clear after a character on the last row kept.
      Hostile(esc + last + "H" + esc + "s", fixed(esc + "uX" + esc + "2J")),
      // The same with the first row drawn too, so that no extent of rows is small.
      Hostile("", fixed(esc + "HX" + esc + last + "HX" + esc + "2J")),
      // Both ends of the widest rows, cleared.
      Hostile("", fixed(esc + "1;1000HX" + esc + wideLast + ";1000HX" + esc + "2J"), 1000),
      // Every row of the widest screen erased in turn, in another colour each
      // time, and cleared every other time.
      Hostile(
          "",
          [&](int i) {
            const int turn = i / wideLimit;
            if (i % wideLimit != wideLimit - 1) return esc + "K\n";
            return esc + "K" + esc + (turn % 2 ? "2J" : "H") + esc + std::to_string(40 + turn % 8) + "m";
          },
          1000),
      // A character in the last column of the widest rows: a new row each.
      Hostile("", fixed(esc + "999CX"), 1000),
      // One column: a new row every character.
      Hostile("", fixed("X"), 1),
      // Far past the last row and back, in huge counts.
      Hostile("", fixed(esc + "999999999999BX" + esc + "99999999;99999999HY" + esc + "999999999AZ" + esc +
                        "999999999C\r\n")),
      // Saving and restoring the cursor far down.
      Hostile(esc + last + "HX", fixed(esc + "s" + esc + "u" + esc + "HY" + esc + "uZ")),
      // One sequence of colours and one of digits, each the whole document.
      Hostile(esc, fixed("38;2;255;85;0;48;5;196;1;5;7;")) + "mX",
      Hostile(esc, fixed("0000000000")) + "1mX",
  };
}

// The whole read of each, record and interpreter, and the raster of the
// rows a thumbnail shows, the page's top square; best of 3 runs each.
void ReportWorst() {
  const std::vector<std::string> documents = HostileDocuments();
  double slowest = 0;
  for (const std::string& document : documents) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
      const auto start = std::chrono::steady_clock::now();
      const AnsiScreen screen =
          ReadColourScreen("", reinterpret_cast<const uint8_t*>(document.data()), document.size()).screen;
      const AnsiPageSize page = AnsiPageSizeOf(screen);
      const int32_t rows = std::min(screen.rows, (page.width + screen.cellHeight - 1) / screen.cellHeight);
      std::unique_ptr<uint8_t[]> pixels(
          new uint8_t[static_cast<size_t>(page.stride) * static_cast<size_t>(rows) * screen.cellHeight]);
      RasteriseAnsiRows(screen, 0, rows, pixels.get());
      best = std::min(best, Milliseconds(start));
    }
    slowest = std::max(slowest, best);
  }
  std::printf("ansi-worst: slowest %.1f ms over %zu hostile files\n", slowest, documents.size());
}
#endif

std::string CorpusFile(const char* name) {
  std::ifstream in(std::filesystem::path(QP_CORPUS_DIR) / name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Hell01() {
  std::string text = CorpusFile("ansiart2utf8/test_data/bbs/hell01.ans");
  if (text.empty()) return text;
  while (text.size() < kDocumentSize) text += text;
  text.resize(kDocumentSize);
  return text;
}

// Rows of 80 cells, each a few colour changes around shades, blocks and
// letters, CR LF between rows (about 5,000 rows). The cell in the last
// column already moves the cursor to the next row, so each line break
// leaves an empty row after it, as on a DOS screen: about 10,000 rows,
// the tallest page 512 KB of such art makes.
std::string TallDocument() {
  static const char kCells[] = "\xb0\xb1\xb2\xdb\xdc\xdf ANSI-art\xc4\xcd\xba";
  std::string text;
  text.reserve(kDocumentSize);
  for (int row = 0; text.size() < kDocumentSize; ++row) {
    for (int column = 0; column < 80; ++column) {
      if (column % 20 == 0) text += "\x1b[" + std::to_string(30 + (row + column / 20) % 8) + "m";
      text += kCells[(row + column) % (sizeof kCells - 1)];
    }
    text += "\r\n";
  }
  text.resize(kDocumentSize);
  return text;
}

// `text` cut to 512 KB with a character record naming `font` at its end.
std::string WithFontRecord(std::string text, const char* font) {
  text.resize(kDocumentSize - 128);
  std::string record = "SAUCE00" + std::string(87, ' ') + std::string("\1\1\x50\0", 4) + std::string(8, '\0');
  record += font;
  return text + record + std::string(128 - record.size(), '\0');
}

}  // namespace

#ifdef _WIN32

// A 512 KB file of each scene format, its picture repeated: the bs-alove
// picture's 80-column cells for the cell formats (XBin, BinaryText,
// Artworx, iCEDraw, each with its own header), and the TundraDraw,
// PCBoard and Avatar streams of the corpus repeated after their headers.
std::vector<std::pair<std::string, std::string>> SceneFormatDocuments() {
  const std::string cells = CorpusFile("ansilove/tests/bs-alove.bin");
  const std::string adf = CorpusFile("ansilove/tests/bs-alove.adf");
  const std::string idf = CorpusFile("image-textmode/corpus/input/MD-XMAS.IDF");
  const std::string tnd = CorpusFile("ansilove/tests/bs-alove.tnd");
  const std::string pcb = CorpusFile("ansilove/tests/bs-alove.pcb");
  const std::string avt = CorpusFile("image-textmode/corpus/input/GRMAIN.AVT");
  if (cells.size() < 160 || adf.size() < 4289 || idf.size() < 4156 || tnd.size() < 9 || pcb.empty() ||
      avt.empty())
    return {};
  const auto repeated = [](const std::string& head, const std::string& body, size_t bodyBytes) {
    std::string file = head;
    while (file.size() < kDocumentSize)
      file += body.substr(0, std::min(body.size(), kDocumentSize - file.size()));
    file.resize(head.size() + (file.size() - head.size()) / bodyBytes * bodyBytes);
    return file;
  };
  const std::string body = cells.substr(0, cells.size() / 160 * 160);  // whole rows
  const size_t rows = (kDocumentSize - 16) / 160;
  std::string xb = std::string("XBIN\x1aP\0", 7) + std::string(1, static_cast<char>(rows & 255)) +
                   std::string(1, static_cast<char>(rows >> 8)) + std::string("\x10\x08", 2);
  std::string iceHead = idf.substr(0, 12);
  const size_t iceRows = (kDocumentSize - 12 - 4144) / 160;
  iceHead[8] = 79, iceHead[9] = 0, iceHead[10] = static_cast<char>((iceRows - 1) & 255),
  iceHead[11] = static_cast<char>((iceRows - 1) >> 8);
  std::string ice =
      repeated(iceHead, body, 160).substr(0, 12 + iceRows * 160) + idf.substr(idf.size() - 4144);
  return {
      {"bench.xb", repeated(xb, body, 160).substr(0, xb.size() + rows * 160)},
      {"bench.bin", repeated("", body, 160)},
      {"bench.adf", repeated(adf.substr(0, 4289), body, 160)},
      {"bench.idf", ice},
      {"bench.tnd", repeated(tnd.substr(0, 9), tnd.substr(9), 1)},
      // Without its end-of-file byte, after which PCBoard reads nothing.
      {"bench.pcb", repeated("", pcb.substr(0, pcb.find('\x1a')), 1)},
      {"bench.avt", repeated("", avt, 1)},
  };
}

struct WindowTiming {
  double fresh = 1e9, reused = 1e9;
  double interpret = 1e9, layout = 1e9;  // the parts, timed on their own
  long long pageBytes = 0;
  int32_t columns = 0, rows = 0;
};

WindowTiming RenderInWindow(MainWindowTest& window, const TempDir& folder, const char* name,
                            const std::string& document) {
  window.Show(folder.Write(name, document));  // read, and rendered once
  WindowTiming best;
  for (int run = 0; run < 5; ++run) {
    view.pageBitmap.Reset();  // as after a page of another size
    auto start = std::chrono::steady_clock::now();
    RenderDocument(view, viewer, settings);
    GdiFlush();
    best.fresh = std::min(best.fresh, Milliseconds(start));
    start = std::chrono::steady_clock::now();
    RenderDocument(view, viewer, settings);
    GdiFlush();
    best.reused = std::min(best.reused, Milliseconds(start));
  }
  for (int run = 0; run < 5; ++run) {
    auto start = std::chrono::steady_clock::now();
    const ColourScreen screen =
        ReadColourScreen(name, reinterpret_cast<const uint8_t*>(document.data()), document.size());
    best.interpret = std::min(best.interpret, Milliseconds(start));
    start = std::chrono::steady_clock::now();
    LayoutWindow(view, viewer);
    best.layout = std::min(best.layout, Milliseconds(start));
  }
  DIBSECTION page = {};
  GetObjectA(view.pageBitmap.get(), sizeof page, &page);
  best.pageBytes = static_cast<long long>(page.dsBm.bmWidthBytes) * page.dsBm.bmHeight;
  if (const AnsiScreen* screen = ShownAnsiScreen()) best.columns = screen->columns, best.rows = screen->rows;
  return best;
}

void ReportWindow(const char* name, const WindowTiming& t, double target) {
  std::printf("%s render %.1f ms, page %lld bytes\n", name, t.fresh, t.pageBytes);
  std::printf(
      "%s (target %.0f ms; %d x %d cells; into the page kept from the last render %.1f ms; of that the "
      "interpreter %.1f ms, the window's layout %.1f ms)\n",
      name, target, static_cast<int>(t.columns), static_cast<int>(t.rows), t.reused, t.interpret, t.layout);
}

int main() {
  MainWindowTest window;
  settings.ansiColours = 1;
  TempDir folder;
  const std::string hell = Hell01();
  if (hell.empty()) {
    std::printf("ansi-512k: skipped, no hell01.ans in %s\n", QP_CORPUS_DIR);
  } else {
    const WindowTiming square = RenderInWindow(window, folder, "hell01.ans", hell);
    ReportWindow("ansi-512k:", square, 20);
    settings.letterSpacing = settings.aspect = static_cast<int32_t>(LookChoice::kOn);
    const WindowTiming vga = RenderInWindow(window, folder, "hell01.ans", hell);
    settings.letterSpacing = settings.aspect = static_cast<int32_t>(LookChoice::kAsFile);
    ReportWindow("ansi-512k-vga:", vga, 20);
    std::printf("ansi-512k-vga: %.2f x the square page's render, page %lld bytes against %lld\n",
                vga.fresh / square.fresh, vga.pageBytes, square.pageBytes);
    const WindowTiming named437 = RenderInWindow(window, folder, "vga.ans", WithFontRecord(hell, "IBM VGA"));
    const WindowTiming named866 =
        RenderInWindow(window, folder, "vga866.ans", WithFontRecord(hell, "IBM VGA 866"));
    if (ShownAnsiScreen() == nullptr || ShownAnsiScreen()->codePage != 866)
      std::printf("fonts: the record's font was not taken: the next line compares 437 with itself\n");
    std::printf(
        "fonts: ansi-512k in IBM VGA 866 %.1f ms against 437's %.1f ms: %.2f x (target at most 1.10)\n",
        named866.fresh, named437.fresh, named866.fresh / named437.fresh);
  }
  ReportWindow("ansi-tall:", RenderInWindow(window, folder, "tall.ans", TallDocument()), 30);
  const std::string channel = CorpusFile("image-textmode/corpus/input/JD-CH01.ANS");
  if (!channel.empty()) ReportWindow("ansi-1mb:", RenderInWindow(window, folder, "JD-CH01.ANS", channel), 40);
  std::string formats, readers;
  for (const auto& [name, document] : SceneFormatDocuments()) {
    const WindowTiming timing = RenderInWindow(window, folder, name.c_str(), document);
    char line[64];
    std::snprintf(line, sizeof line, "%s%s %.1f ms", formats.empty() ? "" : ", ", name.c_str() + 6,
                  timing.fresh);
    formats += line;
    std::snprintf(line, sizeof line, "%s%s %.1f/%.1f", readers.empty() ? "" : ", ", name.c_str() + 6,
                  timing.interpret, timing.layout);
    readers += line;
  }
  std::printf("formats-512k: %s (target 20 ms each)\n",
              formats.empty() ? "skipped, no corpus" : formats.c_str());
  if (!readers.empty())
    std::printf("formats-512k: (of that the reader / the window's layout: %s ms)\n", readers.c_str());

  // What drawing the tall screen's whole page would cost in its first
  // touch alone, which the band of shown rows spares: its bytes at 4 bits
  // a pixel, newly allocated and written once.
  const AnsiPageSize whole = AnsiPageSizeOf(*ShownAnsiScreen());
  const auto bytes = static_cast<size_t>(whole.stride) * static_cast<size_t>(whole.height);
  const auto start = std::chrono::steady_clock::now();
  void* fresh = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (fresh != nullptr) {
    std::memset(fresh, 0, bytes);
    std::printf(
        "fresh-memory: writing the tall screen's whole page, %.1f MB, newly allocated takes %.1f ms here\n",
        bytes / 1048576.0, Milliseconds(start));
    VirtualFree(fresh, 0, MEM_RELEASE);
  }
  return 0;
}

#else

// Best of 3: the animation, and the still screen's PNG for comparison.
void ReportAnimation() {
  const std::string hell = CorpusFile("ansiart2utf8/test_data/bbs/hell01.ans");
  if (hell.empty()) return;
  const auto* bytes = reinterpret_cast<const uint8_t*>(hell.data());
  double animated = 1e9, still = 1e9;
  size_t frames = 0, size = 0, stillSize = 0;
  for (int run = 0; run < 3; ++run) {
    std::vector<uint8_t> png;
    auto start = std::chrono::steady_clock::now();
    EncodeScreenPlay("hell01.ans", bytes, hell.size(), 28800, png, &frames);
    animated = std::min(animated, Milliseconds(start));
    size = png.size();
    start = std::chrono::steady_clock::now();
    const AnsiScreen screen = ReadAnsiScreen(bytes, hell.size());
    const AnsiPageSize page = AnsiPageSizeOf(screen);
    std::vector<uint8_t> pixels(static_cast<size_t>(page.stride) * static_cast<size_t>(page.height));
    RasteriseAnsi(screen, pixels.data());
    PixelRows rows{pixels.data(), static_cast<size_t>(page.stride), page.width,
                   page.height,   PixelFormat::kIndexed4,           screen.palette.data()};
    EncodePng(rows, png);
    still = std::min(still, Milliseconds(start));
    stillSize = png.size();
  }
  std::printf(
      "apng: %zu frames of hell01.ans in %.0f ms (28800 bit/s, %zu KB against its still's %zu KB; %.0fx its "
      "still PNG's %.1f ms)\n",
      frames, animated, size >> 10, stillSize >> 10, animated / still, still);
}

int main() {
  // First, before anything else could have made the fonts.
  const auto start = std::chrono::steady_clock::now();
  const ScreenFontCount fonts = BuildScreenFonts();
  const double built = Milliseconds(start);
  std::printf("fonts: %d fonts, %d code pages, built in %.1f ms\n", fonts.fonts, fonts.codePages, built);
  const std::string hell = Hell01();
  if (hell.empty()) {
    std::printf("native ansi-512k: skipped, no hell01.ans in %s\n", QP_CORPUS_DIR);
  } else {
    const Timing vga = Render(hell);
    Report("native ansi-512k:", vga);
    const Timing cyrillic = Render(hell, 866);
    std::printf(
        "fonts: native ansi-512k in IBM VGA 866 %.1f ms against 437's %.1f ms: %.2f x (target at most 1.10); "
        "the band alone %.1f ms against %.1f ms\n",
        cyrillic.total, vga.total, cyrillic.total / vga.total, cyrillic.band, vga.band);
  }
  const std::string tall = TallDocument();
  const Timing tall437 = Render(tall);
  Report("native ansi-tall:", tall437);
  const Timing tall866 = Render(tall, 866);
  std::printf("fonts: native ansi-tall's page redrawn in IBM VGA 866 %.1f ms against 437's %.1f ms: %.2f x\n",
              tall866.wholeUsed, tall437.wholeUsed, tall866.wholeUsed / tall437.wholeUsed);
  ReportWorst();
  ReportAnimation();
  return 0;
}

#endif
