#include "export_command_line.h"

#include "../raster/thumbnail.h"

namespace {

constexpr char kPng[] = "--png";
constexpr char kSheet[] = "--sheet";
constexpr char kColour[] = "--colour";
constexpr char kThumbnail[] = "--thumbnail";
constexpr char kLetterSpacing[] = "--letter-spacing";
constexpr char kAspect[] = "--aspect";
constexpr char kAnimate[] = "--animate";
constexpr char kHelp[] = "--help";
constexpr char kVersion[] = "--version";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Every argument that begins with "--" is a switch, known or not: a file
// named so is given with its folder (.\--x.nfo), never mistaken for one.
bool IsSwitch(const std::string& argument) { return argument.compare(0, 2, "--") == 0; }

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

// A play's BPS: decimal digits only, 1 to kMaxAnimateBitsPerSecond; 0 for
// anything else.
uint32_t ReadBitsPerSecond(const std::string& text) {
  if (text.empty() || text.size() > 8) return 0;
  uint32_t bps = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    bps = bps * 10 + static_cast<uint32_t>(c - '0');
  }
  return bps <= kMaxAnimateBitsPerSecond ? bps : 0;
}

// Appends `count` backslashes.
void AddBackslashes(std::string& argument, int count) { argument.append(static_cast<size_t>(count), '\\'); }

}  // namespace

std::vector<std::string> ExportUsage(const std::string& program) {
  // The native exporter prints the same lines: its messages are the Windows
  // program's, word for word but its name, whichever carries out an export.
  return {"usage: " + program +
              " --png OUT.png FILE [--png OUT.png FILE ...] [--sheet NAME] [--colour] [--thumbnail SIZE]"
              " [--letter-spacing 8|9] [--aspect 4:3|square] [--animate BPS]",
          "       " + program + " --help | --version"};
}

std::vector<std::string> SplitArguments(const char* line, std::string* program) {
  std::vector<std::string> arguments;
  // The program's path: to the next double quote when it starts with one,
  // otherwise to the first blank; backslashes are plain characters there.
  const char* start = line;
  if (*line == '"') {
    start = ++line;
    while (*line != '\0' && *line != '"') ++line;
    if (program != nullptr) program->assign(start, line);
    if (*line == '"') ++line;
  } else {
    while (*line != '\0' && !IsBlank(*line)) ++line;
    if (program != nullptr) program->assign(start, line);
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
  std::string program;
  const std::vector<std::string> args = SplitArguments(commandLine, &program);
  if (args.empty() || !IsSwitch(args[0])) return ExportRequest();
  return ParseExportArguments(program, args);
}

ExportRequest ParseExportArguments(const std::string& program, const std::vector<std::string>& args) {
  ExportRequest request;
  request.exportMode = true;
  request.program = program.substr(program.find_last_of("\\/") + 1);
  // Whoever asks for help gets it, whatever else the line holds.
  for (const std::string& argument : args) {
    if (argument == kHelp || argument == kVersion) {
      request.asked = argument == kHelp ? Asked::kHelp : Asked::kVersion;
      return request;
    }
  }
  const auto fail = [&request](const std::string& problem) {
    request.error = problem;
    return request;
  };
  // Empty quotes name nothing: they count as a missing value too.
  const auto missing = [&args](size_t i) { return i >= args.size() || args[i].empty() || IsSwitch(args[i]); };
  const std::string pngNeeds = "--png needs OUT.png and FILE";
  int pngWants = 0;  // how many of the last --png's OUT.png and FILE are still to come
  bool sheetGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& argument = args[i];
    if (!IsSwitch(argument)) {
      if (pngWants == 0)
        return fail("unexpected argument \"" + argument + "\": each FILE follows --png OUT.png");
      if (argument.empty()) return fail(pngNeeds);
      if (pngWants-- == 2) {
        request.pairs.push_back(ExportPair{argument, std::string()});
      } else {
        request.pairs.back().file = argument;
      }
    } else if (argument == kPng) {
      if (pngWants != 0) return fail(pngNeeds);
      pngWants = 2;
    } else if (argument == kSheet) {
      if (missing(i + 1)) return fail("--sheet needs a NAME");
      if (sheetGiven) return fail("--sheet is given twice");
      const std::string& name = args[++i];
      // A name, not a path: the sheet comes from the fonts folder only.
      if (name.find_first_of("\\/:") != std::string::npos) {
        return fail("--sheet takes the NAME of a sheet in the fonts folder, not a path: \"" + name + "\"");
      }
      request.sheet = name;
      sheetGiven = true;
    } else if (argument == kColour) {
      if (request.colour) return fail("--colour is given twice");
      request.colour = true;
    } else if (argument == kThumbnail) {
      if (missing(i + 1)) return fail("--thumbnail needs a SIZE");
      if (request.thumbnailSize != 0) return fail("--thumbnail is given twice");
      request.thumbnailSize = ReadThumbnailSize(args[++i]);
      if (request.thumbnailSize == 0) {
        return fail("--thumbnail takes a SIZE of 1 to " + std::to_string(kMaxThumbnailSize) + " pixels: \"" +
                    args[i] + "\"");
      }
    } else if (argument == kLetterSpacing || argument == kAspect) {
      // Two values each: the first turns the look on, the second off.
      const bool letters = argument == kLetterSpacing;
      const char* const on = letters ? "9" : "4:3";
      const char* const off = letters ? "8" : "square";
      const std::string wanted = std::string(argument) + " takes " + (letters ? "8 or 9" : "4:3 or square");
      LookChoice& choice = letters ? request.look.letters : request.look.aspect;
      if (missing(i + 1)) return fail(wanted);
      if (choice != LookChoice::kAsFile) return fail(argument + " is given twice");
      const std::string& value = args[++i];
      if (value != on && value != off) return fail(wanted + ": \"" + value + "\"");
      choice = value == on ? LookChoice::kOn : LookChoice::kOff;
    } else if (argument == kAnimate) {
      if (missing(i + 1)) return fail("--animate needs a BPS");
      if (request.animateBitsPerSecond != 0) return fail("--animate is given twice");
      request.animateBitsPerSecond = ReadBitsPerSecond(args[++i]);
      if (request.animateBitsPerSecond == 0) {
        return fail("--animate takes a BPS of 1 to " + std::to_string(kMaxAnimateBitsPerSecond) +
                    " bits a second: \"" + args[i] + "\"");
      }
    } else {
      return fail("unknown switch \"" + argument + "\"");
    }
  }
  if (pngWants != 0) return fail(pngNeeds);
  if (request.pairs.empty()) return fail("nothing to export: give --png OUT.png FILE");
  if (request.animateBitsPerSecond != 0 && request.thumbnailSize != 0)
    return fail("--animate and --thumbnail do not go together: a thumbnail is still");
  // A play's frames are cut from 8-pixel cells in square rows; asked for
  // other letters or rows it would draw what was not asked for.
  if (request.animateBitsPerSecond != 0 &&
      (request.look.letters == LookChoice::kOn || request.look.aspect == LookChoice::kOn))
    return fail("--animate draws 8-pixel letters in square rows: not with --letter-spacing 9 or --aspect 4:3");
  return request;
}
