// The recent-files list: pushes, and stored values taken back as entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/recent_list.h"

namespace {

using Entries = std::vector<std::string>;  // most recent first; "" not in use

TEST(RecentList, PushTable) {
  const std::string longest(255, 'p'), tooLong(256, 'q');
  const struct {
    Entries before;
    std::vector<std::string> pushes;
    Entries after;
  } cases[] = {
      {{"", "", "", "", ""}, {"1", "2", "3", "4", "5", "6"}, {"6", "5", "4", "3", "2"}},
      {{"a", "b", "", "", ""}, {"a"}, {"a", "a", "b", "", ""}},     // no search for duplicates
      {{"a", "", "c", "", "e"}, {"x"}, {"x", "a", "c", "c", "e"}},  // entries not in use stay put
      {{"a", "", "", "", ""}, {"", tooLong, longest}, {longest, "a", "", "", ""}},
  };
  for (const auto& c : cases) {
    RecentFile entries[kRecentFileCount] = {};
    for (int i = 0; i < kRecentFileCount; ++i) {
      c.before[i].copy(entries[i].path, 255);
      entries[i].used = !c.before[i].empty();
    }
    for (const std::string& path : c.pushes) {
      EXPECT_EQ(PushRecentFile(entries, path.c_str()), !path.empty() && path.size() < 256);
    }
    Entries after;
    for (const RecentFile& entry : entries) after.push_back(entry.used ? entry.path : "");
    EXPECT_EQ(after, c.after);
  }
}

TEST(RecentList, StoredValueTable) {
  const struct {
    std::string bytes, path;  // path "": the entry stays out of use
  } cases[] = {
      {std::string("c:\\a.nfo\0x", 10), "c:\\a.nfo"},
      {"c:\\b.nfo", "c:\\b.nfo"},   // stored without its zero
      {std::string(256, 't'), ""},  // no room left for the zero
      {std::string(1, '\0'), ""},
  };
  for (const auto& c : cases) {
    RecentFile entry = {"old", 1};
    TakeStoredRecentFile(entry, true, c.bytes.data(), c.bytes.size());
    EXPECT_EQ(entry.path, c.path);
    EXPECT_EQ(entry.used, !c.path.empty());
  }
}

}  // namespace
