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
// duplicates and the four built-in types are dropped.
ExtensionList ParseTypedList(const char* typed);

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
// when the path cannot be registered.
std::string FormatShellValue(ShellValue which, const char* programPath);

#endif
