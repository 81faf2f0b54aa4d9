#include "screen_fonts.h"

#include <cstring>
#include <memory>

namespace {

// The IBM code pages at 8, 14 and 16 rows, made at build time from the IBM
// PC fonts and the console fonts (tools/make_screen_fonts.py): a pool of
// distinct glyphs and, for each code page in kCodePages order, the pool's
// glyph of each byte.
#include "screen_font_tables.inc"
// Topaz, PETSCII and ATASCII (tools/make_machine_fonts.py).
#include "machine_fonts.inc"

static_assert(sizeof kGlyphIndex8 / sizeof kGlyphIndex8[0] == kCodePageCount);

constexpr int kHeights[] = {8, 14, 16, 19};
constexpr int kHeightCount = 4;

int HeightIndex(int height) {
  for (int i = 0; i < kHeightCount; ++i) {
    if (kHeights[i] == height) return i;
  }
  return -1;
}

template <int kRows>
void Expand(const uint8_t (*pool)[kRows], const uint16_t (&index)[256], uint8_t* out) {
  for (int byte = 0; byte < 256; ++byte) std::memcpy(out + byte * kRows, pool[index[byte]], kRows);
}

// The smallest period (1 to 4) with which the 8 rows from `rows`, `step`
// apart, repeat; 0 when they do not.
int Period(const uint8_t* rows, int step) {
  for (int p = 1; p <= 4; ++p) {
    bool repeats = true;
    for (int i = 0; i + p < 8 && repeats; ++i) repeats = rows[i * step] == rows[(i + p) * step];
    if (repeats) return p;
  }
  return 0;
}

// The 16-row glyphs in 19 rows, as the VGA's 640 x 480 graphics mode shows
// text: one row added above and two below. A glyph that reaches an edge
// (line and block pieces, shades) goes on past it with the period its last
// eight rows repeat with (or its edge row), so lines still join and shades
// keep their pattern; any other glyph gets blank rows.
void Make19(const uint8_t* rows16, uint8_t* out) {
  for (int byte = 0; byte < 256; ++byte) {
    const uint8_t* g = rows16 + byte * 16;
    uint8_t* o = out + byte * 19;
    std::memcpy(o + 1, g, 16);
    o[0] = 0;
    if (g[0] != 0) {
      const int p = Period(g, 1);
      o[0] = g[p == 0 ? 0 : p - 1];
    }
    o[17] = o[18] = 0;
    if (g[15] != 0) {
      const int p = Period(g + 15, -1);
      o[17] = p == 0 ? g[15] : o[17 - p];
      o[18] = p == 0 ? g[15] : o[18 - p];
    }
  }
}

struct Fonts {
  // [code page][height index]: 256 glyphs each.
  std::unique_ptr<uint8_t[]> ibm[kCodePageCount][kHeightCount];
  Fonts() {
    for (int page = 0; page < kCodePageCount; ++page) {
      for (int h = 0; h < kHeightCount; ++h) ibm[page][h].reset(new uint8_t[256 * kHeights[h]]);
      Expand(kGlyphPool8, kGlyphIndex8[page], ibm[page][0].get());
      Expand(kGlyphPool14, kGlyphIndex14[page], ibm[page][1].get());
      Expand(kGlyphPool16, kGlyphIndex16[page], ibm[page][2].get());
      Make19(ibm[page][2].get(), ibm[page][3].get());
    }
  }
};

const Fonts& AllFonts() {
  static const Fonts fonts;  // made once, safely from any thread
  return fonts;
}

}  // namespace

const uint8_t* ScreenFontRows(CharacterSet set, int codePage, int height) {
  if (set != CharacterSet::kIbm) {
    if (height != 8) return nullptr;
    switch (set) {
      case CharacterSet::kAmiga: return &kTopazFont[0][0];
      case CharacterSet::kPetsciiUnshifted: return &kPetsciiUnshiftedFont[0][0];
      case CharacterSet::kPetsciiShifted: return &kPetsciiShiftedFont[0][0];
      case CharacterSet::kAtascii: return &kAtasciiFont[0][0];
      case CharacterSet::kIbm: break;
    }
    return nullptr;
  }
  const int page = CodePageIndex(codePage);
  const int h = HeightIndex(height);
  if (page < 0 || h < 0) return nullptr;
  return AllFonts().ibm[page][h].get();
}

ScreenFontCount BuildScreenFonts() {
  AllFonts();
  ScreenFontCount count;
  count.codePages = kCodePageCount;
  count.fonts = kCodePageCount * kHeightCount + 4;
  return count;
}
