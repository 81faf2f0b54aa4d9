// The SAUCE record that art files carry at their end: title, author, the
// screen's width, flags and font, and where the drawable text ends.
#ifndef QUILLPANE_SAUCE_H
#define QUILLPANE_SAUCE_H

#include <cstddef>
#include <cstdint>

// The SAUCE record: the last 128 bytes of a file, when they begin with
// "SAUCE00". Numbers are little-endian in the file.
struct SauceRecord {
  bool present = false;
  uint8_t dataType = 0;  // 1: character
  uint8_t fileType = 0;  // with data type 1: 1 ANSi
  uint16_t tInfo1 = 0;   // width in characters
  uint16_t tInfo2 = 0;   // lines
  uint8_t commentLines = 0;
  uint8_t flags = 0;       // bit 0 iCE colours; bits 1-2 letter spacing
  char fontName[23] = {};  // TInfoS, trailing blanks dropped, zero-terminated
  // The bytes that may be drawn: up to the first 0x1A, and never into the
  // comment block or the record.
  size_t textLength = 0;
  // The bytes before the comment block and the record, and before the 0x1A
  // that ends a file with a record: all of a binary format's data, where
  // 0x1A is a byte like any other.
  size_t dataLength = 0;
};

SauceRecord ReadSauce(const uint8_t* bytes, size_t length);

// A record that marks the file as ANSi: data type 1, file type 1.
inline bool IsAnsiRecord(const SauceRecord& sauce) {
  return sauce.present && sauce.dataType == 1 && sauce.fileType == 1;
}

#endif
