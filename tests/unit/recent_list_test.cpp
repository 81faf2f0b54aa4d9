// The recent-files list: pushes, and stored values read back as entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/recent_list.h"

namespace {

// Five paths, most recent first; "" marks an entry not in use.
using Entries = std::vector<std::string>;

Entries Read(const RecentFile (&entries)[kRecentFileCount]) {
  Entries out;
  for (const RecentFile& entry : entries) out.push_back(entry.used ? entry.path : "");
  return out;
}

TEST(RecentList, PushTable) {
  const std::string longest(255, 'p'), tooLong(256, 'q');
  struct Case {
    const char* what;
    Entries before;
    std::vector<std::string> pushes;
    Entries after;
  };
  const Case cases[] = {
      {"newest first", {"", "", "", "", ""}, {"a", "b", "c"}, {"c", "b", "a", "", ""}},
      {"the sixth push loses the oldest",
       {"", "", "", "", ""},
       {"1", "2", "3", "4", "5", "6"},
       {"6", "5", "4", "3", "2"}},
      {"no search for duplicates", {"a", "b", "", "", ""}, {"a"}, {"a", "a", "b", "", ""}},
      // The entry below one not in use keeps what it held.
      {"entries not in use do not move", {"a", "", "c", "", "e"}, {"x"}, {"x", "a", "c", "c", "e"}},
      {"an empty path pushes nothing", {"a", "b", "", "", ""}, {""}, {"a", "b", "", "", ""}},
      {"255 bytes fit", {"a", "", "", "", ""}, {longest}, {longest, "a", "", "", ""}},
      {"256 bytes are refused, not cut", {"a", "", "", "", ""}, {tooLong}, {"a", "", "", "", ""}},
  };
  for (const Case& c : cases) {
    RecentFile entries[kRecentFileCount] = {};
    for (int i = 0; i < kRecentFileCount; ++i) {
      c.before[i].copy(entries[i].path, c.before[i].size());
      entries[i].used = !c.before[i].empty();
    }
    for (const std::string& path : c.pushes) {
      const bool fits = !path.empty() && path.size() < 256;
      EXPECT_EQ(PushRecentFile(entries, path.c_str()), fits) << c.what;
    }
    EXPECT_EQ(Read(entries), c.after) << c.what;
  }
}

TEST(RecentList, StoredValueTable) {
  const std::string fits(255, 'f'), tooLong(256, 't');
  struct Case {
    const char* what;
    bool isString;
    std::string bytes;
    const char* path;  // "" when the entry stays out of use
  };
  const Case cases[] = {
      {"a path", true, std::string("c:\\a.nfo", 9), "c:\\a.nfo"},
      {"not a string", false, std::string("c:\\a.nfo", 9), ""},
      {"the empty string", true, std::string(1, '\0'), ""},
      {"no bytes", true, "", ""},
      {"no terminating zero", true, "c:\\b.nfo", "c:\\b.nfo"},
      {"ends at its first zero", true, std::string("c:\\c.nfo\0x", 10), "c:\\c.nfo"},
      {"255 bytes and the zero", true, fits + '\0', fits.c_str()},
      {"256 bytes without room for the zero", true, tooLong, ""},
  };
  for (const Case& c : cases) {
    RecentFile entry = {"old", 1};
    TakeStoredRecentFile(entry, c.isString, c.bytes.data(), c.bytes.size());
    EXPECT_STREQ(entry.path, c.path) << c.what;
    EXPECT_EQ(entry.used, c.path[0] != '\0') << c.what;
  }
}

}  // namespace
