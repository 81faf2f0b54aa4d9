// The readers' tables write a screen as text: each row's characters, '.' for a cell nothing was drawn in,
// the row's trailing empty cells left out, and '|' after each row.
#ifndef QUILLPANE_TESTS_SCREEN_TEXT_H
#define QUILLPANE_TESTS_SCREEN_TEXT_H

#include <string>

#include "art/scene_formats.h"

using Reader = FormatReading (*)(const uint8_t*, size_t);

inline FormatReading Read(Reader reader, const std::string& bytes) {
  return reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

inline std::string Dump(const AnsiScreen& screen) {
  std::string text;
  for (int32_t row = 0; row < screen.rows; ++row) {
    std::string line;
    for (int32_t column = 0; column < screen.columns; ++column)
      line +=
          screen.At(column, row).character == 0 ? '.' : static_cast<char>(screen.At(column, row).character);
    text += line.erase(line.find_last_not_of('.') + 1) + "|";
  }
  return text;
}

#endif
