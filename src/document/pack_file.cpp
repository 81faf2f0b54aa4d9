#include "pack_file.h"

#include "../win32/disk_file.h"

DiskPackSource::DiskPackSource(const char* path)
    : file_(OpenDiskFile(path, FILE_SHARE_READ | FILE_SHARE_DELETE, &reason_)) {
  LARGE_INTEGER size;
  if (Valid() && GetFileSizeEx(file_, &size)) size_ = static_cast<uint64_t>(size.QuadPart);
}

DiskPackSource::~DiskPackSource() {
  if (Valid()) CloseHandle(file_);
}

bool DiskPackSource::ReadAt(uint64_t offset, void* into, size_t count) const {
  if (!Valid() || offset > size_ || count > size_ - offset) return false;
  auto* at = static_cast<uint8_t*>(into);
  while (count > 0) {
    // One read at a time is at most 1 GB; the offset rides in OVERLAPPED so
    // no file position is shared.
    OVERLAPPED place = {};
    place.Offset = static_cast<DWORD>(offset);
    place.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD step = static_cast<DWORD>(count < (1u << 30) ? count : (1u << 30));
    DWORD read = 0;
    if (!ReadFile(file_, at, step, &read, &place) || read == 0) return false;
    at += read;
    offset += read;
    count -= read;
  }
  return true;
}

bool IsPackPath(const char* path, PackPath& split) {
  if (path == nullptr || !SplitPackPath(path, split)) return false;
  // A folder named like a pack is a folder.
  const DWORD attributes = GetFileAttributesA(split.pack.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FileStart ReadDocumentStart(const char* path, uint8_t* bytes, size_t capacity) {
  PackPath split;
  if (!IsPackPath(path, split)) return ReadDiskFileStart(path, bytes, capacity);
  DiskPackSource source(split.pack.c_str());
  if (!source.Valid()) {
    FileStart failed;
    failed.reason = source.Reason();
    return failed;
  }
  return ReadPackEntryStart(source, split.entry, bytes, capacity);
}
