#include "cell_formats.h"

#include <algorithm>

#include "page_limits.h"

uint32_t SixBitColour(const uint8_t* rgb) {
  uint32_t colour = 0;
  for (int k = 0; k < 3; ++k) {
    const uint32_t v = rgb[k] & 63u;
    colour = colour << 8 | v << 2 | v >> 4;
  }
  return colour;
}

void SetPalette(AnsiScreen& screen, const uint8_t* colours) {
  for (int c = 0; c < 16; ++c)
    screen.palette[static_cast<size_t>(AnsiIndex(c))] = SixBitColour(colours + 3 * c);
}

void AddNote(FormatReading& reading, const std::string& what) {
  reading.note += (reading.note.empty() ? "" : "; ") + what;
}

int32_t CellRowLimit(int32_t columns, int32_t cellHeight) {
  const int64_t rowBytes =
      DibStride(int64_t{std::clamp(columns, 1, kAnsiMaxColumns)} * kAnsiWideCellWidth, 4) *
      std::clamp(cellHeight, 1, 32);
  return static_cast<int32_t>(kMaxPageBytes / rowBytes);
}

CellScreen::CellScreen(int32_t fileColumns, int32_t cellHeight, bool iceColours)
    : fileColumns_(std::max(fileColumns, 1)),
      columns_(std::min(fileColumns_, kAnsiMaxColumns)),
      cellHeight_(cellHeight),
      iceColours_(iceColours),
      rowLimit_(CellRowLimit(columns_, cellHeight)) {}

bool CellScreen::Add(AnsiCell cell) {
  if (row_ >= rowLimit_) {
    cut_ = true;
    return false;
  }
  if (column_ < columns_) cells_.push_back(AnsiCell{cell.character, AnsiColours(cell.colours)});
  ++count_;
  if (++column_ == fileColumns_) {
    column_ = 0;
    ++row_;
  }
  return true;
}

bool CellScreen::Repeat(AnsiCell cell, size_t count) {
  for (size_t k = 0; k < count; ++k)
    if (!Add(cell)) return false;
  return true;
}

void CellScreen::Finish(FormatReading& reading) {
  AnsiScreen& screen = reading.screen;
  screen.columns = columns_;
  screen.rows = row_ + (column_ > 0 ? 1 : 0);
  screen.cellHeight = cellHeight_;
  screen.iceColours = iceColours_;
  cells_.resize(static_cast<size_t>(screen.rows) * static_cast<size_t>(columns_));
  screen.cells = std::move(cells_);
  if (fileColumns_ > columns_)
    AddNote(reading, "the width " + std::to_string(fileColumns_) + " is cut to " + std::to_string(columns_) +
                         " columns");
  if (cut_) AddNote(reading, "only the first " + std::to_string(rowLimit_) + " rows fit in a page");
}
