// Documents read from disk, or from a ZIP pack on disk when their path runs
// through one (C:\art\pack.zip\GROUP\x.ans).
#ifndef QUILLPANE_PACK_FILE_H
#define QUILLPANE_PACK_FILE_H

#include <windows.h>

#include <memory>
#include <string>

#include "../core/file_names.h"
#include "zip_pack.h"

// A pack on disk, read through a handle held while the source lives.
class DiskPackSource : public PackSource {
 public:
  // Opens `path` as OpenDiskFile does; Valid() says whether it opened and
  // Reason() why not.
  explicit DiskPackSource(const char* path);
  ~DiskPackSource() override;
  DiskPackSource(const DiskPackSource&) = delete;
  DiskPackSource& operator=(const DiskPackSource&) = delete;
  bool Valid() const { return file_ != INVALID_HANDLE_VALUE; }
  const std::string& Reason() const { return reason_; }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* into, size_t count) const override;

 private:
  HANDLE file_;
  uint64_t size_ = 0;
  std::string reason_;
};

// Whether `path` runs through (or names) a pack that is a file on disk, and
// where it splits.
bool IsPackPath(const char* path, PackPath& split);

// The start of the document at `path` as ReadDiskFileStart gives a file's:
// an entry of a pack when the path runs through one (the pack itself names
// its first art entry), else the file.
FileStart ReadDocumentStart(const char* path, uint8_t* bytes, size_t capacity);

#endif
