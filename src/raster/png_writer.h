// PNG files from rows of pixels, with no platform code. A 1-bit or 4-bit
// picture stays indexed with its palette, grey stays 8-bit grey, colour is
// written as 24-bit RGB.
//
// The rows are drawn and deflated a band at a time (libdeflate, its fastest
// level), bands on both cores at once, and joined into the one zlib stream
// a PNG holds; each band becomes one IDAT chunk. A picture need never be
// whole in memory: its rows can come from a drawer, a band at a time.
#ifndef QUILLPANE_PNG_WRITER_H
#define QUILLPANE_PNG_WRITER_H

#include <cstdint>
#include <functional>
#include <vector>

#include "pixel_rows.h"

// Draws rows first .. first + count - 1 of a picture into `out`, `stride`
// bytes a row, with `scratch` memory of the caller's own; called on several
// threads at once for bands of one picture. False when it finds no memory.
using RowsDrawer = std::function<bool(int32_t first, int32_t count, uint8_t* out, size_t stride,
                                      std::vector<uint8_t>& scratch)>;

// The picture as the bytes of a PNG file; false when it cannot be encoded
// (no pixels, or not enough memory). `parts`: how many bands the rows are
// cut into, evenly (at most one a row); 0 takes bands of about 256 KB.
bool EncodePng(const PixelRows& image, std::vector<uint8_t>& png, unsigned parts = 0);
// The same of the picture of `shape` (its size, format and palette; its
// stride the least a drawer is given), its rows from `draw`.
bool EncodePngDrawn(const PixelRows& shape, const RowsDrawer& draw, std::vector<uint8_t>& png,
                    unsigned bands = 0);

// An animated PNG: the still picture is the image every reader shows, and
// readers of animations (APNG) play the frames over a canvas of its size
// instead, once: each frame a rectangle of the still's pixel format that
// replaces what stood there (dispose op none, blend op source).
class AnimatedPng {
 public:
  // `region` at (x, y) of the canvas; false when it cannot be encoded.
  bool AddFrame(const PixelRows& region, int32_t x, int32_t y);
  bool AddFrameDrawn(const PixelRows& shape, const RowsDrawer& draw, int32_t x, int32_t y);
  // The last frame added stays numerator / denominator seconds.
  void SetLastDelay(uint16_t numerator, uint16_t denominator);
  size_t frames() const { return frames_.size(); }
  // The file; false when it cannot be encoded.
  bool Finish(const PixelRows& still, std::vector<uint8_t>& png) const;
  bool FinishDrawn(const PixelRows& shape, const RowsDrawer& draw, std::vector<uint8_t>& png) const;

 private:
  struct Frame {
    uint32_t x = 0, y = 0, width = 0, height = 0;
    uint16_t delayNumerator = 0, delayDenominator = 1;
    std::vector<uint8_t> zlib;  // the frame's rows as a PNG's IDAT holds them
  };
  std::vector<Frame> frames_;
};

// Lets another raw deflate stream follow the whole one in `deflate`: its
// final block is marked not final, and an empty stored block after its end
// brings it to a whole byte. False when the bytes are not one whole deflate
// stream (they are then left as they were).
bool UnfinishDeflate(std::vector<uint8_t>& deflate);

#endif
