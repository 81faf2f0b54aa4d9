// Shown rows written as a string: '\n' ends a row, '\r' ends one whose text
// wraps onto the next, '\t' is an empty cell.
#ifndef QUILLPANE_TESTS_SHOWN_ROWS_TEXT_H
#define QUILLPANE_TESTS_SHOWN_ROWS_TEXT_H

#include <string>

#include "render/shown_rows.h"

inline ShownRows RowsOf(const std::string& text) {
  ShownRows rows(1);
  for (const char c : text) {
    if (c == '\n' || c == '\r') {
      rows.emplace_back();
      rows.back().wrapped = c == '\r';
    } else {
      rows.back().cells.push_back(c == '\t' ? 0 : static_cast<uint8_t>(c));
    }
  }
  return rows;
}

// "row:column+length" for each run, joined by blanks.
inline std::string RunsText(const CellRuns& runs) {
  std::string out;
  for (const CellRun& r : runs) {
    if (!out.empty()) out += ' ';
    out += std::to_string(r.row) + ':' + std::to_string(r.column) + '+' + std::to_string(r.length);
  }
  return out;
}

#endif
