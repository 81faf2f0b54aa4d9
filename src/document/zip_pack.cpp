#include "zip_pack.h"

#include <libdeflate.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "../core/code_page_437.h"
#include "../core/file_names.h"
#include "../core/text_helpers.h"

const char kCrcMismatchWarning[] = "Its CRC-32 is not the one recorded: the bytes may be damaged";

namespace {

constexpr uint32_t kLocalSignature = 0x04034B50, kDirectorySignature = 0x02014B50, kEndSignature = 0x06054B50,
                   kZip64EndSignature = 0x06064B50, kZip64LocatorSignature = 0x07064B50;
constexpr size_t kLocalHeaderSize = 30, kDirectoryHeaderSize = 46, kEndSize = 22, kZip64EndSize = 56,
                 kZip64LocatorSize = 20;
constexpr uint16_t kEncryptedFlag = 1, kUtf8NameFlag = 1 << 11;
constexpr uint16_t kStored = 0, kDeflated = 8;
constexpr uint32_t kZip64Mark = 0xFFFFFFFF;
// The directory is read through a window that holds any one header whole
// (its fixed part, a name within the limit and the largest extra field).
constexpr size_t kWindowSize = 256 << 10;
// An entry that inflates to more than this many times its stored size is a
// bomb; below a megabyte it is not, whatever its ratio: a screen of blanks
// deflates past 200 times, and a megabyte costs nothing to hold.
constexpr uint64_t kBombRatio = 200, kBombFloor = 1 << 20;

const char kNotPack[] = "It is not a ZIP pack: no end of central directory record was found";
const char kDamagedDirectory[] = "Its central directory is damaged or cut short";
const char kUnsafeName[] = "Its name is not a plain path inside the pack";
const char kFolder[] = "It is a folder";
const char kPackInPack[] = "It is a pack inside the pack";
const char kEncrypted[] = "It is encrypted";
const char kOtherMethod[] = "It is compressed in a way this program does not read (only stored and deflated)";
const char kHeaderMismatch[] = "Its local header does not match the central directory";
const char kOverlap[] = "Its data overlaps another entry or the central directory";
const char kUnreadable[] = "Its data lies outside the pack or cannot be read";

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Read32(const uint8_t* p) { return Read16(p) | uint32_t{Read16(p + 2)} << 16; }
uint64_t Read64(const uint8_t* p) { return Read32(p) | uint64_t{Read32(p + 4)} << 32; }

// [offset, offset + count) lies within the first `size` bytes; no sum of
// the pack's 64-bit fields is ever formed unchecked.
bool Within(uint64_t offset, uint64_t count, uint64_t size) {
  return offset <= size && count <= size - offset;
}

std::string SizeText(uint64_t bytes) {
  return bytes % (1 << 20) == 0 ? std::to_string(bytes >> 20) + " MB" : std::to_string(bytes) + " bytes";
}

std::string LastPart(const std::string& name) { return name.substr(name.rfind('/') + 1); }

bool HasExtension(const std::string& name, const char* extension) {
  const std::string last = LastPart(name);
  const size_t dot = last.rfind('.');
  return dot != std::string::npos && EqualsIgnoringAsciiCase(last.c_str() + dot, extension);
}

// The stored name as UTF-8 with '/' between folders; a zero byte (which
// would end the name early for everything downstream) shows as '?'.
std::string NameOf(const uint8_t* stored, size_t length, uint16_t flags, bool& zero) {
  std::string name(reinterpret_cast<const char*>(stored), length);
  zero = name.find('\0') != std::string::npos;
  std::replace(name.begin(), name.end(), '\0', '?');
  if ((flags & kUtf8NameFlag) == 0) name = CodePage437ToUtf8(name.c_str());
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

const char* RefusalOf(const ZipEntry& entry, bool zero) {
  const std::string& name = entry.name;
  bool climbs = false;
  for (size_t start = 0; start <= name.size();) {
    const size_t end = std::min(name.find('/', start), name.size());
    climbs |= name.compare(start, end - start, "..") == 0;
    start = end + 1;
  }
  const bool drive =
      name.size() >= 2 && name[1] == ':' && ((name[0] | 0x20) >= 'a' && (name[0] | 0x20) <= 'z');
  if (zero || climbs || drive || name.empty() || name[0] == '/') return kUnsafeName;
  if (name.back() == '/') return kFolder;
  if (NamesDevice(name.c_str())) return kDeviceReason;
  if (HasExtension(name, ".zip")) return kPackInPack;
  if ((entry.flags & kEncryptedFlag) != 0) return kEncrypted;
  if (entry.method != kStored && entry.method != kDeflated) return kOtherMethod;
  return nullptr;
}

// The 64-bit values of the ZIP64 extra field, each present only where
// the header's own field is all ones. False when one is missing.
bool ReadZip64Fields(const uint8_t* extra, size_t length, ZipEntry& entry) {
  uint64_t* const fields[] = {&entry.size, &entry.storedSize, &entry.headerOffset};
  if (std::none_of(std::begin(fields), std::end(fields), [](uint64_t* f) { return *f == kZip64Mark; }))
    return true;
  for (size_t at = 0; at + 4 <= length;) {
    const size_t fieldLength = Read16(extra + at + 2);
    if (fieldLength > length - at - 4) break;
    if (Read16(extra + at) == 0x0001) {
      size_t used = 0;
      for (uint64_t* field : fields) {
        if (*field != kZip64Mark) continue;
        if (fieldLength - used < 8) return false;
        *field = Read64(extra + at + 4 + used);
        used += 8;
      }
      return true;
    }
    at += 4 + fieldLength;
  }
  return false;
}

struct Directory {
  uint64_t offset = 0, size = 0, count = 0;
  uint64_t end = 0;  // where the end records start
};

// The end of central directory record, searched for in the last 64 KB + 22
// bytes (its comment is at most 64 KB), and the ZIP64 one it points to.
std::string FindDirectory(const PackSource& source, Directory& directory) {
  const uint64_t size = source.Size();
  const size_t tail = static_cast<size_t>(std::min<uint64_t>(size, 0xFFFF + kEndSize));
  std::vector<uint8_t> bytes(tail);
  if (tail < kEndSize || !source.ReadAt(size - tail, bytes.data(), tail)) return kNotPack;
  // The last record whose comment ends the pack; failing that, the last
  // whose comment fits before the end (something was appended).
  size_t found = tail;
  for (size_t at = tail - kEndSize + 1; at-- > 0;) {
    if (Read32(&bytes[at]) != kEndSignature) continue;
    const size_t end = at + kEndSize + Read16(&bytes[at + 20]);
    if (end == tail) {
      found = at;
      break;
    }
    if (end < tail && found == tail) found = at;
  }
  if (found == tail) return kNotPack;
  const uint8_t* record = &bytes[found];
  uint64_t disk = Read16(record + 4), directoryDisk = Read16(record + 6), onDisk = Read16(record + 8);
  directory.count = Read16(record + 10);
  directory.size = Read32(record + 12);
  directory.offset = Read32(record + 16);
  directory.end = size - tail + found;
  if (directory.count == 0xFFFF || onDisk == 0xFFFF || directory.size == kZip64Mark ||
      directory.offset == kZip64Mark) {
    uint8_t locator[kZip64LocatorSize], zip64[kZip64EndSize];
    if (directory.end < kZip64LocatorSize ||
        !source.ReadAt(directory.end - kZip64LocatorSize, locator, sizeof locator) ||
        Read32(locator) != kZip64LocatorSignature)
      return "Its ZIP64 end record locator is missing";
    const uint64_t at = Read64(locator + 8);
    if (!Within(at, kZip64EndSize, directory.end - kZip64LocatorSize) ||
        !source.ReadAt(at, zip64, sizeof zip64) || Read32(zip64) != kZip64EndSignature)
      return "Its ZIP64 end of central directory record is missing";
    disk = Read32(zip64 + 16);
    directoryDisk = Read32(zip64 + 20);
    onDisk = Read64(zip64 + 24);
    directory.count = Read64(zip64 + 32);
    directory.size = Read64(zip64 + 40);
    directory.offset = Read64(zip64 + 48);
    directory.end = at;
  }
  if (disk != 0 || directoryDisk != 0 || onDisk != directory.count)
    return "It is one part of a pack split over several files";
  if (directory.count > kPackEntryLimit)
    return "It lists " + std::to_string(directory.count) + " entries, more than the " +
           std::to_string(kPackEntryLimit) + " this program reads";
  if (!Within(directory.offset, directory.size, directory.end)) return kDamagedDirectory;
  return "";
}

// The central directory read front to back, any length of it, through a
// window of kWindowSize bytes.
class DirectoryWindow {
 public:
  DirectoryWindow(const PackSource& source, uint64_t end) : source_(source), end_(end) {}

  // `count` (at most kWindowSize) bytes at `offset`; null when they run
  // past the directory or cannot be read.
  const uint8_t* At(uint64_t offset, size_t count) {
    if (!Within(offset, count, end_)) return nullptr;
    if (offset < start_ || offset - start_ + count > bytes_.size()) {
      bytes_.resize(static_cast<size_t>(std::min<uint64_t>(kWindowSize, end_ - offset)));
      start_ = offset;
      if (!source_.ReadAt(offset, bytes_.data(), bytes_.size())) {
        bytes_.clear();
        return nullptr;
      }
    }
    return bytes_.data() + (offset - start_);
  }

 private:
  const PackSource& source_;
  uint64_t end_, start_ = 0;
  std::vector<uint8_t> bytes_;
};

// Names compared with A to Z taken as a to z, then as they are.
bool NameOrder(const ZipEntry& a, const ZipEntry& b) {
  const auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
  const auto folded = [&](unsigned char x, unsigned char y) { return fold(x) < fold(y); };
  const auto& s = a.name;
  const auto& t = b.name;
  if (std::lexicographical_compare(s.begin(), s.end(), t.begin(), t.end(), folded)) return true;
  if (std::lexicographical_compare(t.begin(), t.end(), s.begin(), s.end(), folded)) return false;
  return s < t;
}

}  // namespace

bool MemoryPackSource::ReadAt(uint64_t offset, void* into, size_t count) const {
  if (!Within(offset, count, size_)) return false;
  if (count > 0) std::memcpy(into, bytes_ + offset, count);
  return true;
}

bool IsArtName(const std::string& name) {
  return std::any_of(std::begin(kArtExtensions), std::end(kArtExtensions),
                     [&](const char* extension) { return HasExtension(name, extension); });
}

bool ZipPack::Open(const PackSource& source) {
  source_ = &source;
  entries_.clear();
  Directory directory;
  error_ = FindDirectory(source, directory);
  if (!error_.empty()) return false;
  const auto fail = [&](std::string why) {
    entries_.clear();
    entries_.shrink_to_fit();
    error_ = std::move(why);
    return false;
  };
  // The directory is the list: local headers are never scanned for one.
  const uint64_t directoryEnd = directory.offset + directory.size;
  DirectoryWindow window(source, directoryEnd);
  // As many as the directory's bytes can hold, whatever the count says.
  entries_.reserve(static_cast<size_t>(std::min(directory.count, directory.size / kDirectoryHeaderSize)));
  uint64_t at = directory.offset, nameBytes = 0;
  for (uint64_t i = 0; i < directory.count; ++i) {
    const uint8_t* header = window.At(at, kDirectoryHeaderSize);
    if (header == nullptr || Read32(header) != kDirectorySignature) return fail(kDamagedDirectory);
    const size_t nameLength = Read16(header + 28), extraLength = Read16(header + 30);
    const uint64_t length = kDirectoryHeaderSize + nameLength + extraLength + Read16(header + 32);
    if (nameLength > kPackNameLimit)
      return fail("An entry's name is longer than " + std::to_string(kPackNameLimit) + " bytes");
    header = window.At(at, kDirectoryHeaderSize + nameLength + extraLength);
    if (header == nullptr || !Within(at, length, directoryEnd)) return fail(kDamagedDirectory);
    at += length;
    ZipEntry entry;
    entry.flags = Read16(header + 8);
    entry.method = Read16(header + 10);
    entry.crc = Read32(header + 16);
    entry.storedSize = Read32(header + 20);
    entry.size = Read32(header + 24);
    entry.headerOffset = Read32(header + 42);
    if (!ReadZip64Fields(header + kDirectoryHeaderSize + nameLength, extraLength, entry))
      return fail(kDamagedDirectory);
    bool zero = false;
    entry.name = NameOf(header + kDirectoryHeaderSize, nameLength, entry.flags, zero);
    // The names together never take more than the largest entry may.
    if ((nameBytes += entry.name.size()) > kColourDocumentLimit)
      return fail("Its names take more than " + SizeText(kColourDocumentLimit));
    entry.refusal = RefusalOf(entry, zero);
    entry.art = entry.refusal == nullptr && IsArtName(entry.name);
    entries_.push_back(std::move(entry));
  }

  // Each entry's bytes must end before the next local header, the
  // directory or the end records, whichever comes first after its own
  // header; two entries on one header, or one inside the directory, get no
  // room at all.
  std::vector<uint64_t> starts = {directory.offset, directory.end};
  for (const ZipEntry& entry : entries_) starts.push_back(entry.headerOffset);
  std::sort(starts.begin(), starts.end());
  for (ZipEntry& entry : entries_) {
    const auto next = std::upper_bound(starts.begin(), starts.end(), entry.headerOffset);
    const bool shared = next - starts.begin() >= 2 && next[-2] == entry.headerOffset;
    const bool inDirectory = entry.headerOffset >= directory.offset && entry.headerOffset < directoryEnd;
    entry.spanEnd = next == starts.end() || shared || inDirectory ? entry.headerOffset : *next;
  }
  std::stable_sort(entries_.begin(), entries_.end(), NameOrder);
  return true;
}

ZipBytes ZipPack::Extract(const ZipEntry& entry, size_t limit) const {
  ZipBytes out;
  const auto fail = [&](std::string why) {
    out.bytes = {};
    out.error = std::move(why);
    return out;
  };
  if (source_ == nullptr) return fail("No pack is open");
  if (entry.refusal != nullptr) return fail(entry.refusal);
  if (entry.size > limit) return fail("It is larger than " + SizeText(limit));
  // Deflate's own worst case, stored blocks of 64 KB, stays well inside
  // this; more would hold stored bytes beyond any the entry can need.
  if (entry.method == kStored ? entry.storedSize != entry.size
                              : entry.storedSize > entry.size + entry.size / 1024 + 1024)
    return fail("Its stored size does not fit its size");
  if (entry.size > kBombFloor && entry.storedSize <= (entry.size - 1) / kBombRatio)
    return fail("It inflates to more than " + std::to_string(kBombRatio) + " times its stored size");

  uint8_t local[kLocalHeaderSize];
  if (!Within(entry.headerOffset, kLocalHeaderSize, source_->Size()) ||
      !source_->ReadAt(entry.headerOffset, local, sizeof local))
    return fail("Its local header lies outside the pack");
  if (entry.spanEnd <= entry.headerOffset) return fail(kOverlap);
  const size_t nameLength = Read16(local + 26);
  const uint64_t dataStart = entry.headerOffset + kLocalHeaderSize + nameLength + Read16(local + 28);
  std::vector<uint8_t> name(nameLength);
  bool zero = false;
  if (Read32(local) != kLocalSignature || Read16(local + 8) != entry.method ||
      !source_->ReadAt(entry.headerOffset + kLocalHeaderSize, name.data(), nameLength) ||
      NameOf(name.data(), nameLength, entry.flags, zero) != entry.name)
    return fail(kHeaderMismatch);
  // The sizes are the directory's: a local header after a data descriptor
  // (flag bit 3) holds none.
  if (!Within(dataStart, entry.storedSize, entry.spanEnd)) return fail(kOverlap);
  std::vector<uint8_t> stored(static_cast<size_t>(entry.storedSize));
  if (!source_->ReadAt(dataStart, stored.data(), stored.size())) return fail(kUnreadable);

  if (entry.method == kStored) {
    out.bytes = std::move(stored);
  } else {
    // Inflated into exactly the recorded size: a stream that runs on stops
    // there, never allocating more.
    out.bytes.resize(static_cast<size_t>(entry.size));
    std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> inflater(
        libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    if (!inflater) return fail("There is no memory to inflate it");
    size_t read = 0, written = 0;
    const libdeflate_result result = libdeflate_deflate_decompress_ex(
        inflater.get(), stored.data(), stored.size(), out.bytes.data(), out.bytes.size(), &read, &written);
    if (result == LIBDEFLATE_INSUFFICIENT_SPACE) return fail("It inflates past its recorded size");
    if (result != LIBDEFLATE_SUCCESS) return fail("Its deflated data is damaged");
    if (written != out.bytes.size()) return fail("It inflates to less than its recorded size");
  }
  out.crcMismatch = libdeflate_crc32(0, out.bytes.data(), out.bytes.size()) != entry.crc;
  return out;
}

bool SplitPackPath(const std::string& path, PackPath& out,
                   const std::function<bool(const std::string&)>& isFolder) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string::npos) end = path.size();
    if (end - start > 4 && HasExtension(path.substr(start, end - start), ".zip") &&
        !(isFolder && isFolder(path.substr(0, end)))) {
      out.pack = path.substr(0, end);
      out.entry.clear();
      for (size_t i = end + 1; i < path.size(); ++i) out.entry += path[i] == '\\' ? '/' : path[i];
      return true;
    }
    start = end + 1;
  }
  return false;
}

const ZipEntry* FindPackEntry(const ZipPack& pack, const std::string& name) {
  const std::vector<ZipEntry>& entries = pack.Entries();
  if (name.empty()) {
    for (const ZipEntry& entry : entries)
      if (entry.art) return &entry;
    return nullptr;
  }
  const ZipEntry* folded = nullptr;
  int foldedCount = 0;
  for (const ZipEntry& entry : entries) {
    if (entry.name == name) return &entry;
    if (entry.name.size() == name.size() &&
        std::equal(name.begin(), name.end(), entry.name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        })) {
      folded = &entry;
      ++foldedCount;
    }
  }
  return foldedCount == 1 ? folded : nullptr;
}

FileStart ReadPackEntryStart(const PackSource& source, const std::string& name, uint8_t* bytes,
                             size_t capacity) {
  ZipPack pack;
  if (!pack.Open(source)) {
    FileStart failed;
    failed.reason = pack.Error();
    return failed;
  }
  return ReadPackEntryStart(pack, name, bytes, capacity);
}

FileStart ReadPackEntryStart(const ZipPack& pack, const std::string& name, uint8_t* bytes, size_t capacity) {
  FileStart start;
  const ZipEntry* entry = FindPackEntry(pack, name);
  if (entry == nullptr) {
    start.reason = name.empty() ? "The pack holds no art" : "The pack holds no entry of that name";
    return start;
  }
  ZipBytes whole = pack.Extract(*entry);
  if (!whole.error.empty()) {
    start.reason = whole.error;
    return start;
  }
  start.count = std::min(capacity, whole.bytes.size());
  if (start.count > 0) std::memcpy(bytes, whole.bytes.data(), start.count);
  start.cut = whole.bytes.size() > capacity;
  start.damaged = whole.crcMismatch;
  start.opened = 0;
  return start;
}

void WalkPackPaths(const ZipPack& pack, const std::string& packPath,
                   const std::function<void(const std::string&)>& add) {
  for (const ZipEntry& entry : pack.Entries()) {
    if (!entry.art) continue;
    std::string path = packPath + '\\' + entry.name;
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(packPath.size()), path.end(), '/', '\\');
    add(path);
  }
}
