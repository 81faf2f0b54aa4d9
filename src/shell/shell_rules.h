// The rules of the shell integration that need no registry: the list of
// further extensions the Configuration dialog keeps, which extensions an OK
// takes over and gives back, the run counter's step, and the command and
// icon values registered for the program. The Win32 files read and write
// the registry around them.
#ifndef QUILLPANE_SHELL_RULES_H
#define QUILLPANE_SHELL_RULES_H

#include <cstdint>
#include <string>
#include <vector>

// The program's class key under HKEY_CLASSES_ROOT. An extension opens with
// the program while its default value is exactly this text.
constexpr char kProgramId[] = "Quillpane";

// The list of other extensions holds at most 30 entries of at most 9
// characters; its text passes through an 80-byte buffer, both from the edit
// box and from the registry.
constexpr int kOtherListMax = 30;
constexpr int kOtherEntryMax = 9;
constexpr int kOtherTextSize = 80;

using ExtensionList = std::vector<std::string>;

// The stored "other" value as the list it was when written: every piece
// between semicolons, lower-cased and otherwise unfiltered, so an empty
// piece is an empty entry. A list whose first entry is empty counts as
// empty.
ExtensionList SplitStoredList(const char* stored);

// The list the user typed, in normal form: a piece that does not start
// with a dot loses its first character (a blank or a star before the dot),
// and is dropped if it still does not; the rest is lower-cased, and
// duplicates and the four built-in types are dropped. A piece holding a
// backslash (it would name a key below the extension's, such as its open
// command) or naming an executable type (.exe, .com, .bat, .cmd, .lnk, .pif,
// .scr: taking one over would stop programs from starting) is refused: it
// goes to `refused`, once, instead of the list.
ExtensionList ParseTypedList(const char* typed, ExtensionList* refused = nullptr);

// The entries joined by semicolons: the normal form stored as "other".
std::string JoinList(const ExtensionList& list);

struct OtherChanges {
  ExtensionList takeOver;  // in the order of the new list
  ExtensionList giveBack;  // in the order of the old list
};

// What an OK does with the other extensions. Extensions of the new list
// are taken over unless the old list held them already (it held none while
// the switch was off at opening); extensions of the old list are given back
// unless the new list keeps them (it keeps none once the switch is off).
OtherChanges PlanOtherChanges(const ExtensionList& oldList, const ExtensionList& newList, bool initialOther,
                              bool currentOther);

// What a take-over found as the extension key's default value, recorded by
// the program beside the handler it writes, so that giving the extension
// back leaves the key exactly as it was: no key, a key without a default
// value, or a default value of any type with its exact stored bytes.
struct PreviousDefault {
  enum class State : uint8_t { kNoKey = 0, kNoDefault = 1, kValue = 2 };
  State state = State::kNoKey;
  bool wroteBackup = false;  // the take-over also wrote "backup" (the same bytes, as text)
  uint32_t type = 0;         // the registry type of the value (kValue only)
  std::string bytes;         // its bytes as the registry stores them (kValue only)
};

// A default value longer than this is not taken over: 99 characters and
// the terminating zero, at two bytes a character as the registry stores
// text.
constexpr size_t kPreviousBytesMax = 200;

// The record as stored in a binary value: one byte for the state (and 0x80
// when "backup" was written), the type in four bytes, low byte first, then
// the value's bytes. Decoding refuses anything else, so a record that was
// changed by hand is never half restored.
std::string EncodePreviousDefault(const PreviousDefault& previous);
bool DecodePreviousDefault(const std::string& record, PreviousDefault* previous);

// Text as the registry stores it (two bytes a character) that ends with one
// zero character and holds no other: what the "backup" value can hold
// without losing anything.
bool IsPlainStoredText(const std::string& bytes);

// The run counter after this start: one more than the stored count,
// wrapping from 4294967295 to 0, or 1 when there is none.
uint32_t NextRunCount(bool stored, uint32_t count);

// A count of 0 or 1 is a first run: the program registers its class and
// opens the Configuration dialog.
inline bool IsFirstRun(uint32_t runCount) { return runCount <= 1; }

enum class ShellValue {
  kOpenCommand,    // the class's open command, the Open verb and the drive's Browse verb
  kFolderCommand,  // the folder's Browse verb: %1 names the folder, the backslash makes it one
  kIcon,           // the first icon of the program's file
};

// The registry value `which` for the program at `programPath`. The path is
// quoted in commands, so that a path with a blank names the program and not
// the part before the blank; %1 stays unquoted, so that the program's own
// command-line rules still split off a document path with blanks. Empty
// for an empty path: the program's path could not be had whole.
std::string FormatShellValue(ShellValue which, const char* programPath);

#endif
