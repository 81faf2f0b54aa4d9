// Arbitrary files through the ANSI colour mode: the record, the
// interpreter, the 4-bit page (drawn into a buffer of exactly its size, so
// the sanitizer sees any write past it) in 8 and 9-pixel cells, its first
// rows stretched for a 4:3 screen, a copy of every cell and the rows links
// and Find read; and a play of it in pieces, which ends on the still
// screen, its hidden blink phase drawn.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "art/ansi_screen.h"
#include "art/screen_play.h"
#include "raster/ansi_raster.h"
#include "raster/vga_look.h"
#include "text/ansi_text.h"
#include "art/page_limits.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "ANSI screen invariant broken: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const SauceRecord sauce = ReadSauce(data, size);
  Check(sauce.textLength <= size, "text past the file");
  const AnsiOptions options = AnsiOptionsFor(sauce);
  const AnsiScreen screen = InterpretAnsi(data, sauce.textLength, options);
  Check(screen.columns == options.columns && screen.columns >= 1 && screen.columns <= kAnsiMaxColumns,
        "columns not the record's");
  Check(screen.rows >= 0 && screen.rows <= AnsiRowLimit(screen.columns, screen.cellHeight),
        "rows past the limit");
  Check(screen.cells.size() == static_cast<size_t>(screen.columns) * static_cast<size_t>(screen.rows),
        "cells not columns x rows");

  const AnsiPageSize page = AnsiPageSizeOf(screen);
  Check(page.stride % 4 == 0 && page.stride * 2 >= page.width, "stride");
  Check(int64_t{page.stride} * page.height <= kMaxPageBytes, "page past the byte limit");
  std::vector<uint8_t> pixels(static_cast<size_t>(page.stride) * static_cast<size_t>(page.height));
  RasteriseAnsi(screen, pixels.data());

  AnsiScreen nine = screen;
  nine.cellWidth = 9;
  const AnsiPageSize wide = AnsiPageSizeOf(nine);
  Check(int64_t{wide.stride} * wide.height <= kMaxPageBytes, "9-pixel page past the byte limit");
  pixels.assign(static_cast<size_t>(wide.stride) * static_cast<size_t>(wide.height), 0);
  RasteriseAnsi(nine, pixels.data());
  const int32_t band = std::min(wide.height, 4 * nine.cellHeight), tall = StretchedHeight(band, 9);
  std::vector<uint8_t> stretched(static_cast<size_t>(wide.width) * 3 * static_cast<size_t>(tall));
  const PixelRows rows{pixels.data(),
                       static_cast<size_t>(wide.stride),
                       wide.width,
                       band,
                       wide.bitsPerPixel == 32 ? PixelFormat::kBgrx32 : PixelFormat::kIndexed4,
                       nine.palette.data()};
  StretchRows(rows, tall, PixelFormat::kRgb24, stretched.data(), static_cast<size_t>(wide.width) * 3);

  static char text[kSelectionTextSize];
  const int32_t length =
      JoinCellRows(AnsiCharacters(screen), CellSpan{0, 0, screen.columns, screen.rows}, text, sizeof text);
  Check(length >= 0 && length <= kSelectionTextLimit && text[length] == '\0', "copied text");
  const ShownRows shown = AnsiShownRows(screen);
  Check(shown.size() == static_cast<size_t>(screen.rows), "shown rows not the screen's");
  for (const ShownRow& row : shown)
    Check(row.cells.size() <= static_cast<size_t>(screen.columns), "shown row too long");

  ScreenPlay play("fuzz.ans", data, size);
  for (size_t cut = 0; !play.finished(); cut += 1 + cut / 3) {
    const CellRect changed = play.AdvanceTo(cut);
    Check(changed.empty() || (changed.firstRow >= 0 && changed.endRow <= play.frame().rows &&
                              changed.firstColumn < changed.endColumn && changed.endColumn <= screen.columns),
          "changed cells outside the frame");
  }
  const AnsiScreen& still = play.still();
  Check(play.frame().cells.size() == still.cells.size() &&
            std::equal(still.cells.begin(), still.cells.end(), play.frame().cells.begin(),
                       [](AnsiCell a, AnsiCell b) { return a.character == b.character && a.colours == b.colours; }),
        "a play that does not end on the still screen");
  std::vector<uint8_t> still_pixels(static_cast<size_t>(AnsiPageSizeOf(still).stride) *
                                    static_cast<size_t>(AnsiPageSizeOf(still).height));
  RasteriseAnsiRows(still, 0, still.rows, still_pixels.data(), false);
  return 0;
}
