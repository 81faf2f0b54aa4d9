// Renders a 512 KB document under Wine: the fast page against one BitBlt
// per glyph, in the same run, and checks that both give the same pixels.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "reference_render.h"
#include "render/glyph_table.h"
#include "render/render_page.h"
#include "resources/resource_ids.h"

namespace {

// Text lines of the corpus's plain-text files, repeated until the document
// is 524288 bytes: real art, no cursor movements, 80-odd columns.
std::string MakeDocument() {
  static const char* const kFiles[] = {"/DC-scene-NFO", "/sbbs", "/x84", "/enigma-bbs"};
  std::string document;
  std::string pattern;
  std::vector<std::string> texts;
  for (const char* folder : kFiles) {
    WIN32_FIND_DATAA found;
    pattern = std::string(QP_CORPUS_DIR) + folder + "/*.nfo";
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      std::string path = std::string(QP_CORPUS_DIR) + folder + "/" + found.cFileName;
      FILE* file = std::fopen(path.c_str(), "rb");
      if (!file) continue;
      std::string text;
      char buffer[4096];
      size_t n;
      while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
      std::fclose(file);
      text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
      text.erase(std::remove(text.begin(), text.end(), '\x1b'), text.end());
      texts.push_back(text);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (texts.empty()) {
    std::string line(80, 'x');
    texts.push_back(line + "\r\n");
  }
  while (document.size() < 524288) {
    for (const std::string& text : texts) document += text;
  }
  document.resize(524287);
  document += '\n';
  return document;
}

double Milliseconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HBITMAP sheet = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_GLYPH_SHEET));
  static GlyphPosition table[256];
  BuildGlyphTable(table);
  const std::string document = MakeDocument();
  const auto* text = reinterpret_cast<const uint8_t*>(document.data());
  const auto length = static_cast<int32_t>(document.size());
  static GlyphPixels glyphs;

  // Best of a few runs each, side by side.
  double fast = 1e9;
  double reference = 1e9;
  Page page;
  HBITMAP referencePage = nullptr;
  for (int run = 0; run < 5; ++run) {
    if (page.bitmap) DeleteObject(page.bitmap);
    auto start = std::chrono::steady_clock::now();
    const PageMeasure cells = MeasureLayout(text, length, nullptr);
    const double t1 = Milliseconds(start);
    ReadGlyphPixels(sheet, table, glyphs);
    const double t2 = Milliseconds(start);
    page = CreatePage(cells, glyphs.bitsPerPixel);
    const double t3 = Milliseconds(start);
    DrawPage(text, length, glyphs, page);
    GdiFlush();
    fast = std::min(fast, Milliseconds(start));
    if (run == 4) {
      std::printf("fast path, last run: measure %.1f ms, glyphs %.1f ms, page %.1f ms, draw %.1f ms\n", t1,
                  t2 - t1, t3 - t2, Milliseconds(start) - t3);
    }
  }
  for (int run = 0; run < 2; ++run) {
    if (referencePage) DeleteObject(referencePage);
    auto start = std::chrono::steady_clock::now();
    referencePage = RenderReferencePage(text, length, sheet, table, nullptr);
    GdiFlush();
    reference = std::min(reference, Milliseconds(start));
  }
  int32_t w1, h1, w2, h2;
  const bool same = ReadPixels(page.bitmap, &w1, &h1) == ReadPixels(referencePage, &w2, &h2);
  const long long pageBytes = static_cast<long long>(page.stride) * page.rows * 8;
  std::printf("document: %d bytes, page %d x %d pixels, %d bpp\n", length, page.columns * 8, page.rows * 8,
              page.bitsPerPixel);
  std::printf("pixels identical: %s\n", same ? "yes" : "NO");
  std::printf("render-512k: fast %.1f ms, reference %.1f ms, ratio %.1fx, page %lld bytes\n", fast, reference,
              reference / fast, pageBytes);
  // What the page's first touch costs on this machine, whatever draws it:
  // newly allocated memory, written once.
  const size_t bytes = static_cast<size_t>(pageBytes);
  auto start = std::chrono::steady_clock::now();
  void* fresh = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (fresh != nullptr) {
    std::memset(fresh, 0xFF, bytes);
    std::printf("fresh-memory: writing %lld bytes of newly allocated memory once takes %.1f ms here\n", pageBytes,
                Milliseconds(start));
    VirtualFree(fresh, 0, MEM_RELEASE);
  }
  return same ? 0 : 1;
}
