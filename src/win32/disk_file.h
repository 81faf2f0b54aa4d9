// Opening the files the program reads: documents, glyph sheets and their
// names, and the PNGs an export would replace; and the system's reason
// when one fails.
#ifndef QUILLPANE_DISK_FILE_H
#define QUILLPANE_DISK_FILE_H

#include <windows.h>

#include <string>

#include "../core/file_names.h"

// Opens `path` for reading when it names a regular file on disk, and
// nothing else: a device name is refused before any open (a serial port can
// hang the open or the read), and a folder, pipe or console after it.
// `share` is the sharing granted to others while the handle is open.
// INVALID_HANDLE_VALUE when refused or not there, with the reason in
// `reason` when one is asked for. A null path is one refused as too long.
HANDLE OpenDiskFile(const char* path, DWORD share, std::string* reason = nullptr);

// Reads the first `capacity` bytes (or all) of the regular disk file
// `path`, which others may go on writing or deleting meanwhile.
FileStart ReadDiskFileStart(const char* path, uint8_t* bytes, size_t capacity);

// The system's text for the error `code` (GetLastError's), as one phrase.
std::string SystemReason(DWORD code);

// Whether a folder search on "*" followed by `extension` found a file to
// list: a regular file whose own name ends with `extension` in any case of
// A to Z. The search matches short 8.3 aliases too (x.nfox is X~1.NFO) and
// folders; a device name (com1.nfo on a Linux disk) would open the device.
bool IsListedFile(const WIN32_FIND_DATAA& found, const char* extension);

#endif
