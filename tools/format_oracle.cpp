// Compares the BBS formats (TundraDraw, PCBoard) with Debian's ansilove,
// pixel by pixel.
//
//   format_oracle [--min PERCENT] [--save DIR] [--show N] FILE...
//
// Each file is read by its extension (.tnd, .pcb, .avt, or else as ANSI)
// and drawn by RasteriseAnsi, its palette and exact colours applied; the
// PNG of `ansilove -b 8` is decoded with lodepng. Two pixels agree when
// each channel is within 4 (TundraDraw's own shades sit a step off VGA's).
// A page shorter than the other is taken as black below its last row.
// --save writes this program's page as DIR/NAME.png, to look at; --show
// lists the first N cells (8 x 16 pixels) that differ.
//
// Prints one line a file: the pixels that agree, the rows of each and the
// reader's note. Exits 1 when a file agrees less than --min percent, 77
// (skipped) when ansilove is missing or no file was given.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lodepng.h"
#include "art/ansi_screen.h"
#include "art/scene_formats.h"
#include "raster/ansi_raster.h"

namespace {

namespace fs = std::filesystem;

struct Rgb {
  int width = 0, height = 0;
  std::vector<unsigned char> pixels;  // RGBA
};

FormatReading Read(const std::string& path, const std::vector<uint8_t>& file) {
  std::string extension = fs::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".tnd") return ReadTundraDraw(file.data(), file.size());
  if (extension == ".pcb") return ReadPcBoard(file.data(), file.size());
  if (extension == ".avt") return ReadAvatar(file.data(), file.size());
  FormatReading reading;
  reading.screen = ReadAnsiScreen(file.data(), file.size());
  return reading;
}

Rgb Draw(const AnsiScreen& screen) {
  const AnsiPageSize page = AnsiPageSizeOf(screen);
  std::vector<uint8_t> bits(static_cast<size_t>(page.stride) * static_cast<size_t>(page.height));
  RasteriseAnsi(screen, bits.data());
  Rgb rgb;
  rgb.width = page.width;
  rgb.height = page.height;
  rgb.pixels.resize(static_cast<size_t>(page.width) * page.height * 4);
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x) {
      const uint8_t* row = bits.data() + static_cast<size_t>(y) * page.stride;
      uint32_t colour;
      if (page.bitsPerPixel == 32)
        colour = uint32_t{row[4 * x + 2]} << 16 | uint32_t{row[4 * x + 1]} << 8 | row[4 * x];
      else
        colour = screen.palette[x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15];
      unsigned char* out = &rgb.pixels[(static_cast<size_t>(y) * page.width + x) * 4];
      out[0] = static_cast<unsigned char>(colour >> 16);
      out[1] = static_cast<unsigned char>(colour >> 8);
      out[2] = static_cast<unsigned char>(colour);
      out[3] = 255;
    }
  return rgb;
}

const unsigned char* At(const Rgb& rgb, int x, int y) {
  static const unsigned char kBlack[4] = {0, 0, 0, 255};
  if (x >= rgb.width || y >= rgb.height) return kBlack;
  return &rgb.pixels[(static_cast<size_t>(y) * rgb.width + x) * 4];
}

}  // namespace

int main(int argc, char** argv) {
  double minimum = -1;
  int show = 0;
  std::string save;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--min" && i + 1 < argc)
      minimum = std::atof(argv[++i]);
    else if (arg == "--show" && i + 1 < argc)
      show = std::atoi(argv[++i]);
    else if (arg == "--save" && i + 1 < argc)
      save = argv[++i];
    else
      files.push_back(arg);
  }
  if (std::system("ansilove -v >/dev/null 2>&1") != 0) {
    std::printf("format_oracle: skipped, no ansilove (Debian package ansilove)\n");
    return 77;
  }
  if (files.empty()) {
    std::printf("format_oracle: skipped, no files\n");
    return 77;
  }
  char temp[] = "/tmp/format-oracle.XXXXXX";
  if (mkdtemp(temp) == nullptr) return 2;
  const std::string png = std::string(temp) + "/out.png";
  int below = 0;
  for (const std::string& path : files) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const FormatReading reading = Read(path, file);
    const Rgb ours = Draw(reading.screen);
    if (!save.empty())
      lodepng::encode(save + "/" + fs::path(path).filename().string() + ".png", ours.pixels,
                      static_cast<unsigned>(ours.width), static_cast<unsigned>(ours.height));
    Rgb theirs;
    unsigned width = 0, height = 0;
    const std::string command = "ansilove -q -b 8 -o '" + png + "' '" + path + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 || lodepng::decode(theirs.pixels, width, height, png) != 0) {
      std::printf("ansilove failed  %s\n", path.c_str());
      ++below;
      continue;
    }
    theirs.width = static_cast<int>(width);
    theirs.height = static_cast<int>(height);
    const int w = std::max(ours.width, theirs.width), h = std::max(ours.height, theirs.height);
    int64_t agreeing = 0;
    std::vector<bool> shown;
    int listed = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const unsigned char* a = At(ours, x, y);
        const unsigned char* b = At(theirs, x, y);
        if (std::abs(a[0] - b[0]) <= 4 && std::abs(a[1] - b[1]) <= 4 && std::abs(a[2] - b[2]) <= 4) {
          ++agreeing;
          continue;
        }
        const size_t cell =
            static_cast<size_t>(y / 16) * static_cast<size_t>(w / 8 + 1) + static_cast<size_t>(x / 8);
        if (shown.size() <= cell) shown.resize(cell + 1);
        if (listed < show && !shown[cell]) {
          shown[cell] = true;
          ++listed;
          std::printf("  cell %d,%d: here %02x%02x%02x, ansilove %02x%02x%02x\n", x / 8, y / 16, a[0], a[1],
                      a[2], b[0], b[1], b[2]);
        }
      }
    const double percent = w * h > 0 ? 100.0 * static_cast<double>(agreeing) / (double{1} * w * h) : 100.0;
    if (percent < minimum) ++below;
    std::printf("%7.2f%%  rows %d/%d  %s%s%s\n", percent, reading.screen.rows, theirs.height / 16,
                path.c_str(), reading.note.empty() ? "" : "  note: ", reading.note.c_str());
  }
  std::error_code error;
  fs::remove_all(temp, error);
  return below > 0 ? 1 : 0;
}
