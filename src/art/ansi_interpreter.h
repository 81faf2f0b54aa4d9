// The ANSI interpreter behind InterpretAnsi, open to the formats that mix
// their own codes into ANSI text (PCBoard): text is fed in pieces, the
// state of a sequence cut between two pieces carried over, and a piece's
// codes act on the pen and the page in between.
#ifndef QUILLPANE_ANSI_INTERPRETER_H
#define QUILLPANE_ANSI_INTERPRETER_H

#include <cstddef>
#include <cstdint>

#include "ansi_screen.h"
#include "screen_writer.h"

// The pen of the colour sequences. Bold and blink are the intensity bits
// of a VGA attribute: they brighten the colour shown in front and behind,
// after inverse has swapped the two (so bold with inverse brightens the
// background colour shown in front, as ansilove draws it without iCE; its
// iCE drawing of blink with inverse loses the brightness, a fault). An
// exact colour (24-bit or from the 256) is shown as it is, bold or not;
// its index is the nearest of the 16, brightened like any other.
struct AnsiPen {
  uint32_t exactForeground = 0;  // kExactColour | 0xRRGGBB, or 0: the index's
  uint32_t exactBackground = 0;
  uint8_t foreground = 7;
  uint8_t background = 0;
  bool bold = false;
  bool blink = false;
  bool inverse = false;
  // A 38 or 48 colour being read: which one, and the step of "5;n" or
  // "2;r;g;b" that comes next (0 the 5 or 2, 1 the index, 2-4 r g b).
  uint8_t extended = 0;
  uint8_t step = 0;
  uint8_t rgb[3] = {};

  uint8_t Colours() const;
  uint32_t ExactFront() const { return inverse ? exactBackground : exactForeground; }
  uint32_t ExactBack() const { return inverse ? exactForeground : exactBackground; }
  // One parameter of a colour sequence.
  void Apply(int32_t value);
  // The foreground (else the background) in an exact colour.
  void SetExact(bool foreground, int red, int green, int blue);

 private:
  void ApplyExtended(int32_t value);
  void Set(bool foreground, int colour, uint32_t exact);
};

class AnsiInterpreter {
 public:
  explicit AnsiInterpreter(const AnsiOptions& options);

  void Feed(const uint8_t* text, size_t length);
  // A VGA text attribute as the pen: the foreground in bits 0-3, the
  // background in bits 4-6 and blink in bit 7.
  void SetAttribute(uint8_t attribute);
  ScreenWriter& screen() { return screen_; }
  AnsiScreen Finish() { return screen_.Finish(); }

 private:
  enum class State { kText, kEscape, kSequence };

  void Text(uint8_t b);
  static bool IsPlain(uint8_t b) { return b > 27 || (b != 27 && b != 13 && b != 10 && b != 9); }
  void StartSequence();
  void EndParameter();
  void SequenceByte(uint8_t b);
  void Execute(uint8_t final);
  void Erase();
  void TakePen(const AnsiPen& pen);

  ScreenWriter screen_;
  int32_t savedRow_ = 0, savedColumn_ = 0;
  AnsiPen pen_;
  State state_ = State::kText;
  // The sequence being read: the parameter so far, how many have ended (at
  // most 4 are kept), the first four, whether it is of another kind, and
  // the pen its colours would give.
  int32_t value_ = 0;
  int32_t count_ = 0;
  int32_t parameters_[4] = {};
  bool ignored_ = false;
  AnsiPen pending_;
};

#endif
