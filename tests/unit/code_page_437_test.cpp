// Code page 437 and Unicode: copies as UTF-16 and UTF-8, UTF-8 and UTF-16 art decoded, and real code page 437
// art never changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/code_page_437.h"

namespace {

using namespace std::string_literals;

std::string Decoded(std::string bytes) {
  bytes.resize(DecodeToCodePage437(reinterpret_cast<uint8_t*>(&bytes[0]), bytes.size()));
  return bytes;
}

TEST(CodePage437, Copy) {
  EXPECT_EQ(CodePage437ToUnicode("\xC9\xCD\xBB\r\n\x01\t\x7F"), u"\u2554\u2550\u2557\r\n\u263A\u25CB\u2302");
  // UTF-8 of one, two and three bytes; every byte comes back through the decoder, from UTF-8 and UTF-16.
  EXPECT_EQ(CodePage437ToUtf8("A\xFF\xCD\r\n"), "A\xC2\xA0\xE2\x95\x90\r\n");
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  EXPECT_EQ(Decoded(CodePage437ToUtf8(bytes.c_str())), bytes);
  std::string utf16 = "\xFF\xFE";
  for (const char16_t c : CodePage437ToUnicode(bytes.c_str()))
    utf16 += {static_cast<char>(c), static_cast<char>(c >> 8)};
  EXPECT_EQ(Decoded(utf16), bytes);
}

TEST(CodePage437, DetectionAndDecoding) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xFF\xFE\x54\x25\x1B\x00[\x00\r\x00\n\x00"s, "\xC9\x1B[\r\n"s},      // UTF-16 LE mark
      {"\xFE\xFF\x25\x54\x00\x41"s, "\xC9\x41"s},                            // UTF-16 BE mark
      {"\xEF\xBB\xBFplain\r\n"s, "plain\r\n"s},                              // UTF-8 mark
      {"\x1b[1m\xE2\x95\x94\t\x7F\x1A\r\n"s, "\x1b[1m\xC9\t\x7F\x1A\r\n"s},  // control bytes as themselves
      {"\xE2\x95\x94 \xE2\x82\xAC"s, "\xE2\x95\x94 \xE2\x82\xAC"s},          // the euro has no byte
      {"\xE2\x95\x94\xE2\x95"s, "\xC9"s},                                    // a cut sequence is dropped
      {"\xE2\x95\x94\xE2\x41"s, "\xE2\x95\x94\xE2\x41"s},                    // not a cut sequence
      {"\xC0\xAF\xE2\x95\x94"s, "\xC0\xAF\xE2\x95\x94"s},                    // overlong
      {"\xFF\xFE\x3D\xD8\x00\xDE"s, "\xFF\xFE\x3D\xD8\x00\xDE"s},            // a pair for a face: no byte
      {"\xFF\xFE\x00\xDE"s, "\xFF\xFE\x00\xDE"s},                            // a lone low surrogate
      {""s, ""s},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(Decoded(in), want) << testing::PrintToString(in);
}

// Every real art file stays as it is.
TEST(CodePage437, CorpusArtIsNeverChanged) {
  if (!std::filesystem::is_directory(QP_CORPUS_DIR)) GTEST_SKIP() << "no corpus at " << QP_CORPUS_DIR;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(QP_CORPUS_DIR)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string art = std::string(std::istreambuf_iterator<char>(in), {}).substr(0, 524288);
    // Three files are UTF-8 text, not art: a banner with a one-half sign, a
    // licence naming Bj\u00f6rn, division signs. They convert; nothing else may.
    const std::string name = entry.path().filename().string();
    const bool utf8Text =
        name == "startup_banner.asc" || name == "LICENSE-nail.txt" || name == "plur-ansilove.txt";
    EXPECT_EQ(Decoded(art) == art, !utf8Text) << entry.path();
  }
}

}  // namespace
