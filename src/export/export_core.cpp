#include "export_core.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>
#include <set>

#include "../core/file_names.h"
#include "../core/state_types.h"
#include "../core/text_helpers.h"
#include "../art/document.h"
#include "../art/document_reading.h"
#include "../art/scene_formats.h"
#include "../raster/ansi_raster.h"
#include "../raster/page_drawing.h"
#include "../raster/png_writer.h"
#include "../raster/screen_animation.h"
#include "../raster/text_page.h"
#include "../raster/thumbnail.h"
#include "../raster/vga_look.h"
#include "../art/page_limits.h"
#include "../resources/resource_ids.h"

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A document's page ready to be drawn, a band at a time or whole: what it
// reads (the colour screen, or the laid-out text) and how it is drawn. Made
// in place, as the drawing holds the screen or text it reads.
struct ExportDrawing {
  ColourScreen shown;
  std::vector<uint8_t> laidOut;
  PageDrawing drawing;
  std::string note;
};

bool PlanColourPage(const std::string& path, const char* text, size_t length, int thumbnailSize,
                    const ScreenLook& look, ExportDrawing& out) {
  out.shown = ReadColourScreen(path.c_str(), reinterpret_cast<const uint8_t*>(text), length, look);
  ColourScreen& shown = out.shown;
  const AnsiScreen& screen = shown.screen;
  const AnsiPageSize size = AnsiPageSizeOf(screen);
  int32_t rows = screen.rows;
  // A thumbnail reads the top square of the page: the rows of cells that
  // reach down as far as the page is wide.
  if (thumbnailSize > 0)
    rows = std::min<int32_t>(rows, (size.width + screen.cellHeight - 1) / screen.cellHeight);
  // A stretched page is 24-bit colour, up to 8 times the bytes of the
  // screen's own: it keeps the rows that fit the page limit, and says so.
  // (Drawn in bands it never takes that memory; the limit is the page's.)
  const size_t stretchedStride = DibStride(size.width, 24);
  if (shown.stretched) {
    const int64_t rowBytes = int64_t{StretchedHeight(screen.cellHeight, screen.cellWidth) + 1} *
                             static_cast<int64_t>(stretchedStride);
    const auto fit = static_cast<int32_t>(std::max<int64_t>(kMaxPageBytes / rowBytes, 1));
    if (rows > fit) {
      rows = fit;
      shown.note += (shown.note.empty() ? "" : "; ") + std::string("only the first ") + std::to_string(fit) +
                    " rows are drawn at 4:3";
    }
  }
  out.note = shown.note;
  // Each row of the picture as high as a 4:3 screen showed it, blended
  // from the rows it covers.
  const int32_t stretchedHeight =
      shown.stretched ? StretchedHeight(rows * screen.cellHeight, screen.cellWidth) : 0;
  out.drawing = PageDrawing::OfScreen(screen, rows, stretchedHeight, PixelFormat::kRgb24);
  return true;
}

bool PlanTextLayoutPage(const char* text, size_t textLength, const GlyphPixels& glyphs, int thumbnailSize,
                        ExportDrawing& out) {
  out.laidOut.resize(textLength + 1);
  const auto* bytes = out.laidOut.data();
  const int32_t length = LaidOutText(reinterpret_cast<const uint8_t*>(text), textLength, out.laidOut.data());
  TextPage shape = ShapeTextPage(MeasureLayout(bytes, length, nullptr), glyphs.bitsPerPixel == 32 ? 32 : 1);
  if (shape.columns <= 0) return false;
  if (thumbnailSize > 0) shape.rows = std::min(shape.rows, shape.columns);
  out.drawing = PageDrawing::OfText(bytes, length, glyphs, shape);
  return true;
}

// False when the page cannot be had (not enough memory).
bool PlanExportPage(const std::string& path, const char* text, size_t length, const GlyphPixels& glyphs,
                    bool colour, int thumbnailSize, const ScreenLook& look, ExportDrawing& out) {
  try {
    if (ChooseReading(path.c_str(), reinterpret_cast<const uint8_t*>(text), length, colour) !=
        Reading::kTextLayout)
      return PlanColourPage(path, text, length, thumbnailSize, look, out);
    return PlanTextLayoutPage(text, length, glyphs, thumbnailSize, out);
  } catch (const std::exception&) {  // out of memory
    return false;
  }
}

RowsDrawer DrawerOf(const PageDrawing& drawing) {
  return [&drawing](int32_t first, int32_t count, uint8_t* out, size_t stride, std::vector<uint8_t>& scratch) {
    return drawing.Draw(first, count, out, stride, scratch);
  };
}

// The whole page in memory (a thumbnail's top square, or DrawExportPage's).
bool DrawWholePage(const PageDrawing& drawing, ExportPage& page) {
  try {
    const PixelRows& shape = drawing.shape();
    page.pixels.resize(shape.stride * static_cast<size_t>(std::max(shape.height, 0)));
    std::vector<uint8_t> scratch;
    if (!drawing.Draw(0, shape.height, page.pixels.data(), shape.stride, scratch)) return false;
    if (shape.palette != nullptr) page.palette.assign(shape.palette, shape.palette + PaletteSize(shape.format));
    page.rows = shape;
    page.rows.pixels = page.pixels.data();
    page.rows.palette = page.palette.empty() ? nullptr : page.palette.data();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// One export: the document's page into a PNG. Returns the problem, or an
// empty text when the PNG is written.
std::string ExportOne(ExportPlatform& platform, const ExportRequest& request, const ExportPair& pair,
                      const ReadFileStart& readStart, const GlyphPixels& glyphs, Document& document) {
  const char* path = pair.file.c_str();
  // A play is of a colour screen: --animate reads ANSI art as --colour does.
  const bool animate = request.animateBitsPerSecond != 0;
  DocumentOptions options;
  options.colour = request.colour || animate;
  options.look = request.look;
  // The page and the play make their cells from the bytes themselves.
  options.makeCells = false;
  ReadDocument(path, readStart, options, document);
  const FileStart& start = document.start;
  if (start.opened == -1) return "cannot read " + Quoted(pair.file) + ": " + start.reason;
  // A colour screen reads the whole file (a scene format's bytes as they
  // are); the text layout keeps the text read.
  const FileStart& colourStart = document.wholeStart;
  if (document.wholeFailed)
    return "cannot read " + Quoted(pair.file) + ": " + colourStart.reason;
  const char* text = document.text.data();
  const auto* bytes = reinterpret_cast<const char*>(document.Bytes());
  const size_t length = document.Length();
  const bool colour = document.Colour();
  // The window shows such a file cut as well; the export says so.
  const bool cut = colour ? colourStart.cut : start.cut;
  const size_t limit = colour ? kColourDocumentLimit : static_cast<size_t>(kTextBufferSize);
  if (cut) {
    platform.Say(request.program + ": " + Quoted(pair.file) + " is longer than " + std::to_string(limit) +
                 " bytes: only its first " + std::to_string(limit) + " are drawn");
  }
  std::vector<uint8_t> png;
  if (animate && colour) {
    const auto* art = reinterpret_cast<const uint8_t*>(bytes);
    std::string note;
    const bool encoded =
        EncodeScreenPlay(path, art, length, request.animateBitsPerSecond, png, nullptr, &note);
    if (!note.empty()) platform.Say(request.program + ": " + Quoted(pair.file) + ": " + note);
    if (!encoded) return "cannot encode the play of " + Quoted(pair.file) + " as PNG: not enough memory";
    return platform.WriteWholeFile(pair.out, png.data(), png.size());
  }
  if (animate)
    platform.Say(request.program + ": " + Quoted(pair.file) +
                 " is laid out as text, not a colour screen: its PNG is still");
  {
    // The page is drawn and deflated a band at a time: never whole in memory.
    ExportDrawing page;
    if (!PlanExportPage(pair.file, colour ? bytes : text, colour ? length : start.count, glyphs, colour,
                        request.thumbnailSize, request.look, page))
      return "cannot draw " + Quoted(pair.file) + ": not enough memory for its page";
    if (!page.note.empty()) platform.Say(request.program + ": " + Quoted(pair.file) + ": " + page.note);
    bool encoded = false;
    if (request.thumbnailSize > 0) {
      ExportPage square;
      Thumbnail thumbnail;
      encoded = DrawWholePage(page.drawing, square) &&
                MakeThumbnail(square.rows, request.thumbnailSize, thumbnail) && EncodePng(thumbnail.Rows(), png);
    } else {
      encoded = EncodePngDrawn(page.drawing.shape(), DrawerOf(page.drawing), png);
    }
    if (!encoded) return "cannot encode the page of " + Quoted(pair.file) + " as PNG";
  }
  return platform.WriteWholeFile(pair.out, png.data(), png.size());
}

}  // namespace

std::string ExportJobPng(ExportPlatform& platform, const ExportRequest& request, const ExportJob& job,
                         OpenPack& pack, const GlyphPixels& glyphs, Document& document) {
  if (!job.problem.empty()) return job.problem;
  const ExportPair pair{job.out, job.file};
  if (!job.inPack) {
    return ExportOne(
        platform, request, pair,
        [&](uint8_t* bytes, size_t capacity) { return platform.ReadStart(job.file, bytes, capacity); },
        glyphs, document);
  }
  if (pack.path != job.read) {
    pack.path = job.read;
    pack.problem.clear();
    std::string reason;
    pack.source = platform.OpenPack(job.read, reason);
    if (!pack.source) {
      pack.problem = reason;
    } else if (!pack.zip.Open(*pack.source)) {
      pack.problem = pack.zip.Error();
    }
  }
  const std::string cannot = "cannot read " + Quoted(job.file) + ": ";
  if (!pack.problem.empty()) return cannot + pack.problem;
  const ZipBytes entry = pack.zip.Extract(job.entry);
  if (!entry.error.empty()) return cannot + entry.error;
  if (entry.crcMismatch) return cannot + kCrcMismatchWarning;
  return ExportOne(
      platform, request, pair,
      [&](uint8_t* bytes, size_t capacity) {
        FileStart start;
        start.count = std::min(capacity, entry.bytes.size());
        if (start.count > 0) std::memcpy(bytes, entry.bytes.data(), start.count);
        start.cut = entry.bytes.size() > capacity;
        start.opened = 0;
        return start;
      },
      glyphs, document);
}

bool DrawExportPage(const std::string& path, const char* text, size_t length, const GlyphPixels& glyphs,
                    bool colour, int thumbnailSize, ExportPage& page, std::string* note,
                    const ScreenLook& look) {
  page = ExportPage();
  ExportDrawing drawing;
  if (!PlanExportPage(path, text, length, glyphs, colour, thumbnailSize, look, drawing) ||
      !DrawWholePage(drawing.drawing, page)) {
    page = ExportPage();
    return false;
  }
  if (note != nullptr) *note = drawing.note;
  return true;
}
