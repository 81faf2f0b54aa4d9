// Compares the ANSI colour mode with Debian's ansilove, cell by cell.
//
//   ansi_oracle [--min PERCENT] [--show N] [--letters 8|9] FILE_OR_FOLDER...
//
// Folders are searched for .ans files (any case). For each file the page
// this program draws and the PNG of `ansilove -b 8` (with -S when the file
// has a SAUCE record, in a copy whose letter spacing says 8 pixels) are cut
// into cells, and each cell is identified through the font of the program
// that drew it: ansilove's is learnt once per font by drawing all 256
// characters through it, this program's is its own table. With --letters 9
// both draw 9-pixel cells (`ansilove -b 9`, the copy's record saying 9
// pixels): a cell's first 8 columns are identified so, and its 9th column
// must be the same pixel for pixel.
//
// A cell's identity is what can be seen of it:
//   - a cell of one colour X is "blank on X", whatever drew it (a space, a
//     NUL or byte 255 on X, a full block in X, any glyph in X on X);
//   - a cell of two colours is every (character, foreground, background)
//     whose glyph gives exactly those pixels: characters with the same
//     glyph, and pairs such as the lower half block in A on B and the upper
//     half block in B on A, are one identity.
// Two cells agree when their identities meet. A page shorter than the other
// is taken as empty (black) below its last row.
//
// Prints one line a file (agreement, cells, rows of each) and the total.
// Exits 1 when a file agrees less than --min percent, 77 (skipped) when
// ansilove is missing or no file was given.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "lodepng.h"
#include "art/ansi_screen.h"
#include "raster/ansi_raster.h"
#include "text/ansi_text.h"

namespace {

namespace fs = std::filesystem;

struct Font {
  int height = 0;
  std::vector<std::vector<uint8_t>> glyphs;  // 256 of `height` rows, bit 7 left
};

// A picture cut into cells: palette indices, 8 x height pixels a cell.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  int offPalette = 0;  // pixels of no palette colour (taken as the nearest)
};

struct Candidate {
  int character, foreground, background;
  bool operator==(const Candidate& o) const {
    return character == o.character && foreground == o.foreground && background == o.background;
  }
};

struct Identity {
  bool blank = false;
  int colour = 0;  // of a blank
  std::vector<Candidate> candidates;
  bool Unknown() const { return !blank && candidates.empty(); }
};

std::string g_temp;
int g_letters = 8;  // pixels a cell across

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool RunAnsilove(const std::string& input, const std::string& output, bool useSauce) {
  std::remove(output.c_str());
  const std::string command = "ansilove -q -b " + std::to_string(g_letters) + " " +
                              std::string(useSauce ? "-S " : "") + "-o '" + output + "' '" + input +
                              "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool DecodePicture(const std::string& path, Picture& picture) {
  std::vector<unsigned char> rgba;
  unsigned width = 0, height = 0;
  if (lodepng::decode(rgba, width, height, path) != 0) return false;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.pixels.resize(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    const uint32_t rgb = uint32_t{rgba[4 * i]} << 16 | uint32_t{rgba[4 * i + 1]} << 8 | rgba[4 * i + 2];
    int index = -1;
    for (int c = 0; c < 16; ++c)
      if (kAnsiPalette[c] == rgb) index = c;
    if (index < 0) {
      ++picture.offPalette;
      index = NearestAnsiColour(rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2]);
    }
    picture.pixels[i] = static_cast<uint8_t>(index);
  }
  return true;
}

// The page this program draws, as a picture.
Picture OurPicture(AnsiScreen screen) {
  screen.cellWidth = g_letters;
  const AnsiPageSize page = AnsiPageSizeOf(screen);
  std::vector<uint8_t> bits(static_cast<size_t>(page.stride) * page.height);
  RasteriseAnsi(screen, bits.data());
  Picture picture;
  picture.width = page.width;
  picture.height = page.height;
  picture.pixels.resize(static_cast<size_t>(page.width) * page.height);
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x) {
      uint8_t& pixel = picture.pixels[static_cast<size_t>(y) * page.width + x];
      if (page.bitsPerPixel == 32) {
        // Exact colours, blue first: taken as the nearest of the 16, as ansilove's are.
        const uint8_t* bgrx = &bits[static_cast<size_t>(y) * page.stride + 4 * static_cast<size_t>(x)];
        pixel = static_cast<uint8_t>(NearestAnsiColour(bgrx[2], bgrx[1], bgrx[0]));
      } else {
        const uint8_t pair = bits[static_cast<size_t>(y) * page.stride + x / 2];
        pixel = x % 2 == 0 ? pair >> 4 : pair & 15;
      }
    }
  return picture;
}

// The record's letter-spacing bits: 8 pixels (01) or 9 (10), as compared.
uint8_t SpacingBits() { return g_letters == 9 ? 4 : 2; }

// The 128-byte record ansilove is given: the letter spacing compared.
std::vector<uint8_t> WithLetterSpacing(std::vector<uint8_t> bytes) {
  uint8_t& flags = bytes[bytes.size() - 128 + 105];
  flags = static_cast<uint8_t>((flags & ~6) | SpacingBits());
  return bytes;
}

// ansilove's font for a file: all 256 characters drawn through it in grey
// on black, 16 a row (80 without a record), behind the file's own record
// (so that -S picks the same font). The bytes that act on the cursor are
// drawn as blanks; neither program ever shows them.
const Font* LearnFont(const std::vector<uint8_t>& file, const SauceRecord& sauce) {
  static std::map<std::string, Font> fonts;
  const std::string key = sauce.present ? std::string("S:") + sauce.fontName : "default";
  auto found = fonts.find(key);
  if (found != fonts.end()) return found->second.height ? &found->second : nullptr;
  Font& font = fonts[key];
  std::vector<uint8_t> bytes;
  for (int c = 0; c < 256; ++c)
    bytes.push_back(c == 9 || c == 10 || c == 13 || c == 26 || c == 27 ? ' ' : static_cast<uint8_t>(c));
  const int columns = sauce.present ? 16 : 80;
  if (sauce.present) {
    bytes.push_back(0x1A);
    std::vector<uint8_t> record(file.end() - 128, file.end());
    record[94] = 1;
    record[95] = 1;
    record[96] = static_cast<uint8_t>(columns);
    record[97] = 0;
    record[104] = 0;
    record[105] = SpacingBits();
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  const std::string input = g_temp + "/font.ans", output = g_temp + "/font.png";
  WriteFile(input, bytes);
  Picture picture;
  const int rows = (256 + columns - 1) / columns;
  if (!RunAnsilove(input, output, sauce.present) || !DecodePicture(output, picture) ||
      picture.height % rows != 0 || picture.width != g_letters * columns) {
    std::fprintf(stderr, "ansi_oracle: cannot learn ansilove's font %s\n", key.c_str());
    return nullptr;
  }
  font.height = picture.height / rows;
  font.glyphs.assign(256, std::vector<uint8_t>(static_cast<size_t>(font.height)));
  for (int c = 0; c < 256; ++c)
    for (int y = 0; y < font.height; ++y)
      for (int x = 0; x < 8; ++x) {
        const size_t at = static_cast<size_t>((c / columns) * font.height + y) * picture.width +
                          (c % columns) * g_letters + x;
        if (picture.pixels[at] != 0) font.glyphs[c][y] |= static_cast<uint8_t>(0x80 >> x);
      }
  return &font;
}

Font OurFont(int height) {
  Font font;
  font.height = height;
  for (int c = 0; c < 256; ++c) {
    const uint8_t* glyph = AnsiGlyph(height, static_cast<uint8_t>(c));
    font.glyphs.emplace_back(glyph, glyph + height);
  }
  return font;
}

Identity Identify(const Picture& picture, const Font& font, int column, int row) {
  Identity id;
  const int h = font.height;
  if ((column + 1) * g_letters > picture.width || (row + 1) * h > picture.height) {
    id.blank = true;  // below or beside the page: empty
    return id;
  }
  uint8_t cell[8 * 16];
  bool present[16] = {};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < 8; ++x) {
      const uint8_t v =
          picture.pixels[static_cast<size_t>(row * h + y) * picture.width + column * g_letters + x];
      cell[y * 8 + x] = v;
      present[v] = true;
    }
  std::vector<int> colours;
  for (int c = 0; c < 16; ++c)
    if (present[c]) colours.push_back(c);
  if (colours.size() == 1) {
    id.blank = true;
    id.colour = colours[0];
    return id;
  }
  if (colours.size() != 2) return id;
  for (int k = 0; k < 2; ++k) {
    const int front = colours[k], back = colours[1 - k];
    uint8_t pattern[16] = {};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < 8; ++x)
        if (cell[y * 8 + x] == front) pattern[y] |= static_cast<uint8_t>(0x80 >> x);
    for (int c = 0; c < 256; ++c)
      if (std::memcmp(font.glyphs[c].data(), pattern, static_cast<size_t>(h)) == 0)
        id.candidates.push_back(Candidate{c, front, back});
  }
  return id;
}

// The 9th column of a cell, top to bottom; empty in 8-pixel cells or past
// the picture (taken as black there, like the rest of the cell).
std::vector<uint8_t> NinthColumn(const Picture& picture, int height, int column, int row) {
  std::vector<uint8_t> pixels;
  if (g_letters != 9) return pixels;
  const bool inside = (column + 1) * 9 <= picture.width && (row + 1) * height <= picture.height;
  for (int y = 0; y < height; ++y)
    pixels.push_back(
        inside ? picture.pixels[static_cast<size_t>(row * height + y) * picture.width + column * 9 + 8] : 0);
  return pixels;
}

bool Agree(const Identity& a, const Identity& b) {
  if (a.blank || b.blank) return a.blank && b.blank && a.colour == b.colour;
  for (const Candidate& x : a.candidates)
    for (const Candidate& y : b.candidates)
      if (x == y) return true;
  return false;
}

std::string Describe(const Identity& id) {
  if (id.blank) return "blank on " + std::to_string(id.colour);
  if (id.candidates.empty()) return "unknown glyph";
  std::string text;
  for (const Candidate& c : id.candidates) {
    char part[40];
    std::snprintf(part, sizeof part, "%s%02X %d/%d", text.empty() ? "" : " or ", c.character, c.foreground,
                  c.background);
    text += part;
  }
  return text;
}

struct Result {
  bool ok = false;
  int64_t cells = 0, agreeing = 0;
};

Result Compare(const std::string& path, int show) {
  Result result;
  const std::vector<uint8_t> file = ReadFile(path);
  const SauceRecord sauce = ReadSauce(file.data(), file.size());
  const AnsiScreen screen = ReadAnsiScreen(file.data(), file.size());
  const Picture ours = OurPicture(screen);
  const Font ourFont = OurFont(screen.cellHeight);

  const std::string input = g_temp + "/file.ans", output = g_temp + "/file.png";
  WriteFile(input, sauce.present ? WithLetterSpacing(file) : file);
  Picture theirs;
  const Font* theirFont = LearnFont(file, sauce);
  if (theirFont == nullptr || !RunAnsilove(input, output, sauce.present) || !DecodePicture(output, theirs)) {
    std::printf("ansilove failed            %s\n", path.c_str());
    return result;
  }
  const int theirRows = theirs.height / theirFont->height;
  const int columns = std::max(screen.columns, theirs.width / g_letters);
  const int rows = std::max(screen.rows, theirRows);
  int shown = 0;
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column) {
      const Identity a = Identify(ours, ourFont, column, row);
      const Identity b = Identify(theirs, *theirFont, column, row);
      ++result.cells;
      if (Agree(a, b) && NinthColumn(ours, ourFont.height, column, row) ==
                             NinthColumn(theirs, theirFont->height, column, row)) {
        ++result.agreeing;
      } else if (shown < show) {
        ++shown;
        std::printf("  cell %d,%d: here %s; ansilove %s\n", column, row, Describe(a).c_str(),
                    Describe(b).c_str());
      }
    }
  result.ok = true;
  const double percent = result.cells ? 100.0 * result.agreeing / result.cells : 100.0;
  std::printf("%7.2f%%  %6lld/%-6lld cells  rows %d/%d  columns %d/%d%s  %s\n", percent,
              static_cast<long long>(result.agreeing), static_cast<long long>(result.cells), screen.rows,
              theirRows, screen.columns, theirs.width / g_letters,
              theirs.offPalette ? "  (ansilove drew colours off the palette)" : "", path.c_str());
  return result;
}

bool IsAnsFile(const fs::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".ans";
}

}  // namespace

int main(int argc, char** argv) {
  double minimum = -1;
  int show = 0;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--min" && i + 1 < argc) {
      minimum = std::atof(argv[++i]);
    } else if (arg == "--letters" && i + 1 < argc) {
      g_letters = std::atoi(argv[++i]) == 9 ? 9 : 8;
    } else if (arg == "--show" && i + 1 < argc) {
      show = std::atoi(argv[++i]);
    } else if (fs::is_directory(arg)) {
      std::error_code error;
      for (auto it = fs::recursive_directory_iterator(arg, error);
           !error && it != fs::recursive_directory_iterator(); it.increment(error))
        if (it->is_regular_file() && IsAnsFile(it->path())) files.push_back(it->path().string());
    } else if (fs::is_regular_file(arg)) {
      files.push_back(arg);
    } else {
      std::printf("ansi_oracle: %s not found\n", arg.c_str());
    }
  }
  if (std::system("ansilove -v >/dev/null 2>&1") != 0) {
    std::printf("ansi_oracle: skipped, no ansilove (Debian package ansilove)\n");
    return 77;
  }
  if (files.empty()) {
    std::printf("ansi_oracle: skipped, no .ans files (is the corpus there?)\n");
    return 77;
  }
  std::sort(files.begin(), files.end());
  char temp[] = "/tmp/ansi-oracle.XXXXXX";
  if (mkdtemp(temp) == nullptr) return 2;
  g_temp = temp;

  int64_t cells = 0, agreeing = 0;
  int below = 0, failed = 0;
  for (const std::string& file : files) {
    const Result r = Compare(file, show);
    if (!r.ok) {
      ++failed;
      continue;
    }
    cells += r.cells;
    agreeing += r.agreeing;
    if (r.cells && 100.0 * r.agreeing < minimum * r.cells) ++below;
  }
  std::error_code error;
  fs::remove_all(g_temp, error);
  std::printf("total: %lld of %lld cells agree (%.3f%%) over %zu files", static_cast<long long>(agreeing),
              static_cast<long long>(cells), cells ? 100.0 * agreeing / cells : 100.0, files.size() - failed);
  if (minimum >= 0) std::printf("; %d below %g%%", below, minimum);
  if (failed > 0) std::printf("; %d not drawn by ansilove", failed);
  std::printf("\n");
  return below > 0 || failed > 0 ? 1 : 0;
}
