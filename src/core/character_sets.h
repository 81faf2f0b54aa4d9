// The characters a screen font shows: the IBM PC's code pages and the
// other machines' sets. Which character each byte shows, for copies,
// Find and links, as the glyphs of the same set draw it.
#ifndef QUILLPANE_CHARACTER_SETS_H
#define QUILLPANE_CHARACTER_SETS_H

#include <cstdint>

enum class CharacterSet : uint8_t {
  kIbm,                // an IBM PC code page (kCodePages)
  kAmiga,              // the Amiga's Latin-1 (Topaz and its kin)
  kPetsciiUnshifted,   // Commodore 64: capitals and graphics
  kPetsciiShifted,     // Commodore 64: small letters and capitals
  kAtascii,            // Atari 8-bit
};

// The IBM code pages the fonts are built in, 437 first.
constexpr int kCodePageCount = 19;
extern const int16_t kCodePages[kCodePageCount];

// Index of `codePage` in kCodePages, or -1 when it is not built in.
int CodePageIndex(int codePage);

// The character each byte shows in `set` (with `codePage`, one of
// kCodePages, for kIbm; ignored for the others): 256 of them. Bytes below
// 0x20 and 0x7F show the PC's pictures in every IBM code page, as in code
// page 437; a byte that shows nothing in its set is 0.
const char16_t* CharactersOf(CharacterSet set, int codePage);

#endif
