#include "shell_registry.h"

#include <string>

#include "../win32/viewer_state.h"

void WriteShellValue(const char* path, ShellValue which, REGSAM access) {
  const std::string value = FormatShellValue(which, viewer.programPath);
  if (value.empty()) return;
  HKEY key = CreateKey(HKEY_CLASSES_ROOT, path, access);
  if (key == nullptr) return;
  WriteTextValue(key, nullptr, value.c_str());
  RegCloseKey(key);
}
