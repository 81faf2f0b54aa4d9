// The glyph sheets found beside the program: NAME.ini, whose first line is
// the name shown in the Keymap menu, and NAME.bmp, laid out like the
// built-in sheet.
#ifndef QUILLPANE_FONT_SHEET_LIST_H
#define QUILLPANE_FONT_SHEET_LIST_H

#include <cstdint>
#include <string>

#include "../core/state_types.h"
#include "../resources/resource_ids.h"

// Only the first bytes of an .ini are read.
constexpr int32_t kFontNameReadSize = 120;
// Keymap items 202 to 298 can be chosen: the sheets after the 97th get no
// item and are not listed.
constexpr int32_t kListedFontLimit = IDM_KEYMAP_LAST - IDM_BUILTIN_SHEET;

// The name in the first `count` bytes of an .ini: its first line, up to
// the first carriage return, line feed or zero byte, or all the bytes.
std::string FontDisplayName(const char* bytes, int32_t count);

// The Keymap item's text for sheet `index`: "N. NAME", each & of the name
// doubled so that the menu shows it rather than underlining the next
// character.
std::string FontMenuText(int32_t index, const std::string& name);

// "NAME" of a file name "NAME.ini": the part before its last dot.
std::string FontSheetBaseName(const char* fileName);

#endif
