#include "export_command_line.h"

#include <cctype>

#include "../art/screen_font.h"
#include "../raster/thumbnail.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Every argument that begins with "--" is a switch, known or not: a file
// named so is given with its folder (.\--x.nfo), never mistaken for one.
bool IsSwitch(const std::string& argument) { return argument.compare(0, 2, "--") == 0; }

// At most as many decimal digits as `most` has, and nothing else, 1 to
// `most`; 0 for anything else.
uint32_t ReadCount(const std::string& text, uint32_t most) {
  if (text.empty() || text.size() > std::to_string(most).size()) return 0;
  uint32_t count = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    count = count * 10 + static_cast<uint32_t>(c - '0');
  }
  return count <= most ? count : 0;
}

// What a switch is read into, and what is wrong with its value (the end of
// the line "--x takes ...": empty when nothing is).
using ReadSwitch = std::string (*)(const std::string& value, ExportRequest& request);

std::string ReadSheet(const std::string& name, ExportRequest& request) {
  // A name, not a path: the sheet comes from the fonts folder only.
  if (name.find_first_of("\\/:") != std::string::npos)
    return " takes the NAME of a sheet in the fonts folder, not a path";
  request.sheet = name;
  return std::string();
}

std::string ReadColour(const std::string&, ExportRequest& request) {
  request.colour = true;
  return std::string();
}

std::string ReadThumbnail(const std::string& size, ExportRequest& request) {
  request.thumbnailSize = static_cast<int>(ReadCount(size, kMaxThumbnailSize));
  if (request.thumbnailSize != 0) return std::string();
  return " takes a SIZE of 1 to " + std::to_string(kMaxThumbnailSize) + " pixels";
}

// A look's two values: the first turns it on, the second off. False for
// any other.
bool ReadLook(const std::string& value, const char* on, const char* off, LookChoice& choice) {
  if (value != on && value != off) return false;
  choice = value == on ? LookChoice::kOn : LookChoice::kOff;
  return true;
}
std::string ReadLetters(const std::string& value, ExportRequest& request) {
  return ReadLook(value, "9", "8", request.look.letters) ? "" : " takes 8 or 9";
}
std::string ReadAspect(const std::string& value, ExportRequest& request) {
  return ReadLook(value, "4:3", "square", request.look.aspect) ? "" : " takes 4:3 or square";
}

// A font as SAUCE names it, or "auto": the one the file names.
std::string ReadFont(const std::string& name, ExportRequest& request) {
  FontFace face;
  if (name == "auto") {
    request.look.font.clear();
  } else if (ParseFontName(name.c_str(), name.size(), face)) {
    request.look.font = name;
  } else {
    return " takes a font as SAUCE names it (such as \"IBM VGA 866\" or \"Amiga Topaz 1\") or auto";
  }
  return std::string();
}

std::string ReadAnimate(const std::string& bps, ExportRequest& request) {
  request.animateBitsPerSecond = ReadCount(bps, kMaxAnimateBitsPerSecond);
  if (request.animateBitsPerSecond != 0) return std::string();
  return " takes a BPS of 1 to " + std::to_string(kMaxAnimateBitsPerSecond) + " bits a second";
}

std::string ReadCrlf(const std::string&, ExportRequest& request) {
  request.text.crlf = true;
  return std::string();
}

std::string ReadColours(const std::string& value, ExportRequest& request) {
  if (value == "16") {
    request.text.colours = TerminalColours::k16;
  } else if (value == "256") {
    request.text.colours = TerminalColours::k256;
  } else if (value == "24bit") {
    request.text.colours = TerminalColours::k24Bit;
  } else {
    return " takes 16, 256 or 24bit";
  }
  return std::string();
}

std::string AskHelp(const std::string&, ExportRequest& request) {
  request.asked = Asked::kHelp;
  return std::string();
}
std::string AskVersion(const std::string&, ExportRequest& request) {
  request.asked = Asked::kVersion;
  return std::string();
}

enum class Kind {
  kPair,    // --png OUT.png FILE: given again for each pair; its two values may follow other switches
  kOnce,    // at most once, its value (if it takes one) right after it
  kAnswer,  // answered instead of anything else the line asks, wherever it stands
};

// What a switch acts on: the outputs of these kinds (bits of 1 << OutputKind).
constexpr unsigned kPngOut = 1u << static_cast<int>(OutputKind::kPng);
constexpr unsigned kTextOut = 1u << static_cast<int>(OutputKind::kText);
constexpr unsigned kAnsiOut = 1u << static_cast<int>(OutputKind::kAnsi);
constexpr unsigned kHtmlOut = 1u << static_cast<int>(OutputKind::kHtml);
constexpr unsigned kEveryOut = kPngOut | kTextOut | kAnsiOut | kHtmlOut;

// The export's switches: each row parses, refuses and shows itself in the
// usage, in the usage's order. A new switch is a row here and its effect.
struct Switch {
  const char* name;
  Kind kind;
  const char* value;  // as the usage names it; null when it takes none (a pair's: its OUT, FILE follows)
  // The line's end when the value is missing; a bad value is refused
  // with what `read` says and the value quoted.
  const char* missing;
  ReadSwitch read;
  // A pair: the one kind it writes. Any other: the kinds it changes. A
  // switch that changes none of the line's outputs is refused, not
  // silently ignored: it was surely meant for an output the line lacks.
  // With others beside them it changes only its own (--thumbnail shrinks
  // the PNGs of a line that also writes text).
  unsigned outputs;
};
const Switch kSwitches[] = {
    {"--png", Kind::kPair, "OUT.png", " needs OUT.png and FILE", nullptr, kPngOut},
    {"--text", Kind::kPair, "OUT.txt", " needs OUT.txt and FILE", nullptr, kTextOut},
    {"--ansi", Kind::kPair, "OUT.ans", " needs OUT.ans and FILE", nullptr, kAnsiOut},
    {"--html", Kind::kPair, "OUT.html", " needs OUT.html and FILE", nullptr, kHtmlOut},
    {"--sheet", Kind::kOnce, "NAME", " needs a NAME", ReadSheet, kEveryOut},
    {"--colour", Kind::kOnce, nullptr, nullptr, ReadColour, kEveryOut},
    {"--thumbnail", Kind::kOnce, "SIZE", " needs a SIZE", ReadThumbnail, kPngOut},
    {"--letter-spacing", Kind::kOnce, "8|9", " takes 8 or 9", ReadLetters, kEveryOut},
    {"--aspect", Kind::kOnce, "4:3|square", " takes 4:3 or square", ReadAspect, kEveryOut},
    {"--font", Kind::kOnce, "NAME|auto", " needs a font NAME or auto", ReadFont, kEveryOut},
    {"--animate", Kind::kOnce, "BPS", " needs a BPS", ReadAnimate, kPngOut},
    {"--crlf", Kind::kOnce, nullptr, nullptr, ReadCrlf, kTextOut | kAnsiOut},
    {"--colours", Kind::kOnce, "16|256|24bit", " takes 16, 256 or 24bit", ReadColours, kAnsiOut},
    {"--help", Kind::kAnswer, nullptr, nullptr, AskHelp, 0},
    {"--version", Kind::kAnswer, nullptr, nullptr, AskVersion, 0},
};
constexpr size_t kSwitchCount = sizeof kSwitches / sizeof kSwitches[0];

const Switch* FindSwitch(const std::string& argument) {
  for (const Switch& row : kSwitches)
    if (argument == row.name) return &row;
  return nullptr;
}

std::string Shown(const Switch& row) {
  return std::string(row.name) + (row.value ? std::string(" ") + row.value : "");
}

// The pairs' switches as the line's messages list them: "--png OUT.png,
// --text OUT.txt ... or --html OUT.html", each followed by `after`.
std::string PairsShown(const std::string& after) {
  std::vector<std::string> pairs;
  for (const Switch& row : kSwitches)
    if (row.kind == Kind::kPair) pairs.push_back(Shown(row) + after);
  std::string shown;
  for (size_t i = 0; i < pairs.size(); ++i)
    shown += (i == 0 ? "" : i + 1 == pairs.size() ? " or " : ", ") + pairs[i];
  return shown;
}

// The one kind a pair's switch writes.
OutputKind KindOf(const Switch& pair) {
  for (OutputKind kind : {OutputKind::kText, OutputKind::kAnsi, OutputKind::kHtml})
    if (pair.outputs == 1u << static_cast<int>(kind)) return kind;
  return OutputKind::kPng;
}

// "--png" or "--text or --ansi": the pairs that write `outputs`.
std::string PairNames(unsigned outputs) {
  std::string names;
  for (const Switch& row : kSwitches)
    if (row.kind == Kind::kPair && (row.outputs & outputs) != 0)
      names += (names.empty() ? "" : " or ") + std::string(row.name);
  return names;
}

// Appends `count` backslashes.
void AddBackslashes(std::string& argument, int count) { argument.append(static_cast<size_t>(count), '\\'); }

}  // namespace

std::string ProgramName(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

std::vector<std::string> ExportUsage(const std::string& program) {
  // The program that also shows documents (quillpane.exe, and the Linux
  // launcher, which starts the native exporter under the name quillpane
  // for --help) gives its viewer's form first; quillpane-export only
  // exports. A Windows program's folder ends with a backslash; started
  // from its console the name may come without ".exe".
  std::string stem = program;
  for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool exe = stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".exe") == 0;
  if (exe) stem.resize(stem.size() - 4);
#ifdef _WIN32
  const bool windows = true;
#else
  const bool windows = exe;
#endif
  std::vector<std::string> forms;
  if (stem == "quillpane") forms.push_back(program + (windows ? " [FILE|FOLDER\\]" : " [FILE|FOLDER/]"));
  // The pairs as one choice, given once or more: {--png OUT.png|--text OUT.txt|...} FILE ...
  // The options follow, wrapped before 100 columns under the pairs.
  std::string exporting = program + " {", answers = program;
  for (const Switch& row : kSwitches)
    if (row.kind == Kind::kPair) exporting += (exporting.back() == '{' ? "" : "|") + Shown(row);
  exporting += "} FILE ...";
  const std::string indent(program.size(), ' ');
  std::vector<std::string> options;
  for (const Switch& row : kSwitches) {
    if (row.kind == Kind::kOnce) {
      const std::string option = " [" + Shown(row) + "]";
      if (options.empty() || 7 + options.back().size() + option.size() > 100) options.push_back(indent);
      options.back() += option;
    }
    if (row.kind == Kind::kAnswer) answers += (answers == program ? " " : " | ") + Shown(row);
  }
  forms.push_back(exporting);
  forms.insert(forms.end(), options.begin(), options.end());
  forms.push_back(answers);
  for (size_t i = 0; i < forms.size(); ++i) forms[i].insert(0, i == 0 ? "usage: " : "       ");
  return forms;
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
  request.program = ProgramName(program);
  // Whoever asks for help gets it, whatever else the line holds.
  for (const std::string& argument : args) {
    const Switch* row = FindSwitch(argument);
    if (row != nullptr && row->kind == Kind::kAnswer) {
      row->read(argument, request);
      return request;
    }
  }
  const auto fail = [&request](const std::string& problem) {
    request.error = problem;
    return request;
  };
  const Switch* pair = nullptr;  // the last pair's switch
  const auto pairNeeds = [&pair] { return pair->name + std::string(pair->missing); };
  int pairWants = 0;     // how many of the last pair's OUT and FILE are still to come
  unsigned outputs = 0;  // the kinds the line writes
  bool given[kSwitchCount] = {};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& argument = args[i];
    const Switch* row = FindSwitch(argument);
    if (!IsSwitch(argument)) {
      if (pairWants == 0)
        return fail("unexpected argument \"" + argument + "\": each FILE follows " + PairsShown(""));
      if (argument.empty()) return fail(pairNeeds());
      if (pairWants-- == 2) {
        request.pairs.push_back(ExportPair{argument, std::string(), KindOf(*pair)});
      } else {
        request.pairs.back().file = argument;
      }
    } else if (row == nullptr) {
      return fail("unknown switch \"" + argument + "\"");
    } else if (row->kind == Kind::kPair) {
      if (pairWants != 0) return fail(pairNeeds());
      pair = row;
      pairWants = 2;
      outputs |= row->outputs;
    } else {
      // Empty quotes name nothing: they count as a missing value too.
      std::string value;
      if (row->value != nullptr) {
        if (i + 1 >= args.size() || args[i + 1].empty() || IsSwitch(args[i + 1]))
          return fail(row->name + std::string(row->missing));
        value = args[i + 1];
      }
      bool& once = given[row - kSwitches];
      if (once) return fail(row->name + std::string(" is given twice"));
      once = true;
      const std::string wrong = row->read(value, request);
      if (!wrong.empty()) return fail(row->name + wrong + ": \"" + value + "\"");
      if (row->value != nullptr) ++i;
    }
  }
  if (pairWants != 0) return fail(pairNeeds());
  if (request.pairs.empty()) return fail("nothing to export: give " + PairsShown(" FILE"));
  for (size_t k = 0; k < kSwitchCount; ++k) {
    if (given[k] && (kSwitches[k].outputs & outputs) == 0)
      return fail(kSwitches[k].name + std::string(" applies only to ") + PairNames(kSwitches[k].outputs) +
                  ", which the line does not give");
  }
  if (request.animateBitsPerSecond != 0 && request.thumbnailSize != 0)
    return fail("--animate and --thumbnail do not go together: a thumbnail is still");
  // A play's frames are cut from 8-pixel cells in square rows; asked for
  // other letters or rows it would draw what was not asked for.
  if (request.animateBitsPerSecond != 0 &&
      (request.look.letters == LookChoice::kOn || request.look.aspect == LookChoice::kOn))
    return fail(
        "--animate draws 8-pixel letters in square rows: not with --letter-spacing 9 or --aspect 4:3");
  return request;
}
