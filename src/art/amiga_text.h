// Amiga ASCII told from code page 437 art by its bytes, for files whose
// SAUCE record names no font (or that have none).
#ifndef QUILLPANE_AMIGA_TEXT_H
#define QUILLPANE_AMIGA_TEXT_H

#include <cstddef>
#include <cstdint>

// The kinds of file Amiga groups wrote their ASCII in: a name ending .asc,
// .txt, .nfo or .diz, in any case. Other names (.ans and the scene
// formats) are never asked about.
bool MayBeAmigaText(const char* path);

// The text (the bytes up to the first 0x1A, SAUCE's textLength) reads as
// Latin-1 drawn in the Amiga's Topaz rather than as code page 437: its
// Latin-1 strokes and letters clearly outnumber the 437 line and block
// pieces. Plain ASCII, and anything holding bytes 0x80-0x9F, is not.
bool LooksLikeAmigaText(const uint8_t* bytes, size_t length);

#endif
