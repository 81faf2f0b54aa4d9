// The Configuration dialog's extension list and the registered commands.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

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
  // Executable types and names of keys below an extension's are refused, each named once.
  ExtensionList refused;
  EXPECT_EQ(
      JoinList(ParseTypedList(".EXE;*.com;.bat;.cmd;.lnk;.pif;.scr;.txt;.a\\shell;\\.exe;.exe2", &refused)),
      ".txt;.exe2");
  EXPECT_EQ(JoinList(refused), ".exe;.com;.bat;.cmd;.lnk;.pif;.scr;.a\\shell");
}

// Old list, new list, Other at opening and now; then taken over, given back.
TEST(OtherExtensionList, TakeOverAndGiveBack) {
  const std::tuple<ExtensionList, ExtensionList, bool, bool, ExtensionList, ExtensionList> cases[] = {
      {{".a", "", ".b"}, {".b", "", ".c"}, true, true, {".c"}, {".a"}},  // an empty entry names nothing
      {{".a", ".b"}, {".a", ".b"}, false, true, {".a", ".b"}, {}},       // switched on: all of them
  };
  for (const auto& [oldList, newList, initialOther, currentOther, takeOver, giveBack] : cases) {
    const OtherChanges changes = PlanOtherChanges(oldList, newList, initialOther, currentOther);
    EXPECT_EQ(std::make_pair(changes.takeOver, changes.giveBack), std::make_pair(takeOver, giveBack));
  }
}

// A record changed by hand is refused whole (the registry round trips are
// in the Windows tests); only text ending in its one zero is plain.
TEST(PreviousDefault, RefusesMalformedRecordsAndFindsPlainText) {
  const std::string header("\x02\x02\0\0\0", 5), text("n\0f\0o\0\0\0", 8);
  const std::string malformed[] = {header.substr(0, 4), header + std::string(kPreviousBytesMax + 1, 'x'),
                                   std::string("\x03\0\0\0\0", 5),     // no such state
                                   std::string("\x81\0\0\0\0", 5),     // no default value, yet a backup of it
                                   std::string("\x01\x01\0\0\0", 5)};  // no default value, yet a type
  PreviousDefault decoded;
  for (const std::string& record : malformed) EXPECT_FALSE(DecodePreviousDefault(record, &decoded));
  EXPECT_TRUE(IsPlainStoredText(text) && IsPlainStoredText(std::string(2, '\0')));
  for (const std::string& bytes : {std::string(), text.substr(0, 6), text.substr(0, 7), text + text})
    EXPECT_FALSE(IsPlainStoredText(bytes)) << bytes.size();
}

// %1 stands for the document's path, unquoted: the program's own split must still find the whole path.
TEST(ShellValues, CommandLinesSplitOffTheDocument) {
  const auto split = [](ShellValue which, const char* document) {
    std::string line = FormatShellValue(which, "C:\\Program Files\\Quillpane\\quillpane.exe");
    return SplitCommandLineText(line.replace(line.find("%1"), 2, document).c_str()).currentPath;
  };
  EXPECT_EQ(split(ShellValue::kOpenCommand, "C:\\my art\\a b.nfo"), "C:\\my art\\a b.nfo");
  EXPECT_EQ(split(ShellValue::kFolderCommand, "C:\\my art"), "C:\\my art\\");
  EXPECT_EQ(FormatShellValue(ShellValue::kIcon, ""), "");  // the module's path was refused: none
}

}  // namespace
