// Every kind of document the program knows, in one table: its extension,
// its name, how it is read and played, its MIME type and the Open dialog's
// entry for it. The folder walk and the pack walk list documents by these
// extensions in the table's order; the reading, the play, the export and
// the thumbnail find a file's row by its name; the Open dialog's filter and
// the Linux desktop entry, MIME package and thumbnailer are made from it
// (tools/format_files checks the files in src/linux against it). A new
// format is its reader, one value of ArtFormat, one row and its test.
#ifndef QUILLPANE_ART_FORMATS_H
#define QUILLPANE_ART_FORMATS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "scene_formats.h"

enum class ArtFormat : uint8_t {
  kText,  // the design's documents and any other name: the text layout, or ANSI in the colour mode
  kXBin,
  kBinaryText,
  kArtworx,
  kIceDraw,
  kTundraDraw,
  kPcBoard,
  kAvatar,
  kEnd,  // keep last: the values before it are checked to have their rows
};

// When a document is a colour screen rather than laid out as text.
enum class ShownAs : uint8_t {
  kUnset,         // no row has it: the table's check catches a row left without
  kText,          // laid out as text; in the colour mode, an ANSI screen when its SAUCE record says ANSi
  kAnsiInColour,  // as kText, and an ANSI screen whenever the colour mode is on
  kColour,        // always a colour screen, in colour whatever the mode
};

// How a play shows the screen being drawn (ScreenPlay).
enum class PlayKind : uint8_t {
  kUnset,   // no row has it
  kAnsi,    // one ANSI interpreter takes each further piece of the file
  kStream,  // a stream of commands whose reader reads whole files: read again at growing cuts
  kCells,   // stored cells, revealed in file order spread over the file's bytes
};

// The whole file's bytes (a SAUCE record at its end included) as a screen.
using FormatReader = FormatReading (*)(const uint8_t* bytes, size_t length);

// ANSI art (and any text read as a colour screen) as a format's reading.
FormatReading ReadAnsiArt(const uint8_t* bytes, size_t length);

// A row's reader, which cannot be left out: a row without one, or with a
// null one, does not compile.
class RowReader {
 public:
  constexpr RowReader(FormatReader reader) : reader_(reader) {}  // NOLINT: a row names the function
  RowReader(std::nullptr_t) = delete;
  FormatReading operator()(const uint8_t* bytes, size_t length) const { return reader_(bytes, length); }

 private:
  FormatReader reader_;
};

struct ArtFormatRow {
  const char* extension;  // with its dot, in lower case; a name matches it in any case
  ArtFormat format;
  const char* name;  // as the Open dialog and the desktop entry name the format
  ShownAs shown;
  RowReader read;  // the colour screen
  PlayKind play;
  const char* mimeType;
  const char* mimeComment;  // null: the shared MIME database knows the type already
  const char* mimeParent;   // the type it is a sub-class of, or null
  const char* magic;        // bytes a file of it starts with, or null
  int globWeight;           // 0: the database's default (50)
  bool ownFilter;           // an Open dialog entry of its own; else listed among the scene formats
};

// The listing order of a folder: the design's documents first, then the
// scene's colour formats. A format known by two extensions takes a row for
// each; rows of one MIME type make one type with both globs.
inline constexpr ArtFormatRow kArtFormats[] = {
    {".nfo", ArtFormat::kText, "Nfo", ShownAs::kText, ReadAnsiArt, PlayKind::kAnsi, "text/x-nfo", nullptr,
     nullptr, nullptr, 0, true},
    {".diz", ArtFormat::kText, "Diz", ShownAs::kText, ReadAnsiArt, PlayKind::kAnsi, "text/x-diz",
     "Archive description", "text/plain", nullptr, 0, true},
    {".ans", ArtFormat::kText, "Ansi", ShownAs::kAnsiInColour, ReadAnsiArt, PlayKind::kAnsi, "text/x-ansi",
     "ANSI art", "text/plain", nullptr, 0, true},
    // Above text/plain's *.asc (weight 50), so that a file manager offers
    // the viewer for these files.
    {".asc", ArtFormat::kText, "Ascii", ShownAs::kText, ReadAnsiArt, PlayKind::kAnsi, "text/x-ascii-art",
     "ASCII art", "text/plain", nullptr, 60, true},
    {".xb", ArtFormat::kXBin, "XBin", ShownAs::kColour, ReadXBin, PlayKind::kCells, "image/x-xbin",
     "XBin art", nullptr, "XBIN", 0, false},
    // A .bin is most often no art at all: its glob weighs less than the
    // database's own, so it only names files nothing else claims.
    {".bin", ArtFormat::kBinaryText, "BinaryText", ShownAs::kColour, ReadBinaryText, PlayKind::kCells,
     "image/x-binarytext", "BinaryText art", nullptr, nullptr, 40, false},
    {".adf", ArtFormat::kArtworx, "ADF", ShownAs::kColour, ReadArtworx, PlayKind::kCells, "image/x-artworx",
     "Artworx art", nullptr, nullptr, 0, false},
    {".idf", ArtFormat::kIceDraw, "iCEDraw", ShownAs::kColour, ReadIceDraw, PlayKind::kCells,
     "image/x-icedraw", "iCEDraw art", nullptr, nullptr, 0, false},
    {".tnd", ArtFormat::kTundraDraw, "TundraDraw", ShownAs::kColour, ReadTundraDraw, PlayKind::kStream,
     "image/x-tundradraw", "TundraDraw art", nullptr, nullptr, 0, false},
    {".pcb", ArtFormat::kPcBoard, "PCBoard", ShownAs::kColour, ReadPcBoard, PlayKind::kStream,
     "text/x-pcboard", "PCBoard screen", nullptr, nullptr, 0, false},
    {".avt", ArtFormat::kAvatar, "Avatar", ShownAs::kColour, ReadAvatar, PlayKind::kStream, "text/x-avatar",
     "Avatar screen", nullptr, nullptr, 0, false},
};
constexpr int kArtExtensionCount = static_cast<int>(std::size(kArtFormats));

// A name of no row: laid out as text, an ANSI screen when its SAUCE record
// says ANSi in the colour mode; never listed in a walk.
inline constexpr ArtFormatRow kOtherFile{
    "", ArtFormat::kText, "",      ShownAs::kText, ReadAnsiArt, PlayKind::kAnsi,
    "", nullptr,          nullptr, nullptr,        0,           false,
};

namespace art_formats_check {

constexpr bool Complete(const ArtFormatRow& row) {
  const bool colour = row.shown == ShownAs::kColour;
  return row.extension != nullptr && row.name != nullptr && row.mimeType != nullptr &&
         row.format != ArtFormat::kEnd && row.shown != ShownAs::kUnset && row.play != PlayKind::kUnset &&
         // A colour format has a value of its own, the text documents share kText.
         colour == (row.format != ArtFormat::kText);
}

constexpr bool Same(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) ++a, ++b;
  return *a == *b;
}

// Each row complete, its extension a dot and lower-case letters or digits,
// met once in the table.
constexpr bool AllComplete() {
  for (const ArtFormatRow& row : kArtFormats) {
    if (!Complete(row) || row.extension[0] != '.' || row.extension[1] == '\0') return false;
    for (const char* c = row.extension + 1; *c != '\0'; ++c)
      if (!((*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9'))) return false;
    int met = 0;
    for (const ArtFormatRow& other : kArtFormats) met += Same(row.extension, other.extension) ? 1 : 0;
    if (met != 1) return false;
  }
  return Complete(kOtherFile);
}

constexpr bool EveryFormatHasARow() {
  for (int value = static_cast<int>(ArtFormat::kXBin); value < static_cast<int>(ArtFormat::kEnd); ++value) {
    bool found = false;
    for (const ArtFormatRow& row : kArtFormats) found = found || static_cast<int>(row.format) == value;
    if (!found) return false;
  }
  return true;
}

}  // namespace art_formats_check

static_assert(art_formats_check::AllComplete(),
              "every row of kArtFormats has a play, a MIME type and an extension of its own");
static_assert(art_formats_check::EveryFormatHasARow(), "every ArtFormat past kText has its row");

// The extensions in listing order: what a folder and a pack are walked by.
constexpr std::array<const char*, kArtExtensionCount> ArtExtensionList() {
  std::array<const char*, kArtExtensionCount> list{};
  for (int i = 0; i < kArtExtensionCount; ++i) list[static_cast<size_t>(i)] = kArtFormats[i].extension;
  return list;
}
inline constexpr std::array<const char*, kArtExtensionCount> kArtExtensions = ArtExtensionList();

// The row of the name of `path` (its extension, in any case); kOtherFile
// for any other name.
const ArtFormatRow& FormatRowOf(const char* path);
inline ArtFormat FormatOfName(const char* path) { return FormatRowOf(path).format; }
// A format that is always a colour screen, read from its bytes as they are.
inline bool IsColourFormat(const char* path) { return FormatRowOf(path).shown == ShownAs::kColour; }

// The Open dialog's filter: description and pattern pairs, each ended by a
// zero byte (the string's own zero ends the list): every document and
// `packPattern` first, then each format with an entry of its own, the
// scene formats together, the packs, and every file.
std::string OpenDialogFilter(const char* packDescription, const char* packPattern);

#endif
