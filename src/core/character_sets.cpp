#include "character_sets.h"
#include "code_page_437.h"
const int16_t kCodePages[kCodePageCount] = {437, 720, 737, 775, 819, 850, 852, 855, 857, 858,
                                            860, 861, 862, 863, 864, 865, 866, 869, 872};
int CodePageIndex(int codePage) {
  for (int i = 0; i < kCodePageCount; ++i)
    if (kCodePages[i] == codePage) return i;
  return -1;
}
const char16_t* CharactersOf(CharacterSet, int) { return kCodePage437; }
