// The screen as a VGA card showed it on a 4:3 tube: letters in cells 9
// pixels wide, and rows stretched to the tube's height. Pure rules over
// pixels and sizes; the choice of which a document gets is made with its
// reading (document_reading.h).
#ifndef QUILLPANE_VGA_LOOK_H
#define QUILLPANE_VGA_LOOK_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../art/screen_font.h"
#include "pixel_rows.h"

// In a 9-pixel cell the 9th column repeats the 8th for the line-drawing
// characters 0xC0-0xDF, so that their lines join; any other shows the
// background there.
inline bool NinthColumnRepeats(uint8_t character) { return character >= 0xC0 && character <= 0xDF; }

// The rows a picture `height` pixels high takes when stretched as a text
// screen that filled a 4:3 tube: on VGA 720 x 400 became 720 x 540 (by
// 1.35) with 9-pixel letters, 640 x 400 became 640 x 480 (by 1.2) with
// 8-pixel ones; other tubes by their own factor (screen_font.h). Rounded
// to the nearest row.
int32_t StretchedHeight(int32_t height, int32_t letterWidth, ScreenTube tube = ScreenTube::kVga);

// Output row j of a stretch of `sourceRows` rows to `outputRows` (at least
// as many) is source row `row` blended with row + 1, which weighs
// `weight` / 256: the share of the source row + 1 in the stretch of
// source rows that output row j covers.
struct RowBlend {
  int32_t row;
  uint32_t weight;  // 0 to 256
};
std::vector<RowBlend> StretchRowBlends(int32_t sourceRows, int32_t outputRows);
// Output row j alone (0 <= j < outputRows).
RowBlend StretchRowBlend(int32_t sourceRows, int32_t outputRows, int32_t j);

// `source` (any format) stretched down to `outputRows` rows of 24-bit RGB
// (kRgb24) or 32-bit BGRX (kBgrx32) pixels at `out`, `outStride` bytes a
// row, each output row a blend of the (at most two) source rows it covers.
// A source of no rows or more rows than `outputRows` draws nothing.
void StretchRows(const PixelRows& source, int32_t outputRows, PixelFormat outFormat, uint8_t* out,
                 size_t outStride);
// Output rows firstOutput .. firstOutput + outputCount - 1 of the stretch of
// `sourceRows` rows to `outputRows`, from `source`, which holds source rows
// sourceTop .. sourceTop + source.height - 1 (at least those the output
// rows blend). Row j of `out` is output row firstOutput + j.
void StretchRowsBand(const PixelRows& source, int32_t sourceTop, int32_t sourceRows, int32_t outputRows,
                     int32_t firstOutput, int32_t outputCount, PixelFormat outFormat, uint8_t* out,
                     size_t outStride);

#endif
