// The export command line: quillpane.exe --png OUT.png FILE [--png OUT.png
// FILE ...] [--sheet NAME] [--colour] [--thumbnail SIZE] draws each FILE
// into a PNG and shows no window. Pure: the Windows program and the native
// exporter read what to do from the result.
#ifndef QUILLPANE_EXPORT_COMMAND_LINE_H
#define QUILLPANE_EXPORT_COMMAND_LINE_H

#include <string>
#include <vector>

extern const char kExportUsage[];

struct ExportPair {
  std::string out;   // the PNG to write
  std::string file;  // the document to draw
};

struct ExportRequest {
  // The line asks for an export rather than the window.
  bool exportMode = false;
  std::vector<ExportPair> pairs;
  std::string sheet;      // a sheet of the fonts folder; empty: the built-in sheet
  bool colour = false;    // ANSI art is drawn as the colour mode's ANSI screen
  int thumbnailSize = 0;  // 1 to 1024: each PNG a thumbnail of that size; 0: the whole page
  // One line naming what is wrong with the line; empty when nothing is.
  std::string error;
};

// The arguments after the program's own path, split as the C runtime of
// the platform splits them (blanks separate, double quotes group, and
// backslashes escape only the quotes they stand before).
std::vector<std::string> SplitArguments(const char* commandLine);

// An export only when the first argument is exactly one of the switches
// (--png, --sheet, --colour, --thumbnail); any other line keeps the
// viewer's own command-line rules.
ExportRequest ParseExportRequest(const char* commandLine);
// The same from arguments already split (a native program's argv after its
// own path).
ExportRequest ParseExportArguments(const std::vector<std::string>& args);

#endif
