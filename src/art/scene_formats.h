// The scene's other art formats, each read into the same colour screen as
// ANSI art: a pure function a format, over the whole file's bytes (a SAUCE
// record at the end included, which is never drawn). Every header field is
// bounded: a reader gives the part of a file it can read, with a note
// saying what it left out, and never more than kAnsiMaxColumns columns or
// AnsiRowLimit rows. Which file each reads is in the table of formats
// (art_formats.h).
#ifndef QUILLPANE_SCENE_FORMATS_H
#define QUILLPANE_SCENE_FORMATS_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "ansi_screen.h"

// A screen and what of the file could not be read (empty when all of it
// was).
struct FormatReading {
  AnsiScreen screen;
  std::string note;
};

FormatReading ReadXBin(const uint8_t* bytes, size_t length);
FormatReading ReadBinaryText(const uint8_t* bytes, size_t length);
FormatReading ReadArtworx(const uint8_t* bytes, size_t length);
FormatReading ReadIceDraw(const uint8_t* bytes, size_t length);
FormatReading ReadTundraDraw(const uint8_t* bytes, size_t length);
FormatReading ReadPcBoard(const uint8_t* bytes, size_t length);
FormatReading ReadAvatar(const uint8_t* bytes, size_t length);

#endif
