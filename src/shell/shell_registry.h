// The program's values under HKEY_CLASSES_ROOT: its class key and verbs.
#ifndef QUILLPANE_SHELL_REGISTRY_H
#define QUILLPANE_SHELL_REGISTRY_H

#include <windows.h>

#include "../win32/registry.h"
#include "shell_rules.h"

// Sets the default value of HKEY_CLASSES_ROOT `path` (created as needed,
// opened with `access`) to `which` value of the program at `programPath`. A program path that
// cannot be registered writes nothing rather than a command that starts
// nothing.
void WriteShellValue(const char* path, ShellValue which, REGSAM access, const char* programPath);

#endif
