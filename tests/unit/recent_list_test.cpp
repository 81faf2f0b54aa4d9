// The recent-files list: stored values taken back as entries, and pushes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/recent_list.h"

namespace {

using Entries = std::vector<std::string>;  // most recent first; "-" not in use

// Stored values (each without its zero), paths pushed, then the entries. A
// full list's push and values of another type are left to the registry test.
TEST(RecentList, StoredValuesAndPushes) {
  const std::string longest(255, 'p'), tooLong(256, 'q');
  const std::tuple<Entries, Entries, Entries> cases[] = {
      {{"a", "b", "A", "B", "c"}, {"x", "B"}, {"B", "x", "a", "c", "-"}},  // once, case aside; moved up
      // Entries out of use (empty, or with no room left for the zero) are closed up, never doubled.
      {{"a", "", "c", tooLong, "e"}, {"x"}, {"x", "a", "c", "e", "-"}},
      {{"a", std::string(1, '\0'), "", "", ""}, {"", tooLong, longest}, {longest, "a", "-", "-", "-"}},
  };
  for (const auto& [stored, pushes, want] : cases) {
    RecentFile entries[kRecentFileCount];
    for (int i = 0; i < kRecentFileCount; ++i) {
      entries[i] = {"old", 1};
      TakeStoredRecentFile(entries[i], true, stored[i].data(), stored[i].size());
    }
    for (const std::string& path : pushes)
      EXPECT_EQ(PushRecentFile(entries, path.c_str()), !path.empty() && path.size() < 256) << path.size();
    Entries got;
    for (const RecentFile& entry : entries) got.push_back(entry.used ? entry.path : "-");
    EXPECT_EQ(got, want);
  }
}

}  // namespace
