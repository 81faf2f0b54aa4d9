// The Configuration dialog's extension list, the run counter's step and the
// registered commands.

#include <gtest/gtest.h>

#include <string>

#include "document/command_line.h"
#include "shell/shell_rules.h"

namespace {

TEST(OtherExtensionList, NormalFormAndLimits) {
  EXPECT_EQ(JoinList(ParseTypedList(".TXT;*.Doc; .Doc;nfo; *.Doc;.NFO;x.asc;.txt")), ".txt;.doc");
  // 9 characters fit an entry, 10 do not; a blank after the dot stays.
  EXPECT_EQ(JoinList(ParseTypedList(".abcdefgh;.abcdefghi;;.doc ")), ".abcdefgh;.doc ");
  std::string many;
  for (int i = 0; i < 40; ++i) many += ".e" + std::to_string(i) + ";";
  EXPECT_EQ(JoinList(ParseTypedList(many.c_str())), many.substr(0, many.find(".e30") - 1));
  EXPECT_EQ(SplitStoredList(".TXT;;*.doc"), (ExtensionList{".txt", "", "*.doc"}));
  EXPECT_EQ(SplitStoredList(";.txt"), ExtensionList{});  // an empty first entry empties it
}

TEST(OtherExtensionList, TakeOverAndGiveBack) {
  const struct {
    ExtensionList oldList, newList;
    bool initialOther, currentOther;
    ExtensionList takeOver, giveBack;
  } cases[] = {
      {{".a", ".b"}, {".b", ".c"}, true, true, {".c"}, {".a"}},
      {{".a", ".b"}, {".a", ".b"}, false, true, {".a", ".b"}, {}},  // switched on: all of them
      {{".a", ".b"}, {}, true, false, {}, {".a", ".b"}},            // switched off: all back
      {{".a", "", ".b"}, {".b"}, true, true, {}, {".a"}},           // an empty entry names nothing
  };
  for (const auto& c : cases) {
    const OtherChanges changes = PlanOtherChanges(c.oldList, c.newList, c.initialOther, c.currentOther);
    EXPECT_EQ(changes.takeOver, c.takeOver) << JoinList(c.oldList) << " -> " << JoinList(c.newList);
    EXPECT_EQ(changes.giveBack, c.giveBack) << JoinList(c.oldList) << " -> " << JoinList(c.newList);
  }
}

TEST(RunCounter, StepAndFirstRun) {
  EXPECT_EQ(NextRunCount(false, 7), 1u);
  EXPECT_EQ(NextRunCount(true, 1), 2u);
  EXPECT_EQ(NextRunCount(true, 0), 1u);
  EXPECT_EQ(NextRunCount(true, 4294967295u), 0u);
  EXPECT_TRUE(IsFirstRun(0) && IsFirstRun(1) && !IsFirstRun(2));
}

// The shell puts the document's path, unquoted, in place of %1: the
// program must still find itself and the whole document path.
TEST(ShellValues, CommandLinesSplitIntoProgramAndDocument) {
  const std::string program = "C:\\Program Files\\Quillpane\\quillpane.exe";
  const struct {
    ShellValue which;
    const char *document, *shown;
  } cases[] = {
      {ShellValue::kOpenCommand, "C:\\my art\\a b.nfo", "C:\\my art\\a b.nfo"},
      {ShellValue::kOpenCommand, "D:\\", "D:\\"},  // a drive
      {ShellValue::kFolderCommand, "C:\\my art", "C:\\my art\\"},
  };
  for (const auto& c : cases) {
    std::string line = FormatShellValue(c.which, program.c_str());
    line.replace(line.find("%1"), 2, c.document);
    const CommandLineParts parts = SplitCommandLineText(line.c_str());
    EXPECT_EQ(parts.programPath + "|" + parts.currentPath, program + "|" + c.shown) << line;
  }
  EXPECT_EQ(FormatShellValue(ShellValue::kIcon, program.c_str()), program + ",0");
  EXPECT_EQ(FormatShellValue(ShellValue::kOpenCommand, ""), "");
  EXPECT_EQ(FormatShellValue(ShellValue::kIcon, "C:\\v\\q.exe\" \"C:\\a"),
            "");  // a quoted document was cut in
}

}  // namespace
