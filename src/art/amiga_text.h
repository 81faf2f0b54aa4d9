// Placeholder until the detection lands.
#ifndef QUILLPANE_AMIGA_TEXT_H
#define QUILLPANE_AMIGA_TEXT_H
#include <cstddef>
#include <cstdint>
bool MayBeAmigaText(const char* path);
bool LooksLikeAmigaText(const uint8_t* bytes, size_t length);
#endif
