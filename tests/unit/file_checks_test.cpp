// What is checked before a file is opened: names that open devices.
#include <gtest/gtest.h>


#include "core/file_names.h"

namespace {

TEST(NamesDevice, Table) {
  for (const char* path : {"nul", "C:\\art\\NUL.nfo", "com1.nfo", "/tmp/Com9.x.y", "lpt1 .diz", "art\\con. ",
                           "aux:stream", "prn", "\\\\.\\pipe\\x"}) {
    EXPECT_TRUE(NamesDevice(path)) << path;
  }
  for (const char* path : {"com10.nfo", "com0.nfo", "console.nfo", "nul\\a.nfo", "xnul.nfo", "", "C:\\art\\",
                           "lpt.nfo", " nul.nfo"}) {
    EXPECT_FALSE(NamesDevice(path)) << path;
  }
}

}  // namespace
