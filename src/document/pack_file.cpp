#include "pack_file.h"

#include <algorithm>
#include <cstdio>

#include "../win32/disk_file.h"

DiskPackSource::DiskPackSource(const char* path)
    : file_(OpenDiskFile(path, FILE_SHARE_READ | FILE_SHARE_DELETE, &reason_)) {
  BY_HANDLE_FILE_INFORMATION information;
  if (Valid() && GetFileInformationByHandle(file_.get(), &information)) {
    size_ = uint64_t{information.nFileSizeHigh} << 32 | information.nFileSizeLow;
    written_ = information.ftLastWriteTime;
  }
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
    if (!ReadFile(file_.get(), at, step, &read, &place) || read == 0) return false;
    at += read;
    offset += read;
    count -= read;
  }
  return true;
}

namespace {

// Reads through the source of the use that lives, if one does.
class CurrentSource : public PackSource {
 public:
  const PackSource* use = nullptr;
  uint64_t Size() const override { return use != nullptr ? use->Size() : 0; }
  bool ReadAt(uint64_t offset, void* into, size_t count) const override {
    return use != nullptr && use->ReadAt(offset, into, count);
  }
};

// The last pack listed, and why it could not be when it could not. A file
// rewritten to the same size within the same tick of its clock keeps the
// old list; its entries' local headers, checked at each extraction, then
// refuse what no longer matches.
struct KeptList {
  std::string path;
  uint64_t size = 0;
  FILETIME written = {};
  CurrentSource source;
  ZipPack pack;
  bool listed = false;
};
KeptList kept;
std::recursive_mutex keptUse;

}  // namespace

DiskPack::DiskPack(const std::string& path) : use_(keptUse), source_(path.c_str()) {
  if (!source_.Valid()) {
    reason_ = source_.Reason();
    return;
  }
  kept.source.use = &source_;
  if (kept.path != path || kept.size != source_.Size() ||
      CompareFileTime(&kept.written, &source_.LastWriteTime()) != 0) {
    kept.path = path;
    kept.size = source_.Size();
    kept.written = source_.LastWriteTime();
    kept.listed = kept.pack.Open(kept.source);
  }
  pack_ = kept.listed ? &kept.pack : nullptr;
  if (!kept.listed) reason_ = kept.pack.Error();
}

DiskPack::~DiskPack() { kept.source.use = nullptr; }

DWORD FullDocumentPath(const char* path, char* out, DWORD size) {
  PackPath split;
  if (!SplitPackPath(path, split) || split.entry.empty()) return GetFullPathNameA(path, size, out, nullptr);
  const DWORD length = GetFullPathNameA(split.pack.c_str(), size, out, nullptr);
  if (length == 0 || length >= size) return length;
  std::string entry = split.entry;
  std::replace(entry.begin(), entry.end(), '/', '\\');
  const DWORD whole = length + 1 + static_cast<DWORD>(entry.size());
  if (whole < size) std::snprintf(out + length, size - length, "\\%s", entry.c_str());
  return whole;
}

bool IsPackPath(const char* path, PackPath& split) {
  // A folder named like a pack is a folder: the pack is the first such part that is none.
  const auto attributesOf = [](const std::string& part) { return GetFileAttributesA(part.c_str()); };
  if (path == nullptr || !SplitPackPath(path, split, [&](const std::string& part) {
        const DWORD attributes = attributesOf(part);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      }))
    return false;
  return attributesOf(split.pack) != INVALID_FILE_ATTRIBUTES;
}

FileStart ReadDocumentStart(const char* path, uint8_t* bytes, size_t capacity) {
  PackPath split;
  if (!IsPackPath(path, split)) return ReadDiskFileStart(path, bytes, capacity);
  const DiskPack pack(split.pack);
  if (pack.Pack() == nullptr) {
    FileStart failed;
    failed.reason = pack.Reason();
    return failed;
  }
  return ReadPackEntryStart(*pack.Pack(), split.entry, bytes, capacity);
}
