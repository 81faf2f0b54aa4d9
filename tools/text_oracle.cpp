// Checks the text outputs against independent programs.
//
//   text_oracle text FOLDER_OR_FILE...
//     Every plain .nfo and .diz (any case; no escape byte, every line within
//     the text layout's 92 cells) read as the export reads it: its UTF-8
//     text must equal `iconv -f CP437 -t UTF-8` of the file, both with
//     trailing blanks, CR before LF and trailing empty lines dropped.
//
//   text_oracle terminal [--colours 16|24bit] [--min PERCENT] [--show N] FOLDER_OR_FILE...
//     Every .ans file (any case) that ansilove reads, as a colour screen:
//     its ANSI output is shown by tmux in a window of the screen's width,
//     captured back with its colours and cut into cells, and each cell's
//     character, foreground and background compared with the screen's (as
//     its page draws it). With 16 colours the palette indexes are compared.
//
// Prints one line a file and the total. Exits 1 when a file differs (text)
// or agrees less than --min percent (terminal), 77 (skipped) when iconv,
// tmux or the files are missing.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "art/document.h"
#include "core/code_page_437.h"
#include "text/text_out.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The standard output of a shell command; false when it fails.
bool Run(const std::string& command, std::string& out) {
  out.clear();
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  return pclose(pipe) == 0;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> Files(const std::vector<std::string>& args, const std::vector<std::string>& extensions) {
  std::vector<std::string> files;
  const auto wanted = [&](const fs::path& path) {
    return std::find(extensions.begin(), extensions.end(), Lower(path.extension().string())) != extensions.end();
  };
  for (const std::string& arg : args) {
    if (fs::is_directory(arg)) {
      std::error_code error;
      for (auto it = fs::recursive_directory_iterator(arg, error);
           !error && it != fs::recursive_directory_iterator(); it.increment(error))
        if (it->is_regular_file() && wanted(it->path())) files.push_back(it->path().string());
    } else if (fs::is_regular_file(arg)) {
      files.push_back(arg);
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

void Read(const std::string& path, const std::vector<uint8_t>& bytes, bool colour, Document& document) {
  DocumentOptions options;
  options.colour = colour;
  ReadDocument(path.c_str(), ReadFromMemory(bytes.data(), bytes.size()), options, document);
}

// ---- text ----

// A text whose every line stays on one row of the text layout: no escape
// or form feed (which the layout takes as controls), and every line within
// the row's 92 cells, tabs at every 8th column. A line that fills all 92
// with a character other than a blank runs on to the next row, and one
// longer still wraps: neither fits.
bool Plain(const std::vector<uint8_t>& bytes) {
  size_t column = 0;
  uint8_t last = ' ';
  for (const uint8_t b : bytes) {
    if (b == 0x1B || b == 0x0C) return false;
    if (b == '\n' || b == '\r') {
      if (column > 92 || (column == 92 && last != ' ')) return false;
      column = 0;
      last = ' ';
    } else if (b == '\t') {
      column = column / 8 * 8 + 8;
      last = ' ';
    } else {
      ++column;
      last = b;
    }
  }
  return column < 92 || (column == 92 && last == ' ');
}

// The lines of a text: ended by CR LF, CR or LF (a CR alone ends a line as
// well, as in universal newlines), tabs expanded to every 8th column, and
// trailing blanks and trailing empty lines dropped. The control characters
// U+0001-U+001F and U+007F (iconv's reading of those bytes) become the
// pictures those bytes show on the PC's screen.
std::vector<std::string> NormalLines(const std::string& text) {
  std::vector<std::string> lines(1);
  size_t column = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t b = static_cast<uint8_t>(text[i]);
    if (b == '\r' || b == '\n') {
      if (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
      column = 0;
    } else if (b == '\t') {
      do lines.back() += ' ';
      while (++column % 8 != 0);
    } else if (b < 0x20 || b == 0x7F) {
      const char16_t c = kCodePage437[b];
      lines.back() += static_cast<char>(0xE0 | c >> 12);
      lines.back() += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      lines.back() += static_cast<char>(0x80 | (c & 0x3F));
      ++column;
    } else {
      lines.back() += static_cast<char>(b);
      if ((b & 0xC0) != 0x80) ++column;
    }
  }
  for (std::string& line : lines)
    while (!line.empty() && line.back() == ' ') line.pop_back();
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

int CheckText(const std::vector<std::string>& args) {
  if (std::system("iconv --version >/dev/null 2>&1") != 0) {
    std::printf("text_oracle: skipped, no iconv\n");
    return 77;
  }
  const std::vector<std::string> files = Files(args, {".nfo", ".diz"});
  int plain = 0, equal = 0;
  Document document;
  for (const std::string& path : files) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    if (!Plain(bytes)) {
      std::printf("not plain  %s\n", path.c_str());
      continue;
    }
    ++plain;
    std::string theirs;
    if (!Run("iconv -f CP437 -t UTF-8 " + Quote(path), theirs)) {
      std::printf("iconv failed  %s\n", path.c_str());
      continue;
    }
    Read(path, bytes, false, document);
    const std::vector<std::string> a = NormalLines(DocumentText(document, TextOutOptions())),
                                   b = NormalLines(theirs);
    size_t line = 0;
    while (line < a.size() && line < b.size() && a[line] == b[line]) ++line;
    if (line == a.size() && line == b.size()) {
      ++equal;
      std::printf("equal      %s (%zu lines)\n", path.c_str(), a.size());
    } else {
      std::printf("DIFFERS    %s at line %zu of %zu/%zu:\n  here:  %s\n  iconv: %s\n", path.c_str(), line + 1,
                  a.size(), b.size(), line < a.size() ? a[line].c_str() : "(none)",
                  line < b.size() ? b[line].c_str() : "(none)");
    }
  }
  if (files.empty()) {
    std::printf("text_oracle: skipped, no .nfo or .diz files (is the corpus there?)\n");
    return 77;
  }
  std::printf("total: %d of %d plain files equal (%zu .nfo/.diz files)\n", equal, plain, files.size());
  return equal == plain ? 0 : 1;
}

// ---- terminal ----

// A terminal cell read back: its character and colours as given (an index
// of the 16, or 0xRRGGBB with bit 24 set; -1 the terminal's default).
struct TerminalCell {
  char32_t character = U' ';
  int64_t foreground = -1, background = -1;
};

constexpr int64_t kRgb = int64_t{1} << 24;

void ApplySgr(const std::vector<int>& p, int64_t& foreground, int64_t& background) {
  for (size_t i = 0; i < p.size(); ++i) {
    const int code = p[i];
    if (code == 0) {
      foreground = background = -1;
    } else if (code >= 30 && code <= 37) {
      foreground = code - 30;
    } else if (code >= 90 && code <= 97) {
      foreground = code - 90 + 8;
    } else if (code >= 40 && code <= 47) {
      background = code - 40;
    } else if (code >= 100 && code <= 107) {
      background = code - 100 + 8;
    } else if (code == 39) {
      foreground = -1;
    } else if (code == 49) {
      background = -1;
    } else if ((code == 38 || code == 48) && i + 1 < p.size()) {
      int64_t& target = code == 38 ? foreground : background;
      if (p[i + 1] == 2 && i + 4 < p.size()) {
        target = kRgb | p[i + 2] << 16 | p[i + 3] << 8 | p[i + 4];
        i += 4;
      } else if (p[i + 1] == 5 && i + 2 < p.size()) {
        target = p[i + 2] < 16 ? p[i + 2] : 256 + p[i + 2];  // beyond the 16: not expected here
        i += 2;
      }
    }
  }
}

// The lines tmux captured (with their escapes) as cells.
std::vector<std::vector<TerminalCell>> ParseCapture(const std::string& capture) {
  std::vector<std::vector<TerminalCell>> rows(1);
  int64_t foreground = -1, background = -1;
  for (size_t i = 0; i < capture.size();) {
    const uint8_t b = static_cast<uint8_t>(capture[i]);
    if (b == '\n') {
      rows.emplace_back();
      ++i;
    } else if (b == 0x1B && i + 1 < capture.size() && capture[i + 1] == '[') {
      size_t end = i + 2;
      while (end < capture.size() && !std::isalpha(static_cast<unsigned char>(capture[end]))) ++end;
      if (end < capture.size() && capture[end] == 'm') {
        std::vector<int> parameters(1, 0);
        for (size_t k = i + 2; k < end; ++k) {
          if (capture[k] == ';' || capture[k] == ':') {
            parameters.push_back(0);
          } else if (std::isdigit(static_cast<unsigned char>(capture[k]))) {
            parameters.back() = parameters.back() * 10 + (capture[k] - '0');
          }
        }
        ApplySgr(parameters, foreground, background);
      }
      i = end + 1;
    } else {
      // One UTF-8 character a cell: every character here is one cell wide.
      int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
      char32_t c = length == 1 ? b : b & (0x3F >> (length - 1));
      for (int k = 1; k < length && i + static_cast<size_t>(k) < capture.size(); ++k)
        c = c << 6 | (static_cast<uint8_t>(capture[i + static_cast<size_t>(k)]) & 0x3F);
      rows.back().push_back({c, foreground, background});
      i += static_cast<size_t>(length);
    }
  }
  return rows;
}

struct Tmux {
  std::string socket;
  bool Command(const std::string& arguments, std::string* out = nullptr) const {
    std::string ignored;
    return Run("tmux -u -L " + socket + " -f /dev/null " + arguments + " 2>/dev/null", out ? *out : ignored);
  }
};

// What tmux shows of `file` in a window `columns` wide, captured whole.
// `show` is a script that cats the file, then sets the pane's title: tmux
// reads a pane's output in order, so once the title is set every byte
// before it is on the screen. (A pane whose program has ended may be
// called dead before all it wrote has been read; the script stays.)
bool ShowInTmux(const Tmux& tmux, const std::string& show, const std::string& file, int32_t columns,
                std::string& capture) {
  static int count = 0;
  // A session of its own: a detached session is made at the size it asks.
  const std::string name = "art" + std::to_string(++count);
  if (!tmux.Command("new-session -d -s " + name + " -x " + std::to_string(columns) + " -y 24 " +
                    Quote("sh " + Quote(show) + " " + Quote(file))))
    return false;
  std::string title;
  for (int i = 0; i < 3000; ++i) {
    if (tmux.Command("display-message -p -t " + name + ": '#{pane_title}'", &title) && title == "qp-done\n")
      break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const bool captured =
      title == "qp-done\n" && tmux.Command("capture-pane -p -e -N -S - -E - -t " + name + ":", &capture);
  tmux.Command("kill-session -t " + name);
  return captured;
}

struct Agreement {
  int64_t cells = 0, agreeing = 0;
};

Agreement CompareCells(const Document& document, const std::vector<std::vector<TerminalCell>>& shown,
                       TerminalColours colours, int show, const std::string& path) {
  const AnsiScreen& screen = document.screen.screen;
  const ShownRows rows = DocumentShownRows(document);
  const char16_t* characters = DocumentCharacters(document);
  Agreement agreement;
  int told = 0;
  for (int32_t row = 0; row < screen.rows; ++row) {
    const std::vector<uint8_t>& cells = rows[static_cast<size_t>(row)].cells;
    for (int32_t column = 0; column < screen.columns; ++column) {
      const uint8_t b = static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : 0;
      const char32_t character = b != 0 && characters[b] != 0 ? characters[b] : U' ';
      const CellColours drawn = ColoursOfCell(screen, column, row);
      int64_t foreground = kRgb | drawn.foregroundRgb, background = kRgb | drawn.backgroundRgb;
      if (colours == TerminalColours::k16) {
        // A colour given exactly goes to the terminal as the nearest of the 16.
        const auto index = [](int palette, uint32_t rgb, uint32_t paletteRgb) {
          return rgb == paletteRgb ? palette
                                   : NearestAnsiColour(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8 & 255),
                                                       static_cast<int>(rgb & 255));
        };
        foreground = index(drawn.foreground, drawn.foregroundRgb,
                           screen.palette[static_cast<size_t>(drawn.foreground)]);
        background = index(drawn.background, drawn.backgroundRgb,
                           screen.palette[static_cast<size_t>(drawn.background)]);
      }
      TerminalCell got;
      if (static_cast<size_t>(row) < shown.size() && static_cast<size_t>(column) < shown[static_cast<size_t>(row)].size())
        got = shown[static_cast<size_t>(row)][static_cast<size_t>(column)];
      ++agreement.cells;
      if (got.character == character && got.foreground == foreground && got.background == background) {
        ++agreement.agreeing;
      } else if (told++ < show) {
        std::printf("  %s cell %d,%d: U+%04X %llx on %llx, tmux U+%04X %llx on %llx\n", path.c_str(), column, row,
                    static_cast<unsigned>(character), static_cast<long long>(foreground),
                    static_cast<long long>(background), static_cast<unsigned>(got.character),
                    static_cast<long long>(got.foreground), static_cast<long long>(got.background));
      }
    }
  }
  return agreement;
}

int CheckTerminal(const std::vector<std::string>& args) {
  TerminalColours colours = TerminalColours::k24Bit;
  double minimum = -1;
  int show = 0;
  std::vector<std::string> inputs;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--colours" && i + 1 < args.size()) {
      colours = args[++i] == "16" ? TerminalColours::k16 : TerminalColours::k24Bit;
    } else if (args[i] == "--min" && i + 1 < args.size()) {
      minimum = std::atof(args[++i].c_str());
    } else if (args[i] == "--show" && i + 1 < args.size()) {
      show = std::atoi(args[++i].c_str());
    } else {
      inputs.push_back(args[i]);
    }
  }
  const std::vector<std::string> files = Files(inputs, {".ans"});
  if (std::system("tmux -V >/dev/null 2>&1") != 0) {
    std::printf("text_oracle: skipped, no tmux (Debian package tmux)\n");
    return 77;
  }
  if (files.empty()) {
    std::printf("text_oracle: skipped, no .ans files (is the corpus there?)\n");
    return 77;
  }
  const bool ansilove = std::system("ansilove -v >/dev/null 2>&1") == 0;
  char temp[] = "/tmp/text-oracle.XXXXXX";
  if (mkdtemp(temp) == nullptr) return 2;
  const std::string folder = temp;
  // tmux reads UTF-8 only in a UTF-8 locale (-u says the client's is).
  setenv("LC_ALL", "C.UTF-8", 1);
  Tmux tmux{"text-oracle-" + std::to_string(getpid())};
  // One session holds the server; every file gets a session of its own,
  // made after the history is large enough for the tallest screen.
  bool started = tmux.Command("new-session -d -s keep -x 80 -y 24 cat") &&
                 tmux.Command("set-option -g history-limit 2000000");
  const std::string script = folder + "/show.sh";
  started = started && WriteBytes(script, "cat \"$1\"\nprintf '\\033]2;qp-done\\033\\\\'\nexec cat\n");
  int64_t cells = 0, agreeing = 0;
  int below = 0, compared = 0, unread = 0, failed = 0;
  Document document;
  for (size_t f = 0; started && f < files.size(); ++f) {
    const std::string& path = files[f];
    const std::string png = folder + "/file.png";
    if (ansilove && std::system(("ansilove -q " + Quote(path) + " -o " + png + " >/dev/null 2>&1").c_str()) != 0) {
      ++unread;
      std::printf("not read by ansilove  %s\n", path.c_str());
      continue;
    }
    Read(path, ReadBytes(path), true, document);
    if (!document.Colour()) {
      std::printf("not a colour screen  %s\n", path.c_str());
      continue;
    }
    TextOutOptions options;
    options.colours = colours;
    const std::string file = folder + "/file.ans";
    std::string capture;
    if (!WriteBytes(file, DocumentAnsi(document, options)) ||
        !ShowInTmux(tmux, script, file, document.screen.screen.columns, capture)) {
      ++failed;
      std::printf("tmux failed  %s\n", path.c_str());
      continue;
    }
    const Agreement a = CompareCells(document, ParseCapture(capture), colours, show, path);
    ++compared;
    cells += a.cells;
    agreeing += a.agreeing;
    const double percent = a.cells ? 100.0 * a.agreeing / a.cells : 100.0;
    if (percent < minimum) ++below;
    std::printf("%7.2f%%  %7lld/%-7lld cells  %s\n", percent, static_cast<long long>(a.agreeing),
                static_cast<long long>(a.cells), path.c_str());
  }
  std::error_code error;
  // The server leaves its socket behind.
  std::string socket;
  if (started && tmux.Command("display-message -p '#{socket_path}'", &socket) && !socket.empty()) socket.pop_back();
  tmux.Command("kill-server");
  if (!socket.empty()) fs::remove(socket, error);
  fs::remove_all(folder, error);
  if (!started) {
    std::printf("text_oracle: tmux would not start\n");
    return 1;
  }
  std::printf("total (%s): %lld of %lld cells agree (%.3f%%) over %d files", colours == TerminalColours::k16 ? "16" : "24bit",
              static_cast<long long>(agreeing), static_cast<long long>(cells), cells ? 100.0 * agreeing / cells : 100.0,
              compared);
  if (minimum >= 0) std::printf("; %d below %g%%", below, minimum);
  if (unread > 0) std::printf("; %d not read by ansilove", unread);
  if (failed > 0) std::printf("; %d not shown", failed);
  std::printf("\n");
  return below > 0 || failed > 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "text") return CheckText(args);
  if (mode == "terminal") return CheckTerminal(args);
  std::fprintf(stderr, "usage: text_oracle text|terminal [options] FOLDER_OR_FILE...\n");
  return 2;
}
