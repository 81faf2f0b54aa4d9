#include "render.h"

// Only the built-in glyph sheet exists yet.
void DiscoverFontSheets() {}
void SelectFontSheet(int) {}
