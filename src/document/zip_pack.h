// ZIP packs browsed in place: the list of what a pack holds, read from its
// central directory, and one entry's bytes at a time, inflated in memory.
// Pure: the window reads the pack through Win32, the exporters through
// their platforms and the tests from memory, each behind PackSource.
// Nothing is written anywhere, and what is held stays bounded: the list by
// its limits below, an extracted entry by the limit it is extracted with.
#ifndef QUILLPANE_ZIP_PACK_H
#define QUILLPANE_ZIP_PACK_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "../art/document_reading.h"

// Random access to a pack's bytes.
class PackSource {
 public:
  virtual ~PackSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly `count` bytes at `offset`; false when it cannot.
  virtual bool ReadAt(uint64_t offset, void* into, size_t count) const = 0;
};

// A pack already in memory, which must outlive the source.
class MemoryPackSource : public PackSource {
 public:
  MemoryPackSource(const void* bytes, size_t size)
      : bytes_(static_cast<const uint8_t*>(bytes)), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* into, size_t count) const override;

 private:
  const uint8_t* bytes_;
  size_t size_;
};

// A pack listing more entries is refused whole (a list cut short would
// hide entries at random: it is sorted later), and so is one with a longer
// name (as stored, before conversion).
constexpr size_t kPackEntryLimit = 100000;
constexpr size_t kPackNameLimit = 1000;

struct ZipEntry {
  // UTF-8 (code page 437 converted unless the entry says UTF-8), with '/'
  // between folders, each folder before it kept as a prefix; a folder's own
  // entry ends with '/'.
  std::string name;
  uint64_t size = 0;  // as the central directory records it
  // Why the entry cannot be opened (a folder, an unsafe name, a pack inside
  // the pack, encryption, a method not read), as a phrase without a full
  // stop; null when it can.
  const char* refusal = nullptr;
  bool art = false;  // it can, and its name has an art extension

  // Where its bytes lie and how they are kept, from the central directory.
  uint64_t storedSize = 0, headerOffset = 0;
  uint64_t spanEnd = 0;  // where the next entry, the directory or its end record starts
  uint32_t crc = 0;
  uint16_t method = 0, flags = 0;
};

// The name's last part ends with an extension of the table of formats
// (kArtExtensions), in any case.
bool IsArtName(const std::string& name);

struct ZipBytes {
  std::vector<uint8_t> bytes;
  std::string error;  // why nothing was extracted, one line; bytes empty then
  // The bytes came out whole but their CRC-32 is not the recorded one: the
  // window shows them with kCrcMismatchWarning, an export fails.
  bool crcMismatch = false;
};
extern const char kCrcMismatchWarning[];

class ZipPack {
 public:
  // Reads the list from `source`, which must outlive the pack. False, with
  // Error() saying why in one line, when it is no pack this reader takes.
  bool Open(const PackSource& source);
  const std::string& Error() const { return error_; }

  // In the order of the names' bytes, A to Z taken as a to z (so each
  // folder's entries follow it together); names equal that way keep the
  // order of their bytes, then the directory's.
  const std::vector<ZipEntry>& Entries() const { return entries_; }

  // An entry of this pack, stored or deflated, if it comes out at no more
  // than `limit` bytes and, past a megabyte, at no more than 200 times its
  // stored size (a bomb). Refused too: a local header that does not match
  // the directory's entry, and data that overlaps another entry's header
  // or the directory. Only the bytes read and the bytes inflated are held.
  ZipBytes Extract(const ZipEntry& entry, size_t limit = kColourDocumentLimit) const;

 private:
  const PackSource* source_ = nullptr;
  std::vector<ZipEntry> entries_;
  std::string error_;
};

// A path that runs through a pack: `pack` is the path up to and including
// its first part that ends in .zip (any case) and that `isFolder` does not
// take for a folder (d.zip/p.zip/x.ans, d.zip a folder, is p.zip's x.ans),
// and `entry` the rest, with '/' between folders whichever separator the
// path used; empty when the path names the pack itself. False when no such
// part is there. Without `isFolder` every such part counts; whether `pack`
// is a file at all is for the caller to find out.
struct PackPath {
  std::string pack, entry;
};
bool SplitPackPath(const std::string& path, PackPath& out,
                   const std::function<bool(const std::string&)>& isFolder = nullptr);

// The entry that `name` names: the same bytes, else the only one equal to it
// with A to Z taken as a to z (names on Windows are matched in any case).
// With an empty name, the first art entry. Null when there is none.
const ZipEntry* FindPackEntry(const ZipPack& pack, const std::string& name);

// The start of a pack's entry read as a file's start is: at most `capacity`
// bytes of it into `bytes`, `cut` when it is longer. An entry that cannot be
// extracted (or a pack that cannot be read) fails with the reason; one whose
// CRC-32 does not match is read and marked `damaged`.
FileStart ReadPackEntryStart(const PackSource& source, const std::string& entry, uint8_t* bytes,
                             size_t capacity);
// The same from a pack already open.
FileStart ReadPackEntryStart(const ZipPack& pack, const std::string& entry, uint8_t* bytes, size_t capacity);

// What Page Up and Page Down walk through in a pack, as they walk a
// folder's files: its art entries in the pack's order, each handed to `add`
// as `packPath`, a backslash and its name with backslashes between folders,
// one at a time (the walk's list keeps only as many as fit).
void WalkPackPaths(const ZipPack& pack, const std::string& packPath,
                   const std::function<void(const std::string&)>& add);

#endif
