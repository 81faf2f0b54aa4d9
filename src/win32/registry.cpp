#include "registry.h"

#include <cstring>

TextRead ReadTextValue(HKEY key, const char* name, char* buffer, DWORD size) {
  buffer[0] = '\0';
  DWORD type = 0, bytes = size;
  const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
  if (result == ERROR_FILE_NOT_FOUND) return TextRead::kAbsent;
  // Stored text need not end with a zero; it is read only when there is
  // room to add one.
  const bool terminated = bytes > 0 && bytes <= size && buffer[bytes - 1] == '\0';
  if (result != ERROR_SUCCESS || type != REG_SZ || (!terminated && bytes >= size)) {
    buffer[0] = '\0';
    return TextRead::kRefused;
  }
  if (!terminated) buffer[bytes] = '\0';
  return TextRead::kRead;
}

bool WriteTextValue(HKEY key, const char* name, const char* text) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
}

HKEY CreateKey(HKEY root, const char* path, REGSAM access, bool* created) {
  char keyClass[] = "REG_SZ";
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(root, path, 0, keyClass, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                      &disposition) != ERROR_SUCCESS) {
    return nullptr;
  }
  if (created != nullptr) *created = disposition == REG_CREATED_NEW_KEY;
  return key;
}

HKEY OpenKey(HKEY root, const char* path) {
  HKEY key = nullptr;
  return RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS ? key : nullptr;
}

bool ReadDwordValue(HKEY key, const char* name, DWORD& value) {
  DWORD type = 0, stored = 0, size = sizeof stored;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof stored) {
    return false;
  }
  value = stored;
  return true;
}

void WriteDwordValue(HKEY key, const char* name, DWORD value) {
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}
