// Arbitrary bytes as a ZIP pack: its list and every entry's extraction
// (at most a megabyte each, so that runs explore the headers rather than
// allocations) keep what the reader promises.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/zip_pack.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "ZIP pack invariant broken: %s\n", what);
    std::abort();
  }
}

std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return folded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kLimit = size_t{1} << 20;
  MemoryPackSource source(data, size);
  ZipPack pack;
  const bool opened = pack.Open(source);
  Check(opened == pack.Error().empty(), "an error beside a list, or none without one");
  Check(pack.Error().find('\n') == std::string::npos, "an error of more than one line");
  const auto& entries = pack.Entries();
  Check(opened || entries.empty(), "entries of a refused pack");
  for (size_t i = 0; i < entries.size(); ++i) {
    const ZipEntry& entry = entries[i];
    Check(i == 0 || Folded(entries[i - 1].name) <= Folded(entry.name), "the list out of order");
    Check(entry.name.find_first_of(std::string("\\\0", 2)) == std::string::npos, "a backslash or zero kept");
    Check(entry.refusal == nullptr || !entry.art, "a refused entry as art");
    const bool climbs = entry.name.rfind("../", 0) == 0 || entry.name.find("/../") != std::string::npos ||
                        entry.name == ".." || entry.name.front() == '/';
    Check(!climbs || entry.refusal != nullptr, "a name outside the pack openable");
    const ZipBytes got = pack.Extract(entry, kLimit);
    Check(got.error.find('\n') == std::string::npos, "an extraction error of more than one line");
    Check(got.error.empty() ? got.bytes.size() == entry.size && entry.size <= kLimit : got.bytes.empty(),
          "bytes other than the recorded size, or beside an error");
  }
  return 0;
}
