#include "shell_rules.h"

#include <algorithm>
#include <cstring>

#include "../core/text_helpers.h"

namespace {

bool Contains(const ExtensionList& list, const std::string& entry) {
  return std::find(list.begin(), list.end(), entry) != list.end();
}

// Every piece between semicolons, the empty ones included.
std::vector<std::string> Pieces(const char* text) {
  std::vector<std::string> pieces;
  std::string rest = text;
  for (;;) {
    const size_t semicolon = rest.find(';');
    pieces.push_back(rest.substr(0, semicolon));
    if (semicolon == std::string::npos) return pieces;
    rest.erase(0, semicolon + 1);
  }
}

std::string Lower(std::string text) {
  LowerCaseAscii(&text[0]);
  return text;
}

// A piece longer than an entry holds is dropped rather than cut: a cut
// piece would name another extension. Pieces past the 30th are dropped too.
bool Fits(const ExtensionList& list, const std::string& piece) {
  return piece.size() <= static_cast<size_t>(kOtherEntryMax) &&
         list.size() < static_cast<size_t>(kOtherListMax);
}

}  // namespace

ExtensionList SplitStoredList(const char* stored) {
  ExtensionList list;
  for (const std::string& piece : Pieces(stored)) {
    if (Fits(list, piece)) list.push_back(Lower(piece));
  }
  if (!list.empty() && list.front().empty()) list.clear();
  return list;
}

ExtensionList ParseTypedList(const char* typed, ExtensionList* refused) {
  static const ExtensionList kBuiltIn = {".nfo", ".diz", ".ans", ".asc"};
  static const ExtensionList kExecutable = {".exe", ".com", ".bat", ".cmd", ".lnk", ".pif", ".scr"};
  ExtensionList list;
  for (std::string piece : Pieces(typed)) {
    if (piece[0] != '.' && !piece.empty()) piece.erase(0, 1);
    if (piece[0] != '.') continue;
    piece = Lower(piece);
    if (piece.find('\\') != std::string::npos || Contains(kExecutable, piece)) {
      if (refused != nullptr && !Contains(*refused, piece)) refused->push_back(piece);
      continue;
    }
    if (Contains(list, piece) || Contains(kBuiltIn, piece) || !Fits(list, piece)) continue;
    list.push_back(piece);
  }
  return list;
}

std::string JoinList(const ExtensionList& list) {
  std::string joined;
  for (const std::string& entry : list) joined += (joined.empty() ? "" : ";") + entry;
  return joined;
}

OtherChanges PlanOtherChanges(const ExtensionList& oldList, const ExtensionList& newList, bool initialOther,
                              bool currentOther) {
  // An empty entry (a stored ";;") names no extension: as a key name it
  // would open HKEY_CLASSES_ROOT itself.
  OtherChanges changes;
  for (const std::string& entry : newList) {
    if (!entry.empty() && (!initialOther || !Contains(oldList, entry))) changes.takeOver.push_back(entry);
  }
  for (const std::string& entry : oldList) {
    if (!entry.empty() && (!currentOther || !Contains(newList, entry))) changes.giveBack.push_back(entry);
  }
  return changes;
}

std::string EncodePreviousDefault(const PreviousDefault& previous) {
  std::string record(
      1, static_cast<char>(static_cast<uint8_t>(previous.state) | (previous.wroteBackup ? 0x80 : 0)));
  for (int shift = 0; shift < 32; shift += 8) record += static_cast<char>(previous.type >> shift & 0xFF);
  return record + previous.bytes;
}

bool DecodePreviousDefault(const std::string& record, PreviousDefault* previous) {
  if (record.size() < 5 || record.size() > 5 + kPreviousBytesMax) return false;
  const uint8_t first = static_cast<uint8_t>(record[0]);
  const uint8_t state = first & 0x7F;
  if (state > static_cast<uint8_t>(PreviousDefault::State::kValue)) return false;
  PreviousDefault decoded;
  decoded.state = static_cast<PreviousDefault::State>(state);
  decoded.wroteBackup = (first & 0x80) != 0;
  for (int i = 4; i >= 1; --i) decoded.type = decoded.type << 8 | static_cast<uint8_t>(record[i]);
  decoded.bytes = record.substr(5);
  // Only a value has a type and bytes, and only a value can have been
  // written to "backup".
  if (decoded.state != PreviousDefault::State::kValue &&
      (decoded.type != 0 || !decoded.bytes.empty() || decoded.wroteBackup)) {
    return false;
  }
  *previous = decoded;
  return true;
}

bool IsPlainStoredText(const std::string& bytes) {
  if (bytes.size() < 2 || bytes.size() % 2 != 0) return false;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const bool zero = bytes[i] == '\0' && bytes[i + 1] == '\0';
    if (zero != (i + 2 == bytes.size())) return false;
  }
  return true;
}

uint32_t NextRunCount(bool stored, uint32_t count) { return stored ? count + 1 : 1; }

std::string FormatShellValue(ShellValue which, const char* programPath) {
  // The value is built whole rather than in a 120-byte buffer: any program
  // path that fits its own 300 bytes registers in full. An empty path (the
  // module's path did not fit) names no program file.
  const std::string path = programPath;
  if (path.empty()) return std::string();
  switch (which) {
    case ShellValue::kOpenCommand: return "\"" + path + "\" %1";
    case ShellValue::kFolderCommand: return "\"" + path + "\" %1\\";
    case ShellValue::kIcon: return path + ",0";
  }
  return std::string();
}
