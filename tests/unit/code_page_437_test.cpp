// Code page 437 and Unicode: the table against an independent statement of it,
// UTF-8 and UTF-16 art decoded, and real code page 437 art never changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/code_page_437.h"

namespace {

using namespace std::string_literals;

// Python's cp437 codec, with the PC's pictures for bytes 1 to 31 and the
// house for 127 (generated once), 32 bytes a line.
const std::u16string kExpected =
    u"\0☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼"
    u" !\"#$%&'()*+,-./0123456789:;<=>?"
    u"@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_"
    u"`abcdefghijklmnopqrstuvwxyz{|}~⌂"
    u"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒ"
    u"áíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
    u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
    u"αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0"s;

TEST(CodePage437, TableAndCopy) {
  for (int b = 1; b < 256; ++b) EXPECT_EQ(kCodePage437[b], kExpected[b]) << "byte " << b;
  EXPECT_EQ(CodePage437ToUnicode("\xC9\xCD\xBB\r\n\x01\t\x7F"), u"\u2554\u2550\u2557\r\n\u263A\u25CB\u2302");
  for (int b = 1; b < 256; ++b) EXPECT_EQ(UnicodeToCodePage437(kExpected[b]), b) << "byte " << b;
  // UTF-8 of one, two and three bytes; every byte comes back through the decoder.
  EXPECT_EQ(CodePage437ToUtf8("A\xFF\xCD\r\n"), "A\xC2\xA0\xE2\x95\x90\r\n");
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  std::string utf8 = CodePage437ToUtf8(bytes.c_str());
  utf8.resize(DecodeToCodePage437(reinterpret_cast<uint8_t*>(&utf8[0]), utf8.size()));
  EXPECT_EQ(utf8, bytes);
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
  if (!std::filesystem::is_directory(QP_CORPUS_DIR)) GTEST_SKIP() << "no corpus at " << QP_CORPUS_DIR;
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
