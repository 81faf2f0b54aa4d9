// The record of the text outputs (UTF-8 text, terminal ANSI, web pages)
// this program has written: an existing text OUT is replaced only when it
// is empty or when the record holds it as it is now (its full path, size
// and hash), so that an export never writes over someone's own .txt.
// Where the record is kept is the platform's (ExportPlatform); its rules
// are here.
#ifndef QUILLPANE_WRITTEN_TEXTS_H
#define QUILLPANE_WRITTEN_TEXTS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ExportPlatform;

struct WrittenText {
  std::string path;  // full, as the platform's Identify gives it
  uint64_t size = 0;
  uint64_t hash = 0;  // HashBytes of its bytes
};

// The record keeps the newest this many (a pack's entries into a folder
// are one each, and a second export of them must find them all); an older
// output is then refused like anyone's, the safe side.
constexpr size_t kWrittenTextLimit = 1024;
// A record larger than this is damaged, and read as empty.
constexpr size_t kWrittenRecordMaxSize = 4 << 20;
// A file larger than this is never taken for one of ours (nor read whole to
// tell).
constexpr uint64_t kWrittenTextMaxSize = uint64_t{1} << 30;

// A 64-bit hash of `size` bytes: it tells a file changed since it was
// written, not a file made to look unchanged.
uint64_t HashBytes(const void* bytes, size_t size);

// The entries of a record's bytes, oldest first; a line that is damaged
// (cut, not hex, a size out of range) is skipped, never the rest.
std::vector<WrittenText> ReadWrittenTexts(const std::string& record);
// The record's bytes of `entries`, one line each: "HASH SIZE PATH".
std::string WrittenTextsRecord(const std::vector<WrittenText>& entries);

using SameName = std::function<int(const std::string&, const std::string&)>;
// The entry of `path` (compared by `compare`, as the platform's folders
// compare names), or null.
const WrittenText* FindWrittenText(const std::vector<WrittenText>& entries, const std::string& path,
                                   const SameName& compare);
// Adds `entry` as the newest, in place of one of the same path, and keeps
// the newest kWrittenTextLimit. A path that a line cannot hold (a line end
// in it) is not added: that file stays refused.
void AddWrittenText(std::vector<WrittenText>& entries, const WrittenText& entry, const SameName& compare);

// Whether the existing file `path` may be replaced by a text output: it is
// empty, or `record` (the platform's, read once for a whole plan) holds it
// with its current size and hash.
bool ReplaceableText(ExportPlatform& platform, const std::string& path,
                     const std::vector<WrittenText>& record);
// Adds `path` (`size` bytes just written) to the platform's record.
void RecordWrittenText(ExportPlatform& platform, const std::string& path, const void* bytes, size_t size);

#endif
