// Renders 512 KB documents under Wine: the fast page against one BitBlt per
// glyph, in the same run, and checks that both give the same pixels.
//
// Two shapes of document, both made of the corpus's .nfo text:
//   dense  the text without line breaks, tabs and form feeds: rows of 92
//          cells (a blank in the last column starts its row again), a page
//          736 pixels wide
//   lines  the text as it is, blank lines and short rows included: a page
//          about three times as tall
// The line `render-512k: ...` that other tools read is the dense document's.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"
#include "raster/glyph_table.h"
#include "view/render_page.h"
#include "resources/resource_ids.h"

namespace {

constexpr size_t kDocumentSize = 524288;

std::string CorpusText() {
  std::string text;
  WIN32_FIND_DATAA found;
  for (const char* folder : {"/DC-scene-NFO/", "/sbbs/", "/x84/", "/enigma-bbs/"}) {
    const std::string pattern = std::string(QP_CORPUS_DIR) + folder + "*.nfo";
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      FILE* file = std::fopen((std::string(QP_CORPUS_DIR) + folder + found.cFileName).c_str(), "rb");
      if (file == nullptr) continue;
      char buffer[4096];
      size_t n;
      while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
      std::fclose(file);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  // No zero bytes (they would end the document) and no escapes.
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\0' || c == '\x1b'; }),
             text.end());
  if (text.empty()) text = std::string(80, 'x') + "\r\n";
  return text;
}

std::string Repeated(const std::string& text) {
  std::string document;
  while (document.size() < kDocumentSize) document += text;
  document.resize(kDocumentSize - 1);
  return document + '\n';
}

double Milliseconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Result {
  double fast = 1e9, reference = 1e9;
  double measure = 0, glyphs = 0, page = 0, draw = 0;  // the fastest run's parts
  long long pageBytes = 0;
  int32_t width = 0, height = 0;
  bool same = false;
};

Result Run(const std::string& document, HBITMAP sheet, const GlyphPosition (&table)[256]) {
  static GlyphPixels glyphs;
  const auto* text = reinterpret_cast<const uint8_t*>(document.data());
  const auto length = static_cast<int32_t>(document.size());
  Result result;
  Page page;
  for (int run = 0; run < 5; ++run) {  // best of five, each a whole render
    if (page.bitmap) DeleteObject(page.bitmap);
    const auto start = std::chrono::steady_clock::now();
    const PageMeasure cells = MeasureLayout(text, length, nullptr);
    const double t1 = Milliseconds(start);
    ReadGlyphPixels(sheet, table, glyphs);
    const double t2 = Milliseconds(start);
    page = CreatePage(cells, glyphs.bitsPerPixel);
    const double t3 = Milliseconds(start);
    DrawPage(text, length, glyphs, page);
    GdiFlush();
    const double total = Milliseconds(start);
    if (total < result.fast) {
      result.fast = total;
      result.measure = t1, result.glyphs = t2 - t1, result.page = t3 - t2, result.draw = total - t3;
    }
  }
  HBITMAP reference = nullptr;
  for (int run = 0; run < 2; ++run) {
    if (reference) DeleteObject(reference);
    const auto start = std::chrono::steady_clock::now();
    reference = RenderReferencePage(text, length, sheet, table);
    GdiFlush();
    result.reference = std::min(result.reference, Milliseconds(start));
  }
  int32_t w2, h2;
  result.same = ReadPixels(page.bitmap, &result.width, &result.height) == ReadPixels(reference, &w2, &h2);
  result.pageBytes = static_cast<long long>(page.stride) * page.rows * 8;
  DeleteObject(reference);
  DeleteObject(page.bitmap);
  return result;
}

void Report(const char* name, const Result& r) {
  std::printf("%s: page %d x %d pixels, %lld bytes at 1 bit per pixel, pixels identical: %s\n", name, r.width,
              r.height, r.pageBytes, r.same ? "yes" : "NO");
  std::printf(
      "%s: fast %.1f ms (measure %.1f, glyphs %.1f, page %.1f, draw %.1f), reference %.1f ms, ratio %.1fx\n",
      name, r.fast, r.measure, r.glyphs, r.page, r.draw, r.reference, r.reference / r.fast);
}

}  // namespace

int main() {
  HBITMAP sheet = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_GLYPH_SHEET));
  static GlyphPosition table[256];
  BuildGlyphTable(table);
  const std::string text = CorpusText();
  std::string unbroken = text;
  unbroken.erase(std::remove_if(unbroken.begin(), unbroken.end(),
                                [](char c) { return c == '\r' || c == '\n' || c == '\t' || c == '\f'; }),
                 unbroken.end());

  const Result dense = Run(Repeated(unbroken), sheet, table);
  const Result lines = Run(Repeated(text), sheet, table);
  Report("dense", dense);
  Report("lines", lines);
  std::printf("render-512k: fast %.1f ms, reference %.1f ms, ratio %.1fx, page %lld bytes\n", dense.fast,
              dense.reference, dense.reference / dense.fast, dense.pageBytes);

  // What a page's first touch costs on this machine, whatever draws it:
  // newly allocated memory, written once.
  const auto bytes = static_cast<size_t>(lines.pageBytes);
  const auto start = std::chrono::steady_clock::now();
  void* fresh = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (fresh != nullptr) {
    std::memset(fresh, 0xFF, bytes);
    std::printf("fresh-memory: writing %zu newly allocated bytes once takes %.1f ms here\n", bytes,
                Milliseconds(start));
    VirtualFree(fresh, 0, MEM_RELEASE);
  }
  DeleteObject(sheet);
  return dense.same && lines.same ? 0 : 1;
}
