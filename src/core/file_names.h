// Which paths may be opened as files at all, and what a read of one's
// start tells. Pure: the Win32 and POSIX opens beside it ask before they
// open anything, and say why they failed in the same words.
#ifndef QUILLPANE_FILE_NAMES_H
#define QUILLPANE_FILE_NAMES_H

#include <cstddef>
#include <cstdint>
#include <string>

// The path names a device rather than a file: its last part is CON, PRN,
// AUX, NUL, COM1 to COM9 or LPT1 to LPT9 in any case, before a dot, a colon
// or trailing blanks (so nul.nfo, COM1 .diz and lpt2.x.y are devices), or
// it lies in the device space \\.\ itself. Opening one can hang (a serial
// port waits for its line) or read nothing from NUL, so it is never opened.
bool NamesDevice(const char* path);

// The reasons the program gives itself, where no system call failed.
extern const char kDeviceReason[];      // NamesDevice
extern const char kNotRegularReason[];  // a folder, pipe, console or device node
extern const char kPathTooLongReason[];

// What reading the start of a file gave.
struct FileStart {
  // The open's handle or descriptor value (closed again by then); -1 when
  // the file could not be opened or read, which count as one failure.
  intptr_t opened = -1;
  size_t count = 0;    // bytes read
  bool cut = false;    // the file is longer than what was read
  std::string reason;  // why it failed, as one phrase without a full stop
  // Read, but its pack's checksum of it does not match: shown with a
  // warning, never exported.
  bool damaged = false;
};

// The system's text for a failure as a phrase to follow a colon: without
// the line ends and full stop that FormatMessage ends it with (strerror's
// has none); "error CODE" when the system has no text for it.
std::string SystemReason(const char* message, long code);

#endif
