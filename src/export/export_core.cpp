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
#include "../raster/png_writer.h"
#include "../raster/screen_animation.h"
#include "../raster/text_page.h"
#include "../raster/thumbnail.h"
#include "../raster/vga_look.h"
#include "../art/page_limits.h"
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

// One PNG to write, or one document that failed before it could be drawn.
struct ExportJob {
  std::string out;   // empty for a failure that writes nothing
  std::string file;  // the document, as messages name it
  std::string read;  // the file on disk that is read: FILE, or its pack
  bool inPack = false;
  ZipEntry entry;       // in a pack: the one to draw
  std::string problem;  // why it cannot be drawn, found before anything was written
};

// One file under two spellings shares a key: the same full path (where case
// does not matter, in any case; a disk where it does could hold both, but
// refusing is the safe side), or, when both were opened, the same file of
// the same volume.
std::string NameKey(const PathIdentity& identity) {
  std::string key = "path " + identity.fullPath;
  if (identity.foldCase) LowerCaseAscii(key.data());
  return key;
}
std::string FileKey(const PathIdentity& identity) {
  return identity.identified ? "file " + std::to_string(identity.volume) + ":" + std::to_string(identity.file)
                             : "";
}

// Why the whole export is refused before any PNG is written, or an empty
// text. These are mistakes of the call, not of one document (OUT and FILE
// swapped, a pasted pair), so nothing of it is carried out: a pair written
// before the mistake was seen could already have replaced something.
std::string Refusal(ExportPlatform& platform, const std::vector<ExportJob>& jobs) {
  // A pack into a folder gives up to kPackEntryLimit OUTs: each is looked
  // up by its keys, never compared with each other one.
  std::map<std::string, std::string> files;  // each key of a file read, to the first FILE that reads it
  std::set<std::string> read;
  for (const ExportJob& job : jobs) {
    if (!read.insert(job.read).second) continue;
    const PathIdentity identity = platform.Identify(job.read);
    files.emplace(NameKey(identity), job.file);
    if (identity.identified) files.emplace(FileKey(identity), job.file);
  }
  std::set<std::string> outs;
  for (const ExportJob& job : jobs) {
    if (job.out.empty()) continue;
    const std::string out = "OUT " + Quoted(job.out);
    if (NamesDevice(job.out.c_str())) return out + " names a device, not a file";
    const PathOnDisk disk = Inspect(platform, job.out);
    const std::string keys[] = {NameKey(disk.identity), FileKey(disk.identity)};
    for (const std::string& key : keys) {
      const auto file = key.empty() ? files.end() : files.find(key);
      if (file != files.end()) return out + " is the FILE " + Quoted(file->second) + " too";
    }
    for (const std::string& key : keys) {
      if (!key.empty() && !outs.insert(key).second) return out + " is given twice";
    }
    if (disk.identity.exists && !disk.replaceable) return out + " exists and is not a PNG";
  }
  return std::string();
}

std::string LastPart(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// The jobs of one pair, or the refusal of the whole call (a folder OUT that
// is none). A pack is opened for its list and closed again: only the
// entries to draw are kept.
std::string PlanPair(ExportPlatform& platform, const ExportPair& pair, std::vector<ExportJob>& jobs) {
  const bool intoFolder = IsFolderOut(pair.out);
  std::string reason;
  if (intoFolder && !platform.IsFolder(pair.out, &reason))
    return "OUT " + Quoted(pair.out) + " names no folder: " + reason;
  ExportJob job;
  job.out = intoFolder ? pair.out + LastPart(pair.file) + ".png" : pair.out;
  job.file = job.read = pair.file;
  PackPath split;
  // A folder named like a pack is a folder.
  if (!SplitPackPath(pair.file, split) || platform.IsFolder(split.pack, nullptr)) {
    jobs.push_back(job);
    return std::string();
  }
  job.read = split.pack;
  job.inPack = true;
  const auto fail = [&](const std::string& why) {
    job.problem = "cannot read " + Quoted(pair.file) + ": " + why;
    if (intoFolder) job.out.clear();
    jobs.push_back(job);
    return std::string();
  };
  const std::unique_ptr<PackSource> source = platform.OpenPack(split.pack, reason);
  if (!source) return fail(reason);
  ZipPack pack;
  if (!pack.Open(*source)) return fail(pack.Error());
  if (!split.entry.empty() || !intoFolder) {
    const ZipEntry* entry = FindPackEntry(pack, split.entry);
    if (entry == nullptr)
      return fail(split.entry.empty() ? "The pack holds no art" : "The pack holds no entry of that name");
    if (entry->refusal != nullptr) return fail(entry->refusal);
    job.entry = *entry;
    // The pack itself: its first art entry, named so that its reading and
    // the messages go by the entry's name.
    if (split.entry.empty()) job.file = split.pack + "/" + entry->name;
    if (intoFolder) job.out = pair.out + PngNamesInFolder({entry->name})[0];
    jobs.push_back(job);
    return std::string();
  }
  // Every art entry into the folder; one named as art that cannot be read
  // fails with its reason, and anything else is not art to draw.
  std::vector<std::string> names;
  for (const ZipEntry& entry : pack.Entries())
    if (entry.art) names.push_back(entry.name);
  const std::vector<std::string> pngs = PngNamesInFolder(names);
  const size_t before = jobs.size();
  size_t next = 0;
  for (const ZipEntry& entry : pack.Entries()) {
    ExportJob one = job;
    one.file = split.pack + "/" + entry.name;
    if (entry.art) {
      one.entry = entry;
      one.out = pair.out + pngs[next++];
    } else if (entry.refusal != nullptr && IsArtName(entry.name)) {
      one.out.clear();
      one.problem = "cannot read " + Quoted(one.file) + ": " + entry.refusal;
    } else {
      continue;
    }
    jobs.push_back(std::move(one));
  }
  return jobs.size() == before ? fail("The pack holds no art") : std::string();
}

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
    platform.Say("quillpane: " + Quoted(pair.file) + " is longer than " + std::to_string(limit) +
                 " bytes: only its first " + std::to_string(limit) + " are drawn");
  }
  std::vector<uint8_t> png;
  if (animate && colour) {
    const auto* art = reinterpret_cast<const uint8_t*>(bytes);
    std::string note;
    const bool encoded =
        EncodeScreenPlay(path, art, length, request.animateBitsPerSecond, png, nullptr, &note);
    if (!note.empty()) platform.Say("quillpane: " + Quoted(pair.file) + ": " + note);
    if (!encoded) return "cannot encode the play of " + Quoted(pair.file) + " as PNG: not enough memory";
    return platform.WriteWholeFile(pair.out, png.data(), png.size());
  }
  if (animate)
    platform.Say("quillpane: " + Quoted(pair.file) +
                 " is laid out as text, not a colour screen: its PNG is still");
  {
    ExportPage page;
    std::string note;
    if (!DrawExportPage(pair.file, colour ? bytes : text, colour ? length : start.count, glyphs, colour,
                        request.thumbnailSize, page, &note, request.look))
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

// The pack the last entry came from, kept open while the next entries
// come from it too: one pack's list is held at a time.
struct OpenPack {
  std::string path;
  std::unique_ptr<PackSource> source;
  ZipPack zip;
  std::string problem;  // why it could not be opened
};

// One job: its problem, or its entry extracted whole (bounded as the
// window's are; a CRC-32 that does not match fails: damaged bytes are
// never exported), or its file read from disk, drawn into its PNG.
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

}  // namespace

const char kNotFolderReason[] = "It is not a folder";

bool IsFolderOut(const std::string& out) { return !out.empty() && (out.back() == '/' || out.back() == '\\'); }

std::vector<std::string> PngNamesInFolder(const std::vector<std::string>& names) {
  std::vector<std::string> pngs;
  std::set<std::string> taken;  // in lower case
  for (const std::string& name : names) {
    std::string flat = name;
    for (char& c : flat) {
      if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"|?*\\/", c) != nullptr) c = '_';
    }
    if (NamesDevice(flat.c_str())) flat.insert(0, "_");
    for (int copy = 1;; ++copy) {
      std::string png = flat + (copy > 1 ? "." + std::to_string(copy) : "") + ".png";
      std::string folded = png;
      LowerCaseAscii(folded.data());
      if (taken.insert(folded).second) {
        pngs.push_back(std::move(png));
        break;
      }
    }
  }
  return pngs;
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
  std::vector<ExportJob> jobs;
  std::string refusal;
  for (const ExportPair& pair : request.pairs) {
    if (refusal.empty()) refusal = PlanPair(platform, pair, jobs);
  }
  // A refusal is one line: the usage would not help.
  if (refusal.empty()) refusal = Refusal(platform, jobs);
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

  // One document's buffers serve every job in turn.
  Document document;
  try {
    document.text.resize(static_cast<size_t>(kTextBufferSize) + 2);
  } catch (const std::exception&) {
    return fail("not enough memory to read a document");
  }
  // A document that fails does not stop the others: a folder is exported
  // as far as it can be, and the exit code tells that something failed.
  int status = kExportDone;
  OpenPack pack;
  for (const ExportJob& job : jobs) {
    const std::string problem = ExportJobPng(platform, request, job, pack, glyphs, document);
    if (!problem.empty()) platform.Say("quillpane: " + problem), status = kExportFailed;
  }
  if (status != kExportDone) sayUsage();
  return status;
}
