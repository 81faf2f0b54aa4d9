#include "written_texts.h"

#include <cstring>
#include <exception>

#include "export_platform.h"

namespace {

uint64_t RotateLeft(uint64_t value, int bits) { return value << bits | value >> (64 - bits); }

uint64_t MixWord(uint64_t word) {
  word *= 0x87C37B91114253D5u;
  return RotateLeft(word, 31) * 0x4CF5AD432745937Fu;
}

// Hex digits only, at most 16 of them.
bool ReadHex(const std::string& text, uint64_t& value) {
  if (text.empty() || text.size() > 16) return false;
  value = 0;
  for (char c : text) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return false;
    value = value << 4 | static_cast<uint64_t>(digit);
  }
  return true;
}

bool ReadSize(const std::string& text, uint64_t& value) {
  if (text.empty() || text.size() > 10) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value <= kWrittenTextMaxSize;
}

}  // namespace

uint64_t HashBytes(const void* bytes, size_t size) {
  const auto* at = static_cast<const uint8_t*>(bytes);
  uint64_t hash = 0x243F6A8885A308D3u ^ size;
  for (; size >= 8; at += 8, size -= 8) {
    uint64_t word;
    std::memcpy(&word, at, 8);
    hash = RotateLeft(hash ^ MixWord(word), 27) * 5 + 0x52DCE729;
  }
  uint64_t tail = 0;
  for (size_t i = 0; i < size; ++i) tail |= uint64_t{at[i]} << (8 * i);
  hash ^= MixWord(tail);
  hash ^= hash >> 33;
  hash *= 0xFF51AFD7ED558CCDu;
  hash ^= hash >> 33;
  hash *= 0xC4CEB9FE1A85EC53u;
  return hash ^ hash >> 33;
}

std::vector<WrittenText> ReadWrittenTexts(const std::string& record) {
  std::vector<WrittenText> entries;
  size_t start = 0;
  while (start < record.size()) {
    size_t end = record.find('\n', start);
    // A last line without its line end was cut while it was written.
    if (end == std::string::npos) break;
    const std::string line = record.substr(start, end - start);
    start = end + 1;
    const size_t first = line.find(' ');
    const size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
    if (second == std::string::npos || second + 1 >= line.size()) continue;
    WrittenText entry;
    if (!ReadHex(line.substr(0, first), entry.hash) ||
        !ReadSize(line.substr(first + 1, second - first - 1), entry.size))
      continue;
    entry.path = line.substr(second + 1);
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string WrittenTextsRecord(const std::vector<WrittenText>& entries) {
  std::string record;
  for (const WrittenText& entry : entries) {
    char hash[17];
    for (int i = 0; i < 16; ++i) hash[i] = "0123456789abcdef"[entry.hash >> (60 - 4 * i) & 15];
    hash[16] = '\0';
    record += std::string(hash) + " " + std::to_string(entry.size) + " " + entry.path + "\n";
  }
  return record;
}

const WrittenText* FindWrittenText(const std::vector<WrittenText>& entries, const std::string& path,
                                   const SameName& compare) {
  // The newest entry of a path is the last one.
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
    if (compare(entry->path, path) == 0) return &*entry;
  return nullptr;
}

void AddWrittenText(std::vector<WrittenText>& entries, const WrittenText& entry, const SameName& compare) {
  if (entry.path.empty() || entry.path.find_first_of("\r\n") != std::string::npos ||
      entry.size > kWrittenTextMaxSize)
    return;
  std::vector<WrittenText> kept;
  for (WrittenText& old : entries)
    if (compare(old.path, entry.path) != 0) kept.push_back(std::move(old));
  kept.push_back(entry);
  if (kept.size() > kWrittenTextLimit) kept.erase(kept.begin(), kept.end() - kWrittenTextLimit);
  entries = std::move(kept);
}

bool ReplaceableText(ExportPlatform& platform, const std::string& path,
                     const std::vector<WrittenText>& record) {
  uint8_t first;
  FileStart start = platform.ReadStart(path, &first, 1);
  if (start.opened == -1) return false;
  if (start.count == 0 && !start.cut) return true;  // an empty file loses nothing
  const WrittenText* entry = FindWrittenText(
      record, platform.Identify(path).fullPath,
      [&platform](const std::string& a, const std::string& b) { return platform.CompareNames(a, b); });
  if (entry == nullptr || entry->size == 0) return false;
  // One byte more than recorded tells a file that has grown.
  std::vector<uint8_t> bytes;
  try {
    bytes.resize(static_cast<size_t>(entry->size) + 1);
  } catch (const std::exception&) {
    return false;
  }
  start = platform.ReadStart(path, bytes.data(), bytes.size());
  return start.opened != -1 && start.count == entry->size &&
         HashBytes(bytes.data(), start.count) == entry->hash;
}

void RecordWrittenText(ExportPlatform& platform, const std::string& path, const void* bytes, size_t size) {
  // Read again just before it is written, so that an export running beside
  // this one loses as little of its own as can be; a lost entry only makes
  // the next export refuse that file.
  std::vector<WrittenText> entries = ReadWrittenTexts(platform.ReadWrittenRecord());
  const WrittenText entry{platform.Identify(path).fullPath, size, HashBytes(bytes, size)};
  AddWrittenText(entries, entry, [&platform](const std::string& a, const std::string& b) {
    return platform.CompareNames(a, b);
  });
  platform.WriteWrittenRecord(WrittenTextsRecord(entries));
}
