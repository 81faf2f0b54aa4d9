// ZIP packs written field by field for the tests, each member able to lie in its own way.
#ifndef QUILLPANE_TESTS_ZIP_WRITER_H
#define QUILLPANE_TESTS_ZIP_WRITER_H

#include <libdeflate.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Member {
  std::string name, data;
  uint16_t method = 0, flags = 0;                       // flag 8: sizes in a data descriptor after the data
  std::string localName = {};                           // the local header's, when not the name
  int64_t sizeShift = 0, storedShift = 0, offset = -1;  // the directory's lies
  uint32_t crcFlip = 0;
};

struct Pack {
  std::vector<Member> members;
  bool zip64 = false;                                      // every size and offset in ZIP64 fields
  size_t copies = 1;                                       // the directory lists each member this many times
  int64_t countShift = 0, sizeShift = 0, offsetShift = 0;  // the end record's lies
};

inline std::string Le(uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> 8 * i);
  return out;
}

inline std::string Deflate(const std::string& data) {
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
  std::string out(libdeflate_deflate_compress_bound(compressor, data.size()), '\0');
  out.resize(libdeflate_deflate_compress(compressor, data.data(), data.size(), out.data(), out.size()));
  libdeflate_free_compressor(compressor);
  return out;
}

inline std::string Write(const Pack& pack) {
  std::string out, directory;
  for (const Member& m : pack.members) {
    const std::string stored = m.method == 8 ? Deflate(m.data) : m.data;
    const uint32_t crc = libdeflate_crc32(0, m.data.data(), m.data.size());
    const bool later = (m.flags & 8) != 0;
    const std::string& local = m.localName.empty() ? m.name : m.localName;
    const int64_t fields[] = {int64_t(m.data.size()) + m.sizeShift, int64_t(stored.size()) + m.storedShift,
                              m.offset >= 0 ? m.offset : int64_t(out.size())};
    out += Le(0x04034B50, 4) + Le(20, 2) + Le(m.flags, 2) + Le(m.method, 2) + Le(0, 4) +
           Le(later ? 0 : crc, 4) + Le(later ? 0 : stored.size(), 4) + Le(later ? 0 : m.data.size(), 4) +
           Le(local.size(), 2) + Le(0, 2) + local + stored;
    if (later) out += Le(0x08074B50, 4) + Le(crc, 4) + Le(stored.size(), 4) + Le(m.data.size(), 4);
    const std::string extra =
        pack.zip64 ? Le(1, 2) + Le(24, 2) + Le(fields[0], 8) + Le(fields[1], 8) + Le(fields[2], 8) : "";
    const uint64_t mark = 0xFFFFFFFF;
    const std::string entry =
        Le(0x02014B50, 4) + Le(20, 4) + Le(m.flags, 2) + Le(m.method, 2) + Le(0, 4) + Le(crc ^ m.crcFlip, 4) +
        Le(pack.zip64 ? mark : fields[1], 4) + Le(pack.zip64 ? mark : fields[0], 4) + Le(m.name.size(), 2) +
        Le(extra.size(), 2) + Le(0, 6) + Le(0, 4) + Le(pack.zip64 ? mark : fields[2], 4) + m.name + extra;
    for (size_t i = 0; i < pack.copies; ++i) directory += entry;
  }
  const uint64_t count = pack.members.size() * pack.copies + pack.countShift,
                 size = directory.size() + pack.sizeShift, offset = out.size() + pack.offsetShift;
  out += directory;
  if (!pack.zip64)
    return out + Le(0x06054B50, 4) + Le(0, 4) + Le(count, 2) + Le(count, 2) + Le(size, 4) + Le(offset, 4) +
           Le(0, 2);
  const uint64_t record = out.size();
  return out + Le(0x06064B50, 4) + Le(44, 8) + Le(45, 4) + Le(0, 8) + Le(count, 8) + Le(count, 8) +
         Le(size, 8) + Le(offset, 8) + Le(0x07064B50, 4) + Le(0, 4) + Le(record, 8) + Le(1, 4) +
         Le(0x06054B50, 4) + Le(0, 4) + Le(0xFFFFFFFF, 4) + Le(0xFFFFFFFFFFFFFFFF, 8) + Le(0, 2);
}

inline std::string Written(
    std::vector<Member> members, const std::function<void(Pack&)>& change = [](Pack&) {}) {
  Pack pack{std::move(members)};
  change(pack);
  return Write(pack);
}

#endif
