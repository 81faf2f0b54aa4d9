// Text helpers: callers cut paths and escape parameters with these and rely
// on their exact results when a character is missing or is the last one.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/text_helpers.h"

namespace {

TEST(Substring, EdgeRanges) {
  struct Case {
    const char* text;
    int32_t from, to;
    const char* want;
  };
  const Case cases[] = {
      {"abc", 1, 3, "bc"},  {"abc", 2, 2, ""}, {"abc", 3, 1, ""}, {"abc", 1, 10, "bc"},
      {"abc", 0, -1, ""},   {"", 0, 0, ""},    {"abc", 5, 9, ""},  // starts past the end
      {"abc", -2, 2, "ab"},                                        // a negative start reads as 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Substring(c.text, c.from, c.to), c.want) << c.text << " " << c.from << ".." << c.to;
  }
}

TEST(FindFirst, EdgeCases) {
  EXPECT_EQ(FindFirst("a b c", ' '), 1);
  EXPECT_EQ(FindFirst("abc", ' '), 3);
  EXPECT_EQ(FindFirst("", ' '), 0);
}

TEST(FindLastFromEnd, EdgeCases) {
  struct Case {
    const char* text;
    char ch;
    int32_t want;
  };
  const Case cases[] = {
      {"C:\\d\\f.nfo", '\\', 5}, {"f.nfo", '\\', 5}, {"C:\\d\\", '\\', 5},
      {"abc", '\0', 3},          {"", '\\', 0},      {"a\\b\\c", '\\', 4},
  };
  for (const Case& c : cases) EXPECT_EQ(FindLastFromEnd(c.text, c.ch), c.want) << c.text;
}

TEST(FindLastFromEnd, DirectoryPartKeepsBackslash) {
  for (const auto& [path, dir] : {std::pair<const char*, const char*>{"C:\\d\\f.nfo", "C:\\d\\"},
                                  {"f.nfo", "f.nfo"},
                                  {"", ""},
                                  {"C:\\art\\", "C:\\art\\"}}) {
    EXPECT_EQ(Substring(path, 0, FindLastFromEnd(path, '\\')), dir) << path;
  }
}

TEST(ClearText, ClearsOnlyTheCurrentString) {
  char whole[8] = "abc";
  ClearText(whole, 3);
  EXPECT_EQ(std::memcmp(whole, "\0\0\0\0", 4), 0);

  char split[6] = {'a', 'b', '\0', 'c', 'd', '\0'};
  ClearText(split, 6);
  EXPECT_EQ(std::memcmp(split, "\0\0\0cd\0", 6), 0);

  char capped[4] = {'a', 'b', 'c', '\0'};
  ClearText(capped, 2);  // never past the count
  EXPECT_EQ(capped[2], 'c');
}

TEST(CopyWholeText, FitsOrRefusesWhole) {
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_TRUE(CopyWholeText(buffer, 4, "abc"));
  EXPECT_STREQ(buffer, "abc");
  EXPECT_FALSE(CopyWholeText(buffer, 4, "abcd"));
  EXPECT_STREQ(buffer, "");
  EXPECT_TRUE(CopyWholeText(buffer, 1, ""));
  EXPECT_FALSE(CopyWholeText(buffer, 0, ""));
}

}  // namespace
