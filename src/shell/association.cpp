#include <algorithm>
#include <cstring>
#include <string>

#include "../win32/handles.h"
#include "shell.h"
#include "shell_registry.h"
#include "shell_rules.h"

void (*beforeAssociationChange)(const char* extension) = nullptr;

namespace {

// Besides the handler, a take-over writes two values. "backup" is the name
// earlier versions of the program and whoever reads the key rely on: it
// holds the previous handler as text, and it is written only when that
// handler is plain text and the key has no "backup" of its own, since a
// value the program did not write is never overwritten or deleted. The
// whole previous state (no key, no default value, or the value's type and
// exact bytes) is kept in the binary value "QuillpanePrevious", a name no
// other program has reason to use; "backup" counts as the program's only
// while that record says it was written and it still holds what was.
constexpr wchar_t kBackup[] = L"backup";
constexpr wchar_t kRecord[] = L"QuillpanePrevious";
constexpr size_t kRecordBytesMax = 5 + kPreviousBytesMax;

// A value's type and bytes as the registry stores them: the W calls read
// and write text as it is stored, so nothing passes through a code page.
struct StoredValue {
  DWORD type = 0;
  std::string bytes;
};

// At most `limit` bytes; a longer value is refused, not cut.
TextRead ReadStored(HKEY key, const wchar_t* name, StoredValue& value, size_t limit) {
  BYTE data[kRecordBytesMax];
  DWORD type = 0, size = static_cast<DWORD>(std::min(limit, sizeof data));
  const LONG result = RegQueryValueExW(key, name, nullptr, &type, data, &size);
  if (result == ERROR_FILE_NOT_FOUND) return TextRead::kAbsent;
  if (result != ERROR_SUCCESS) return TextRead::kRefused;
  value.type = type;
  value.bytes.assign(reinterpret_cast<const char*>(data), size);
  return TextRead::kRead;
}

// Writes `value`, or deletes the value when it is nullptr (a value already
// gone counts as deleted); true when done.
bool Change(const char* extension, HKEY key, const wchar_t* name, const StoredValue* value) {
  if (beforeAssociationChange != nullptr) beforeAssociationChange(extension);
  if (value == nullptr) {
    const LONG result = RegDeleteValueW(key, name);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }
  return RegSetValueExW(key, name, 0, value->type, reinterpret_cast<const BYTE*>(value->bytes.data()),
                        static_cast<DWORD>(value->bytes.size())) == ERROR_SUCCESS;
}

int32_t CompareHandler(HKEY key) {
  // A value too long for 80 bytes, or not text, reads as empty: it can
  // never be the identifier.
  char value[80];
  ReadTextValue(key, nullptr, value, sizeof value);
  const int order = std::strcmp(value, kProgramId);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

bool IsOurs(HKEY key) { return CompareHandler(key) == 0; }

StoredValue ProgramHandler() {
  StoredValue handler{REG_SZ, std::string()};
  for (size_t i = 0; i <= std::strlen(kProgramId); ++i) handler.bytes += std::string{kProgramId[i], '\0'};
  return handler;
}

TextRead ReadRecord(HKEY key, PreviousDefault& previous) {
  StoredValue record;
  const TextRead read = ReadStored(key, kRecord, record, kRecordBytesMax);
  if (read != TextRead::kRead) return read;
  return record.type == REG_BINARY && DecodePreviousDefault(record.bytes, &previous) ? TextRead::kRead
                                                                                     : TextRead::kRefused;
}

bool OwnsBackup(HKEY key, const PreviousDefault& previous) {
  StoredValue backup;
  return previous.wroteBackup && ReadStored(key, kBackup, backup, kPreviousBytesMax) == TextRead::kRead &&
         backup.type == REG_SZ && backup.bytes == previous.bytes;
}

// Writes the record, then "backup" when `withBackup`; false when the
// record could not be written.
bool WriteRecord(const char* extension, HKEY key, const PreviousDefault& previous, bool withBackup) {
  const StoredValue record{REG_BINARY, EncodePreviousDefault(previous)};
  const StoredValue backup{REG_SZ, previous.bytes};
  if (!Change(extension, key, kRecord, &record)) return false;
  if (withBackup) Change(extension, key, kBackup, &backup);
  return true;
}

// Another instance may give the extension back while this one takes it
// over, or take it over while this one gives it back, and then delete the
// record the other has just written. Each therefore looks again after its
// last change: while the handler is the program's its record must be
// there, and it is written again if it went. (The state this instance
// recorded or restored is the one the other found.)
void KeepRecord(const char* extension, HKEY key, const PreviousDefault& previous) {
  StoredValue present;
  if (IsOurs(key) && ReadStored(key, kRecord, present, kRecordBytesMax) == TextRead::kAbsent) {
    WriteRecord(
        extension, key, previous,
        previous.wroteBackup && ReadStored(key, kBackup, present, kPreviousBytesMax) == TextRead::kAbsent);
  }
}

void TakeOver(const char* extension) {
  bool created = false;
  const RegistryKey owner(CreateKey(HKEY_CLASSES_ROOT, extension, KEY_ALL_ACCESS, &created));
  if (!owner) return;
  HKEY key = owner.get();
  StoredValue old;
  const TextRead read = created ? TextRead::kAbsent : ReadStored(key, nullptr, old, kPreviousBytesMax);
  // A second take-over finds the program's own handler and backs nothing
  // up. A default value longer than the record holds stays in place, and
  // the extension is not taken over.
  if (!IsOurs(key) && read != TextRead::kRefused) {
    PreviousDefault previous;
    previous.state = created                     ? PreviousDefault::State::kNoKey
                     : read == TextRead::kAbsent ? PreviousDefault::State::kNoDefault
                                                 : PreviousDefault::State::kValue;
    previous.type = old.type;
    previous.bytes = old.bytes;
    // "backup" is free when absent, or when it is the one the program
    // wrote at an earlier take-over whose handler was replaced since.
    PreviousDefault earlier;
    StoredValue present;
    previous.wroteBackup = read == TextRead::kRead && old.type == REG_SZ && IsPlainStoredText(old.bytes) &&
                           (ReadStored(key, kBackup, present, kPreviousBytesMax) == TextRead::kAbsent ||
                            (ReadRecord(key, earlier) == TextRead::kRead && OwnsBackup(key, earlier)));
    // The record is written first, and the handler replaced only once it
    // is in place, so that a failed write never loses the old handler.
    const StoredValue handler = ProgramHandler();
    if (WriteRecord(extension, key, previous, previous.wroteBackup) &&
        Change(extension, key, nullptr, &handler)) {
      KeepRecord(extension, key, previous);
    }
  }
}

bool HasNothing(HKEY key) {
  DWORD subkeys = 0, values = 0;
  return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                          nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

// The old default value comes back first (or goes, when there was none);
// the backup and the record are deleted last, so that a give-back that
// stops half-way can be repeated. True when the key should go too.
bool Restore(const char* extension, HKEY key, const PreviousDefault& previous) {
  const bool ownsBackup = OwnsBackup(key, previous);
  const StoredValue old{previous.type, previous.bytes};
  const bool hadValue = previous.state == PreviousDefault::State::kValue;
  if (!Change(extension, key, nullptr, hadValue ? &old : nullptr)) return false;
  if (ownsBackup) Change(extension, key, kBackup, nullptr);
  Change(extension, key, kRecord, nullptr);
  KeepRecord(extension, key, previous);
  return previous.state == PreviousDefault::State::kNoKey && HasNothing(key);
}

// A key held without a record was taken over before the program kept one,
// when "backup" was always written by it: that text becomes the handler
// again, whole or not at all.
void RestoreUnrecorded(const char* extension, HKEY key) {
  StoredValue backup;
  if (ReadStored(key, kBackup, backup, kPreviousBytesMax) == TextRead::kRead && backup.type == REG_SZ &&
      Change(extension, key, nullptr, &backup)) {
    Change(extension, key, kBackup, nullptr);
  }
}

void GiveBack(const char* extension) {
  RegistryKey owner(OpenKey(HKEY_CLASSES_ROOT, extension));
  if (!owner) return;
  HKEY key = owner.get();
  // Only the program's own handler is replaced: one set since by the user
  // or another program stays, and so does the record, replaced at the next
  // take-over. A record that does not decode leaves everything as it is.
  PreviousDefault previous;
  bool deleteKey = false;
  if (IsOurs(key)) {
    switch (ReadRecord(key, previous)) {
      case TextRead::kRead: deleteKey = Restore(extension, key, previous); break;
      case TextRead::kAbsent: RestoreUnrecorded(extension, key); break;
      case TextRead::kRefused: break;
    }
  }
  owner.Reset();  // closed before it is deleted
  if (deleteKey) RegDeleteKeyA(HKEY_CLASSES_ROOT, extension);
}

}  // namespace

int32_t TestAssociation(const char* extension) {
  const RegistryKey key(OpenKey(HKEY_CLASSES_ROOT, extension));
  return key ? CompareHandler(key.get()) : 1;
}

void SetAssociation(int32_t on, const char* extension) {
  if (on) {
    TakeOver(extension);
  } else {
    GiveBack(extension);
  }
}
