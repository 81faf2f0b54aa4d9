// Which paths may be opened as files at all. Pure: the Win32 open beside it
// asks before it opens anything.
#ifndef QUILLPANE_FILE_NAMES_H
#define QUILLPANE_FILE_NAMES_H

// The path names a device rather than a file: its last part is CON, PRN,
// AUX, NUL, COM1 to COM9 or LPT1 to LPT9 in any case, before a dot, a colon
// or trailing blanks (so nul.nfo, COM1 .diz and lpt2.x.y are devices), or
// it lies in the device space \\.\ itself. Opening one can hang (a serial
// port waits for its line) or read nothing from NUL, so it is never opened.
bool NamesDevice(const char* path);

#endif
