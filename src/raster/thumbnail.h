// A thumbnail of a page: the top of it (the first screen of the art),
// scaled down with averaging to fit a square, as 24-bit RGB rows for the
// PNG writer.
#ifndef QUILLPANE_THUMBNAIL_H
#define QUILLPANE_THUMBNAIL_H

#include <cstdint>
#include <vector>

#include "pixel_rows.h"

// Thumbnail sizes run from 1 to this many pixels a side.
constexpr int kMaxThumbnailSize = 1024;

struct Thumbnail {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;  // rows of width * 3 bytes, red first, top row first

  PixelRows Rows() const {
    PixelRows rows;
    rows.pixels = rgb.data();
    rows.stride = static_cast<size_t>(width) * 3;
    rows.width = width;
    rows.height = height;
    rows.format = PixelFormat::kRgb24;
    return rows;
  }
};

// The top of `page`, from its first row down to as many rows as it is
// wide (a square, or all of a page shorter than that), scaled to `size`
// pixels across or kept as it is when narrower (never enlarged), the
// height in proportion and at least 1. Each thumbnail pixel is the
// average of the page pixels it covers. False for a page without pixels,
// a size outside 1 to kMaxThumbnailSize, or too little memory.
bool MakeThumbnail(const PixelRows& page, int size, Thumbnail& thumbnail);

#endif
