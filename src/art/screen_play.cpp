#include "screen_play.h"

#include <algorithm>

#include "ansi_interpreter.h"
#include "document_reading.h"
#include "sauce.h"

namespace {

// 16 frames of 60 Hz: 800/3 ms, kept in thirds of a millisecond.
constexpr uint64_t kBlinkPhaseThirds = 800;

}  // namespace

bool BlinkShownAt(uint64_t milliseconds) { return (milliseconds * 3 / kBlinkPhaseThirds) % 2 == 0; }

uint32_t MillisecondsToBlinkChange(uint64_t milliseconds) {
  const uint64_t next = (milliseconds * 3 / kBlinkPhaseThirds + 1) * kBlinkPhaseThirds;
  return static_cast<uint32_t>((next + 2) / 3 - milliseconds);
}

uint64_t ModemBytesAt(uint64_t milliseconds, uint32_t bitsPerSecond) {
  return milliseconds * bitsPerSecond / 10000;
}

ScreenPlay::ScreenPlay(const char* path, const uint8_t* bytes, size_t length, ScreenLook look)
    : bytes_(bytes), length_(length), format_(FormatRowOf(path)) {
  ColourScreen shown = ReadColourScreen(path, bytes, length, look);
  still_ = std::move(shown.screen);
  note_ = std::move(shown.note);
  frame_.columns = still_.columns;
  frame_.rows = still_.rows;
  frame_.cellHeight = still_.cellHeight;
  frame_.cellWidth = still_.cellWidth;
  frame_.palette = still_.palette;
  frame_.font = still_.font;
  frame_.characterSet = still_.characterSet;
  frame_.codePage = still_.codePage;
  frame_.tube = still_.tube;
  frame_.iceColours = still_.iceColours;
  frame_.cells.assign(still_.cells.size(), AnsiCell{});
  frame_.exactColours.assign(still_.exactColours.size(), 0);
  if (format_.play == PlayKind::kAnsi) {
    const SauceRecord sauce = ReadSauce(bytes, length);
    textEnd_ = sauce.textLength;
    ansi_ = std::make_unique<AnsiInterpreter>(AnsiOptionsFor(sauce));
  }
}

ScreenPlay::~ScreenPlay() = default;

// Row `row` of the frame becomes `cells` (null: blank) and `exact`
// (null: the palette's colours); the cells that differed join `changed`.
void ScreenPlay::TakeRow(int32_t row, const AnsiCell* cells, const uint32_t* exact, CellRect& changed) {
  const size_t first = static_cast<size_t>(row) * static_cast<size_t>(frame_.columns);
  AnsiCell* to = frame_.cells.data() + first;
  uint32_t* toExact = frame_.exactColours.empty() ? nullptr : frame_.exactColours.data() + 2 * first;
  int32_t from = frame_.columns, end = 0;
  for (int32_t c = 0; c < frame_.columns; ++c) {
    const AnsiCell cell = cells != nullptr ? cells[c] : AnsiCell{};
    bool differs = cell.character != to[c].character || cell.colours != to[c].colours;
    to[c] = cell;
    if (toExact != nullptr) {
      const uint32_t front = exact != nullptr ? exact[2 * c] : 0,
                     back = exact != nullptr ? exact[2 * c + 1] : 0;
      differs = differs || front != toExact[2 * c] || back != toExact[2 * c + 1];
      toExact[2 * c] = front, toExact[2 * c + 1] = back;
    }
    if (differs) from = std::min(from, c), end = c + 1;
  }
  if (end == 0) return;
  if (rects_ != nullptr) {
    if (!rects_->empty() && rects_->back().endRow == row) {
      CellRect& last = rects_->back();
      last.endRow = row + 1;
      last.firstColumn = std::min(last.firstColumn, from), last.endColumn = std::max(last.endColumn, end);
    } else {
      rects_->push_back(CellRect{row, row + 1, from, end});
    }
  }
  if (changed.empty()) {
    changed = CellRect{row, row + 1, from, end};
    return;
  }
  changed.firstRow = std::min(changed.firstRow, row);
  changed.endRow = std::max(changed.endRow, row + 1);
  changed.firstColumn = std::min(changed.firstColumn, from);
  changed.endColumn = std::max(changed.endColumn, end);
}

void ScreenPlay::TakeScreen(const AnsiScreen& screen, CellRect& changed) {
  const bool sameWidth = screen.columns == frame_.columns;
  for (int32_t row = 0; row < frame_.rows; ++row) {
    const bool inside = sameWidth && row < screen.rows;
    const size_t first = static_cast<size_t>(row) * static_cast<size_t>(frame_.columns);
    TakeRow(row, inside ? screen.cells.data() + first : nullptr,
            inside && !screen.exactColours.empty() ? screen.exactColours.data() + 2 * first : nullptr,
            changed);
  }
  if (!changed.empty()) cursorRow_ = changed.endRow - 1;
}

void ScreenPlay::RevealCells(size_t position, CellRect& changed) {
  const size_t total = still_.cells.size();
  const size_t shown = length_ == 0 ? total : static_cast<size_t>(uint64_t{total} * position / length_);
  const size_t columns = static_cast<size_t>(frame_.columns);
  for (size_t at = revealed_; at < shown;) {
    // A row's part at a time, so that the rows between stay whole.
    const auto row = static_cast<int32_t>(at / columns);
    const size_t end = std::min(shown, (at / columns + 1) * columns);
    std::vector<AnsiCell> cells(frame_.cells.begin() + static_cast<ptrdiff_t>(row * columns),
                                frame_.cells.begin() + static_cast<ptrdiff_t>((row + 1) * columns));
    std::copy(still_.cells.begin() + static_cast<ptrdiff_t>(at),
              still_.cells.begin() + static_cast<ptrdiff_t>(end),
              cells.begin() + static_cast<ptrdiff_t>(at % columns));
    TakeRow(row, cells.data(), nullptr, changed);
    cursorRow_ = row;
    at = end;
  }
  revealed_ = std::max(revealed_, shown);
}

CellRect ScreenPlay::AdvanceTo(size_t position, std::vector<CellRect>* rects) {
  CellRect changed;
  if (rects != nullptr) rects->clear();
  position = std::min(position, length_);
  if (position <= position_) return changed;
  rects_ = rects;
  const size_t from = position_;
  position_ = position;
  switch (format_.play) {
    case PlayKind::kAnsi: {
      // The record and what stands before it are never drawn.
      const size_t end = std::min(position, textEnd_);
      if (end > from) ansi_->Feed(bytes_ + from, end - from), bytesRead_ += end - from;
      ScreenWriter& writer = ansi_->screen();
      writer.TakeChangedRows(changedRows_);
      for (const int32_t row : changedRows_)
        if (row < frame_.rows) TakeRow(row, writer.RowCells(row), writer.RowExactColours(row), changed);
      cursorRow_ = writer.row();
      break;
    }
    case PlayKind::kStream: {
      // A reading costs the cut's length. Once the readings have taken 16
      // times the file and a megabyte, the cut must grow by a 32nd of the
      // file before the next: a play reads at most some 50 times the file,
      // however long, where a cut grown by a 256th each time read a long
      // one some 257 times (an 8 MB file at 10,000,000 bit/s took 17 s).
      const uint64_t budget = uint64_t{16} * length_ + (uint64_t{1} << 20);
      const size_t step = std::max<size_t>({1, readAt_ / 256, bytesRead_ > budget ? length_ / 32 : 0});
      if (position == length_ || position - readAt_ >= step) {
        readAt_ = position;
        bytesRead_ += position;
        TakeScreen(format_.read(bytes_, position).screen, changed);
      }
      break;
    }
    case PlayKind::kCells: RevealCells(position, changed); break;
    case PlayKind::kUnset: break;  // no row has it
  }
  rects_ = nullptr;
  return changed;
}
