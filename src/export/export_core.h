// The export's run, and each document's PNG: quillpane.exe --png under
// Windows and the native quillpane-export carry out a request with this
// same code (the run in export_run.cpp; loading, drawing and writing one
// document in export_core.cpp), through the platform layer of each
// (export_platform.h).
#ifndef QUILLPANE_EXPORT_CORE_H
#define QUILLPANE_EXPORT_CORE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../art/document.h"
#include "../core/file_names.h"
#include "export_command_line.h"
#include "export_plan.h"
#include "export_platform.h"
#include "../document/zip_pack.h"
#include "../raster/glyph_pixels.h"
#include "../raster/pixel_rows.h"

// Exit codes of an export.
constexpr int kExportDone = 0;
constexpr int kExportFailed = 1;    // a document, the sheet or a PNG failed, or an OUT was refused
constexpr int kExportBadUsage = 2;  // the command line was wrong; nothing was written

// Carries out `request`: the usage or version asked for, or the command
// line's error, or a refusal of the whole call, or each pair, a document
// that fails not stopping the others. A FILE whose path runs through a pack
// (pack.zip/GROUP/x.ans) is that entry, and the pack itself its first art
// entry, or every one into a folder OUT. Problems go out one line each,
// then the usage; an OUT refused before anything is written is one line
// alone. Returns the exit code.
int RunExport(const ExportRequest& request, ExportPlatform& platform);

// The pack the last entry came from, kept open while the next entries
// come from it too: one pack's list is held at a time.
struct OpenPack {
  std::string path;
  std::unique_ptr<PackSource> source;
  ZipPack zip;
  std::string problem;  // why it could not be opened
};

// One job of the plan: its problem, or its entry extracted whole (bounded
// as the window's are; a CRC-32 that does not match fails: damaged bytes
// are never exported), or its file read from disk, made into its output
// (a text output written to a file is noted in the record of written
// texts). `document`'s buffers (its text of kTextBufferSize + 2 bytes) are
// used again for each job. Returns the problem, or an empty text when the
// output is written.
std::string ExportJobOutput(ExportPlatform& platform, const ExportRequest& request, const ExportJob& job,
                            OpenPack& pack, const GlyphPixels& glyphs, Document& document);

// The page an export writes, whole in memory. The export itself draws and
// deflates it a band at a time (a thumbnail only its top square, whole);
// the whole page serves the tests and benchmarks that look at its pixels.
struct ExportPage {
  std::vector<uint8_t> pixels;
  std::vector<uint32_t> palette;
  PixelRows rows;  // into pixels and palette
};

// Whether `kind` reads ANSI art as its colour screen whatever --colour
// says: terminal ANSI is the screen's colours, not the text layout's
// black on white of the escape sequences (as --animate reads it so too).
inline bool OutputReadsInColour(OutputKind kind) { return kind == OutputKind::kAnsi; }

// The bytes of `kind` of `document` (read with its cells; a colour screen
// read with its screen) as the export writes them under `request`'s
// options: a PNG of its page (a thumbnail with thumbnailSize; never a
// play), its UTF-8 text, its terminal ANSI or its web page. `glyphs` is
// the text layout's Keymap sheet. The window's Save as gives the same
// bytes. Returns the problem ("cannot ... FILE": `name` names the
// document), or an empty text; `note`, when given, gets what of a colour
// screen's file could not be read or drawn.
std::string DocumentOutput(OutputKind kind, const Document& document, const GlyphPixels& glyphs,
                           const ExportRequest& request, const std::string& name, std::vector<uint8_t>& out,
                           std::string* note = nullptr);

// Draws `document` (read with its cells) whole, as the export draws it:
// its colour screen (a stretched one in 24-bit colour) or its text layout
// in `glyphs`. With `thumbnailSize`, only the rows a thumbnail reads are
// drawn. False when its page cannot be had (not enough memory). `note`,
// when given, gets what of a colour screen's file could not be read or
// drawn.
bool DrawExportPage(const Document& document, const GlyphPixels& glyphs, int thumbnailSize, ExportPage& page,
                    std::string* note = nullptr);

#endif
