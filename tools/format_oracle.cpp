// Compares the readers of the scene formats (XBin, BinaryText, Artworx,
// iCEDraw, TundraDraw, PCBoard) with Debian's ansilove, pixel by pixel.
//
//   format_oracle [--min PERCENT] [--show N] FILE...
//
// Each file is read by the reader its extension names and drawn here, its
// palette and exact colours applied, and drawn by `ansilove -b 8` (a BinaryText with -c
// and the width read here, since ansilove takes 160 whatever the record
// says, and -i where the record asks for iCE colours, which it ignores). Pixels agree when each channel is
// within 4; a pixel on one page only is taken against black. Prints one line a file: the share that agrees,
// both pages' sizes, the reader's note. Exits 1 when a file agrees less than --min percent (--show prints the
// first N pixels that differ), 77 (skipped) without ansilove or files.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lodepng.h"
#include "art/art_formats.h"
#include "raster/ansi_raster.h"

namespace {

struct Rgb {
  unsigned width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB
  uint32_t At(unsigned x, unsigned y) const { return x < width && y < height ? pixels[y * width + x] : 0; }
};

Rgb Draw(const AnsiScreen& screen) {
  const AnsiPageSize page = AnsiPageSizeOf(screen);
  std::vector<uint8_t> bits(static_cast<size_t>(page.stride) * static_cast<size_t>(page.height));
  RasteriseAnsi(screen, bits.data());
  Rgb rgb;
  rgb.width = static_cast<unsigned>(page.width);
  rgb.height = static_cast<unsigned>(page.height);
  for (unsigned y = 0; y < rgb.height; ++y)
    for (unsigned x = 0; x < rgb.width; ++x) {
      const uint8_t* row = bits.data() + y * static_cast<size_t>(page.stride);
      if (page.bitsPerPixel == 32)
        rgb.pixels.push_back(uint32_t{row[4 * x + 2]} << 16 | uint32_t{row[4 * x + 1]} << 8 | row[4 * x]);
      else
        rgb.pixels.push_back(screen.palette[x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15]);
    }
  return rgb;
}

bool Decode(const std::string& path, Rgb& rgb) {
  std::vector<unsigned char> rgba;
  if (lodepng::decode(rgba, rgb.width, rgb.height, path) != 0) return false;
  for (size_t i = 0; i < rgba.size(); i += 4)
    rgb.pixels.push_back(uint32_t{rgba[i]} << 16 | uint32_t{rgba[i + 1]} << 8 | rgba[i + 2]);
  return true;
}

bool Near(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)) > 4)
      return false;
  return true;
}

std::string Extension(const std::string& path) {
  const size_t dot = path.rfind('.');
  std::string extension = dot == std::string::npos ? "" : path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

}  // namespace

int main(int argc, char** argv) {
  double minimum = -1;
  int show = 0;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--min") == 0 && i + 1 < argc)
      minimum = std::atof(argv[++i]);
    else if (std::strcmp(argv[i], "--show") == 0 && i + 1 < argc)
      show = std::atoi(argv[++i]);
    else
      files.push_back(argv[i]);
  }
  if (std::system("ansilove -v >/dev/null 2>&1") != 0) {
    std::printf("format_oracle: skipped, no ansilove (Debian package ansilove)\n");
    return 77;
  }
  if (files.empty()) return 77;
  char temp[] = "/tmp/format-oracle.XXXXXX";
  if (mkdtemp(temp) == nullptr) return 2;
  const std::string output = std::string(temp) + "/page.png";
  int below = 0;
  for (const std::string& path : files) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string extension = Extension(path);
    if (!IsColourFormat(path.c_str())) continue;
    const FormatReading reading = FormatRowOf(path.c_str()).read(bytes.data(), bytes.size());
    const Rgb ours = Draw(reading.screen);
    std::string width = extension == "bin" ? "-c " + std::to_string(reading.screen.columns) + " " : "";
    if (extension == "bin" && (ReadSauce(bytes.data(), bytes.size()).flags & 1) != 0) width += "-i ";
    std::remove(output.c_str());
    Rgb theirs;
    if (std::system(
            ("ansilove -q -b 8 " + width + "-o '" + output + "' '" + path + "' >/dev/null 2>&1").c_str()) !=
            0 ||
        !Decode(output, theirs)) {
      std::printf("ansilove failed  %s\n", path.c_str());
      ++below;
      continue;
    }
    const unsigned w = std::max(ours.width, theirs.width), h = std::max(ours.height, theirs.height);
    uint64_t agree = 0;
    int shown = 0;
    for (unsigned y = 0; y < h; ++y)
      for (unsigned x = 0; x < w; ++x) {
        const bool near = Near(ours.At(x, y), theirs.At(x, y));
        agree += near;
        if (!near && shown < show) {
          ++shown;
          const AnsiScreen& screen = reading.screen;
          const AnsiCell cell =
              screen.At(static_cast<int32_t>(x / 8), static_cast<int32_t>(y) / screen.cellHeight);
          std::printf("  pixel %u,%u (cell %02X %02X): here %06X, ansilove %06X\n", x, y, cell.character,
                      cell.colours, ours.At(x, y), theirs.At(x, y));
        }
      }
    const double total = static_cast<double>(w) * h;
    const double percent = total > 0 ? 100.0 * static_cast<double>(agree) / total : 100.0;
    std::printf("%7.2f%%  %ux%u here, %ux%u ansilove  %s%s%s\n", percent, ours.width, ours.height,
                theirs.width, theirs.height, path.c_str(),
                reading.note.empty() ? "" : "  note: ", reading.note.c_str());
    if (percent < minimum) ++below;
  }
  std::remove(output.c_str());
  rmdir(temp);
  return below > 0 ? 1 : 0;
}
