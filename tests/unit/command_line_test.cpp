// Splitting the process command line: the quoted program path runs to the
// last double quote of the whole line, the rest less one blank is the
// document, and a part that does not fit its 300-byte buffer is refused whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "document/command_line.h"

namespace {

TEST(SplitCommandLineText, CommandLineTable) {
  struct Case {
    const char* line;
    const char* program;
    const char* dir;
    const char* current;
  };
  const Case cases[] = {
      {"\"C:\\v\\viewer.exe\" C:\\art\\a.nfo", "C:\\v\\viewer.exe", "C:\\v\\", "C:\\art\\a.nfo"},
      {"\"C:\\v\\viewer.exe\" ", "C:\\v\\viewer.exe", "C:\\v\\", "C:\\v\\viewer.exe"},
      {"\"C:\\v\\viewer.exe\"", "C:\\v\\viewer.exe", "C:\\v\\", "C:\\v\\viewer.exe"},
      {"C:\\v\\viewer.exe C:\\art\\a.nfo", "C:\\v\\viewer.exe", "C:\\v\\", "C:\\art\\a.nfo"},
      {"C:\\v\\viewer.exe x", "C:\\v\\viewer.exe", "C:\\v\\", "C:\\v\\viewer.exe"},
      {"C:\\my v\\viewer.exe C:\\a.nfo", "C:\\my", "C:\\", "v\\viewer.exe C:\\a.nfo"},
      {"\"C:\\v\\viewer.exe\" \"C:\\my art\\a.nfo\"", "C:\\v\\viewer.exe\" \"C:\\my art\\a.nfo",
       "C:\\v\\viewer.exe\" \"C:\\my art\\", "C:\\v\\viewer.exe\" \"C:\\my art\\a.nfo"},
      {"viewer.exe \"C:\\my art\\a.nfo\"", "C:\\my art\\a.nfo", "C:\\my art\\", "C:\\my art\\a.nfo"},
      {"\"C:\\v\\viewer.exe\" C:\\art\\", "C:\\v\\viewer.exe", "C:\\v\\", "C:\\art\\"},
      // Beyond the table: no blank at all, and a second blank that stays.
      {"viewer.exe", "viewer.exe", "viewer.exe", "viewer.exe"},
      {"\"C:\\v\\viewer.exe\"  a.nfo", "C:\\v\\viewer.exe", "C:\\v\\", " a.nfo"},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    const CommandLineParts p = SplitCommandLineText(c.line);
    EXPECT_EQ(p.programPath + "|" + p.programDir + "|" + p.currentPath,
              std::string(c.program) + "|" + c.dir + "|" + c.current);
  }
}

TEST(SplitCommandLineInto, OverLongPartsAreRefusedWhole) {
  const std::string quoted = "\"C:\\v\\viewer.exe\" ";
  const std::string doc299 = "C:\\" + std::string(296, 'd');
  const std::string doc300 = doc299 + "e";
  const std::string longDir = "C:\\" + std::string(300, 'p') + "\\";
  struct Case {
    std::string line;
    bool lineFits;
    std::string program, dir, current;
    bool refused;
  };
  const Case cases[] = {
      {quoted + "a.nfo", true, "C:\\v\\viewer.exe", "C:\\v\\", "a.nfo", false},
      {quoted + doc299, false, "C:\\v\\viewer.exe", "C:\\v\\", doc299, false},
      {quoted + doc300, false, "C:\\v\\viewer.exe", "C:\\v\\", "", true},
      {"\"" + longDir + "v.exe\" a.nfo", false, "", "", "a.nfo", false},
      {"\"" + longDir + "v.exe\"", false, "", "", "", true},  // the program names itself
      {quoted + std::string(1000, 'z'), false, "C:\\v\\viewer.exe", "C:\\v\\", "", true},
      {std::string(299, 'c'), true, std::string(299, 'c'), std::string(299, 'c'), std::string(299, 'c'),
       false},
      {std::string(300, 'c'), false, "", "", "", true},
  };
  for (const Case& c : cases) {
    StartPaths paths;
    std::fill_n(reinterpret_cast<char*>(&paths), sizeof paths, 'x');
    SplitCommandLineInto(c.line.c_str(), paths);
    SCOPED_TRACE("line of " + std::to_string(c.line.size()) + " bytes: " + c.line.substr(0, 24));
    EXPECT_EQ(paths.commandLine, c.lineFits ? c.line : "");
    EXPECT_EQ(std::string(paths.programPath) + "|" + paths.programDir + "|" + paths.currentPath,
              c.program + "|" + c.dir + "|" + c.current);
    EXPECT_EQ(paths.currentPathRefused, c.refused);
  }
}

}  // namespace
