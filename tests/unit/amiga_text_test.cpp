// Amiga ASCII told from code page 437 by its bytes: the edges on small strings, then every text piece of the
// corpus and the samples.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "art/amiga_text.h"
#include "art/sauce.h"

namespace {

using namespace std::string_literals;

bool Amiga(const std::string& text) {
  return LooksLikeAmigaText(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string Times(const std::string& line, int count) {
  std::string out;
  while (count-- > 0) out += line;
  return out;
}

TEST(AmigaText, Edges) {
  const std::pair<std::string, bool> cases[] = {
      {Times("plain ASCII, the same in both\n", 20), false},
      {Times("\xAF\xAF\xAF\xAF\xAF\n", 2), true},                            // ¯ strokes
      {Times("\xAF Cracker : someone\n", 8) + "\xAF\n", false},              // 437's » as a bullet
      {Times("Oui, cr\xE8me d\xE9j\xE0 vu, na\xEFve\n", 2), true},           // Latin-1 letters
      {Times("\x93Oui\x94, cr\xE8me d\xE9j\xE0 vu, na\xEFve\n", 2), false},  // ... with Windows-1252's quotes
      {Times("f\xFCr ", 4), true},                                           // ü in a word
      {Times("dP\xFC\"` ,d$$\xFC' \xFC", 4), false},                         // 437's ⁿ as a stroke
      {Times("25\xF8 C, ", 8), false},                                       // degree signs
      {Times("_.\xB4`._ ", 4), true},                                        // ´ among ASCII
      {Times("\xC4\xC4\xB4 title \xC3\xC4 \xDF\xDF\xE1 ", 4), false},        // ┤ and ▀ in a 437 piece
      {Times("\x1B[0m\xC4n", 6), false},                                     // an escape's m is not a letter
      {"plain\x1A"s + Times("\xAF", 10), false},                             // SAUCE may follow 0x1A
      {"", false},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(Amiga(text), want) << testing::PrintToString(text);
  EXPECT_FALSE(LooksLikeAmigaText(nullptr, 0));
}

TEST(AmigaText, NamesThatMayHoldIt) {
  for (const char* yes : {"a.ASC", "x/b.Nfo", "c.txt", "D.DIZ"}) EXPECT_TRUE(MayBeAmigaText(yes)) << yes;
  for (const char* no : {"e.ans", "asc", "f.ascx", "g.xb", ""}) EXPECT_FALSE(MayBeAmigaText(no)) << no;
  EXPECT_FALSE(MayBeAmigaText(nullptr));
}

// Every text piece of the corpus and the samples (names .asc .txt .nfo .diz .ans): the Amiga ones, known by
// eye, say yes and every code page 437 one no. Two of them are .ans: the words say nothing of the name.
TEST(AmigaText, CorpusAndSamples) {
  if (!std::filesystem::is_directory(QP_CORPUS_DIR)) GTEST_SKIP() << "no corpus at " << QP_CORPUS_DIR;
  const std::set<std::string> amiga = {"AVE-AMI1.ASC", "anst-moebius.ans", "cbn-ansilove.ans",
                                       "sailboat.asc"};
  const std::set<std::string> texts = {".asc", ".txt", ".nfo", ".diz", ".ans"};
  std::set<std::string> found;
  for (const char* root : {QP_CORPUS_DIR, QP_SAMPLES_DIR}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      std::string extension = entry.path().extension().string();
      for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (!entry.is_regular_file() || !texts.count(extension)) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes(std::istreambuf_iterator<char>(in), {});
      const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
      const bool yes = LooksLikeAmigaText(data, ReadSauce(data, bytes.size()).textLength);
      const std::string name = entry.path().filename().string();
      EXPECT_EQ(yes, amiga.count(name) == 1) << entry.path();
      if (yes) found.insert(name);
    }
  }
  EXPECT_EQ(found, amiga);
}

}  // namespace
