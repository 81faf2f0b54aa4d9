// The export's command line: --png OUT.png FILE draws each FILE into a PNG
// (--text, --ansi and --html write its characters, its terminal colours or
// a web page instead) and shows no window; "-" as OUT is standard output;
// --help and --version answer on the console. Its
// switches are one table (export_command_line.cpp), which parses, refuses
// and prints the usage. Pure: the Windows program and the native exporter
// read what to do from the result.
#ifndef QUILLPANE_EXPORT_COMMAND_LINE_H
#define QUILLPANE_EXPORT_COMMAND_LINE_H

#include <cstdint>
#include <string>
#include <vector>

#include "../art/document_reading.h"
#include "../text/text_out.h"
// The fastest play --animate takes, in bits a second.
constexpr uint32_t kMaxAnimateBitsPerSecond = 10000000;

// The usage, one line a form, naming the program as `program` (its file
// name as started).
std::vector<std::string> ExportUsage(const std::string& program);

// The file name of a program's path as started: what follows its last
// separator.
std::string ProgramName(const std::string& path);

// What an export writes of a document: its page as a PNG, its characters
// as UTF-8 text, as colour ANSI for terminals, or as a web page.
enum class OutputKind { kPng, kText, kAnsi, kHtml };

// The OUT that is standard output: never a file, a folder or a refusal.
constexpr char kStandardOutput[] = "-";

struct ExportPair {
  std::string out;   // the file to write; kStandardOutput for standard output
  std::string file;  // the document to draw
  OutputKind kind = OutputKind::kPng;
};

enum class Asked {
  kExport,   // the pairs
  kHelp,     // the usage
  kVersion,  // the program's version
};

struct ExportRequest {
  // The line is one of switches, for the console, rather than the viewer's.
  bool exportMode = false;
  Asked asked = Asked::kExport;
  // The program's file name as it was started, which the usage and every
  // message name.
  std::string program;
  std::vector<ExportPair> pairs;
  std::string sheet;      // a sheet of the fonts folder; empty: the built-in sheet
  bool colour = false;    // ANSI art is drawn as the colour mode's ANSI screen
  int thumbnailSize = 0;  // 1 to 1024: each PNG a thumbnail of that size; 0: the whole page
  // Colour screens' letters (--letter-spacing) and rows (--aspect), and the
  // font of either reading (--font); each as the file says unless given.
  ScreenLook look;
  // 1 to kMaxAnimateBitsPerSecond: each colour screen (ANSI art read as
  // --colour reads it) an animated PNG of its play at that speed; 0: still.
  uint32_t animateBitsPerSecond = 0;
  // The text outputs' line ends (--crlf) and terminal colours (--colours).
  TextOutOptions text;
  // One line naming what is wrong with the line; empty when nothing is.
  std::string error;
};

// The arguments after the program's own path, split as the C runtime of
// the platform splits them (blanks separate, double quotes group, and
// backslashes escape only the quotes they stand before); the program's
// path itself into `program` when asked for.
std::vector<std::string> SplitArguments(const char* commandLine, std::string* program = nullptr);

// The Windows program's line is for the console when its first argument
// begins with "--"; any other line keeps the viewer's own command-line
// rules, so a document named so opens when given with its folder.
ExportRequest ParseExportRequest(const char* commandLine);
// A line for the console, already split: `program` as started (argv[0])
// and the arguments after it. Each switch may stand anywhere, its own
// argument after it: --png OUT.png FILE (and each other pair) takes the
// next two arguments that are not switches nor their values. A switch that
// changes none of the line's outputs is refused (--thumbnail without a
// --png pair); beside others it changes only its own. --help or --version, wherever it
// stands, is answered instead of anything else the line asks.
ExportRequest ParseExportArguments(const std::string& program, const std::vector<std::string>& args);

#endif
