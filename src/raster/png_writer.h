// PNG files from rows of pixels, with no platform code. A 1-bit or 4-bit
// picture stays indexed with its palette, grey stays 8-bit grey, colour is
// written as 24-bit RGB.
//
// The rows are cut into parts that are deflated at the same time, one
// thread a part (libdeflate, its fastest level), and joined into the one
// zlib stream a PNG holds; each part becomes one IDAT chunk.
#ifndef QUILLPANE_PNG_WRITER_H
#define QUILLPANE_PNG_WRITER_H

#include <cstdint>
#include <vector>

#include "pixel_rows.h"

// The picture as the bytes of a PNG file; false when it cannot be encoded
// (no pixels, or not enough memory). `parts`: how many parts the rows are
// cut into (at most one a row); 0 takes one a core, and a single part for
// a small picture.
bool EncodePng(const PixelRows& image, std::vector<uint8_t>& png, unsigned parts = 0);

// Lets another raw deflate stream follow the whole one in `deflate`: its
// final block is marked not final, and an empty stored block after its end
// brings it to a whole byte. False when the bytes are not one whole deflate
// stream (they are then left as they were).
bool UnfinishDeflate(std::vector<uint8_t>& deflate);

#endif
