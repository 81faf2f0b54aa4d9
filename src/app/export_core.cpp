#include "export_core.h"

#include <algorithm>
#include <cstring>
#include <exception>

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
#include "../resources/resource_ids.h"

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A path of the export as it stands before anything is written.
struct PathOnDisk {
  PathIdentity identity;
  // A regular file that begins with the PNG signature, or an empty one:
  // replacing either loses nothing. (File managers' thumbnail services make
  // the output file, empty, before they run a thumbnailer.)
  bool replaceable = false;
};

PathOnDisk Inspect(ExportPlatform& platform, const std::string& path) {
  PathOnDisk disk;
  disk.identity = platform.Identify(path);
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  uint8_t head[sizeof kSignature];
  if (!disk.identity.exists) return disk;
  const FileStart start = platform.ReadStart(path, head, sizeof head);
  disk.replaceable = start.opened != -1 &&
                     ((start.count == sizeof head && std::memcmp(head, kSignature, sizeof head) == 0) ||
                      (start.count == 0 && !start.cut));
  return disk;
}

// Why the whole export is refused before any PNG is written, or an empty
// text. These are mistakes of the call, not of one document (OUT and FILE
// swapped, a pasted pair), so nothing of it is carried out: a pair written
// before the mistake was seen could already have replaced something.
std::string Refusal(ExportPlatform& platform, const std::vector<ExportPair>& pairs) {
  // A command line of at most 32767 characters holds a few hundred pairs:
  // each is compared with each.
  std::vector<PathOnDisk> outs, files;
  for (const ExportPair& pair : pairs) {
    outs.push_back(Inspect(platform, pair.out));
    files.push_back(Inspect(platform, pair.file));
  }
  for (size_t i = 0; i < pairs.size(); ++i) {
    const std::string out = "OUT " + Quoted(pairs[i].out);
    if (NamesDevice(pairs[i].out.c_str())) return out + " names a device, not a file";
    for (size_t j = 0; j < pairs.size(); ++j) {
      if (SameFile(outs[i].identity, files[j].identity))
        return out + " is the FILE " + Quoted(pairs[j].file) + " too";
    }
    for (size_t j = 0; j < i; ++j) {
      if (SameFile(outs[i].identity, outs[j].identity)) return out + " is given twice";
    }
    if (outs[i].identity.exists && !outs[i].replaceable) return out + " exists and is not a PNG";
  }
  return std::string();
}

bool DrawColourPage(const std::string& path, const char* text, size_t length, int thumbnailSize,
                    ExportPage& page, std::string* note) {
  const ColourScreen shown = ReadColourScreen(path.c_str(), reinterpret_cast<const uint8_t*>(text), length);
  if (note != nullptr) *note = shown.note;
  const AnsiScreen& screen = shown.screen;
  const AnsiPageSize size = AnsiPageSizeOf(screen);
  int32_t rows = screen.rows;
  // A thumbnail reads the top square of the page: the rows of cells that
  // reach down as far as the page is wide.
  if (thumbnailSize > 0)
    rows = std::min<int32_t>(rows, (size.width + screen.cellHeight - 1) / screen.cellHeight);
  page.pixels.resize(static_cast<size_t>(size.stride) * static_cast<size_t>(rows) * screen.cellHeight);
  RasteriseAnsiRows(screen, 0, rows, page.pixels.data());
  page.rows.pixels = page.pixels.data();
  page.rows.stride = static_cast<size_t>(size.stride);
  page.rows.width = size.width;
  page.rows.height = rows * screen.cellHeight;
  if (size.bitsPerPixel == 32) {
    page.rows.format = PixelFormat::kBgrx32;
  } else {
    page.rows.format = PixelFormat::kIndexed4;
    page.palette.assign(screen.palette.begin(), screen.palette.end());
    page.rows.palette = page.palette.data();
  }
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
                      const GlyphPixels& glyphs, char* text) {
  const FileStart start = LoadDocumentBytes(
      [&](uint8_t* bytes, size_t capacity) { return platform.ReadStart(pair.file, bytes, capacity); }, text);
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
    colourStart = LoadColourBytes(
        [&](uint8_t* bytes, size_t capacity) { return platform.ReadStart(pair.file, bytes, capacity); },
        !format, whole);
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
    platform.Say("quillpane: " + Quoted(pair.file) + " is longer than " + std::to_string(limit) +
                 " bytes: only its first " + std::to_string(limit) + " are drawn");
  }
  std::vector<uint8_t> png;
  if (animate && colour) {
    const auto* art = reinterpret_cast<const uint8_t*>(bytes);
    const std::string note = ReadColourScreen(path, art, length).note;
    if (!note.empty()) platform.Say("quillpane: " + Quoted(pair.file) + ": " + note);
    if (!EncodeScreenPlay(path, art, length, request.animateBitsPerSecond, png))
      return "cannot encode the play of " + Quoted(pair.file) + " as PNG: not enough memory";
    return platform.WriteWholeFile(pair.out, png.data(), png.size());
  }
  if (animate)
    platform.Say("quillpane: " + Quoted(pair.file) +
                 " is laid out as text, not a colour screen: its PNG is still");
  {
    ExportPage page;
    std::string note;
    if (!DrawExportPage(pair.file, colour ? bytes : text, colour ? length : start.count, glyphs, colourMode,
                        request.thumbnailSize, page, &note))
      return "cannot draw " + Quoted(pair.file) + ": not enough memory for its page";
    if (!note.empty()) platform.Say("quillpane: " + Quoted(pair.file) + ": " + note);
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

bool SameFile(const PathIdentity& a, const PathIdentity& b) {
  const bool sameName = a.foldCase && b.foldCase
                            ? EqualsIgnoringAsciiCase(a.fullPath.c_str(), b.fullPath.c_str())
                            : a.fullPath == b.fullPath;
  return sameName || (a.identified && b.identified && a.volume == b.volume && a.file == b.file);
}

bool DrawExportPage(const std::string& path, const char* text, size_t length, const GlyphPixels& glyphs,
                    bool colour, int thumbnailSize, ExportPage& page, std::string* note) {
  page = ExportPage();
  try {
    if (ChooseReading(path.c_str(), reinterpret_cast<const uint8_t*>(text), length, colour) !=
        Reading::kTextLayout)
      return DrawColourPage(path, text, length, thumbnailSize, page, note);
    return DrawTextLayoutPage(text, length, glyphs, thumbnailSize, page);
  } catch (const std::exception&) {  // out of memory
    page = ExportPage();
    return false;
  }
}

int RunExport(const ExportRequest& request, ExportPlatform& platform) {
  const auto sayUsage = [&platform, &request] {
    for (const std::string& line : ExportUsage(request.program)) platform.Say(line);
  };
  if (request.asked == Asked::kHelp) {
    for (const std::string& line : ExportUsage(request.program)) platform.Tell(line);
    return kExportDone;
  }
  // As the window's title shows it.
  if (request.asked == Asked::kVersion) {
    platform.Tell("Quillpane " QP_VERSION_TEXT);
    return kExportDone;
  }
  if (!request.error.empty()) {
    platform.Say("quillpane: " + request.error);
    sayUsage();
    return kExportBadUsage;
  }
  // A refusal is one line: the usage would not help.
  const std::string refusal = Refusal(platform, request.pairs);
  if (!refusal.empty()) {
    platform.Say("quillpane: " + refusal + "; nothing was written");
    return kExportFailed;
  }
  const auto fail = [&platform, &sayUsage](const std::string& problem) {
    platform.Say("quillpane: " + problem);
    sayUsage();
    return kExportFailed;
  };
  // The sheet is loaded even when every FILE turns out to be ANSI art,
  // which does not use it: a wrong NAME is reported the same for every call.
  SheetImage sheet;
  if (!platform.LoadSheet(request.sheet, sheet))
    return fail("no glyph sheet " + Quoted(request.sheet) + " in " + Quoted(platform.FontsFolder()));
  static GlyphPosition table[256];
  static GlyphPixels glyphs;
  BuildGlyphTable(table);
  if (!GlyphPixelsFromSheet(sheet, table, glyphs)) return fail("cannot read the glyph sheet");

  std::vector<char> text;
  try {
    text.resize(static_cast<size_t>(kTextBufferSize) + 2);
  } catch (const std::exception&) {
    return fail("not enough memory to read a document");
  }
  // A document that fails does not stop the others: a folder is exported
  // as far as it can be, and the exit code tells that something failed.
  int status = kExportDone;
  for (const ExportPair& pair : request.pairs) {
    const std::string problem = ExportOne(platform, request, pair, glyphs, text.data());
    if (!problem.empty()) platform.Say("quillpane: " + problem), status = kExportFailed;
  }
  if (status != kExportDone) sayUsage();
  return status;
}
