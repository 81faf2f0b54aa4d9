// Arbitrary files through the readers of the stream formats (TundraDraw,
// PCBoard, Avatar: every row of the table of formats that plays as a
// stream; TundraDraw's with its header put before them, so that the
// commands are what gets explored), each screen's page drawn into a buffer of exactly
// its size, so the sanitizer sees any write past it.

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
    std::fprintf(stderr, "BBS format invariant broken: %s\n", what);
    std::abort();
  }
}

void CheckScreen(const FormatReading& reading) {
  const AnsiScreen& screen = reading.screen;
  const bool exact = !screen.exactColours.empty();
  Check(screen.columns == kAnsiDefaultColumns && screen.cellHeight == 16,
        "not 80 columns of the default font");
  Check(screen.rows >= 0 && screen.rows <= AnsiRowLimit(screen.columns, screen.cellHeight, exact ? 32 : 4),
        "rows past the limit");
  const size_t cells = static_cast<size_t>(screen.columns) * static_cast<size_t>(screen.rows);
  Check(screen.cells.size() == cells, "cells not columns x rows");
  Check(!exact || screen.exactColours.size() == 2 * cells, "exact colours not two a cell");
  Check(reading.note.find('\n') == std::string::npos, "a note of more than one line");
  const AnsiPageSize page = AnsiPageSizeOf(screen);
  Check(int64_t{page.stride} * page.height <= kMaxPageBytes, "page past the byte limit");
  std::vector<uint8_t> pixels(static_cast<size_t>(page.stride) * static_cast<size_t>(page.height));
  RasteriseAnsi(screen, pixels.data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> tundra = {24, 'T', 'U', 'N', 'D', 'R', 'A', '2', '4'};
  tundra.insert(tundra.end(), data, data + size);
  for (const ArtFormatRow& row : kArtFormats) {
    if (row.play != PlayKind::kStream) continue;
    const bool header = row.format == ArtFormat::kTundraDraw;
    CheckScreen(header ? row.read(tundra.data(), tundra.size()) : row.read(data, size));
  }
  return 0;
}
