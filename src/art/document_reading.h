// Which reading a document gets, decided in one place for the window and
// the export alike, and what each reading takes of the loaded bytes. The
// loaded bytes are never changed: the text layout reads a copy that ends
// with its line feed.
#ifndef QUILLPANE_DOCUMENT_READING_H
#define QUILLPANE_DOCUMENT_READING_H

#include <cstddef>
#include <cstdint>
#include <functional>

#include "../core/file_names.h"
#include "ansi_screen.h"

enum class Reading {
  kTextLayout,  // 92-cell rows, black on white in a glyph sheet
  kAnsiScreen,  // an ANSI screen in colour
};

// Reads the start of one file into `bytes`, at most `capacity` of them.
using ReadFileStart = std::function<FileStart(uint8_t* bytes, size_t capacity)>;

// A document's bytes into `text` (kTextBufferSize + 2 bytes) as the window
// and the export take them alike: emptied first, at most kTextBufferSize
// bytes through `readStart`, art saved as UTF-8 or UTF-16 turned back into
// its code page 437 bytes, zero after them. The result's count is the
// length so decoded; after a failure (opened -1) `text` is not to be shown.
FileStart LoadDocumentBytes(const ReadFileStart& readStart, char* text);

// With the colour mode asked for, a file named .ans (in any case; only the
// name of `path` is looked at) or carrying a SAUCE record of type 1/1
// (ANSi) is an ANSI screen; everything else, and everything without the
// colour mode, is laid out as text.
Reading ChooseReading(const char* path, const uint8_t* bytes, size_t length, bool colour);

// The text layout reads the document up to its first zero byte and always
// ends on a line feed: one is added when the text is empty or ends
// otherwise. LaidOutText copies that text into `out`, which has room for
// `length` + 1 bytes, and returns its length; LaidOutLength only counts it.
int32_t LaidOutText(const uint8_t* bytes, size_t length, uint8_t* out);
int32_t LaidOutLength(const uint8_t* bytes, size_t length);

// The ANSI screen of a document, with at least one row: an empty screen
// shows one black row, as the text layout shows an empty document's row.
AnsiScreen ReadShownAnsiScreen(const uint8_t* bytes, size_t length);

#endif
