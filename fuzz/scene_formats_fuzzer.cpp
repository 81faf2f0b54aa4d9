// Arbitrary files through the readers of the formats that store cells
// (XBin, BinaryText, Artworx, iCEDraw: every row of the table of formats
// that plays as cells), each of them on every input: the screen within its bounds, its
// cells bounded by the file's size, and its page drawn into a buffer of
// exactly its size, so the sanitizer sees any write past it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "art/page_limits.h"
#include "art/art_formats.h"
#include "raster/ansi_raster.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "scene format invariant broken: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const ArtFormatRow& row : kArtFormats) {
    if (row.play != PlayKind::kCells) continue;
    const FormatReading reading = row.read(data, size);
    const AnsiScreen& screen = reading.screen;
    Check(screen.columns >= 1 && screen.columns <= kAnsiMaxColumns, "columns");
    Check(screen.cellHeight >= 1 && screen.cellHeight <= 32, "cell height");
    Check(screen.cells.size() == static_cast<size_t>(screen.columns) * static_cast<size_t>(screen.rows),
          "cells not columns x rows");
    // A run of an iCEDraw file repeats a cell 255 times for 6 bytes, the
    // most any format gives; the last row is filled out.
    Check(screen.cells.size() <= 43 * size + static_cast<size_t>(screen.columns),
          "cells out of the file's bounds");
    if (screen.font)
      Check(screen.font->height == screen.cellHeight &&
                screen.font->rows.size() == static_cast<size_t>(screen.font->glyphs * screen.font->height),
            "font not the cells'");
    Check(reading.note.find('\n') == std::string::npos, "note of more than one line");
    const AnsiPageSize page = AnsiPageSizeOf(screen);
    Check(int64_t{page.stride} * page.height <= kMaxPageBytes, "page past the byte limit");
    std::vector<uint8_t> pixels(static_cast<size_t>(page.stride) * static_cast<size_t>(page.height));
    RasteriseAnsi(screen, pixels.data());
  }
  return 0;
}
