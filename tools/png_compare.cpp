// png_compare A.png B.png: whether two PNG files hold the same pixels,
// decoded with lodepng (the tests' own reader, not the program's writer).
// Prints "same: W x H, depth D, colour type T" (of A) and exits 0, or says
// how they differ and exits 1; 2 when a file cannot be decoded.
#include <cstdio>
#include <vector>

#include "lodepng.h"

namespace {

bool Decode(const char* path, std::vector<unsigned char>& rgba, unsigned& width, unsigned& height,
            LodePNGColorMode& mode) {
  std::vector<unsigned char> file;
  lodepng::State state;
  if (lodepng::load_file(file, path) != 0 ||
      lodepng_inspect(&width, &height, &state, file.data(), file.size()) != 0 ||
      lodepng::decode(rgba, width, height, file, LCT_RGBA, 8) != 0) {
    std::fprintf(stderr, "png_compare: cannot decode %s\n", path);
    return false;
  }
  mode = state.info_png.color;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: png_compare A.png B.png\n");
    return 2;
  }
  std::vector<unsigned char> a, b;
  unsigned aw = 0, ah = 0, bw = 0, bh = 0;
  LodePNGColorMode am, bm;
  if (!Decode(argv[1], a, aw, ah, am) || !Decode(argv[2], b, bw, bh, bm)) return 2;
  if (aw != bw || ah != bh) {
    std::printf("sizes differ: %u x %u and %u x %u\n", aw, ah, bw, bh);
    return 1;
  }
  for (size_t i = 0; i < a.size(); i += 4) {
    for (int k = 0; k < 4; ++k) {
      if (a[i + k] == b[i + k]) continue;
      const size_t pixel = i / 4;
      std::printf("pixel (%zu, %zu) differs: %02x%02x%02x and %02x%02x%02x\n", pixel % aw, pixel / aw, a[i],
                  a[i + 1], a[i + 2], b[i], b[i + 1], b[i + 2]);
      return 1;
    }
  }
  std::printf("same: %u x %u, depth %u, colour type %d\n", aw, ah, am.bitdepth,
              static_cast<int>(am.colortype));
  return 0;
}
