#include "recent_list.h"

#include <cstring>

bool PushRecentFile(RecentFile (&entries)[kRecentFileCount], const char* path) {
  const size_t length = std::strlen(path);
  // A path of 256 bytes or more (currentPath holds up to 299) is refused
  // rather than cut: a cut path would name another file.
  if (length == 0 || length >= sizeof entries[0].path) return false;
  for (int n = kRecentFileCount - 1; n >= 1; --n) {
    if (!entries[n - 1].used) continue;
    std::memcpy(entries[n].path, entries[n - 1].path, sizeof entries[n].path);
    entries[n].used = 1;
  }
  std::memcpy(entries[0].path, path, length + 1);
  entries[0].used = 1;
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
