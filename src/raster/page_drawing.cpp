#include "page_drawing.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "../art/layout_interpreter.h"
#include "../art/page_limits.h"
#include "ansi_raster.h"
#include "vga_look.h"

namespace {

// The drawn bytes that land on the page, counted by row (Count) and then
// put in their row's place (Place): two passes of the layout, so that the
// index holds 4 bytes a drawn byte and nothing more.
class RowIndexSink {
 public:
  RowIndexSink(int32_t columns, int32_t rows, std::vector<uint32_t>& next, std::vector<uint32_t>* draws)
      : columns_(columns), rows_(rows), next_(next), draws_(draws) {}
  void Examine(int32_t, int32_t) {}
  void RowStart(int32_t, int32_t) {}
  void Draw(uint8_t b, int32_t column, int32_t row) {
    if (static_cast<uint32_t>(column) >= static_cast<uint32_t>(columns_) ||
        static_cast<uint32_t>(row) >= static_cast<uint32_t>(rows_))
      return;
    if (draws_ == nullptr) {
      ++next_[static_cast<size_t>(row) + 1];
    } else {
      (*draws_)[next_[static_cast<size_t>(row)]++] = static_cast<uint32_t>(column) << 8 | b;
    }
  }

 private:
  int32_t columns_, rows_;
  std::vector<uint32_t>& next_;
  std::vector<uint32_t>* draws_;
};

}  // namespace

const GlyphPixels* DocumentFontGlyphs(const Document& document) {
  const ChosenFont& font = document.font;
  return font.OwnCharacters() ? FontGlyphPixels(font.face.Set(), font.face.codePage) : nullptr;
}

PageDrawing PageDrawing::OfDocument(const Document& document, const PageOptions& options) {
  if (!document.Colour()) {
    // Zero, never written: no depth, a blank page. (Not const: a const one
    // would take its 67 KB in the program file.)
    static GlyphPixels noSheet;
    const GlyphPixels* own = DocumentFontGlyphs(document);
    const GlyphPixels& glyphs = own != nullptr ? *own : options.glyphs != nullptr ? *options.glyphs : noSheet;
    const uint8_t* text = document.laidOut.data();
    const int32_t length = document.laidOutLength;
    TextPage shape = ShapeTextPage(MeasureLayout(text, length, nullptr), glyphs.bitsPerPixel == 32 ? 32 : 1);
    if (options.thumbnail) shape.rows = std::min(shape.rows, shape.columns);
    return OfText(text, length, glyphs, shape);
  }
  const AnsiScreen& screen = options.frame != nullptr ? *options.frame : document.screen.screen;
  const AnsiPageSize size = AnsiPageSizeOf(screen);
  int32_t rows = screen.rows;
  if (options.thumbnail) rows = std::min<int32_t>(rows, (size.width + screen.cellHeight - 1) / screen.cellHeight);
  if (!document.screen.stretched) return OfScreen(screen, rows, 0, options.stretchedFormat, options.blinkShown);
  int32_t height = rows * StretchedHeight(screen.cellHeight, screen.cellWidth, screen.tube);
  std::string note;
  if (!options.rowsAlike) {
    // A stretched page is up to 8 times the bytes of the screen's own: it
    // keeps the rows that fit the page limit, and says so. (Drawn in bands
    // it never takes that memory; the limit is the page's.)
    const int bits = options.stretchedFormat == PixelFormat::kRgb24 ? 24 : 32;
    const int64_t rowBytes = int64_t{StretchedHeight(screen.cellHeight, screen.cellWidth, screen.tube) + 1} *
                             static_cast<int64_t>(DibStride(size.width, bits));
    const auto fit = static_cast<int32_t>(std::max<int64_t>(kMaxPageBytes / rowBytes, 1));
    if (rows > fit) {
      rows = fit;
      note = "only the first " + std::to_string(fit) + " rows are drawn at 4:3";
    }
    // Each row of the picture as high as a 4:3 screen showed it, blended
    // from the rows it covers.
    height = StretchedHeight(rows * screen.cellHeight, screen.cellWidth, screen.tube);
  }
  PageDrawing drawing = OfScreen(screen, rows, height, options.stretchedFormat, options.blinkShown);
  drawing.note_ = std::move(note);
  return drawing;
}

PageDrawing PageDrawing::OfScreen(const AnsiScreen& screen, int32_t rows, int32_t stretchedHeight,
                                  PixelFormat stretchedFormat, bool blinkShown) {
  PageDrawing drawing;
  drawing.screen_ = &screen;
  drawing.screenRows_ = std::clamp(rows, 0, screen.rows);
  drawing.blinkShown_ = blinkShown;
  const AnsiPageSize size = AnsiPageSizeOf(screen);
  const int32_t squareHeight = drawing.screenRows_ * screen.cellHeight;
  PixelRows& shape = drawing.shape_;
  shape.width = size.width;
  shape.height = squareHeight;
  shape.stride = static_cast<size_t>(size.stride);
  shape.format = size.bitsPerPixel == 32 ? PixelFormat::kBgrx32 : PixelFormat::kIndexed4;
  shape.palette = screen.palette.data();
  // A stretch only ever adds rows.
  if (stretchedHeight > 0 && stretchedHeight >= squareHeight && squareHeight > 0) {
    drawing.stretched_ = true;
    shape.height = stretchedHeight;
    shape.format = stretchedFormat == PixelFormat::kRgb24 ? PixelFormat::kRgb24 : PixelFormat::kBgrx32;
    shape.stride = static_cast<size_t>(DibStride(size.width, shape.format == PixelFormat::kRgb24 ? 24 : 32));
    shape.palette = nullptr;
  }
  return drawing;
}

PageDrawing PageDrawing::OfText(const uint8_t* text, int32_t length, const GlyphPixels& glyphs,
                                const TextPage& shape) {
  static const uint32_t kBlackAndWhite[2] = {0x000000, 0xFFFFFF};
  PageDrawing drawing;
  drawing.shape_ = TextPageRows(shape);
  drawing.shape_.pixels = nullptr;
  drawing.shape_.palette = kBlackAndWhite;
  drawing.glyphs_ = &glyphs;
  if (shape.columns <= 0 || shape.rows <= 0) return drawing;
  if (glyphs.bitsPerPixel == 1 && shape.bitsPerPixel == 1) drawing.bytesPerGlyphRow_ = 1;
  if (glyphs.bitsPerPixel == 32 && shape.bitsPerPixel == 32) drawing.bytesPerGlyphRow_ = 32;
  if (drawing.bytesPerGlyphRow_ == 0) return drawing;
  std::vector<uint32_t>& next = drawing.rowStart_;
  next.assign(static_cast<size_t>(shape.rows) + 1, 0);
  RowIndexSink count(shape.columns, shape.rows, next, nullptr);
  RunLayoutPass(text, length, count);
  for (size_t r = 1; r < next.size(); ++r) next[r] += next[r - 1];
  drawing.draws_.resize(next.back());
  // Placing moves each row's start to its end: the row before's start.
  RowIndexSink place(shape.columns, shape.rows, next, &drawing.draws_);
  RunLayoutPass(text, length, place);
  next.insert(next.begin(), 0);
  next.pop_back();
  return drawing;
}

bool PageDrawing::Draw(int32_t first, int32_t count, uint8_t* out, size_t stride,
                       std::vector<uint8_t>& scratch) const {
  const int32_t from = std::max(first, 0);
  const int32_t to = static_cast<int32_t>(std::min<int64_t>(int64_t{first} + std::max(count, 0), shape_.height));
  if (from >= to || stride < shape_.stride) return true;
  out += static_cast<size_t>(from - first) * stride;
  if (screen_ != nullptr) return DrawScreen(from, to - from, out, stride, scratch);
  DrawText(from, to - from, out, stride);
  return true;
}

bool PageDrawing::DrawScreen(int32_t first, int32_t count, uint8_t* out, size_t stride,
                             std::vector<uint8_t>& scratch) const {
  const AnsiScreen& screen = *screen_;
  const int32_t cell = screen.cellHeight;
  const AnsiPageSize size = AnsiPageSizeOf(screen);
  const auto squareStride = static_cast<size_t>(size.stride);
  // The square pixel rows the band needs.
  int32_t top = first, end = first + count;
  if (stretched_) {
    const int32_t squareHeight = screenRows_ * cell;
    const RowBlend last = StretchRowBlend(squareHeight, shape_.height, end - 1);
    top = StretchRowBlend(squareHeight, shape_.height, first).row;
    end = std::min(last.row + 2, squareHeight);
  }
  const int32_t firstRow = top / cell, endRow = (end + cell - 1) / cell;
  // Whole rows of cells at the page's own stride are drawn in place.
  if (!stretched_ && top % cell == 0 && (end % cell == 0 || endRow == screenRows_) && stride == squareStride) {
    RasteriseAnsiRows(screen, firstRow, endRow - firstRow, out, blinkShown_);
    return true;
  }
  try {
    scratch.resize(squareStride * static_cast<size_t>(endRow - firstRow) * static_cast<size_t>(cell));
  } catch (const std::bad_alloc&) {
    return false;
  }
  RasteriseAnsiRows(screen, firstRow, endRow - firstRow, scratch.data(), blinkShown_);
  const uint8_t* square = scratch.data() + static_cast<size_t>(top - firstRow * cell) * squareStride;
  if (!stretched_) {
    for (int32_t y = 0; y < count; ++y)
      std::memcpy(out + static_cast<size_t>(y) * stride, square + static_cast<size_t>(y) * squareStride,
                  squareStride);
    return true;
  }
  PixelRows source{square, squareStride, size.width, end - top,
                   size.bitsPerPixel == 32 ? PixelFormat::kBgrx32 : PixelFormat::kIndexed4,
                   screen.palette.data()};
  StretchRowsBand(source, top, screenRows_ * cell, shape_.height, first, count, shape_.format, out, stride);
  return true;
}

namespace {

// The glyph rows from..to-1 of each drawn byte of one row of cells, at
// `Width` bytes a glyph row (a constant, so that a 1-bit row is one store).
template <size_t Width>
void DrawCells(const uint32_t* draws, const uint32_t* end, const uint8_t* glyphs, int32_t from, int32_t to,
               uint8_t* at, size_t stride) {
  for (; draws != end; ++draws) {
    const uint8_t* glyph = glyphs + static_cast<size_t>(*draws & 0xFF) * 8 * Width + static_cast<size_t>(from) * Width;
    uint8_t* cell = at + static_cast<size_t>(*draws >> 8) * Width;
    for (int32_t y = from; y < to; ++y, cell += stride, glyph += Width) std::memcpy(cell, glyph, Width);
  }
}

}  // namespace

void PageDrawing::DrawText(int32_t first, int32_t count, uint8_t* out, size_t stride) const {
  for (int32_t y = 0; y < count; ++y) std::memset(out + static_cast<size_t>(y) * stride, 0xFF, shape_.stride);
  if (bytesPerGlyphRow_ == 0) return;
  const int32_t end = first + count;
  for (int32_t row = first / 8; row * 8 < end; ++row) {
    // The glyph rows of this row of cells that the band holds.
    const int32_t from = std::max(first - row * 8, 0), to = std::min(end - row * 8, 8);
    uint8_t* at = out + static_cast<size_t>(row * 8 + from - first) * stride;
    const uint32_t* draws = draws_.data() + rowStart_[static_cast<size_t>(row)];
    const uint32_t* last = draws_.data() + rowStart_[static_cast<size_t>(row) + 1];
    if (bytesPerGlyphRow_ == 1)
      DrawCells<1>(draws, last, &glyphs_->mono[0][0], from, to, at, stride);
    else
      DrawCells<32>(draws, last, reinterpret_cast<const uint8_t*>(&glyphs_->colour[0][0]), from, to, at, stride);
  }
}
