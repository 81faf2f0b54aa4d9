#include "export_command_line.h"

#include "../raster/thumbnail.h"

// The native exporter prints the same line: its messages are the Windows
// program's, word for word, whichever of the two carries out an export.
const char kExportUsage[] =
    "usage: quillpane.exe --png OUT.png FILE [--png OUT.png FILE ...] [--sheet NAME] [--colour] "
    "[--thumbnail SIZE]";

namespace {

constexpr char kPng[] = "--png";
constexpr char kSheet[] = "--sheet";
constexpr char kColour[] = "--colour";
constexpr char kThumbnail[] = "--thumbnail";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A switch where a value belongs means the value was left out.
bool IsSwitch(const std::string& argument) {
  return argument == kPng || argument == kSheet || argument == kColour || argument == kThumbnail;
}

// A thumbnail's SIZE: decimal digits only, 1 to kMaxThumbnailSize; 0 for
// anything else.
int ReadThumbnailSize(const std::string& text) {
  if (text.empty() || text.size() > 4) return 0;
  int size = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    size = size * 10 + (c - '0');
  }
  return size <= kMaxThumbnailSize ? size : 0;
}

// Appends `count` backslashes.
void AddBackslashes(std::string& argument, int count) { argument.append(static_cast<size_t>(count), '\\'); }

}  // namespace

std::vector<std::string> SplitArguments(const char* line) {
  std::vector<std::string> arguments;
  // The program's path: to the next double quote when it starts with one,
  // otherwise to the first blank; backslashes are plain characters there.
  if (*line == '"') {
    ++line;
    while (*line != '\0' && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (*line != '\0' && !IsBlank(*line)) ++line;
  }
  for (;;) {
    while (IsBlank(*line)) ++line;
    if (*line == '\0') return arguments;
    std::string argument;
    bool quoted = false;
    while (*line != '\0' && (quoted || !IsBlank(*line))) {
      int backslashes = 0;
      while (*line == '\\') ++backslashes, ++line;
      if (*line != '"') {
        AddBackslashes(argument, backslashes);
        if (*line != '\0' && (quoted || !IsBlank(*line))) argument += *line++;
        continue;
      }
      AddBackslashes(argument, backslashes / 2);
      ++line;
      if (backslashes % 2 == 1) {
        argument += '"';  // an escaped quote
      } else if (quoted && *line == '"') {
        argument += '"', ++line;  // "" inside quotes is one quote
      } else {
        quoted = !quoted;
      }
    }
    arguments.push_back(argument);
  }
}

ExportRequest ParseExportRequest(const char* commandLine) {
  return ParseExportArguments(SplitArguments(commandLine));
}

ExportRequest ParseExportArguments(const std::vector<std::string>& args) {
  ExportRequest request;
  // A document named like a switch without its folder is the price of the
  // switches; one given with its folder (C:\art\--png) still shows.
  if (args.empty() || !IsSwitch(args[0])) return request;
  request.exportMode = true;
  const auto fail = [&request](const std::string& problem) {
    request.error = problem;
    return request;
  };
  // Empty quotes name nothing: they count as a missing value too.
  const auto missing = [&args](size_t i) { return i >= args.size() || args[i].empty() || IsSwitch(args[i]); };
  bool sheetGiven = false;
  for (size_t i = 0; i < args.size();) {
    const std::string& argument = args[i];
    if (argument == kPng) {
      if (missing(i + 1) || missing(i + 2)) return fail("--png needs OUT.png and FILE");
      request.pairs.push_back(ExportPair{args[i + 1], args[i + 2]});
      i += 3;
    } else if (argument == kSheet) {
      if (missing(i + 1)) return fail("--sheet needs a NAME");
      if (sheetGiven) return fail("--sheet is given twice");
      const std::string& name = args[i + 1];
      // A name, not a path: the sheet comes from the fonts folder only.
      if (name.find_first_of("\\/:") != std::string::npos) {
        return fail("--sheet takes the NAME of a sheet in the fonts folder, not a path: \"" + name + "\"");
      }
      request.sheet = name;
      sheetGiven = true;
      i += 2;
    } else if (argument == kColour) {
      if (request.colour) return fail("--colour is given twice");
      request.colour = true;
      i += 1;
    } else if (argument == kThumbnail) {
      if (missing(i + 1)) return fail("--thumbnail needs a SIZE");
      if (request.thumbnailSize != 0) return fail("--thumbnail is given twice");
      request.thumbnailSize = ReadThumbnailSize(args[i + 1]);
      if (request.thumbnailSize == 0) {
        return fail("--thumbnail takes a SIZE of 1 to " + std::to_string(kMaxThumbnailSize) + " pixels: \"" +
                    args[i + 1] + "\"");
      }
      i += 2;
    } else if (argument.compare(0, 1, "-") == 0) {
      return fail("unknown switch \"" + argument + "\"");
    } else {
      return fail("unexpected argument \"" + argument + "\": each FILE follows --png OUT.png");
    }
  }
  if (request.pairs.empty()) return fail("nothing to export: give --png OUT.png FILE");
  return request;
}
