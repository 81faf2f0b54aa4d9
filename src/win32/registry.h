// Registry reads and writes shared by the settings, the associations, the
// Configuration dialog and the run counter. Reads pass the buffer's own size
// and check the type; nothing that does not fit is taken.
#ifndef QUILLPANE_REGISTRY_H
#define QUILLPANE_REGISTRY_H

#include <windows.h>

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
// "REG_SZ" for a new key; nullptr when that fails. `created`, when given,
// tells whether the key is new.
HKEY CreateKey(HKEY root, const char* path, REGSAM access, bool* created = nullptr);

// Opens an existing key with full access; nullptr when that fails.
HKEY OpenKey(HKEY root, const char* path);

// A 4-byte REG_DWORD into `value`; false (and `value` untouched) for a value
// that is missing, of another type or of another size.
bool ReadDwordValue(HKEY key, const char* name, DWORD& value);
void WriteDwordValue(HKEY key, const char* name, DWORD value);

#endif
