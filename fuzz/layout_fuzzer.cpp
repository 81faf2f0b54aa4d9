// Arbitrary documents through both passes of the layout: the passes move
// the cursor identically, every glyph drawn at a non-negative cell lies
// inside the measured page, and the row table is never written outside.
// A copy of the last rows stays within its limit and its buffer.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "art/layout_interpreter.h"
#include "art/page_limits.h"
#include "text/selection_copy.h"

namespace {

using Cell = std::pair<int32_t, int32_t>;
constexpr int32_t kGuard = 64;
constexpr int32_t kCanary = -0x2468ACE;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "layout invariant broken: %s\n", what);
    std::abort();
  }
}

struct MeasureRecorder {
  explicit MeasureRecorder(int32_t* lineTable) : sink(lineTable) {}
  void Examine(int32_t column, int32_t row) {
    examined.emplace_back(column, row);
    sink.Examine(column, row);
  }
  void Draw(uint8_t b, int32_t column, int32_t row) { sink.Draw(b, column, row); }
  void RowStart(int32_t row, int32_t offset) {
    rowStarts.emplace_back(row, offset);
    if (row == 0) lastRowZeroStart = offset;
    sink.RowStart(row, offset);
  }
  MeasureSink sink;
  std::vector<Cell> examined, rowStarts;
  int32_t lastRowZeroStart = 0;
};

struct DrawChecker {
  PageMeasure page;
  std::vector<Cell> examined, rowStarts;
  void Examine(int32_t column, int32_t row) { examined.emplace_back(column, row); }
  void Draw(uint8_t, int32_t column, int32_t row) {
    if (column >= 0 && row >= 0)
      Check(column < page.columnCount && row < page.rowCount, "draw outside the page");
  }
  void RowStart(int32_t row, int32_t offset) { rowStarts.emplace_back(row, offset); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The document as a render sees it: up to the first zero byte, ending
  // with a line feed.
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  if (text.empty() || text.back() != '\n') text += '\n';
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());

  std::vector<int32_t> guarded(kLineTableSize + 2 * kGuard, kCanary);
  int32_t* table = guarded.data() + kGuard;

  MeasureRecorder pass1(table);
  RunLayoutPass(bytes, length, pass1);
  const PageMeasure page = MeasureLayout(bytes, length, table);
  Check(page.columnCount == pass1.sink.measure.columnCount && page.rowCount == pass1.sink.measure.rowCount,
        "MeasureLayout disagrees with its own sink");

  DrawChecker pass2{page, {}, {}};
  RunLayoutPass(bytes, length, pass2);
  Check(pass1.examined == pass2.examined, "the passes move the cursor differently");
  Check(pass1.rowStarts == pass2.rowStarts, "the passes start rows differently");

  for (const Cell& start : pass1.rowStarts)
    Check(start.second >= 1 && start.second <= length, "row start outside the text");
  for (int32_t i = 0; i < kGuard; ++i) {
    Check(guarded[i] == kCanary, "row table written below entry 0");
    Check(guarded[kGuard + kLineTableSize + i] == kCanary, "row table written past its last entry");
  }
  Check(table[0] == 0, "entry 0 is not 0");
  Check(table[1] == pass1.lastRowZeroStart, "entry 1 is not the last start of row 0");

  char copied[kSelectionTextLimit + 1];
  const PageMeasure limited = LimitPageSize(page, 1);
  const ShownRows shown = CollectShownRows(bytes, length, limited.columnCount, limited.rowCount);
  const int32_t copiedLength = CopySelectedText(shown, limited.rowCount > 8 ? limited.rowCount - 8 : 0,
                                                CellSpan{0, 0, 200, 9}, copied, sizeof copied);
  Check(copiedLength <= kSelectionTextLimit && copied[copiedLength] == '\0', "copy past its limit");
  return 0;
}
