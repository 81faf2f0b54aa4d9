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
#include "../raster/page_drawing.h"
#include "../raster/png_writer.h"
#include "../raster/screen_animation.h"
#include "../raster/thumbnail.h"
#include "../resources/resource_ids.h"

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The page of `document` as the export draws it (24-bit rows at 4:3, a
// thumbnail's top square), and what of its screen could not be read or
// drawn. False when the page cannot be had (not enough memory).
bool PlanExportPage(const Document& document, const GlyphPixels& glyphs, int thumbnailSize,
                    PageDrawing& drawing, std::string& note) {
  PageOptions options;
  options.glyphs = &glyphs;
  options.thumbnail = thumbnailSize > 0;
  try {
    drawing = PageDrawing::OfDocument(document, options);
  } catch (const std::exception&) {  // out of memory
    return false;
  }
  if (drawing.shape().width <= 0) return false;
  note = document.screen.note;
  if (!drawing.note().empty()) note += (note.empty() ? "" : "; ") + drawing.note();
  return true;
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
  options.makeScreen = !animate;
  ReadDocument(path, readStart, options, document);
  const FileStart& start = document.start;
  if (start.opened == -1) return "cannot read " + Quoted(pair.file) + ": " + start.reason;
  // A colour screen reads the whole file (a scene format's bytes as they
  // are); the text layout keeps the text read.
  const FileStart& colourStart = document.wholeStart;
  if (document.wholeFailed)
    return "cannot read " + Quoted(pair.file) + ": " + colourStart.reason;
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
    std::string note;
    const bool encoded = EncodeScreenPlay(path, document.Bytes(), document.Length(), request.animateBitsPerSecond,
                                          png, nullptr, &note, request.look.font);
    if (!note.empty()) platform.Say(request.program + ": " + Quoted(pair.file) + ": " + note);
    if (!encoded) return "cannot encode the play of " + Quoted(pair.file) + " as PNG: not enough memory";
    return platform.WriteWholeFile(pair.out, png.data(), png.size());
  }
  if (animate)
    platform.Say(request.program + ": " + Quoted(pair.file) +
                 " is laid out as text, not a colour screen: its PNG is still");
  {
    // The page is drawn and deflated a band at a time: never whole in memory.
    PageDrawing page;
    std::string note;
    if (!PlanExportPage(document, glyphs, request.thumbnailSize, page, note))
      return "cannot draw " + Quoted(pair.file) + ": not enough memory for its page";
    if (!note.empty()) platform.Say(request.program + ": " + Quoted(pair.file) + ": " + note);
    bool encoded = false;
    if (request.thumbnailSize > 0) {
      ExportPage square;
      Thumbnail thumbnail;
      encoded = DrawWholePage(page, square) && MakeThumbnail(square.rows, request.thumbnailSize, thumbnail) &&
                EncodePng(thumbnail.Rows(), png);
    } else {
      encoded = EncodePngDrawn(page.shape(), DrawerOf(page), png);
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
  return ExportOne(platform, request, pair, ReadFromMemory(entry.bytes.data(), entry.bytes.size()), glyphs,
                   document);
}

bool DrawExportPage(const Document& document, const GlyphPixels& glyphs, int thumbnailSize, ExportPage& page,
                    std::string* note) {
  page = ExportPage();
  PageDrawing drawing;
  std::string said;
  if (!PlanExportPage(document, glyphs, thumbnailSize, drawing, said) || !DrawWholePage(drawing, page)) {
    page = ExportPage();
    return false;
  }
  if (note != nullptr) *note = said;
  return true;
}
