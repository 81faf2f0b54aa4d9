#include "settings.h"

#include <cstdio>
#include <cstring>

#include "../core/recent_list.h"
#include "handles.h"

namespace {

constexpr char kColourModeValue[] = "ansicolours";
constexpr char kLetterSpacingValue[] = "letterspacing";
constexpr char kAspectValue[] = "aspect";
constexpr char kPlaySpeedValue[] = "playspeed";
constexpr char kFontValue[] = "Font";
constexpr char kFitWidthValue[] = "fitwidth";
constexpr char kSlideSpeedValue[] = "slidespeed";
constexpr char kRunCountValue[] = "Times";
constexpr char kOtherListValue[] = "other";
constexpr char kOtherTickedValue[] = "otherap";

RegistryKey OpenSettings() { return RegistryKey(OpenKey(HKEY_LOCAL_MACHINE, kSettingsKey)); }
RegistryKey CreateSettings() { return RegistryKey(CreateKey(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS)); }

void WriteDword(const char* name, DWORD value) {
  const RegistryKey key = CreateSettings();
  if (key) WriteDwordValue(key.get(), name, value);
}

void WriteText(const char* name, const char* text) {
  const RegistryKey key = CreateSettings();
  if (key) WriteTextValue(key.get(), name, text);
}

// A number that is missing, of another type or of another size reads as 0.
LONG ReadEdge(HKEY key, const char* name) {
  DWORD value = 0;
  return ReadDwordValue(key, name, value) ? static_cast<LONG>(value) : 0;
}

void EntryValueName(char (&name)[16], int index) { std::snprintf(name, sizeof name, "last5.%d", index); }

void ReadStoredList(HKEY key, RecentFile (&entries)[kRecentFileCount]) {
  for (int i = 0; i < kRecentFileCount; ++i) {
    char name[16];
    EntryValueName(name, i);
    // Read into a buffer of the entry's own size, so that every path an
    // entry can hold comes back whole; a longer value fails the read
    // (ERROR_MORE_DATA) and leaves the entry out of use.
    char buffer[kRecentPathSize] = {};
    DWORD type = 0, size = sizeof buffer;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    TakeStoredRecentFile(entries[i], result == ERROR_SUCCESS && type == REG_SZ, buffer, size);
  }
}

void WriteStoredList(HKEY key, const RecentFile (&entries)[kRecentFileCount]) {
  for (int i = 0; i < kRecentFileCount; ++i) {
    char name[16];
    EntryValueName(name, i);
    // An entry not in use is written as the empty string.
    WriteTextValue(key, name, entries[i].used ? entries[i].path : "");
  }
}

// Two viewers closing at once must not interleave their read, push and
// write of the stored list. A wait that runs out goes on unlocked: a push
// possibly lost is better than a viewer that hangs.
class StoredListLock {
 public:
  StoredListLock() : mutex_(CreateMutexA(nullptr, FALSE, "Quillpane.RecentFiles")) {
    if (mutex_ != nullptr) {
      const DWORD wait = WaitForSingleObject(mutex_, 2000);
      owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
  }
  ~StoredListLock() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_ != nullptr) CloseHandle(mutex_);
  }
  StoredListLock(const StoredListLock&) = delete;
  StoredListLock& operator=(const StoredListLock&) = delete;

 private:
  HANDLE mutex_;
  bool owned_ = false;
};

}  // namespace

void ReadViewSettings(Settings& settings) {
  const RegistryKey key = OpenSettings();
  DWORD colour = 0, letters = 0, aspect = 0, speed = 0, fit = 0, slide = 0;
  // The longest font name is 22 characters, as a SAUCE record holds it.
  char font[32] = {};
  if (key) {
    ReadDwordValue(key.get(), kColourModeValue, colour);
    ReadDwordValue(key.get(), kLetterSpacingValue, letters);
    ReadDwordValue(key.get(), kAspectValue, aspect);
    ReadDwordValue(key.get(), kPlaySpeedValue, speed);
    ReadTextValue(key.get(), kFontValue, font, sizeof font);
    ReadDwordValue(key.get(), kFitWidthValue, fit);
    ReadDwordValue(key.get(), kSlideSpeedValue, slide);
  }
  // Off unless the value is there and 1: a fresh install shows every
  // document in the text layout. The looks are as the file says unless a
  // known choice is stored.
  settings.ansiColours = colour == 1 ? 1 : 0;
  settings.letterSpacing = letters <= 2 ? static_cast<int32_t>(letters) : 0;
  settings.aspect = aspect <= 2 ? static_cast<int32_t>(aspect) : 0;
  settings.playSpeed = speed;
  settings.font = font;
  settings.fitWidth = fit == 1 ? 1 : 0;
  settings.slideSpeed = slide;
}

void WriteColourMode(const Settings& settings) {
  WriteDword(kColourModeValue, static_cast<DWORD>(settings.ansiColours));
}

void WriteLetterSpacing(const Settings& settings) {
  WriteDword(kLetterSpacingValue, static_cast<DWORD>(settings.letterSpacing));
}

void WriteAspect(const Settings& settings) { WriteDword(kAspectValue, static_cast<DWORD>(settings.aspect)); }

void WritePlaySpeed(const Settings& settings) { WriteDword(kPlaySpeedValue, settings.playSpeed); }

void WriteFont(const Settings& settings) { WriteText(kFontValue, settings.font.c_str()); }

void WriteFitWidth(const Settings& settings) {
  WriteDword(kFitWidthValue, static_cast<DWORD>(settings.fitWidth));
}

void WriteSlideSpeed(const Settings& settings) { WriteDword(kSlideSpeedValue, settings.slideSpeed); }

bool ReadRunCount(DWORD& count) {
  const RegistryKey key = CreateSettings();
  return key && ReadDwordValue(key.get(), kRunCountValue, count);
}

bool WriteRunCount(DWORD count) {
  const RegistryKey key = CreateSettings();
  if (key) WriteDwordValue(key.get(), kRunCountValue, count);
  return static_cast<bool>(key);
}

bool ReadWindowPlace(LONG& left, LONG& top) {
  const RegistryKey key = CreateSettings();
  if (!key) return false;
  left = ReadEdge(key.get(), "last.left");
  top = ReadEdge(key.get(), "last.top");
  return true;
}

void WriteWindowPlace(LONG left, LONG top) {
  const RegistryKey key = CreateSettings();
  if (!key) return;
  WriteDwordValue(key.get(), "last.left", static_cast<DWORD>(left));
  WriteDwordValue(key.get(), "last.top", static_cast<DWORD>(top));
}

bool ReadRecentFiles(Settings& settings) {
  const RegistryKey key = CreateSettings();
  if (key) ReadStoredList(key.get(), settings.recentFiles);
  return static_cast<bool>(key);
}

void PushRecentFileStored(Settings& settings, const char* path) {
  StoredListLock lock;
  const RegistryKey key = CreateSettings();
  if (key) ReadStoredList(key.get(), settings.recentFiles);
  if (PushRecentFile(settings.recentFiles, path) && key) WriteStoredList(key.get(), settings.recentFiles);
}

TextRead ReadOtherList(char* buffer, DWORD size) {
  const RegistryKey key = OpenSettings();
  if (!key) {
    if (size > 0) buffer[0] = '\0';
    return TextRead::kAbsent;
  }
  return ReadTextValue(key.get(), kOtherListValue, buffer, size);
}

bool ReadOtherTicked() {
  const RegistryKey key = OpenSettings();
  char text[8];
  return key && ReadTextValue(key.get(), kOtherTickedValue, text, sizeof text) == TextRead::kRead &&
         std::strcmp(text, "pa") == 0;
}

void WriteOtherList(const char* list) { WriteText(kOtherListValue, list); }

void WriteOtherTicked(bool ticked) { WriteText(kOtherTickedValue, ticked ? "pa" : "av"); }
