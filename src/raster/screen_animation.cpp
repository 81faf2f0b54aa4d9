#include "screen_animation.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "../art/screen_play.h"
#include "ansi_raster.h"
#include "page_drawing.h"
#include "png_writer.h"

namespace {

RowsDrawer DrawerOf(const PageDrawing& drawing) {
  return [&drawing](int32_t first, int32_t count, uint8_t* out, size_t stride, std::vector<uint8_t>& scratch) {
    return drawing.Draw(first, count, out, stride, scratch);
  };
}

// A frame's time in frames of the play (1/30 s each) as an APNG delay: in
// 30ths of a second while that fits 16 bits, in whole seconds beyond.
void SetDelay(AnimatedPng& png, uint64_t ticks) {
  if (ticks <= 0xFFFF)
    png.SetLastDelay(static_cast<uint16_t>(ticks), kAnimationFramesPerSecond);
  else
    png.SetLastDelay(static_cast<uint16_t>(std::min<uint64_t>(ticks / kAnimationFramesPerSecond, 0xFFFF)), 1);
}

// The cells of `rect` of the play's frame as a frame of the animation.
bool AddRect(AnimatedPng& animation, const PageDrawing& frame, int32_t cellHeight, const CellRect& rect) {
  const PixelRows& page = frame.shape();
  PixelRows shape = page;
  const int32_t x = rect.firstColumn * kAnsiCellWidth;
  shape.width = (rect.endColumn - rect.firstColumn) * kAnsiCellWidth;
  shape.height = (rect.endRow - rect.firstRow) * cellHeight;
  shape.stride = RowBytes(page.format, shape.width);
  const int32_t top = rect.firstRow * cellHeight;
  // Whole rows of the page are drawn, and the rectangle's part of them
  // copied: cells start on whole bytes at 4 and 32 bits a pixel.
  const size_t skip = static_cast<size_t>(x) * (page.format == PixelFormat::kBgrx32 ? 4 : 1) /
                      (page.format == PixelFormat::kBgrx32 ? 1 : 2);
  const RowsDrawer draw = [&](int32_t first, int32_t count, uint8_t* out, size_t stride,
                              std::vector<uint8_t>& rows) {
    std::vector<uint8_t> inner;  // bands start on rows of cells: the drawing needs none
    rows.resize(page.stride * static_cast<size_t>(count));
    if (!frame.Draw(top + first, count, rows.data(), page.stride, inner)) return false;
    for (int32_t y = 0; y < count; ++y)
      std::memcpy(out + static_cast<size_t>(y) * stride, rows.data() + static_cast<size_t>(y) * page.stride + skip,
                  shape.stride);
    return true;
  };
  return animation.AddFrameDrawn(shape, draw, x, top);
}

}  // namespace

bool EncodeScreenPlay(const char* path, const uint8_t* bytes, size_t length, uint32_t bitsPerSecond,
                      std::vector<uint8_t>& png, size_t* frames, std::string* note, const std::string& font) {
  try {
    // The play is in 8-pixel letters and square rows, whatever the file's
    // SAUCE says: its canvas, its frames and its still alike; in the font
    // chosen, or the file's.
    ScreenPlay play(path, bytes, length, ScreenLook{LookChoice::kOff, LookChoice::kOff, font});
    if (note != nullptr) *note = play.note();
    const AnsiScreen& screen = play.frame();
    // No canvas is held: the empty screen, each frame's rectangles and the
    // still are drawn from the cells as they are deflated, a band at a time.
    const PageDrawing frame = PageDrawing::OfScreen(screen, screen.rows);
    AnimatedPng animation;
    if (!animation.AddFrameDrawn(frame.shape(), DrawerOf(frame), 0, 0)) return false;
    // Frame tick k shows the bytes of k/30 s. Ticks that bring no byte are
    // skipped, so a play takes as many steps as the file has bytes at most;
    // a step's change is encoded as the rectangles of rows that changed
    // (zero-delay frames but the last), never the rows in between, so the
    // pixels encoded grow with the cells the bytes change, not with the
    // screen's height.
    const uint64_t bps = std::max<uint32_t>(bitsPerSecond, 1);
    const uint64_t perSecond = 10 * uint64_t{kAnimationFramesPerSecond};
    uint64_t shown = 0;
    std::vector<CellRect> rects;
    for (uint64_t tick = 1; !play.finished();) {
      play.AdvanceTo(static_cast<size_t>(std::min<uint64_t>(tick * bps / perSecond, SIZE_MAX)), &rects);
      if (!rects.empty()) {
        SetDelay(animation, tick - shown);
        for (const CellRect& rect : rects) {
          if (!AddRect(animation, frame, screen.cellHeight, rect)) return false;
          SetDelay(animation, 0);
        }
        shown = tick;
      }
      // The first tick at which another byte has come.
      tick = std::max(tick + 1, ((uint64_t{play.position()} + 1) * perSecond + bps - 1) / bps);
    }
    SetDelay(animation, kAnimationFramesPerSecond);  // the last frame a second, as the file ends
    if (frames != nullptr) *frames = animation.frames();
    const PageDrawing still = PageDrawing::OfScreen(play.still(), play.still().rows);
    return animation.FinishDrawn(still.shape(), DrawerOf(still), png);
  } catch (const std::exception&) {  // out of memory
    png.clear();
    return false;
  }
}
