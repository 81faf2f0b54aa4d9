// Small operations on zero-terminated byte strings in the program's code
// page, UTF-8. Callers cut paths, command lines and escape parameters with
// them and rely on their exact results at the edges. No byte of a UTF-8
// multi-byte character is ASCII, so finding a backslash or lowering A to Z
// never touches part of one. (Windows before 1903 keeps a system code page
// instead, and a double-byte one has ASCII second bytes: there such names
// may not open.)
#ifndef QUILLPANE_TEXT_HELPERS_H
#define QUILLPANE_TEXT_HELPERS_H

#include <cstdint>
#include <string>

// Bytes of `text` at positions from..to-1; empty when from >= to. The copy
// stops early at the end of `text`. A negative `from` is treated as 0.
std::string Substring(const char* text, int32_t from, int32_t to);

// Position of the first `ch`, or the length of `text` when there is none.
int32_t FindFirst(const char* text, char ch);

// Position of the last `ch` plus 1, or the length of `text` when there is
// none: the length of the longest prefix that ends with `ch`.
int32_t FindLastFromEnd(const char* text, char ch);

// Zeroes the current string in `buffer` (up to its first zero byte and at
// most `count` bytes); bytes after that zero are left alone.
void ClearText(char* buffer, int32_t count);

// Copies `text` into a buffer of `size` bytes only if all of it fits with
// its terminating zero; returns false and leaves the buffer empty otherwise.
// Paths are never cut: a cut path names a different file.
bool CopyWholeText(char* buffer, int32_t size, const std::string& text);

// Letters A to Z become a to z in place; every other byte stays.
void LowerCaseAscii(char* text);

// The two texts are equal when the letters A to Z are taken as a to z.
bool EqualsIgnoringAsciiCase(const char* a, const char* b);

#endif
