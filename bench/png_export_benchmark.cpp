// The PNG export of one document, timed inside the process: the render
// (reading the file, layout, the page and its glyphs) and the encoding of
// the page as PNG, best of five each. make bench runs it under Wine beside
// the whole-process timing of quillpane.exe --png.
//   png_export_benchmark DOCUMENT
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "export/export_core.h"
#include "win32/viewer_state.h"
#include "document/document.h"
#include "art/document.h"
#include "raster/png_writer.h"
#include "view/render_page.h"
#include "resources/resource_ids.h"

namespace {

double Milliseconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HBITMAP sheet = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_GLYPH_SHEET));
  static GlyphPosition table[256];
  static GlyphPixels glyphs;
  double render = 1e9, encode = 1e9;
  size_t bytes = 0;
  int32_t width = 0, height = 0;
  for (int run = 0; run < 5; ++run) {
    auto start = std::chrono::steady_clock::now();
    BuildGlyphTable(table);
    ReadGlyphPixels(sheet, table, glyphs);
    static Document document;
    ReadDocument(argv[1], DocumentReader(argv[1]), {}, document);
    if (!document.Opened()) return 1;
    ExportPage page;
    if (!DrawExportPage(document, glyphs, 0, page)) return 1;
    render = std::min(render, Milliseconds(start));
    start = std::chrono::steady_clock::now();
    std::vector<uint8_t> png;
    if (!EncodePng(page.rows, png)) return 1;
    encode = std::min(encode, Milliseconds(start));
    bytes = png.size(), width = page.rows.width, height = page.rows.height;
  }
  std::printf("png-512k-page: %d x %d pixels, PNG of %zu bytes\n", width, height, bytes);
  std::printf("png-512k-inside: render %.1f ms, encode %.1f ms\n", render, encode);
  DeleteObject(sheet);
  return 0;
}
