#include "screen_animation.h"

#include <algorithm>
#include <exception>

#include "../art/screen_play.h"
#include "ansi_raster.h"
#include "png_writer.h"

namespace {

PixelRows RowsOf(const AnsiScreen& screen, const std::vector<uint8_t>& pixels) {
  const AnsiPageSize size = AnsiPageSizeOf(screen);
  PixelRows rows;
  rows.pixels = pixels.data();
  rows.stride = static_cast<size_t>(size.stride);
  rows.width = size.width;
  rows.height = size.height;
  rows.format = size.bitsPerPixel == 32 ? PixelFormat::kBgrx32 : PixelFormat::kIndexed4;
  rows.palette = screen.palette.data();
  return rows;
}

// A frame's time in frames of the play (1/30 s each) as an APNG delay: in
// 30ths of a second while that fits 16 bits, in whole seconds beyond.
void SetDelay(AnimatedPng& png, uint64_t ticks) {
  if (ticks <= 0xFFFF)
    png.SetLastDelay(static_cast<uint16_t>(ticks), kAnimationFramesPerSecond);
  else
    png.SetLastDelay(static_cast<uint16_t>(std::min<uint64_t>(ticks / kAnimationFramesPerSecond, 0xFFFF)), 1);
}

}  // namespace

bool EncodeScreenPlay(const char* path, const uint8_t* bytes, size_t length, uint32_t bitsPerSecond,
                      std::vector<uint8_t>& png, size_t* frames, std::string* note) {
  try {
    ScreenPlay play(path, bytes, length);
    if (note != nullptr) *note = play.note();
    const AnsiScreen& frame = play.frame();
    const AnsiPageSize size = AnsiPageSizeOf(frame);
    const size_t cellBytes = static_cast<size_t>(size.stride) * static_cast<size_t>(frame.cellHeight);
    std::vector<uint8_t> canvas(cellBytes * static_cast<size_t>(frame.rows));
    RasteriseAnsi(frame, canvas.data());
    const PixelRows whole = RowsOf(frame, canvas);
    AnimatedPng animation;
    if (!animation.AddFrame(whole, 0, 0)) return false;
    // Frame tick k shows the bytes of k/30 s. Ticks that bring no byte are
    // skipped, so a play takes as many steps as the file has bytes at most.
    const uint64_t bps = std::max<uint32_t>(bitsPerSecond, 1);
    const uint64_t perSecond = 10 * uint64_t{kAnimationFramesPerSecond};
    uint64_t shown = 0;
    for (uint64_t tick = 1; !play.finished();) {
      const CellRect changed =
          play.AdvanceTo(static_cast<size_t>(std::min<uint64_t>(tick * bps / perSecond, SIZE_MAX)));
      if (!changed.empty()) {
        RasteriseAnsiRows(frame, changed.firstRow, changed.endRow - changed.firstRow,
                          canvas.data() + cellBytes * static_cast<size_t>(changed.firstRow));
        PixelRows region = whole;
        const int32_t x = changed.firstColumn * kAnsiCellWidth;
        region.pixels += cellBytes * static_cast<size_t>(changed.firstRow) +
                         static_cast<size_t>(x) * static_cast<size_t>(size.bitsPerPixel) / 8;
        region.width = (changed.endColumn - changed.firstColumn) * kAnsiCellWidth;
        region.height = (changed.endRow - changed.firstRow) * frame.cellHeight;
        SetDelay(animation, tick - shown);
        if (!animation.AddFrame(region, x, changed.firstRow * frame.cellHeight)) return false;
        shown = tick;
      }
      // The first tick at which another byte has come.
      tick = std::max(tick + 1, ((uint64_t{play.position()} + 1) * perSecond + bps - 1) / bps);
    }
    SetDelay(animation, kAnimationFramesPerSecond);  // the last frame a second, as the file ends
    if (frames != nullptr) *frames = animation.frames();
    std::vector<uint8_t> still(canvas.size());
    RasteriseAnsi(play.still(), still.data());
    return animation.Finish(RowsOf(play.still(), still), png);
  } catch (const std::exception&) {  // out of memory
    png.clear();
    return false;
  }
}
