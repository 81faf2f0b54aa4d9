// Code page 437 and Unicode: the characters the glyph sheet shows, for
// copies that paste right and for art saved as UTF-8 or UTF-16.
#ifndef QUILLPANE_CODE_PAGE_437_H
#define QUILLPANE_CODE_PAGE_437_H

#include <cstddef>
#include <cstdint>
#include <string>

// The character each byte shows: bytes 1 to 31 are the PC's pictures
// (U+263A for 1 ...), 127 the house U+2302, 255 the no-break space.
// Byte 0 never reaches a document.
extern const char16_t kCodePage437[256];

// The bytes of a zero-terminated text as the characters they show; CR and
// LF stay line breaks, so a copied rectangle pastes as lines, unless
// `lineBreaks` is false: then they show their glyphs like every other byte.
std::u16string CodePage437ToUnicode(const char* text, bool lineBreaks = true);

// The same for a font of other characters: `characters` gives the one
// each byte shows (character_sets.h); a byte that shows none is a blank.
std::u16string CharactersToUnicode(const char* text, const char16_t* characters, bool lineBreaks = true);
// Appends one character as UTF-8 (a surrogate is taken as it is; callers
// pair them first).
void AppendUtf8(std::string& out, char32_t c);

// The same characters as UTF-8: the text a program reads from the
// clipboard's CF_TEXT when its ANSI code page is UTF-8.
std::string CodePage437ToUtf8(const char* text, bool lineBreaks = true);

// The byte that shows `c`, or -1 when none does. Control characters
// (U+0001 to U+001F and U+007F) are their own bytes: tab, line breaks,
// escape and the end-of-file mark keep working.
int UnicodeToCodePage437(char32_t c);

// A document saved in another encoding: one that begins with a UTF-16 mark
// (either order), or with the UTF-8 mark, or is valid UTF-8 throughout with
// at least one multi-byte sequence. When every character it holds has a
// byte, `bytes` is rewritten in place as those bytes and their count is
// returned; otherwise the bytes stay as they are and `length` is returned.
// A sequence cut by the end of the bytes is dropped; decoding stops at the
// first zero character, where the document ends anyway.
size_t DecodeToCodePage437(uint8_t* bytes, size_t length);

#endif
