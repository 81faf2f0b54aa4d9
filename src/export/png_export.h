// quillpane.exe --png OUT.png FILE ... : documents drawn into PNG files
// exactly as the window draws their page (or written as text, terminal
// ANSI or a web page: --text, --ansi, --html), with no window shown. The export
// itself is the same code as the native exporter's; this is its Win32
// platform layer (export_platform.h): files, names, sheets and the console.
#ifndef QUILLPANE_PNG_EXPORT_H
#define QUILLPANE_PNG_EXPORT_H

#include <windows.h>

#include <string>

#include "export_command_line.h"
#include "export_core.h"

// Carries out `request`, taking a named sheet from `fontsFolder` (ending
// with a separator). Returns the exit code.
int RunExport(const ExportRequest& request, const std::string& fontsFolder);

// The fonts folder beside the program.
std::string ProgramFontsFolder();

// The sheet NAME.bmp of `fontsFolder`, or null.
HBITMAP LoadNamedSheet(const std::string& fontsFolder, const std::string& name);

// Writes `size` bytes to `path` under the name `path`.tmp, then renames it
// into place: a failure leaves no partial file behind, and a file already
// named so is left alone (the write fails). Returns the problem as one
// line, or an empty text.
std::string WriteWholeFile(const std::string& path, const void* bytes, size_t size);

// Whether two paths name one file, as the export's refusals tell it: the
// same full path as the system compares names, or the same file number on
// the same volume (a link, a short name).
bool NamesOneFile(const std::string& a, const std::string& b);

// Notes that this program wrote `size` bytes of a text output (UTF-8
// text, terminal ANSI, a web page) as `path`: an export may replace such a
// file later, and no other file of those kinds.
void RememberWrittenText(const std::string& path, const void* bytes, size_t size);

#endif
