// What the export asks of the system it runs on: files, folders, packs,
// sheets, names and the console. Each program implements it in a thin file
// of its own (png_export.cpp for Win32, export_posix.cpp natively); the
// rest of the export is the same code for both, so that both give the same
// messages, exit codes, refusals and pixels.
#ifndef QUILLPANE_EXPORT_PLATFORM_H
#define QUILLPANE_EXPORT_PLATFORM_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "../core/file_names.h"
#include "../document/zip_pack.h"
#include "../raster/glyph_pixels.h"

// Who a path is, for telling whether two paths of a call are one file.
struct PathIdentity {
  std::string fullPath;   // completed from the current folder; the path as given when it cannot be
  bool foldCase = false;  // the platform's names match as CompareNames compares them, not byte for byte
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
  // Whether anything is there under the name `path` (never asked of a
  // device name).
  virtual bool Exists(const std::string& path) = 0;
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
  // Writes the bytes to standard output as they are (no line ends
  // translated), after what was written there before; the problem as one
  // line ("cannot write to standard output: why"), or an empty text.
  virtual std::string WriteStandardOutput(const void* bytes, size_t size) = 0;
  // The record of the text outputs this program wrote (written_texts.h),
  // kept where the system keeps a program's state for its user; empty
  // when there is none or it cannot be read.
  virtual std::string ReadWrittenRecord() = 0;
  // Replaces the record. A failure says nothing: the next export then
  // refuses the files it could not note, the safe side.
  virtual void WriteWrittenRecord(const std::string& record) = 0;
  // How this system's folders compare two file names: below zero, zero
  // (one file) or above. Windows takes them as its file system does, in
  // any case of all of Unicode; natively, where a disk tells every byte
  // apart, the same rule as near as this system can tell, so that both
  // programs name a pack's PNGs alike (an export into a folder must never
  // give two entries names one file would take).
  virtual int CompareNames(const std::string& a, const std::string& b) = 0;
  // One line on the console the program was started from: a problem on
  // standard error, what was asked for (--help, --version) on standard
  // output.
  virtual void Say(const std::string& line) = 0;
  virtual void Tell(const std::string& line) = 0;
};

extern const char kNotFolderReason[];

#endif
