#include "screen_writer.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// Sets cells[0 .. count-1] to `cell`. A file can erase a 1000-cell row in
// 3 bytes, so this is the heaviest work: copies of a 64-byte pattern run
// several times faster than GCC 12's std::fill of 2-byte cells, which
// passes every 16 bytes through the stack.
void FillCells(AnsiCell* cells, size_t count, AnsiCell cell) {
  AnsiCell pattern[32];
  std::fill(std::begin(pattern), std::end(pattern), cell);
  size_t k = 0;
  for (; k + 32 <= count; k += 32) std::memcpy(cells + k, pattern, sizeof pattern);
  std::memcpy(cells + k, pattern, (count - k) * sizeof cell);
}

// Whether an exact colour shows anything but the palette colour at `index`.
bool Differs(uint32_t exact, int index) {
  return (exact & kExactColour) != 0 && (exact & 0xFFFFFFu) != kAnsiPalette[index];
}

}  // namespace

ScreenWriter::ScreenWriter(int32_t columns, int32_t cellHeight, bool iceColours)
    : columns_(std::clamp(columns, 1, kAnsiMaxColumns)),
      cellHeight_(cellHeight == 8 || cellHeight == 14 || cellHeight == 19 ? cellHeight : 16),
      iceColours_(iceColours),
      rowLimit_(AnsiRowLimit(columns_, cellHeight_)),
      exactRowLimit_(AnsiRowLimit(columns_, cellHeight_, 32)) {}

int ScreenWriter::BackIndex(uint8_t colours) const { return colours >> 4 & (iceColours_ ? 15 : 7); }

void ScreenWriter::SetColours(uint8_t colours, uint32_t exactFront, uint32_t exactBack) {
  colours_ = colours;
  // An exact colour that is the palette's at the cell's index needs no
  // keeping.
  exactFront_ = Differs(exactFront, colours & 15) ? exactFront : 0;
  exactBack_ = Differs(exactBack, BackIndex(colours)) ? exactBack : 0;
}

// The row under the cursor, made part of the screen, its cells before
// column `end` about to be drawn; null when it lies past the rows a page
// keeps.
AnsiCell* ScreenWriter::Row(int32_t end) {
  if (row_ >= (exactInUse_ ? exactRowLimit_ : rowLimit_)) {
    droppedRows_ = true;
    return nullptr;
  }
  if (row_ >= allocatedRows_) {
    allocatedRows_ = std::min(rowLimit_, std::max({row_ + 1, allocatedRows_ * 2, 64}));
    const size_t cells = static_cast<size_t>(allocatedRows_) * static_cast<size_t>(columns_);
    cells_.resize(cells);
    if (!exact_.empty()) exact_.resize(2 * cells);
    drawnEnd_.resize(static_cast<size_t>(allocatedRows_));
    changed_.resize(static_cast<size_t>(allocatedRows_));
  }
  if (row_ >= rows_) rows_ = row_ + 1;
  MarkChanged(row_);
  uint16_t& drawn = drawnEnd_[static_cast<size_t>(row_)];
  if (drawn == 0) drawnRows_.push_back(row_);
  drawn = std::max(drawn, static_cast<uint16_t>(end));
  return cells_.data() + static_cast<size_t>(row_) * static_cast<size_t>(columns_);
}

// The exact colours of cells just written in the cursor's row. They are
// kept from the first cell drawn in one, for every cell from then on.
void ScreenWriter::Paint(int32_t from, int32_t count) {
  if (!exactInUse_) {
    if ((exactFront_ | exactBack_) == 0) return;
    // From here until a clear the page is drawn at 32 bits a pixel, and
    // keeps the rows that allows: erasing rows in exact colours costs five
    // times the bytes, and this bounds it.
    exactInUse_ = true;
    if (exact_.empty()) exact_.assign(2 * cells_.size(), 0);
    if (row_ >= exactRowLimit_) return;
  }
  uint32_t* pairs = exact_.data() + 2 * (static_cast<size_t>(row_) * static_cast<size_t>(columns_) +
                                         static_cast<size_t>(from));
  uint32_t pattern[16];
  for (int k = 0; k < 16; k += 2) pattern[k] = exactFront_, pattern[k + 1] = exactBack_;
  size_t k = 0;
  const size_t n = 2 * static_cast<size_t>(count);
  for (; k + 16 <= n; k += 16) std::memcpy(pairs + k, pattern, sizeof pattern);
  std::memcpy(pairs + k, pattern, (n - k) * sizeof pattern[0]);
}

void ScreenWriter::Put(uint8_t character) {
  if (AnsiCell* row = Row(column_ + 1)) {
    row[column_] = AnsiCell{character, colours_};
    Paint(column_, 1);
  }
  if (++column_ == columns_) {
    column_ = 0;
    NextRow();
  }
}

void ScreenWriter::PutRun(const uint8_t* characters, size_t count) {
  while (count > 0) {
    const int32_t n = static_cast<int32_t>(std::min(count, static_cast<size_t>(columns_ - column_)));
    if (AnsiCell* row = Row(column_ + n)) {
      for (int32_t k = 0; k < n; ++k) row[column_ + k] = AnsiCell{characters[k], colours_};
      Paint(column_, n);
    }
    characters += n;
    count -= static_cast<size_t>(n);
    if ((column_ += n) == columns_) {
      column_ = 0;
      NextRow();
    }
  }
}

void ScreenWriter::PutRepeated(uint8_t character, size_t count) {
  while (count > 0) {
    const int32_t n = static_cast<int32_t>(std::min(count, static_cast<size_t>(columns_ - column_)));
    if (AnsiCell* row = Row(column_ + n)) {
      FillCells(row + column_, static_cast<size_t>(n), AnsiCell{character, colours_});
      Paint(column_, n);
    }
    count -= static_cast<size_t>(n);
    if ((column_ += n) == columns_) {
      column_ = 0;
      NextRow();
    }
  }
}

void ScreenWriter::MoveTo(int64_t row, int64_t column) {
  row_ = static_cast<int32_t>(std::clamp<int64_t>(row, 0, kCursorRowLimit));
  column_ = static_cast<int32_t>(std::clamp<int64_t>(column, 0, columns_ - 1));
}

// Blanks what was drawn since the last clear, and only that.
void ScreenWriter::Clear() {
  for (const int32_t row : drawnRows_) {
    MarkChanged(row);
    const size_t first = static_cast<size_t>(row) * static_cast<size_t>(columns_);
    const size_t end = drawnEnd_[static_cast<size_t>(row)];
    FillCells(cells_.data() + first, end, AnsiCell{});
    if (!exact_.empty()) std::fill_n(exact_.begin() + static_cast<ptrdiff_t>(2 * first), 2 * end, 0u);
    drawnEnd_[static_cast<size_t>(row)] = 0;
  }
  drawnRows_.clear();
  exactInUse_ = false;
  rows_ = 0;
  row_ = column_ = 0;
}

void ScreenWriter::Erase(int32_t from, int32_t to) {
  from = std::clamp(from, 0, columns_);
  to = std::clamp(to, from, columns_);
  if (from == to) return;
  if (AnsiCell* row = Row(to)) {
    FillCells(row + from, static_cast<size_t>(to - from), AnsiCell{0, colours_});
    Paint(from, to - from);
  }
}

AnsiScreen ScreenWriter::Finish() {
  size_t cells = static_cast<size_t>(rows_) * static_cast<size_t>(columns_);
  cells_.resize(cells);
  if (!exact_.empty()) {
    exact_.resize(2 * cells);
    bool needed = false;
    for (size_t i = 0; i < cells && !needed; ++i)
      needed = Differs(exact_[2 * i], cells_[i].colours & 15) ||
               Differs(exact_[2 * i + 1], BackIndex(cells_[i].colours));
    if (!needed) {
      // Every exact colour is the palette's own: the page stays at 4 bits.
      exact_ = std::vector<uint32_t>();
    } else if (const int32_t limit = AnsiRowLimit(columns_, cellHeight_, 32); rows_ > limit) {
      // Eight times the bytes a pixel: the page keeps fewer rows.
      rows_ = limit;
      droppedRows_ = true;
      cells = static_cast<size_t>(rows_) * static_cast<size_t>(columns_);
      cells_.resize(cells);
      exact_.resize(2 * cells);
    }
  }
  AnsiScreen screen;
  screen.columns = columns_;
  screen.rows = rows_;
  screen.cellHeight = cellHeight_;
  screen.iceColours = iceColours_;
  screen.cells = std::move(cells_);
  screen.exactColours = std::move(exact_);
  return screen;
}

void ScreenWriter::MarkChanged(int32_t row) {
  uint8_t& mark = changed_[static_cast<size_t>(row)];
  if (mark == 0) mark = 1, changedRows_.push_back(row);
}

void ScreenWriter::TakeChangedRows(std::vector<int32_t>& rows) {
  rows.swap(changedRows_);
  changedRows_.clear();
  for (const int32_t row : rows) changed_[static_cast<size_t>(row)] = 0;
  std::sort(rows.begin(), rows.end());
}
const AnsiCell* ScreenWriter::RowCells(int32_t row) const {
  if (row < 0 || row >= allocatedRows_) return nullptr;
  return cells_.data() + static_cast<size_t>(row) * static_cast<size_t>(columns_);
}

const uint32_t* ScreenWriter::RowExactColours(int32_t row) const {
  if (exact_.empty() || row < 0 || row >= allocatedRows_) return nullptr;
  return exact_.data() + 2 * static_cast<size_t>(row) * static_cast<size_t>(columns_);
}
