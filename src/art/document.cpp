#include "document.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "../core/state_types.h"
#include "art_formats.h"

void LoadDocumentFile(const char* path, const ReadFileStart& readStart, const DocumentOptions& options,
                      Document& document) {
  document.path = path != nullptr ? path : "";
  document.text.resize(static_cast<size_t>(kTextBufferSize) + 2);
  document.start = LoadDocumentBytes(readStart, document.text.data());
  document.whole.clear();
  document.wholeHeld = false;
  document.wholeStart = FileStart();
  document.wholeFailed = false;
  if (!document.Opened()) {
    // The page says that the file could not be opened, and on a line of its
    // own the system's reason, where the title and status bar have no room.
    std::snprintf(document.text.data(), kTextBufferSize, "Could not find the file\n%s\n",
                  document.start.reason.c_str());
    document.start.count = std::strlen(document.text.data());
  } else {
    // A scene format's raw bytes always (binary, never decoded as UTF-8 or
    // UTF-16, and may run past kTextBufferSize); all of a longer file when a
    // colour screen may read it.
    const bool format = IsColourFormat(path);
    if (format || (document.start.cut && (options.colour || options.holdWholeFile))) {
      document.wholeStart = LoadColourBytes(readStart, !format, document.whole);
      document.wholeHeld = document.wholeStart.opened != -1;
      document.wholeFailed = !document.wholeHeld;
      if (!document.wholeHeld) document.whole.clear();
    }
  }
  document.laidOutLength =
      LaidOutLength(reinterpret_cast<const uint8_t*>(document.text.data()), document.start.count);
  // The program's own page carries no record.
  document.sauce = document.Opened() ? ReadSauce(document.Bytes(), document.Length()) : SauceRecord();
}

void ReadDocumentAs(const DocumentOptions& options, Document& document) {
  document.screen = ColourScreen();
  document.note.clear();
  document.reading = document.Opened() ? ChooseReading(document.path.c_str(), document.Bytes(),
                                                       document.Length(), options.colour)
                                       : Reading::kTextLayout;
  if (!document.Colour()) {
    document.font = document.Opened() ? ChooseFont(document.path.c_str(), document.Bytes(), document.Length(),
                                                   options.look.font)
                                      : ChosenFont();
    // Kept at its largest: fresh memory costs more than the copy.
    const auto* text = reinterpret_cast<const uint8_t*>(document.text.data());
    document.laidOut.resize(std::max(document.laidOut.size(), document.start.count + 2));
    LaidOutText(text, document.start.count, document.laidOut.data());
    return;
  }
  if (!options.makeScreen) {
    document.font = ChooseFont(document.path.c_str(), document.Bytes(), document.Length(), options.look.font);
    return;
  }
  document.screen = ReadColourScreen(document.path.c_str(), document.Bytes(), document.Length(), options.look);
  document.font = document.screen.font;
  document.note = document.wholeHeld && document.wholeStart.cut
                      ? "only the first " + std::to_string(kColourDocumentLimit >> 20) + " MB are shown"
                      : document.screen.note;
}

ReadFileStart ReadFromMemory(const uint8_t* bytes, size_t size) {
  return [bytes, size](uint8_t* into, size_t capacity) {
    FileStart start;
    start.count = std::min(capacity, size);
    if (start.count > 0) std::memcpy(into, bytes, start.count);
    start.cut = size > capacity;
    start.opened = 0;
    return start;
  };
}

void ReadDocument(const char* path, const ReadFileStart& readStart, const DocumentOptions& options,
                  Document& document) {
  LoadDocumentFile(path, readStart, options, document);
  ReadDocumentAs(options, document);
}
