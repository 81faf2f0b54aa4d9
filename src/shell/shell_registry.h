// Registry reads and writes shared by the associations, the Configuration
// dialog and the run counter.
#ifndef QUILLPANE_SHELL_REGISTRY_H
#define QUILLPANE_SHELL_REGISTRY_H

#include <windows.h>

#include "shell_rules.h"

// The program's own settings, under HKEY_LOCAL_MACHINE.
constexpr char kSettingsKey[] = "Software\\Molvo\\Quillpane";

enum class TextRead {
  kAbsent,   // no such value (or no key): the buffer holds empty text
  kRead,     // the buffer holds the value's text
  kRefused,  // not REG_SZ, or too long for the buffer: empty text, and the value is left as it is
};

// Reads value `name` ("" or nullptr: the default value) into `buffer` of
// `size` bytes. Only text that fits whole with its terminating zero is read.
TextRead ReadTextValue(HKEY key, const char* name, char* buffer, DWORD size);

// Writes REG_SZ text with its terminating zero; true when written.
bool WriteTextValue(HKEY key, const char* name, const char* text);

// Creates or opens `path` under `root`, non-volatile, with the class text
// "REG_SZ" for a new key; nullptr when that fails.
HKEY CreateKey(HKEY root, const char* path, REGSAM access);

// Opens an existing key with full access; nullptr when that fails.
HKEY OpenKey(HKEY root, const char* path);

// Sets the default value of HKEY_CLASSES_ROOT `path` (created as needed,
// opened with `access`) to the program's `which` value. A program path that
// cannot be registered writes nothing rather than a command that starts
// nothing.
void WriteShellValue(const char* path, ShellValue which, REGSAM access);

#endif
