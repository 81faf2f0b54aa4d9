// Documents read from disk, or from a ZIP pack on disk when their path runs
// through one (C:\art\pack.zip\GROUP\x.ans).
#ifndef QUILLPANE_PACK_FILE_H
#define QUILLPANE_PACK_FILE_H

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "../core/file_names.h"
#include "../win32/handles.h"
#include "zip_pack.h"

// A pack on disk, read through a handle held while the source lives.
class DiskPackSource : public PackSource {
 public:
  // Opens `path` as OpenDiskFile does; Valid() says whether it opened and
  // Reason() why not.
  explicit DiskPackSource(const char* path);
  bool Valid() const { return static_cast<bool>(file_); }
  const std::string& Reason() const { return reason_; }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* into, size_t count) const override;
  const FILETIME& LastWriteTime() const { return written_; }

 private:
  FileHandle file_;
  uint64_t size_ = 0;
  FILETIME written_ = {};
  std::string reason_;
};

// A pack on disk for the length of one use: a fresh handle on its file, and
// its list, which is read again only when another pack is asked for or the
// file's size or last write time has changed since the last use. Page Down
// inside a pack uses it several times a step, and the list of a pack of
// thousands of entries takes longer to read than a step may. One use at a
// time: the list kept reads through the handle of the use that lives; a
// use on another thread (the gallery's worker) waits for it to end.
class DiskPack {
 public:
  explicit DiskPack(const std::string& path);
  ~DiskPack();
  DiskPack(const DiskPack&) = delete;
  DiskPack& operator=(const DiskPack&) = delete;
  // Null when the file cannot be opened or is no pack this program reads,
  // with Reason() saying why.
  const ZipPack* Pack() const { return pack_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::unique_lock<std::recursive_mutex> use_;
  DiskPackSource source_;
  const ZipPack* pack_ = nullptr;
  std::string reason_;
};

// Whether `path` runs through (or names) a pack that is a file on disk, and
// where it splits.
bool IsPackPath(const char* path, PackPath& split);

// GetFullPathNameA's full path of `path` (with its result: the length, 0
// on failure, `size` or more when it does not fit), except that the name of
// an entry of a pack is kept as it is after the pack's full path: the rules
// of disk names (a trailing dot dropped, a "." folder folded away) would
// make it name another entry, or none.
DWORD FullDocumentPath(const char* path, char* out, DWORD size);

// The start of the document at `path` as ReadDiskFileStart gives a file's:
// an entry of a pack when the path runs through one (the pack itself names
// its first art entry), else the file.
FileStart ReadDocumentStart(const char* path, uint8_t* bytes, size_t capacity);

#endif
