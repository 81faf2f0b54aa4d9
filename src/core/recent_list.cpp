#include "recent_list.h"

#include <cstring>

#include "text_helpers.h"

namespace {

bool Listed(const RecentFile (&entries)[kRecentFileCount], int count, const char* path) {
  for (int i = 0; i < count; ++i) {
    if (EqualsIgnoringAsciiCase(entries[i].path, path)) return true;
  }
  return false;
}

}  // namespace

bool PushRecentFile(RecentFile (&entries)[kRecentFileCount], const char* path) {
  const size_t length = std::strlen(path);
  // A path of 256 bytes or more (currentPath holds up to 299) is refused
  // rather than cut: a cut path would name another file.
  if (length == 0 || length >= sizeof entries[0].path) return false;
  // The entries in use close up below the new one: an entry out of use
  // (a stored value that could not be read) is a gap to fill, not a place
  // to keep, or the entry above it would be copied over it and the list
  // would hold that path twice.
  RecentFile pushed[kRecentFileCount] = {};
  std::memcpy(pushed[0].path, path, length + 1);
  pushed[0].used = 1;
  int count = 1;
  for (int i = 0; i < kRecentFileCount && count < kRecentFileCount; ++i) {
    if (entries[i].used && !Listed(pushed, count, entries[i].path)) pushed[count++] = entries[i];
  }
  std::memcpy(entries, pushed, sizeof pushed);
  return true;
}

void TakeStoredRecentFile(RecentFile& entry, bool isString, const char* data, size_t size) {
  std::memset(&entry, 0, sizeof entry);
  if (!isString) return;
  if (size > sizeof entry.path) size = sizeof entry.path;
  // A string stored without its terminating zero is taken as it is, as
  // long as the entry still has room for the zero.
  const void* zero = std::memchr(data, '\0', size);
  const size_t length = zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - data) : size;
  if (length == 0 || length >= sizeof entry.path) return;
  std::memcpy(entry.path, data, length);
  entry.used = 1;
}
