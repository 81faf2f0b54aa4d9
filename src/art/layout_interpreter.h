// The text layout: bytes to character cells on rows of 92 cells, with tabs,
// line breaks and the cursor-movement subset of ANSI escape sequences
// (colour sequences are read and have no effect).
//
// One interpreter serves both passes of a render. It reports to a sink:
//   sink.Examine(column, row)     every byte, where it is examined
//   sink.Draw(byte, column, row)  every byte that is drawn
//   sink.RowStart(row, offset)    a new row begins at `offset` of the text
// The measuring pass listens to Examine and RowStart, the drawing pass to
// Draw; both see the same cursor movements because they run the same code.
#ifndef QUILLPANE_LAYOUT_INTERPRETER_H
#define QUILLPANE_LAYOUT_INTERPRETER_H

#include <cstdint>

#include "../core/state_types.h"

// Columns 0 to 91: the byte drawn in column 91 is the last of its row.
constexpr int32_t kLastColumn = 91;
// The escape parser keeps at most this many characters, counting the
// terminator that a final letter appends.
constexpr int kSequenceCapacity = 8;
// Cursor movements are held to this range so that no arithmetic on the
// cursor can overflow, however many movements a document repeats. It is
// far beyond any page that is ever made.
constexpr int32_t kCursorLimit = 1 << 30;

struct LayoutState {
  int32_t cursorColumn = 0;
  int32_t cursorRow = 0;
  int32_t savedColumn = 0;
  int32_t savedRow = 0;
  uint8_t previousByte = 0;
  bool inSequence = false;
  int sequenceLength = 0;
  char sequenceText[kSequenceCapacity] = {};
};

namespace layout_detail {

inline int32_t ClampCursor(int64_t value) {
  if (value > kCursorLimit) return kCursorLimit;
  if (value < -kCursorLimit) return -kCursorLimit;
  return static_cast<int32_t>(value);
}

// Parameters of a sequence, split at ';' (and ':' for H); an empty piece
// reads 0. The text always ends with a separator when a final letter that
// reads parameters has appended its terminator.
struct Parameters {
  int count = 0;
  int32_t values[kSequenceCapacity] = {};
};

inline Parameters ReadParameters(const LayoutState& s) {
  Parameters p;
  int32_t value = 0;
  for (int i = 0; i < s.sequenceLength; ++i) {
    const char c = s.sequenceText[i];
    if (c >= '0' && c <= '9') {
      value = value * 10 + (c - '0');  // at most 7 digits: no overflow
    } else {
      p.values[p.count++] = value;
      value = 0;
    }
  }
  return p;
}

inline void Append(LayoutState& s, char c) {
  // Characters beyond the capacity (leaving room for the terminator) are
  // consumed and dropped: a long colour sequence still draws nothing.
  if (s.sequenceLength < kSequenceCapacity - 1) s.sequenceText[s.sequenceLength++] = c;
}

inline void AppendTerminator(LayoutState& s, char c) {
  if (s.sequenceLength < kSequenceCapacity) s.sequenceText[s.sequenceLength++] = c;
}

// Returns true when the parser takes the byte (it is not drawn).
inline bool ParseSequenceByte(LayoutState& s, uint8_t b) {
  if (b >= '0' && b <= '9') {
    Append(s, static_cast<char>(b));
    return true;
  }
  if (b == ';' || b == ' ' || b == '?') {
    Append(s, ';');
    return true;
  }
  char terminator = 0;
  switch (b) {
    case 'C':
    case 'D':
    case 'J':
    case 'm': terminator = ';'; break;
    case 'H': terminator = ':'; break;
    case 'A':
    case 'K':
    case 'h':
    case 'p':
    case 's':
    case 'u': break;
    default:
      // Not part of a sequence: the byte acts as usual, the sequence stays
      // open and collects the digits that follow.
      s.sequenceLength = 0;
      return false;
  }
  if (terminator) AppendTerminator(s, terminator);
  switch (b) {
    case 'A':  // one row up and one column left, whatever the parameters
      s.cursorRow = ClampCursor(int64_t{s.cursorRow} - 1);
      s.cursorColumn = ClampCursor(int64_t{s.cursorColumn} - 1);
      break;
    case 'C':
    case 'D': {
      const Parameters p = ReadParameters(s);
      int64_t sum = 0;
      for (int i = 0; i < p.count; ++i) sum += p.values[i];
      s.cursorColumn = ClampCursor(b == 'C' ? s.cursorColumn + sum : s.cursorColumn - sum);
      break;
    }
    case 'H': {
      const Parameters p = ReadParameters(s);
      s.cursorRow = ClampCursor(int64_t{p.count > 0 ? p.values[p.count - 1] : 0} + 1);
      s.cursorColumn = p.count >= 2 ? ClampCursor(int64_t{p.values[p.count - 2]} + 1) : 0;
      break;
    }
    case 's':
      s.savedColumn = s.cursorColumn;
      s.savedRow = s.cursorRow;
      break;
    case 'u':
      s.cursorColumn = s.savedColumn;
      s.cursorRow = s.savedRow;
      break;
    default:  // J, K, h, m, p: read and ignored
      break;
  }
  s.inSequence = false;
  s.sequenceLength = 0;
  return true;
}

}  // namespace layout_detail

// Runs one pass over text[0 .. length-1] from the initial state.
template <typename Sink>
void RunLayoutPass(const uint8_t* text, int32_t length, Sink& sink) {
  using namespace layout_detail;
  LayoutState s;
  for (int32_t j = 0; j < length; ++j) {
    const uint8_t b = text[j];
    sink.Examine(s.cursorColumn, s.cursorRow);
    bool consumed = false;
    if (s.inSequence) consumed = ParseSequenceByte(s, b);
    switch (b) {
      case 13:
        s.cursorRow = ClampCursor(int64_t{s.cursorRow} + 1);
        // A line feed that follows belongs to this break.
        sink.RowStart(s.cursorRow, (j + 1 < length && text[j + 1] == 10) ? j + 2 : j + 1);
        s.cursorColumn = 0;
        break;
      case 10:
        if (s.previousByte != 13) {
          s.cursorRow = ClampCursor(int64_t{s.cursorRow} + 1);
          sink.RowStart(s.cursorRow, j + 1);
          s.cursorColumn = 0;
        }
        break;
      case 9: {
        const int32_t column = s.cursorColumn < 0 ? -s.cursorColumn : s.cursorColumn;
        s.cursorColumn = ClampCursor(int64_t{8} * (column / 8) + 8);
        break;
      }
      case 27:
      case 12: break;
      default:
        if (s.previousByte == 27 && b == '[') {
          s.inSequence = true;
        } else if (!consumed) {
          sink.Draw(b, s.cursorColumn, s.cursorRow);
          if (s.cursorColumn <= kLastColumn - 1) {
            ++s.cursorColumn;
          } else {
            // The row is full. A blank goes back to the start of the same
            // row; anything else starts the next one.
            if (b != ' ') s.cursorRow = ClampCursor(int64_t{s.cursorRow} + 1);
            sink.RowStart(s.cursorRow, j + 1);
            s.cursorColumn = 0;
          }
        }
        break;
    }
    s.previousByte = b;
  }
}

// The measuring pass: the page covers every cell at which a byte was
// examined; rows record where they start.
struct PageMeasure {
  int32_t columnCount = 0;
  int32_t rowCount = 0;
};

// Entries of the row table (kLineTableSize): entry 0 is the band above the
// first row, entry r + 1 the start of row r, for rows 0 to kLineTableSize - 2.
class MeasureSink {
 public:
  explicit MeasureSink(int32_t* lineTable) : lineTable_(lineTable) {}
  void Examine(int32_t column, int32_t row) {
    if (column >= measure.columnCount) measure.columnCount = column + 1;
    if (row >= measure.rowCount) measure.rowCount = row + 1;
  }
  void Draw(uint8_t, int32_t, int32_t) {}
  void RowStart(int32_t row, int32_t offset) {
    // Rows above the page or past the table have no entry.
    if (lineTable_ != nullptr && row >= 0 && row <= kLineTableSize - 2) lineTable_[row + 1] = offset;
  }
  PageMeasure measure;

 private:
  int32_t* lineTable_;
};

// Measures `text` and records row starts into `lineTable` (may be null);
// sets entries 0 and 1 to 0 first.
PageMeasure MeasureLayout(const uint8_t* text, int32_t length, int32_t* lineTable);

#endif
