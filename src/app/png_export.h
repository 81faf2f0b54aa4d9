// quillpane.exe --png OUT.png FILE ... : documents drawn into PNG files
// exactly as the window draws their page, with no window shown.
#ifndef QUILLPANE_PNG_EXPORT_H
#define QUILLPANE_PNG_EXPORT_H

#include <windows.h>

#include <string>

#include "../document/export_command_line.h"
#include "../render/render_page.h"

// Exit codes of an export.
constexpr int kExportDone = 0;
constexpr int kExportFailed = 1;    // a document, the sheet or a PNG failed, or an OUT was refused
constexpr int kExportBadUsage = 2;  // the command line was wrong; nothing was written

// Carries out `request`, taking a named sheet from `fontsFolder` (ending
// with a separator). Problems go to the console the program was started
// from, one line each, then the usage; an OUT refused before anything is
// written is one line alone. Returns the exit code.
int RunExport(const ExportRequest& request, const std::string& fontsFolder);

// The fonts folder beside the program.
std::string ProgramFontsFolder();

// The sheet NAME.bmp of `fontsFolder`, or null.
HBITMAP LoadNamedSheet(const std::string& fontsFolder, const std::string& name);

// The page of the zero-terminated document in `text` as the window draws
// it: the line feed a render appends, the same layout, the same glyph copy.
// The page has no bitmap when it cannot be made.
Page DrawDocumentPage(char* text, const GlyphPixels& glyphs);

// Writes `size` bytes to `path` under the name `path`.tmp, then renames it
// into place: a failure leaves no partial file behind, and a file already
// named so is left alone (the write fails). Returns the problem as one
// line, or an empty text.
std::string WriteWholeFile(const std::string& path, const void* bytes, size_t size);

#endif
