#include "screen_fonts.h"
namespace {
#include "ansi_fonts.inc"
}
const uint8_t* ScreenFontRows(CharacterSet, int, int height) {
  return height == 8 ? &kAnsiFont8[0][0] : height == 16 ? &kAnsiFont16[0][0] : nullptr;
}
ScreenFontCount BuildScreenFonts() { return {}; }
