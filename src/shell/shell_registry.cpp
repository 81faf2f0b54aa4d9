#include "shell_registry.h"

#include <string>

#include "../win32/handles.h"

void WriteShellValue(const char* path, ShellValue which, REGSAM access, const char* programPath) {
  const std::string value = FormatShellValue(which, programPath);
  if (value.empty()) return;
  const RegistryKey key(CreateKey(HKEY_CLASSES_ROOT, path, access));
  if (key) WriteTextValue(key.get(), nullptr, value.c_str());
}
