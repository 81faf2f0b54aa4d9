#include "shell_registry.h"

#include <string>

#include "../win32/handles.h"
#include "../win32/viewer_state.h"

void WriteShellValue(const char* path, ShellValue which, REGSAM access) {
  const std::string value = FormatShellValue(which, viewer.programPath);
  if (value.empty()) return;
  const RegistryKey key(CreateKey(HKEY_CLASSES_ROOT, path, access));
  if (key) WriteTextValue(key.get(), nullptr, value.c_str());
}
