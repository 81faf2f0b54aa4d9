#include "ansi_text.h"

#include <algorithm>

ShownRows AnsiShownRows(const AnsiScreen& screen) {
  ShownRows shown(static_cast<size_t>(std::max(screen.rows, 0)));
  const auto blank = [](uint8_t c) { return c == 0 || c == ' ' || c == 255; };
  for (int32_t row = 0; row < screen.rows; ++row) {
    ShownRow& out = shown[static_cast<size_t>(row)];
    int32_t end = screen.columns;
    while (end > 0 && screen.At(end - 1, row).character == 0) --end;
    out.cells.resize(static_cast<size_t>(end));
    for (int32_t column = 0; column < end; ++column)
      out.cells[static_cast<size_t>(column)] = screen.At(column, row).character;
    out.wrapped = row > 0 && !blank(screen.At(screen.columns - 1, row - 1).character);
  }
  return shown;
}
