#include "shown_rows.h"

#include <algorithm>

#include "../art/layout_interpreter.h"

namespace {

// The interpreter reports a full row as a draw in the last column followed at
// once by the start of the next row (a line break is examined first, as a
// byte of its own); a blank there starts its own row again instead.
class ShownRowsSink {
 public:
  ShownRowsSink(ShownRows& rows, int32_t columns) : rows_(rows), columns_(columns) {}
  void Examine(int32_t, int32_t) { lastColumnRow_ = -1; }
  void Draw(uint8_t b, int32_t column, int32_t row) {
    lastColumnRow_ = column == kLastColumn ? row : -1;
    if (column < 0 || column >= columns_ || row < 0 || row >= static_cast<int32_t>(rows_.size())) return;
    std::vector<uint8_t>& cells = rows_[static_cast<size_t>(row)].cells;
    const auto at = static_cast<size_t>(column);
    // Text runs left to right: most draws add the next cell.
    if (at == cells.size()) {
      cells.push_back(b);
      return;
    }
    if (cells.size() < at) cells.resize(at + 1, 0);
    cells[at] = b;
  }
  void RowStart(int32_t row, int32_t) {
    if (lastColumnRow_ >= 0 && row == lastColumnRow_ + 1 && row < static_cast<int32_t>(rows_.size())) {
      rows_[static_cast<size_t>(row)].wrapped = true;
    }
    lastColumnRow_ = -1;
  }

 private:
  ShownRows& rows_;
  int32_t columns_;
  int32_t lastColumnRow_ = -1;  // the row whose last column was just drawn
};

}  // namespace

ShownRows CollectShownRows(const uint8_t* text, int32_t length, int32_t columns, int32_t rows) {
  ShownRows shown(static_cast<size_t>(std::max(rows, 0)));
  ShownRowsSink sink(shown, columns);
  RunLayoutPass(text, length, sink);
  return shown;
}

JoinedText::JoinedText(const ShownRows& rows, uint8_t emptyCell) : rows_(rows) {
  rowStart_.reserve(rows.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    if (r > 0 && !rows[r].wrapped) bytes_.push_back(0);
    rowStart_.push_back(bytes_.size());
    for (const uint8_t b : rows[r].cells) bytes_.push_back(b != 0 ? b : emptyCell);
  }
}

size_t JoinedText::IndexOf(int32_t row, int32_t column) const {
  if (row < 0 || rowStart_.empty()) return 0;
  if (static_cast<size_t>(row) >= rowStart_.size()) return bytes_.size();
  const size_t cells = rows_[static_cast<size_t>(row)].cells.size();
  return rowStart_[static_cast<size_t>(row)] + std::min(static_cast<size_t>(std::max(column, 0)), cells);
}

CellRuns JoinedText::RunsOf(size_t begin, size_t end) const {
  CellRuns runs;
  if (rowStart_.empty()) return runs;
  // The last row that starts at or before `begin`; an empty row shares its
  // start with the next, so skip to the row whose cells hold `begin`.
  size_t row =
      static_cast<size_t>(std::upper_bound(rowStart_.begin(), rowStart_.end(), begin) - rowStart_.begin());
  row = row == 0 ? 0 : row - 1;
  while (begin < end && row < rows_.size()) {
    const size_t rowEnd = rowStart_[row] + rows_[row].cells.size();
    if (begin < rowEnd) {
      const size_t stop = std::min(end, rowEnd);
      runs.push_back({static_cast<int32_t>(row), static_cast<int32_t>(begin - rowStart_[row]),
                      static_cast<int32_t>(stop - begin)});
      begin = stop;
    }
    ++row;
  }
  return runs;
}
