// The page the colour readers draw on (ANSI, PCBoard, Avatar, TundraDraw):
// a cursor over rows of cells that grow as it draws, in one pass and in
// time linear in what is drawn, however the cursor wanders or clears.
#ifndef QUILLPANE_SCREEN_WRITER_H
#define QUILLPANE_SCREEN_WRITER_H

#include <cstddef>
#include <climits>
#include <cstdint>
#include <vector>

#include "ansi_screen.h"

class ScreenWriter {
 public:
  // The cursor may wander this far down, so that no arithmetic on it can
  // overflow; rows past AnsiRowLimit keep nothing.
  static constexpr int32_t kCursorRowLimit = 1 << 30;

  // Without `iceColours` bit 7 of the colours is the blink bit.
  ScreenWriter(int32_t columns, int32_t cellHeight, bool iceColours = true);

  int32_t columns() const { return columns_; }
  int32_t row() const { return row_; }
  int32_t column() const { return column_; }
  // Whether anything was drawn below the rows a page keeps.
  bool droppedRows() const { return droppedRows_; }

  // The colours of what is drawn and erased from now on: a cell's colours
  // byte, and for each of front and back an exact colour (kExactColour
  // set) or 0 for the palette's.
  void SetColours(uint8_t colours, uint32_t exactFront = 0, uint32_t exactBack = 0);
  uint8_t colours() const { return colours_; }

  // Draws a character and moves on; the last column moves the cursor
  // straight to the next row (a line end right after it leaves an empty
  // row), as DOS does.
  void Put(uint8_t character);
  // Put for each of characters[0 .. count-1], a row at a time.
  void PutRun(const uint8_t* characters, size_t count);
  // Put `count` times.
  void PutRepeated(uint8_t character, size_t count);

  void NextRow() { row_ = row_ < kCursorRowLimit ? row_ + 1 : row_; }
  // Both held within the page: columns to the last, rows to the cursor's
  // limit.
  void MoveTo(int64_t row, int64_t column);
  void MoveBy(int64_t rows, int64_t columns) { MoveTo(int64_t{row_} + rows, int64_t{column_} + columns); }

  // The page starts again, empty, the cursor at the top left.
  void Clear();
  // Blanks the cursor's row from column `from` up to `to` in the current
  // colours; they count as drawn.
  void Erase(int32_t from, int32_t to);

  // The screen: exact colours only where some cell's colour is not the
  // palette's at its index, and then no more rows than a 32-bit page keeps.
  AnsiScreen Finish();

  // For a play of the drawing: the rows drawn on or cleared since the last
  // call, in order (as many as the bytes read since drew on or cleared, not
  // the rows between them), and a row's cells as they stand (null for a row
  // never reached: blank) with their exact colours (null: the palette's).
  void TakeChangedRows(std::vector<int32_t>& rows);
  const AnsiCell* RowCells(int32_t row) const;
  const uint32_t* RowExactColours(int32_t row) const;

 private:
  AnsiCell* Row(int32_t end);
  // A colours byte's background index, as the screen reads it.
  int BackIndex(uint8_t colours) const;
  void Paint(int32_t from, int32_t count);

  const int32_t columns_;
  const int32_t cellHeight_;
  const bool iceColours_;
  const int32_t rowLimit_;
  const int32_t exactRowLimit_;  // at 32 bits a pixel
  std::vector<AnsiCell> cells_;
  // Parallel to cells_ (two a cell) once anything is drawn in an exact
  // colour; empty before. Whether a cell drawn since the last clear has
  // one.
  std::vector<uint32_t> exact_;
  bool exactInUse_ = false;
  // Each row's cells drawn since the last clear end before drawnEnd_[row]
  // (0: none); drawnRows_ lists the rows where that is not 0. A clear
  // blanks each listed row from column 0 rather than keep where its drawing
  // began: at most 1000 cells for each row drawn on, and clearing every row
  // ever reached instead would make a file of clears far down take time in
  // the square of its size.
  std::vector<uint16_t> drawnEnd_;
  std::vector<int32_t> drawnRows_;
  int32_t allocatedRows_ = 0;
  int32_t rows_ = 0;
  int32_t row_ = 0, column_ = 0;
  bool droppedRows_ = false;
  // The rows changed since TakeChangedRows, each once: marked in changed_.
  std::vector<int32_t> changedRows_;
  std::vector<uint8_t> changed_;
  void MarkChanged(int32_t row);
  uint8_t colours_ = 0x07;
  uint32_t exactFront_ = 0, exactBack_ = 0;
};

#endif
