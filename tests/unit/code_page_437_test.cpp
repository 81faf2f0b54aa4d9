// Code page 437 and Unicode: the table against an independent statement of it,
// UTF-8 and UTF-16 art decoded, and real code page 437 art never changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "document/code_page_437.h"

namespace {

using namespace std::string_literals;

// Python's cp437 codec, with the PC's pictures for bytes 1 to 31 and the
// house for 127 (generated once).
const char16_t kExpected[256] = {
    0x0000, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640,
    0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8, 0x2191, 0x2193,
    0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC, 0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026,
    0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033,
    0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, 0x0040,
    0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047, 0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D,
    0x004E, 0x004F, 0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A,
    0x005B, 0x005C, 0x005D, 0x005E, 0x005F, 0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F, 0x0070, 0x0071, 0x0072, 0x0073, 0x0074,
    0x0075, 0x0076, 0x0077, 0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x2302, 0x00C7, 0x00FC,
    0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4,
    0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2,
    0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF,
    0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561,
    0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C,
    0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584,
    0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398,
    0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7,
    0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

TEST(CodePage437, TableAndCopy) {
  for (int b = 1; b < 256; ++b) EXPECT_EQ(kCodePage437[b], kExpected[b]) << "byte " << b;
  EXPECT_EQ(CodePage437ToUnicode("\xC9\xCD\xBB\r\n\x01\t\x7F"), u"\u2554\u2550\u2557\r\n\u263A\u25CB\u2302");
  for (int b = 1; b < 256; ++b) EXPECT_EQ(UnicodeToCodePage437(kExpected[b]), b) << "byte " << b;
}

std::string Decoded(std::string bytes) {
  bytes.resize(DecodeToCodePage437(reinterpret_cast<uint8_t*>(&bytes[0]), bytes.size()));
  return bytes;
}

TEST(CodePage437, DetectionAndDecoding) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xFF\xFE\x54\x25\x1B\x00[\x00\r\x00\n\x00"s, "\xC9\x1B[\r\n"s},  // UTF-16 LE mark
      {"\xFE\xFF\x25\x54\x00\x41"s, "\xC9\x41"s},                        // UTF-16 BE mark
      {"\xEF\xBB\xBFplain\r\n"s, "plain\r\n"s},                          // UTF-8 mark
      {"\xE2\x95\x94 \xE2\x82\xAC"s, "\xE2\x95\x94 \xE2\x82\xAC"s},      // the euro has no byte
      {"\xE2\x95\x94\xE2\x95"s, "\xC9"s},                                // a cut sequence is dropped
      {"\xE2\x95\x94\xE2\x41"s, "\xE2\x95\x94\xE2\x41"s},                // not a cut sequence
      {"\xC0\xAF\xE2\x95\x94"s, "\xC0\xAF\xE2\x95\x94"s},                // overlong
      {"\xFF\xFE\x3D\xD8\x00\xDE"s, "\xFF\xFE\x3D\xD8\x00\xDE"s},        // a pair for a face: no byte
      {"\xFF\xFE\x00\xDE"s, "\xFF\xFE\x00\xDE"s},                        // a lone low surrogate
      {""s, ""s},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(Decoded(in), want) << testing::PrintToString(in);
}

// Every real art file stays as it is; saved as UTF-8 or UTF-16 (control bytes
// too) it comes back as the very bytes it was, so it draws the same page.
TEST(CodePage437, CorpusIsNeverChangedAndComesBackFromUnicode) {
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(QP_CORPUS_DIR)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string art(std::istreambuf_iterator<char>(in), {});
    art = art.substr(0, 524288);
    // Three files are UTF-8 text, not art: a banner with a one-half sign, a
    // licence naming Bj\u00f6rn, division signs. They convert; nothing else may.
    const std::string name = entry.path().filename().string();
    const bool utf8Text =
        name == "startup_banner.asc" || name == "LICENSE-nail.txt" || name == "plur-ansilove.txt";
    EXPECT_EQ(Decoded(art) == art, !utf8Text) << entry.path();
    art = art.substr(0, art.find('\0'));
    std::string utf8, utf16 = "\xFF\xFE";
    for (unsigned char b : art) {
      const char16_t c = b < 128 ? b : kExpected[b];
      const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : 2;  // continuation bytes
      utf8 += static_cast<char>((extra == 0 ? 0 : extra == 1 ? 0xC0 : 0xE0) | c >> (6 * extra));
      for (int i = extra - 1; i >= 0; --i) utf8 += static_cast<char>(0x80 | (c >> (6 * i) & 0x3F));
      utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    }
    // The read limit cuts what does not fit; the cut sequence is dropped.
    const std::string back = Decoded(utf8.substr(0, 524288));
    EXPECT_EQ(back, utf8.size() <= 524288 ? art : art.substr(0, back.size())) << entry.path();
    EXPECT_EQ(Decoded(utf16.substr(0, 524288)), art.substr(0, 262143)) << entry.path();
    ++files;
  }
  EXPECT_GT(files, 100);
}

}  // namespace
