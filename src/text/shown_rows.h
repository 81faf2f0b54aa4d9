// The characters the picture's cells show, row by row, as links and Find
// read them: the byte drawn in each cell, and which rows carry on a line
// that ran past the last column. Either layout can fill these rows; the text
// layout's are collected here from its interpreter.
#ifndef QUILLPANE_SHOWN_ROWS_H
#define QUILLPANE_SHOWN_ROWS_H

#include <cstddef>
#include <cstdint>
#include <vector>

struct ShownRow {
  std::vector<uint8_t> cells;  // the code page 437 byte shown in column c; 0: an empty cell
  bool wrapped = false;        // continues the row above: its text ran past the last column
};
using ShownRows = std::vector<ShownRow>;

// Cells on one row: `length` cells from `column`.
struct CellRun {
  int32_t row, column, length;
};
// A link or a match: one run, or one a row when it goes on across a wrap.
using CellRuns = std::vector<CellRun>;

// The cells of the text layout's page of `columns` x `rows` cells (the
// limited page a render draws): the last byte drawn in a cell stays, as on
// the page, and cells outside the page are dropped. A row is wrapped when
// the row above filled its last column with a byte other than a blank (a
// blank there goes back to the start of its own row instead).
ShownRows CollectShownRows(const uint8_t* text, int32_t length, int32_t columns, int32_t rows);

// The rows as one text in reading order. A wrapped row follows the row
// above directly; any other row comes after a 0. Empty cells read
// `emptyCell`: 0 where they end a word like a row break, a blank where they
// look like one.
class JoinedText {
 public:
  JoinedText(const ShownRows& rows, uint8_t emptyCell);
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  // The index of (row, column), clamped into the text: a column past its
  // row's cells gives the end of those cells, rows before the first give 0
  // and rows past the last the text's size.
  size_t IndexOf(int32_t row, int32_t column) const;
  // The cells of text[begin, end), which holds no row break.
  CellRuns RunsOf(size_t begin, size_t end) const;

 private:
  const ShownRows& rows_;
  std::vector<uint8_t> bytes_;
  std::vector<size_t> rowStart_;  // where each row's first cell lies in bytes_
};

#endif
