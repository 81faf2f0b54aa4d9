// A document as every output takes it: the file's bytes, the reading
// chosen for them, its SAUCE record, and the colour screen or the laid-out
// text that reading gives, with what of the file could not be read. One
// function makes it for the window and the exports alike.
#ifndef QUILLPANE_ART_DOCUMENT_H
#define QUILLPANE_ART_DOCUMENT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "../core/file_names.h"
#include "document_reading.h"
#include "sauce.h"

struct DocumentOptions {
  bool colour = false;  // ANSI art as a colour screen (View > ANSI colours, --colour)
  ScreenLook look{};
  // Keep all of a file longer than the text layout reads even without the
  // colour mode: the window may switch it on later without reading again.
  bool holdWholeFile = false;
  // Make the colour screen of a colour reading; false for an animated
  // export, whose play makes its own screens from the bytes (this one
  // would only add to its peak memory). The laid-out text is always made.
  bool makeScreen = true;
};

struct Document {
  std::string path;
  // The text layout's read: `opened` -1 when the file could not be read,
  // `damaged` when its pack's checksum of it does not match.
  FileStart start;
  // kTextBufferSize + 2 bytes: what was read, decoded to code page 437, zero
  // after it; for a file that could not be read, a page saying so and why
  // (the program's own text, laid out like any other).
  std::vector<char> text;
  // The whole file (up to kColourDocumentLimit) where a colour screen reads
  // more or other bytes than the text: a scene format, or a longer file.
  std::vector<uint8_t> whole;
  bool wholeHeld = false;
  FileStart wholeStart;      // its read
  bool wholeFailed = false;  // it was needed and could not be read (nothing is held)
  Reading reading = Reading::kTextLayout;
  SauceRecord sauce;
  // What the text layout reads (LaidOutText; made for that reading), and
  // its length, the document's length in either reading.
  std::vector<uint8_t> laidOut;
  int32_t laidOutLength = 0;
  // The colour reading's screen (empty for the text layout).
  ColourScreen screen;
  // The font it is drawn in (ChooseFont), in either reading.
  ChosenFont font;
  // What of the file could not be read, for the status bar.
  std::string note;

  bool Opened() const { return start.opened != -1; }
  bool Colour() const { return reading != Reading::kTextLayout; }
  // Whether the page is drawn in `font`: not in a font the file carries
  // itself, nor (the text layout of code page 437) in the Keymap sheet.
  bool DrawnInItsFont() const { return Colour() ? screen.screen.font == nullptr : font.OwnCharacters(); }
  // The bytes SAUCE and a colour screen read: the whole file when held,
  // else the text.
  const uint8_t* Bytes() const {
    return wholeHeld ? whole.data() : reinterpret_cast<const uint8_t*>(text.data());
  }
  size_t Length() const { return wholeHeld ? whole.size() : start.count; }
};

// Reads the document at `path` (only its name is looked at; the bytes come
// through `readStart`) into `document`, whose buffers are used again, and
// gives it its reading: LoadDocumentFile, then ReadDocumentAs.
void ReadDocument(const char* path, const ReadFileStart& readStart, const DocumentOptions& options,
                  Document& document);
// The bytes alone: the text, the whole file where a colour reading needs it,
// the laid-out length and the SAUCE record.
void LoadDocumentFile(const char* path, const ReadFileStart& readStart, const DocumentOptions& options,
                      Document& document);
// The reading of the loaded bytes under `options`, again whenever they
// change: a file that could not be read keeps the text layout.
void ReadDocumentAs(const DocumentOptions& options, Document& document);

// Reads a file's start from `bytes` (`size` of them, held, not copied), as
// if from a disk: a document that is already in memory.
ReadFileStart ReadFromMemory(const uint8_t* bytes, size_t size);

#endif
