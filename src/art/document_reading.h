// Which reading a document gets, decided in one place for the window and
// the export alike, and what each reading takes of the loaded bytes. The
// loaded bytes are never changed: the text layout reads a copy that ends
// with its line feed.
#ifndef QUILLPANE_DOCUMENT_READING_H
#define QUILLPANE_DOCUMENT_READING_H

#include <cstddef>
#include <cstdint>
#include <functional>

#include <string>
#include <vector>

#include "../core/file_names.h"
#include "ansi_screen.h"
#include "art_formats.h"

enum class Reading {
  kTextLayout,   // 92-cell rows, black on white in a glyph sheet
  kAnsiScreen,   // an ANSI screen in colour
  kSceneFormat,  // XBin, BinaryText, ADF, iCEDraw, TundraDraw, PCBoard, Avatar: always in colour
};

// Colour screens read files whole up to this size (the text layout keeps
// its kTextBufferSize); a longer file's first this many bytes are drawn.
constexpr size_t kColourDocumentLimit = size_t{64} << 20;

// Reads the start of one file into `bytes`, at most `capacity` of them.
using ReadFileStart = std::function<FileStart(uint8_t* bytes, size_t capacity)>;

// A document's bytes into `text` (kTextBufferSize + 2 bytes) as the window
// and the export take them alike: emptied first, at most kTextBufferSize
// bytes through `readStart`, art saved as UTF-8 or UTF-16 turned back into
// its code page 437 bytes, zero after them. The result's count is the
// length so decoded; after a failure (opened -1) `text` is not to be shown.
FileStart LoadDocumentBytes(const ReadFileStart& readStart, char* text);

// A file named as a scene format (only the name of `path` is looked at)
// is read as that format. With the colour mode asked for, a file named .ans
// (in any case) or carrying a SAUCE record of type 1/1 (ANSi) is an ANSI
// screen. Everything else, and ANSI without the colour mode, is laid out as
// text.
Reading ChooseReading(const char* path, const uint8_t* bytes, size_t length, bool colour);

// The bytes a colour screen reads, through `readStart`: the whole file up
// to kColourDocumentLimit, decoded like the text when `decode` (ANSI art),
// as they are for the scene formats. Reads a megabyte first and more only
// for a longer file.
FileStart LoadColourBytes(const ReadFileStart& readStart, bool decode, std::vector<uint8_t>& bytes);

// How a colour screen shows its letters and rows: as the file's SAUCE
// record says (its letter-spacing and aspect bits, in a record of
// character or binary art), or on or off whatever it says. The values are
// the ones stored in the settings.
enum class LookChoice : int32_t { kAsFile = 0, kOn = 1, kOff = 2 };
struct ScreenLook {
  LookChoice letters = LookChoice::kAsFile;  // 9-pixel letters
  LookChoice aspect = LookChoice::kAsFile;   // rows stretched for a 4:3 screen
  // The font the reader chose (a name ParseFontName reads), or empty: the
  // one the file names, or finds it drawn in.
  std::string font{};
};

// The font a document is drawn in: the reader's choice; else the one its
// SAUCE record names; else Topaz for a text file of Latin-1 letters where
// code page 437 draws line pieces (amiga_text.h); else the VGA's.
ChosenFont ChooseFont(const char* path, const uint8_t* bytes, size_t length, const std::string& chosen);
// 9 or 8 pixels a letter; a record that says nothing gives 8.
int32_t ChosenLetterWidth(const SauceRecord& sauce, LookChoice letters);
// Whether the rows are stretched; a record that says nothing keeps them square.
bool ChosenStretch(const SauceRecord& sauce, LookChoice aspect);

// The colour screen of a document that ChooseReading gives a colour
// reading, with at least one row, its cells as wide as `look` chooses, and
// what of the file could not be read.
struct ColourScreen {
  AnsiScreen screen;
  std::string note;
  bool stretched = false;  // its rows are to be shown stretched (vga_look.h)
  ChosenFont font;         // what a built-in font draws (a file's own font is kept)
};
ColourScreen ReadColourScreen(const char* path, const uint8_t* bytes, size_t length, ScreenLook look = {});

// The text layout reads the document up to its first zero byte and always
// ends on a line feed: one is added when the text is empty or ends
// otherwise. LaidOutText copies that text into `out`, which has room for
// `length` + 1 bytes, and returns its length; LaidOutLength only counts it.
int32_t LaidOutText(const uint8_t* bytes, size_t length, uint8_t* out);
int32_t LaidOutLength(const uint8_t* bytes, size_t length);

#endif
