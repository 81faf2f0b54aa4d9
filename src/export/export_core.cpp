#include "export_core.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>
#include <set>

#include "../core/file_names.h"
#include "../core/state_types.h"
#include "../core/text_helpers.h"
#include "../art/document_reading.h"
#include "../art/scene_formats.h"
#include "../raster/ansi_raster.h"
#include "../raster/png_writer.h"
#include "../raster/screen_animation.h"
#include "../raster/text_page.h"
#include "../raster/thumbnail.h"
#include "../raster/vga_look.h"
#include "../art/page_limits.h"
#include "../resources/resource_ids.h"

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

bool DrawColourPage(const std::string& path, const char* text, size_t length, int thumbnailSize,
                    const ScreenLook& look, ExportPage& page, std::string* note) {
  ColourScreen shown = ReadColourScreen(path.c_str(), reinterpret_cast<const uint8_t*>(text), length, look);
  const AnsiScreen& screen = shown.screen;
  const AnsiPageSize size = AnsiPageSizeOf(screen);
  int32_t rows = screen.rows;
  // A thumbnail reads the top square of the page: the rows of cells that
  // reach down as far as the page is wide.
  if (thumbnailSize > 0)
    rows = std::min<int32_t>(rows, (size.width + screen.cellHeight - 1) / screen.cellHeight);
  // A stretched page is 24-bit colour, up to 8 times the bytes of the
  // screen's own: it keeps the rows that fit the page limit, and says so.
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
  if (note != nullptr) *note = shown.note;
  std::vector<uint8_t> square(static_cast<size_t>(size.stride) * static_cast<size_t>(rows) *
                              screen.cellHeight);
  RasteriseAnsiRows(screen, 0, rows, square.data());
  PixelRows drawn;
  drawn.pixels = square.data();
  drawn.stride = static_cast<size_t>(size.stride);
  drawn.width = size.width;
  drawn.height = rows * screen.cellHeight;
  if (size.bitsPerPixel == 32) {
    drawn.format = PixelFormat::kBgrx32;
  } else {
    drawn.format = PixelFormat::kIndexed4;
    page.palette.assign(screen.palette.begin(), screen.palette.end());
    drawn.palette = page.palette.data();
  }
  if (!shown.stretched) {
    page.pixels = std::move(square);
    page.rows = drawn;
    page.rows.pixels = page.pixels.data();
    return true;
  }
  // Each row of the picture as high as a 4:3 screen showed it, blended
  // from the rows it covers.
  const int32_t height = StretchedHeight(drawn.height, screen.cellWidth);
  page.pixels.resize(stretchedStride * static_cast<size_t>(height));
  StretchRows(drawn, height, PixelFormat::kRgb24, page.pixels.data(), stretchedStride);
  page.rows =
      PixelRows{page.pixels.data(), stretchedStride, size.width, height, PixelFormat::kRgb24, nullptr};
  return true;
}

bool DrawTextLayoutPage(const char* text, size_t textLength, const GlyphPixels& glyphs, int thumbnailSize,
                        ExportPage& page) {
  std::vector<uint8_t> laidOut(textLength + 1);
  const auto* bytes = laidOut.data();
  const int32_t length = LaidOutText(reinterpret_cast<const uint8_t*>(text), textLength, laidOut.data());
  TextPage shape = ShapeTextPage(MeasureLayout(bytes, length, nullptr), glyphs.bitsPerPixel == 32 ? 32 : 1);
  if (shape.columns <= 0) return false;
  if (thumbnailSize > 0) shape.rows = std::min(shape.rows, shape.columns);
  page.pixels.assign(TextPageBytes(shape), 0xFF);  // white at either depth
  shape.bits = page.pixels.data();
  DrawTextPage(bytes, length, glyphs, shape);
  page.rows = TextPageRows(shape);
  return true;
}

// One export: the document's page into a PNG. Returns the problem, or an
// empty text when the PNG is written.
std::string ExportOne(ExportPlatform& platform, const ExportRequest& request, const ExportPair& pair,
                      const ReadFileStart& readStart, const GlyphPixels& glyphs, char* text) {
  const FileStart start = LoadDocumentBytes(readStart, text);
  if (start.opened == -1) return "cannot read " + Quoted(pair.file) + ": " + start.reason;
  // A colour screen reads the whole file (a scene format's bytes as they
  // are); the text layout keeps what LoadDocumentBytes read.
  const char* path = pair.file.c_str();
  const bool format = FormatOfName(path) != ArtFormat::kText;
  // A play is of a colour screen: --animate reads ANSI art as --colour does.
  const bool animate = request.animateBitsPerSecond != 0;
  const bool colourMode = request.colour || animate;
  std::vector<uint8_t> whole;
  FileStart colourStart;
  if (format || (colourMode && start.cut)) {
    colourStart = LoadColourBytes(readStart, !format, whole);
    if (colourStart.opened == -1) return "cannot read " + Quoted(pair.file) + ": " + colourStart.reason;
  }
  const bool colourBytes = format || colourStart.opened != -1;
  const char* bytes = colourBytes ? reinterpret_cast<const char*>(whole.data()) : text;
  const size_t length = colourBytes ? whole.size() : start.count;
  const bool colour = ChooseReading(path, reinterpret_cast<const uint8_t*>(bytes), length, colourMode) !=
                      Reading::kTextLayout;
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
    ExportPage page;
    std::string note;
    if (!DrawExportPage(pair.file, colour ? bytes : text, colour ? length : start.count, glyphs, colour,
                        request.thumbnailSize, page, &note, request.look))
      return "cannot draw " + Quoted(pair.file) + ": not enough memory for its page";
    if (!note.empty()) platform.Say(request.program + ": " + Quoted(pair.file) + ": " + note);
    bool encoded = false;
    if (request.thumbnailSize > 0) {
      Thumbnail thumbnail;
      encoded =
          MakeThumbnail(page.rows, request.thumbnailSize, thumbnail) && EncodePng(thumbnail.Rows(), png);
    } else {
      encoded = EncodePng(page.rows, png);
    }
    if (!encoded) return "cannot encode the page of " + Quoted(pair.file) + " as PNG";
  }
  return platform.WriteWholeFile(pair.out, png.data(), png.size());
}

}  // namespace

std::string ExportJobPng(ExportPlatform& platform, const ExportRequest& request, const ExportJob& job,
                         OpenPack& pack, const GlyphPixels& glyphs, char* text) {
  if (!job.problem.empty()) return job.problem;
  const ExportPair pair{job.out, job.file};
  if (!job.inPack) {
    return ExportOne(
        platform, request, pair,
        [&](uint8_t* bytes, size_t capacity) { return platform.ReadStart(job.file, bytes, capacity); },
        glyphs, text);
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
      glyphs, text);
}

bool DrawExportPage(const std::string& path, const char* text, size_t length, const GlyphPixels& glyphs,
                    bool colour, int thumbnailSize, ExportPage& page, std::string* note,
                    const ScreenLook& look) {
  page = ExportPage();
  try {
    if (ChooseReading(path.c_str(), reinterpret_cast<const uint8_t*>(text), length, colour) !=
        Reading::kTextLayout)
      return DrawColourPage(path, text, length, thumbnailSize, look, page, note);
    return DrawTextLayoutPage(text, length, glyphs, thumbnailSize, page);
  } catch (const std::exception&) {  // out of memory
    page = ExportPage();
    return false;
  }
}
