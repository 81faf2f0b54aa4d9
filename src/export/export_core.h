// The PNG export without a platform: quillpane.exe --png under Windows and
// the native quillpane-export carry out a request with this same code, so
// that both give the same messages, exit codes, refusals and pixels. What
// touches files or the console goes through ExportPlatform, which each
// program implements in a thin file of its own (png_export.cpp for Win32,
// export_posix.cpp natively).
#ifndef QUILLPANE_EXPORT_CORE_H
#define QUILLPANE_EXPORT_CORE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../core/file_names.h"
#include "export_command_line.h"
#include "../document/zip_pack.h"
#include "../raster/glyph_pixels.h"
#include "../raster/pixel_rows.h"

// Exit codes of an export.
constexpr int kExportDone = 0;
constexpr int kExportFailed = 1;    // a document, the sheet or a PNG failed, or an OUT was refused
constexpr int kExportBadUsage = 2;  // the command line was wrong; nothing was written

// Who a path is, for telling whether two paths of a call are one file.
struct PathIdentity {
  std::string fullPath;   // completed from the current folder; the path as given when it cannot be
  bool foldCase = false;  // the platform's names match in any ASCII case
  bool exists = false;
  // A regular file that was opened: the volume and the file's number on it
  // tell it apart under any name (a link, a short name).
  bool identified = false;
  uint64_t volume = 0;
  uint64_t file = 0;
};

class ExportPlatform {
 public:
  virtual ~ExportPlatform() = default;
  // Who `path` is. A path that NamesDevice is not even asked whether it
  // exists: that can open it.
  virtual PathIdentity Identify(const std::string& path) = 0;
  // Reads the first `capacity` bytes (or all) of `path` when it is a
  // regular file, which others may go on writing, and that never waits:
  // a device name, a folder or a pipe is not read.
  virtual FileStart ReadStart(const std::string& path, uint8_t* bytes, size_t capacity) = 0;
  // The built-in sheet (an empty name) or NAME.bmp of the fonts folder as
  // the system reads it. False when there is no such sheet or it is not
  // one; an image without pixels when it could not be read.
  virtual bool LoadSheet(const std::string& name, SheetImage& image) = 0;
  // Whether `path` is a folder; when it is not, why in `reason` (the
  // system's, or kNotFolderReason for something else that is there).
  virtual bool IsFolder(const std::string& path, std::string* reason) = 0;
  // The regular file `path` opened as a pack's bytes, read while the source
  // lives; null, with the reason, when it cannot be opened.
  virtual std::unique_ptr<PackSource> OpenPack(const std::string& path, std::string& reason) = 0;
  // The fonts folder, as the message that misses a sheet names it.
  virtual std::string FontsFolder() = 0;
  // Writes the bytes as OUT.tmp and renames that into place; the problem
  // as one line ("cannot write OUT: why"), or an empty text.
  virtual std::string WriteWholeFile(const std::string& path, const void* bytes, size_t size) = 0;
  // One line on the console the program was started from: a problem on
  // standard error, what was asked for (--help, --version) on standard
  // output.
  virtual void Say(const std::string& line) = 0;
  virtual void Tell(const std::string& line) = 0;
};

extern const char kNotFolderReason[];

// An OUT that ends with a separator (/ or \) is a folder that gets one PNG
// per document: a pack's art entries each, or the FILE.
bool IsFolderOut(const std::string& out);

// The names of the PNGs an export into a folder writes for a pack's entries
// (`names` as the pack lists them): the entry's name with ".png" added and
// its folders joined by '_' (GROUP/x.ans is GROUP_x.ans.png). Whatever no
// Windows file name may hold (< > : " | ? * \ and control characters)
// becomes '_' too, so a name never reaches another folder or a stream, and
// a device name gets a '_' before it. Names equal in any case of A to Z (one
// file on Windows) get .2, .3 ... before ".png", in the list's order; an
// art name never ends so, so no two entries share a PNG on either system.
std::vector<std::string> PngNamesInFolder(const std::vector<std::string>& names);

// Carries out `request`: the usage or version asked for, or the command
// line's error, or a refusal of the whole call, or each pair, a document
// that fails not stopping the others. A FILE whose path runs through a pack
// (pack.zip/GROUP/x.ans) is that entry, and the pack itself its first art
// entry, or every one into a folder OUT. Problems go out one line each,
// then the usage; an OUT refused before anything is written is one line
// alone. Returns the exit code.
int RunExport(const ExportRequest& request, ExportPlatform& platform);

// The page an export writes, whole in memory. The export itself draws and
// deflates it a band at a time (a thumbnail only its top square, whole);
// the whole page serves the tests and benchmarks that look at its pixels.
struct ExportPage {
  std::vector<uint8_t> pixels;
  std::vector<uint32_t> palette;
  PixelRows rows;  // into pixels and palette
};

// Draws the document `text` (`length` bytes as read and decoded, zero
// bytes included; the buffer holds kTextBufferSize + 2 bytes, zero past
// the length) of the file `path` as the window draws it: with `colour`, a
// document that ChooseReading gives an ANSI screen as that (4 bits a pixel, the VGA
// palette), any other in the text layout with `glyphs`. With
// `thumbnailSize`, only the rows a thumbnail reads are drawn. False when
// its page cannot be had (not enough memory).
// `note`, when given, gets what of a colour screen's file could not be read.
// A colour screen's letters and rows are as `look` chooses: a stretched
// page is 24-bit colour.
bool DrawExportPage(const std::string& path, const char* text, size_t length, const GlyphPixels& glyphs,
                    bool colour, int thumbnailSize, ExportPage& page, std::string* note = nullptr,
                    const ScreenLook& look = ScreenLook());

#endif
