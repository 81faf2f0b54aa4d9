// The colour screen as a VGA screen and a modem showed it: the phase of
// the blink at a time, the bytes a modem had delivered at a time, and the
// screen drawn again from its first byte, a piece at a time, so that the
// file's cursor movements (its animation) show as they did.
#ifndef QUILLPANE_SCREEN_PLAY_H
#define QUILLPANE_SCREEN_PLAY_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ansi_screen.h"
#include "art_formats.h"
#include "document_reading.h"

// VGA's text blink: the foreground shown for 16 frames of a 60 Hz screen
// (about 0.27 s), hidden for as many, from time 0 on.
bool BlinkShownAt(uint64_t milliseconds);
// Milliseconds from `milliseconds` until the phase next changes (1 or more).
uint32_t MillisecondsToBlinkChange(uint64_t milliseconds);

// A modem sends 10 bits a byte (a start bit, 8 data bits, a stop bit): the
// bytes delivered `milliseconds` after the start, floor(t * bps / 10).
uint64_t ModemBytesAt(uint64_t milliseconds, uint32_t bitsPerSecond);
// The speeds View > Speed offers, in bits a second, and the one to start.
constexpr uint32_t kPlaySpeeds[6] = {2400, 9600, 14400, 28800, 57600, 115200};
constexpr int kDefaultPlaySpeed = 2;  // 14400

// Cells first row .. end row - 1, first column .. end column - 1; empty
// when no row.
struct CellRect {
  int32_t firstRow = 0, endRow = 0;
  int32_t firstColumn = 0, endColumn = 0;
  bool empty() const { return endRow <= firstRow; }
};

// A play of a document's colour screen (ReadColourScreen's, whose size,
// colours and font the frames keep throughout: the window keeps its layout
// and an animation its canvas; what a file draws in between below the
// still screen's last row is not shown). The bytes are held, not copied:
// they must outlive the play.
//
// How a file plays is its row's (art_formats.h). ANSI art is read as a
// stream: the one interpreter takes each further piece of the file, so a
// whole play reads the file once. PCBoard, Avatar and TundraDraw are
// streams too, but their readers read a whole file: a frame reads the file
// cut at its byte again, and only once the cut has grown by a 256th since
// the last reading, or, once the readings have taken 16 times the file, by
// a 32nd of it: a play reads at most some 50 times the file's length, at
// any length. XBin, BinaryText, Artworx and iCEDraw hold cells rather than
// a stream: their cells appear in file order, spread evenly over the
// file's bytes, so the last byte brings the last cell.
class ScreenPlay {
 public:
  // The frames' letters are as wide as `look` makes the still screen's.
  ScreenPlay(const char* path, const uint8_t* bytes, size_t length, ScreenLook look = {});
  ~ScreenPlay();
  ScreenPlay(const ScreenPlay&) = delete;
  ScreenPlay& operator=(const ScreenPlay&) = delete;

  size_t length() const { return length_; }
  size_t position() const { return position_; }
  bool finished() const { return position_ >= length_; }
  // Takes the bytes up to `position` (held to the length; a play never goes
  // back) and returns the cells of the frame that changed. `rects`, when
  // given, gets them more closely: a rectangle for each run of adjacent
  // rows that changed, top first, so that a change at the top and one at
  // the bottom are two small rectangles rather than the whole screen.
  CellRect AdvanceTo(size_t position, std::vector<CellRect>* rects = nullptr);
  // The screen as the bytes taken so far draw it.
  const AnsiScreen& frame() const { return frame_; }
  // The screen of the whole file.
  const AnsiScreen& still() const { return still_; }
  // What of the file the still screen could not read; empty when all.
  const std::string& note() const { return note_; }
  // Bytes of the file read so far, counting each reading of a stream
  // format's cut: the play's work, bounded by the file's length.
  uint64_t bytesRead() const { return bytesRead_; }
  // The row the drawing stands on: the cursor's, or the last row drawn.
  int32_t cursorRow() const { return cursorRow_; }

 private:
  void TakeRow(int32_t row, const AnsiCell* cells, const uint32_t* exact, CellRect& changed);
  void TakeScreen(const AnsiScreen& screen, CellRect& changed);
  void RevealCells(size_t position, CellRect& changed);

  const uint8_t* bytes_;
  size_t length_;
  const ArtFormatRow& format_;  // its reader and how it plays
  AnsiScreen still_;
  std::string note_;
  AnsiScreen frame_;
  size_t position_ = 0;
  size_t textEnd_ = 0;   // ANSI: the bytes the interpreter reads
  size_t readAt_ = 0;    // a stream format: the cut last read
  uint64_t bytesRead_ = 0;
  size_t revealed_ = 0;  // cells: how many are shown
  int32_t cursorRow_ = 0;
  std::vector<CellRect>* rects_ = nullptr;  // during AdvanceTo
  std::vector<int32_t> changedRows_;
  std::unique_ptr<class AnsiInterpreter> ansi_;
};

#endif
