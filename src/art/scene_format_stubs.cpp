// Readers not written yet: each gives an empty screen and says so.
#include "scene_formats.h"

namespace {
FormatReading NotYet() { return FormatReading{AnsiScreen{}, "this format is not read yet"}; }
}  // namespace

FormatReading ReadTundraDraw(const uint8_t*, size_t) { return NotYet(); }
FormatReading ReadPcBoard(const uint8_t*, size_t) { return NotYet(); }
FormatReading ReadAvatar(const uint8_t*, size_t) { return NotYet(); }
