// The list Page Up and Page Down walk: its limits, and finding a path in it.
#include <gtest/gtest.h>

#include <string>

#include "core/browse_list.h"

using namespace std::string_literals;

TEST(BrowseList, LimitsAndPlaces) {
  BrowseList list;
  list.Reset("c:\\art\\", 3);
  // Refused whole: another folder's path, one of 256 bytes; the fourth entry of three.
  for (const std::string& path : {"c:\\art\\a.nfo"s, "c:\\other\\b.nfo"s, "c:\\art\\" + std::string(249, 'x'),
                                  "c:\\art\\A.nfo"s, "c:\\art\\c.ans"s, "c:\\art\\d.ans"s})
    list.Add(path);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Entry(2), "c:\\art\\c.ans");
  // Exact first, else the first differing only in case; -1 for none.
  EXPECT_EQ(list.Find("c:\\art\\A.nfo"), 1);
  EXPECT_EQ(list.Find("C:\\ART\\C.ANS"), 2);
  EXPECT_EQ(list.Find("C:\\ART\\a.NFO"), 0);
  EXPECT_EQ(list.Find("c:\\art\\d.ans"), -1);
}
