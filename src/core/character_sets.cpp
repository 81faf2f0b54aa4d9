#include "character_sets.h"

#include "code_page_437.h"

namespace {

// Bytes 0x80-0xFF of each IBM code page, made at build time from the
// code pages' definitions (tools/make_screen_fonts.py).
#include "code_page_characters.inc"
// Topaz, PETSCII and ATASCII, by the byte as a file holds it.
#include "machine_characters.inc"

static_assert(sizeof kCodePageUpper / sizeof kCodePageUpper[0] == kCodePageCount);

struct CodePageTables {
  char16_t characters[kCodePageCount][256];
  CodePageTables() {
    for (int page = 0; page < kCodePageCount; ++page) {
      for (int byte = 0; byte < 256; ++byte) {
        characters[page][byte] = byte < 0x80 ? kCodePage437[byte] : kCodePageUpper[page][byte - 0x80];
      }
    }
  }
};

}  // namespace

const int16_t kCodePages[kCodePageCount] = {437, 720, 737, 775, 819, 850, 852, 855, 857, 858,
                                            860, 861, 862, 863, 864, 865, 866, 869, 872};

int CodePageIndex(int codePage) {
  for (int i = 0; i < kCodePageCount; ++i) {
    if (kCodePages[i] == codePage) return i;
  }
  return -1;
}

const char16_t* CharactersOf(CharacterSet set, int codePage) {
  switch (set) {
    case CharacterSet::kIbm: {
      // A function-local static: made once, safely from any thread.
      static const CodePageTables tables;
      const int index = CodePageIndex(codePage);
      // A code page not built in shows as 437 rather than as nothing.
      return tables.characters[index < 0 ? 0 : index];
    }
    case CharacterSet::kAmiga: return kTopazCharacters;
    case CharacterSet::kPetsciiUnshifted: return kPetsciiUnshiftedCharacters;
    case CharacterSet::kPetsciiShifted: return kPetsciiShiftedCharacters;
    case CharacterSet::kAtascii: return kAtasciiCharacters;
  }
  return kCodePage437;
}
