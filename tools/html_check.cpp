// The HTML page in a real browser against the PNG export.
//
//   html_check [--min PERCENT] [--keep DIR] [--4:3] [--9] [--font NAME] [--sheet BMP] FILE...
//
// --two-fonts stands for a FILE made here: an XBin with a font of 512
// glyphs, whose cells pick the second 256 with foreground bit 3;
// --all-bytes for an XBin of 16 x 16 cells, every byte once. --4:3, --9,
// --font NAME and --sheet BMP are for the next FILE only: its rows
// stretched as on a 4:3 screen, 9-pixel letters, its font the one named,
// the text layout in that glyph sheet (else the built-in one).
//
// Each FILE (a .nfo, .diz or .txt in the text layout, any other as its
// colour screen) is made into its page and its PNG as the export makes
// them; headless Chromium draws the page at 100%, and its screenshot is
// compared with the PNG (a pixel agrees when each channel is within 4). The
// page's text as Chromium reads it (its DOM, the pre's text) must equal the
// document's text: each row's characters through its last drawn cell,
// empty cells as blanks, every row ended by a line end. Prints a line a
// file and the overall share; exits 1 when a file agrees less than --min
// percent or its text differs, 77 (skipped) without chromium, python3 or a
// FILE. Every Chromium started has its own profile folder and a time limit.
#include <sys/stat.h>
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
#include "art/document.h"
#include "art/page_limits.h"
#include "export/export_core.h"
#include "raster/glyph_pixels.h"
#include "text/text_out.h"

#ifndef QP_SHEET_PATH
#define QP_SHEET_PATH "src/resources/glyphs.bmp"
#endif

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool WriteAll(const std::string& path, const void* bytes, size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

bool Have(const char* program) {
  return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// The pre's text in Chromium's DOM, read with Python's parser.
const char kPreText[] = R"(import sys, html.parser
class P(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True); self.depth = 0; self.text = []
    def handle_starttag(self, tag, attrs):
        if tag == 'pre': self.depth += 1
    def handle_endtag(self, tag):
        if tag == 'pre': self.depth -= 1
    def handle_data(self, data):
        if self.depth: self.text.append(data)
p = P(); p.feed(open(sys.argv[1], encoding='utf-8').read())
t = ''.join(p.text)
# Chromium's dump keeps the text as parsed: the line end the parser dropped after <pre> is not written back.
sys.stdout.buffer.write(t.encode('utf-8'))
)";

const char kTwoFonts[] = "<two-fonts>";
const char kAllBytes[] = "<all-bytes>";

std::string AllBytesXBin() {
  std::string file = "XBIN\x1A";
  const uint8_t header[] = {16, 0, 16, 0, 16, 0};
  file.append(reinterpret_cast<const char*>(header), sizeof header);
  for (int b = 0; b < 256; ++b) {
    file += static_cast<char>(b);
    file += '\x1E';
  }
  return file;
}

// 16 x 4 cells of every colour over a font of 512 glyphs 8 rows high, the
// second 256 the first's rows upside down and inverted.
std::string TwoFontsXBin() {
  std::string file = "XBIN\x1A";
  const uint8_t header[] = {16, 0, 4, 0, 8, 0x12};  // width, height, font height; a font of 512
  file.append(reinterpret_cast<const char*>(header), sizeof header);
  for (int g = 0; g < 512; ++g)
    for (int y = 0; y < 8; ++y) {
      const int b = g & 255, row = g < 256 ? y : 7 - y;
      file += static_cast<char>(g < 256 ? (b ^ row * 37) & 0xFF : ~(b ^ row * 37) & 0xFF);
    }
  for (int c = 0; c < 64; ++c) {
    file += static_cast<char>(c * 4 + 1);
    file += static_cast<char>((c & 15) | (c / 2 & 7) << 4);
  }
  return file;
}

bool LoadGlyphs(const std::string& path, GlyphPixels& glyphs) {
  const std::string bytes = ReadAll(path);
  SheetImage sheet;
  static GlyphPosition table[256];
  BuildGlyphTable(table);
  return ReadGlyphSheetBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), sheet) &&
         GlyphPixelsFromSheet(sheet, table, glyphs);
}

}  // namespace

int main(int argc, char** argv) {
  double min = 99;
  std::string keep;
  std::vector<std::string> files;
  std::vector<ScreenLook> looks;
  std::vector<std::string> sheets;
  ScreenLook next;
  std::string nextSheet = QP_SHEET_PATH;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--4:3") == 0) {
      next.aspect = LookChoice::kOn;
    } else if (std::strcmp(argv[i], "--9") == 0) {
      next.letters = LookChoice::kOn;
    } else if (std::strcmp(argv[i], "--two-fonts") == 0 || std::strcmp(argv[i], "--all-bytes") == 0) {
      files.emplace_back(argv[i][2] == 't' ? kTwoFonts : kAllBytes);
      looks.push_back(next);
      sheets.push_back(nextSheet);
      next = ScreenLook();
      nextSheet = QP_SHEET_PATH;
    } else if (std::strcmp(argv[i], "--sheet") == 0 && i + 1 < argc) {
      nextSheet = argv[++i];
    } else if (std::strcmp(argv[i], "--font") == 0 && i + 1 < argc) {
      next.font = argv[++i];
    } else if (std::strcmp(argv[i], "--min") == 0 && i + 1 < argc) {
      min = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--keep") == 0 && i + 1 < argc) {
      keep = argv[++i];
    } else {
      files.emplace_back(argv[i]);
      looks.push_back(next);
      sheets.push_back(nextSheet);
      next = ScreenLook();
      nextSheet = QP_SHEET_PATH;
    }
  }
  for (const std::string& file : files) {
    if (file != kTwoFonts && file != kAllBytes && access(file.c_str(), F_OK) != 0) {
      std::printf("html_check: skipped: no %s (the corpus lies beside the repository)\n", file.c_str());
      return 77;
    }
  }
  if (!Have("chromium") || !Have("python3") || !Have("timeout")) {
    std::printf("html_check: skipped: no chromium, python3 or timeout\n");
    return 77;
  }
  char folder[] = "/tmp/html_check.XXXXXX";
  if (mkdtemp(folder) == nullptr) return 2;
  const std::string tmp = keep.empty() ? folder : keep;
  mkdir(tmp.c_str(), 0700);
  WriteAll(tmp + "/pre_text.py", kPreText, sizeof kPreText - 1);

  static GlyphPixels glyphs;
  std::string loaded;
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  int failed = 0, done = 0;
  uint64_t agreeing = 0, pixels = 0;
  for (size_t f = 0; f < files.size(); ++f) {
    const std::string& path = files[f];
    if (sheets[f] != loaded && !LoadGlyphs(loaded = sheets[f], glyphs)) {
      std::printf("html_check: cannot read the glyph sheet %s\n", sheets[f].c_str());
      return 2;
    }
    const bool made = path == kTwoFonts || path == kAllBytes;
    const std::string bytes = path == kTwoFonts   ? TwoFontsXBin()
                              : path == kAllBytes ? AllBytesXBin()
                                                  : ReadAll(path);
    if (bytes.empty()) {
      std::printf("%s: cannot read it\n", path.c_str());
      ++failed;
      continue;
    }
    const std::string name = path == kTwoFonts   ? "two-fonts.xb"
                             : path == kAllBytes ? "all-bytes.xb"
                                                 : path.substr(path.find_last_of('/') + 1);
    const std::string lower = [&] {
      std::string s = name;
      for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return s;
    }();
    const auto ends = [&](const char* e) {
      return lower.size() >= std::strlen(e) &&
             lower.compare(lower.size() - std::strlen(e), std::string::npos, e) == 0;
    };
    Document document;
    document.text.resize(static_cast<size_t>(kTextBufferSize) + 2);
    DocumentOptions options;
    options.colour = !(ends(".nfo") || ends(".diz") || ends(".txt"));
    options.look = looks[f];
    ReadDocument(made ? name.c_str() : path.c_str(),
                 ReadFromMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), options,
                 document);
    ExportRequest request;
    std::vector<uint8_t> html, png;
    if (!DocumentOutput(OutputKind::kHtml, document, glyphs, request, name, html).empty() ||
        !DocumentOutput(OutputKind::kPng, document, glyphs, request, name, png).empty()) {
      std::printf("%s: cannot make its page or PNG\n", name.c_str());
      ++failed;
      continue;
    }
    const std::string base = tmp + "/" + std::to_string(f);
    WriteAll(base + ".html", html.data(), html.size());
    WriteAll(base + ".export.png", png.data(), png.size());
    std::vector<unsigned char> want, got;
    unsigned width = 0, height = 0, gotWidth = 0, gotHeight = 0;
    lodepng::decode(want, width, height, png, LCT_RGB, 8);
    const std::string chromium =
        "timeout -k 5 120 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars "
        "--force-device-scale-factor=1 --user-data-dir=" +
        tmp + "/profile " + "--no-first-run --disable-extensions --disable-background-networking ";
    // A small window draws less than it shows (seen below about 130 rows):
    // the window is at least 800 x 600 and its top left corner compared.
    const std::string shot = chromium + "--window-size=" + std::to_string(std::max(width, 800u)) + "," +
                             std::to_string(std::max(height, 600u)) + " --screenshot=" + base +
                             ".png file://" + base + ".html >/dev/null 2>&1";
    const std::string dom = chromium + "--dump-dom file://" + base + ".html >" + base + ".dom 2>/dev/null";
    const std::string text = "python3 " + tmp + "/pre_text.py " + base + ".dom >" + base + ".text";
    std::system(shot.c_str());
    std::system(dom.c_str());
    std::system(text.c_str());
    std::vector<unsigned char> file = [&] {
      const std::string s = ReadAll(base + ".png");
      return std::vector<unsigned char>(s.begin(), s.end());
    }();
    if (file.empty() || lodepng::decode(got, gotWidth, gotHeight, file, LCT_RGB, 8) != 0) {
      std::printf("%s: no screenshot\n", name.c_str());
      ++failed;
      continue;
    }
    uint64_t same = 0;
    for (unsigned y = 0; y < height; ++y)
      for (unsigned x = 0; x < width; ++x) {
        const unsigned char* a = &want[3 * (size_t{y} * width + x)];
        unsigned char none[3] = {0, 0, 0};
        const unsigned char* b = x < gotWidth && y < gotHeight ? &got[3 * (size_t{y} * gotWidth + x)] : none;
        if (std::abs(a[0] - b[0]) <= 4 && std::abs(a[1] - b[1]) <= 4 && std::abs(a[2] - b[2]) <= 4) ++same;
      }
    const uint64_t all = uint64_t{width} * height;
    const double share = all == 0 ? 100.0 : 100.0 * static_cast<double>(same) / static_cast<double>(all);
    const std::string expected = DocumentText(document, TextOutOptions());
    const bool textSame = ReadAll(base + ".text") == expected;
    std::printf("%s: %.3f%% of %u x %u pixels agree (screenshot %u x %u), text %s\n", name.c_str(), share,
                width, height, gotWidth, gotHeight, textSame ? "equal" : "DIFFERS");
    agreeing += same;
    pixels += all;
    ++done;
    if (share < min || !textSame) ++failed;
  }
  if (pixels > 0)
    std::printf("overall: %.3f%% of %llu pixels agree over %d files\n", 100.0 * agreeing / pixels,
                static_cast<unsigned long long>(pixels), done);
  if (keep.empty()) std::system(("rm -rf " + tmp).c_str());
  return failed == 0 ? 0 : 1;
}
