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
#include "../text/text_out.h"
#include "html_page.h"
#include "written_texts.h"
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

// Writes an output's bytes to its OUT: standard output, or a file, which a
// text output's record then notes.
std::string WriteOut(ExportPlatform& platform, const ExportPair& pair, const std::vector<uint8_t>& bytes) {
  if (pair.out == kStandardOutput) return platform.WriteStandardOutput(bytes.data(), bytes.size());
  const std::string problem = platform.WriteWholeFile(pair.out, bytes.data(), bytes.size());
  if (problem.empty() && pair.kind != OutputKind::kPng)
    RecordWrittenText(platform, pair.out, bytes.data(), bytes.size());
  return problem;
}

// One export: the document into its output. Returns the problem, or an
// empty text when the output is written.
std::string ExportOne(ExportPlatform& platform, const ExportRequest& request, const ExportPair& pair,
                      const ReadFileStart& readStart, const GlyphPixels& glyphs, Document& document) {
  const char* path = pair.file.c_str();
  // A play is of a colour screen: --animate reads ANSI art as --colour does.
  // It makes PNGs only; a text output of the same line reads as without it.
  const bool animate = request.animateBitsPerSecond != 0 && pair.kind == OutputKind::kPng;
  DocumentOptions options;
  options.colour = request.colour || animate || OutputReadsInColour(pair.kind);
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
    return WriteOut(platform, pair, png);
  }
  if (animate)
    platform.Say(request.program + ": " + Quoted(pair.file) +
                 " is laid out as text, not a colour screen: its PNG is still");
  std::string note;
  const std::string problem = DocumentOutput(pair.kind, document, glyphs, request, pair.file, png, &note);
  if (!note.empty()) platform.Say(request.program + ": " + Quoted(pair.file) + ": " + note);
  if (!problem.empty()) return problem;
  return WriteOut(platform, pair, png);
}

}  // namespace

std::string DocumentOutput(OutputKind kind, const Document& document, const GlyphPixels& glyphs,
                           const ExportRequest& request, const std::string& name, std::vector<uint8_t>& out,
                           std::string* note) {
  out.clear();
  std::string text;
  if (note != nullptr) *note = document.screen.note;
  switch (kind) {
    case OutputKind::kText:
      text = DocumentText(document, request.text);
      break;
    case OutputKind::kAnsi:
      text = DocumentAnsi(document, request.text);
      break;
    case OutputKind::kHtml:
      text = DocumentHtml(document, glyphs, request.text);
      break;
    case OutputKind::kPng: {
      // The page is drawn and deflated a band at a time: never whole in memory.
      PageDrawing page;
      std::string said;
      if (!PlanExportPage(document, glyphs, request.thumbnailSize, page, said))
        return "cannot draw " + Quoted(name) + ": not enough memory for its page";
      if (note != nullptr) *note = said;
      bool encoded = false;
      if (request.thumbnailSize > 0) {
        ExportPage square;
        Thumbnail thumbnail;
        encoded = DrawWholePage(page, square) && MakeThumbnail(square.rows, request.thumbnailSize, thumbnail) &&
                  EncodePng(thumbnail.Rows(), out);
      } else {
        encoded = EncodePngDrawn(page.shape(), DrawerOf(page), out);
      }
      if (!encoded) return "cannot encode the page of " + Quoted(name) + " as PNG";
      return std::string();
    }
  }
  out.assign(text.begin(), text.end());
  return std::string();
}

std::string ExportJobOutput(ExportPlatform& platform, const ExportRequest& request, const ExportJob& job,
                            OpenPack& pack, const GlyphPixels& glyphs, Document& document) {
  if (!job.problem.empty()) return job.problem;
  const ExportPair pair{job.out, job.file, job.kind};
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
