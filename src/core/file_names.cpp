#include "file_names.h"

#include <cstring>

#include "text_helpers.h"

bool NamesDevice(const char* path) {
  const char kDeviceSpace[] = "\\\\.\\";
  if (std::strncmp(path, kDeviceSpace, 4) == 0 || std::strncmp(path, "//./", 4) == 0) return true;
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') name = p + 1;
  }
  size_t length = std::strcspn(name, ".:");
  while (length > 0 && name[length - 1] == ' ') --length;
  if (length != 3 && length != 4) return false;
  char base[5] = {};
  std::memcpy(base, name, length);
  if (length == 4) {
    // COM1 to COM9 and LPT1 to LPT9; COM10 on are reached only through \\.\.
    if (base[3] < '1' || base[3] > '9') return false;
    base[3] = '\0';
    return EqualsIgnoringAsciiCase(base, "com") || EqualsIgnoringAsciiCase(base, "lpt");
  }
  for (const char* device : {"con", "prn", "aux", "nul"}) {
    if (EqualsIgnoringAsciiCase(base, device)) return true;
  }
  return false;
}

// Worded as the system words its own: a sentence without its full stop.
const char kDeviceReason[] = "It names a device, not a file";
const char kNotRegularReason[] = "It is not a regular file";
const char kPathTooLongReason[] = "The path is too long";

std::string SystemReason(const char* message, long code) {
  std::string reason = message != nullptr ? message : "";
  while (!reason.empty() && std::strchr(" \t\r\n.", reason.back()) != nullptr) reason.pop_back();
  return reason.empty() ? "error " + std::to_string(code) : reason;
}
