// The fixed-size pieces the program's state is made of. They live here,
// below every subsystem, so that the state can name them while each
// subsystem keeps its rules over them in its own folder.
#ifndef QUILLPANE_STATE_TYPES_H
#define QUILLPANE_STATE_TYPES_H

#include <cstdint>

// Largest document read, and the two bytes after it: the terminating zero
// and room for the line feed a render may append.
constexpr int32_t kTextBufferSize = 0x80000;

// Path buffers hold 299 bytes and a terminating zero.
constexpr int kPathBufferSize = 300;

// The recent-files list: five entries, each 255 bytes of path and a zero.
constexpr int32_t kRecentFileCount = 5;
constexpr int32_t kRecentPathSize = 256;

struct RecentFile {
  char path[kRecentPathSize];
  int32_t used;
};

// The glyph sheets beside the program.
constexpr int32_t kFontListSize = 256;
constexpr int32_t kFontFieldSize = 256;

struct FontEntry {
  char fontName[kFontFieldSize];
  // Full path; a sheet whose path does not fit is not listed (the ANSI
  // file functions take no longer path anyway).
  char fontBitmapPath[kFontFieldSize];
};

// Where a byte's glyph lies in a glyph sheet.
struct GlyphPosition {
  int32_t x;
  int32_t y;
};

// Row starts of the laid-out document: entry r + 1 holds the start of row r.
constexpr int32_t kLineTableSize = 16000;

// The copied text: at most kSelectionTextLimit characters and a zero.
constexpr int32_t kSelectionTextLimit = 1023;
constexpr int32_t kSelectionTextSize = 16384;

struct SelectionPoint {
  int32_t x, y;  // client pixels
};

#endif
