#include "amiga_text.h"
bool MayBeAmigaText(const char*) { return false; }
bool LooksLikeAmigaText(const uint8_t*, size_t) { return false; }
