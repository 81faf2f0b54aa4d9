#include <cstring>

#include "shell.h"
#include "shell_registry.h"
#include "shell_rules.h"

int32_t TestAssociation(const char* extension) {
  HKEY key = OpenKey(HKEY_CLASSES_ROOT, extension);
  if (key == nullptr) return 1;
  // A value too long for 80 bytes, or not text, reads as empty: it can
  // never be the identifier.
  char value[80];
  ReadTextValue(key, nullptr, value, sizeof value);
  RegCloseKey(key);
  const int order = std::strcmp(value, kProgramId);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

namespace {

void TakeOver(const char* extension) {
  HKEY key = CreateKey(HKEY_CLASSES_ROOT, extension, KEY_ALL_ACCESS);
  if (key == nullptr) return;
  char previous[100];
  // The previous handler must come back exactly: a default value that is
  // not text, or longer than the 99 characters the backup is read into, is
  // left in place and the extension is not taken over.
  const TextRead read = ReadTextValue(key, nullptr, previous, sizeof previous);
  // The backup is written first, and the handler replaced only once it is
  // safe, so that a failed write never loses the old handler.
  if (read != TextRead::kRefused && std::strcmp(previous, kProgramId) != 0 &&
      WriteTextValue(key, "backup", previous)) {
    WriteTextValue(key, nullptr, kProgramId);
  }
  RegCloseKey(key);
}

void GiveBack(const char* extension) {
  HKEY key = OpenKey(HKEY_CLASSES_ROOT, extension);
  if (key == nullptr) return;
  char previous[100];
  // A backup that is not text, or too long to read whole, stays where it
  // is, and so does the default value; the backup goes only once the
  // handler it names is back in place.
  if (ReadTextValue(key, "backup", previous, sizeof previous) == TextRead::kRead &&
      WriteTextValue(key, nullptr, previous)) {
    RegDeleteValueA(key, "backup");
  }
  RegCloseKey(key);
}

}  // namespace

void SetAssociation(int32_t on, const char* extension) {
  if (on) {
    TakeOver(extension);
  } else {
    GiveBack(extension);
  }
}
