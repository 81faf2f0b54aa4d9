// The viewer's settings: every value it keeps under kSettingsKey, read and
// written in settings.cpp alone. Without the key every read gives the
// defaults and every write is lost; the program goes on either way.
#ifndef QUILLPANE_SETTINGS_H
#define QUILLPANE_SETTINGS_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "../core/state_types.h"
#include "registry.h"

struct Settings {
  // View > ANSI colours: 1 on, only when stored as 1.
  int32_t ansiColours;
  // View > 9-pixel letters and View > 4:3 aspect: the values of LookChoice
  // (as the file says, on, off); anything else stored reads as 0.
  int32_t letterSpacing;
  int32_t aspect;
  // View > Speed in bits a second as stored (0: none); the play takes only
  // the speeds it offers.
  DWORD playSpeed;
  // View > Font: the font's name as stored ("IBM VGA 866"), empty for as
  // the file says. A value that is not REG_SZ, or longer than any font's
  // name, reads as empty; the Font menu keeps a name only when it offers
  // that font (ShowFontSetting).
  std::string font;
  // View > Fit width: 1 on, only when stored as 1.
  int32_t fitWidth;
  // View > Slideshow speed in rows a second as stored; the slideshow takes
  // only the speeds it offers.
  DWORD slideSpeed;
  // This start's run, counted in "Times".
  uint32_t runCount;
  // File menu's recent files, as the stored list stood when last read.
  RecentFile recentFiles[kRecentFileCount];
};

// View > ANSI colours, the two looks, the font and the play speed.
void ReadViewSettings(Settings& settings);
void WriteColourMode(const Settings& settings);
void WriteLetterSpacing(const Settings& settings);
void WriteAspect(const Settings& settings);
void WritePlaySpeed(const Settings& settings);
void WriteFont(const Settings& settings);
void WriteFitWidth(const Settings& settings);
void WriteSlideSpeed(const Settings& settings);

// The stored run count: false (and `count` untouched) when there is none,
// or none of 4 bytes of REG_DWORD; false from the write when the key
// cannot be made.
bool ReadRunCount(DWORD& count);
bool WriteRunCount(DWORD count);

// The window's place at the last close: a number that is missing, of
// another type or of another size reads as 0. False without the key.
bool ReadWindowPlace(LONG& left, LONG& top);
void WriteWindowPlace(LONG left, LONG top);

// The recent files as stored; false, and the list left as it is, without
// the key.
bool ReadRecentFiles(Settings& settings);
// Several viewers may run at once, and all share the one stored list: the
// list is read again, `path` pushed on top and the list written back at
// once, under a lock against another viewer's push. Without the key the
// push is to the list in memory.
void PushRecentFileStored(Settings& settings, const char* path);

// The Configuration dialog's Other extensions: the list (refused when not
// text or longer than `size`), and whether the box is ticked ("otherap").
TextRead ReadOtherList(char* buffer, DWORD size);
bool ReadOtherTicked();
void WriteOtherList(const char* list);
void WriteOtherTicked(bool ticked);

#endif
