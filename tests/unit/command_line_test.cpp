// Splitting the process command line: the quoted program runs to the last double quote of the whole line,
// the rest less one blank is the document, the program is the module's file, and a part that does not fit its
// 300 bytes is refused whole. A line whose first argument begins with "--" is for the console instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "document/command_line.h"
#include "export/export_command_line.h"

namespace {

TEST(SplitCommandLineText, CommandLineTable) {
  // The line and the document it names: the program as the line names it when none.
  const std::pair<const char*, const char*> cases[] = {
      {"\"C:\\v\\viewer.exe\"", "C:\\v\\viewer.exe"},
      {"\"C:\\v\\viewer.exe\" ", "C:\\v\\viewer.exe"},  // one character: none
      {"C:\\v\\viewer.exe C:\\art\\a.nfo", "C:\\art\\a.nfo"},
      {"C:\\my v\\viewer.exe C:\\a.nfo", "v\\viewer.exe C:\\a.nfo"},
      {"\"C:\\v\\viewer.exe\" \"C:\\my art\\a.nfo\"", "C:\\v\\viewer.exe\" \"C:\\my art\\a.nfo"},
      {"viewer.exe", "viewer.exe"},
      {"\"C:\\v\\viewer.exe\"  a.nfo", " a.nfo"},
  };
  for (const auto& [line, doc] : cases) EXPECT_EQ(SplitCommandLineText(line).currentPath, doc) << line;
}

TEST(SplitCommandLineInto, TheProgramIsTheModuleAndOverLongPartsAreRefusedWhole) {
  const std::string module = "C:\\v\\viewer.exe", module300 = "C:\\" + std::string(291, 'p') + "\\v.exe";
  const std::string c299(299, 'c');
  // The line, whether it fits its buffer, the module's path, then the program, its directory, the document
  // and whether the document is refused.
  const std::tuple<std::string, bool, std::string, std::string, std::string, std::string, bool> cases[] = {
      {"viewer.exe a.nfo", true, module, module, "C:\\v\\", "a.nfo", false},  // started by a bare name
      {"v.exe a.nfo", true, module300, "", "", "a.nfo", false},
      {c299, true, "", "", "", c299, false},  // the program names itself
      {c299 + "c", false, module, module, "C:\\v\\", "", true},
  };
  for (const auto& [line, lineFits, modulePath, program, dir, current, refused] : cases) {
    StartPaths paths;
    std::fill_n(reinterpret_cast<char*>(&paths), sizeof paths, 'x');
    SplitCommandLineInto(line.c_str(), modulePath.c_str(), paths);
    SCOPED_TRACE("line of " + std::to_string(line.size()) + " bytes: " + line.substr(0, 24));
    EXPECT_EQ(paths.commandLine, lineFits ? line : "");
    EXPECT_EQ(std::string(paths.programPath) + "|" + paths.programDir + "|" + paths.currentPath,
              program + "|" + dir + "|" + current);
    EXPECT_EQ(paths.currentPathRefused, refused);
  }
}

// "out<file|txt:out<file [sheet] colour thumbnail N animate BPS crlf colours N", "!error" or
// "PROGRAM help|version"; "" for the viewer's.
std::string Describe(const ExportRequest& r) {
  if (!r.exportMode) return "";
  if (r.asked != Asked::kExport) return r.program + (r.asked == Asked::kHelp ? " help" : " version");
  if (!r.error.empty()) return "!" + r.error;
  std::string text;
  static const char* const kKinds[] = {"", "txt:", "ans:", "html:"};
  for (const ExportPair& p : r.pairs)
    text += (text.empty() ? "" : "|") + std::string(kKinds[static_cast<int>(p.kind)]) + p.out + "<" + p.file;
  if (!r.sheet.empty()) text += " [" + r.sheet + "]";
  if (r.colour) text += " colour";
  if (r.thumbnailSize != 0) text += " thumbnail " + std::to_string(r.thumbnailSize);
  for (const LookChoice c : {r.look.letters, r.look.aspect}) text += "?+-"[static_cast<int>(c)];
  if (r.animateBitsPerSecond != 0) text += " animate " + std::to_string(r.animateBitsPerSecond);
  if (!r.look.font.empty()) text += " font " + r.look.font;
  if (r.text.crlf) text += " crlf";
  if (r.text.colours != TerminalColours::k24Bit)
    text += r.text.colours == TerminalColours::k16 ? " 16" : " 256";
  return text;
}

TEST(ParseExportRequest, Table) {
  const std::pair<const char*, const char*> cases[] = {
      // The viewer's lines stay the viewer's, a "--" document with its folder too.
      {"q.exe", ""},
      {"q.exe C:\\art\\--x.nfo --png o f", ""},
      {"q.exe --x.nfo", "!unknown switch \"--x.nfo\""},
      // Whatever else stands on the line; the usage names the program as started.
      {"\"C:\\my v\\q.exe\" --png o f --help --bogus", "q.exe help"},
      {"/opt/qp/quillpane-export --sheet --version", "quillpane-export version"},
      {"q.exe --png o --colour --thumbnail 1024 f --sheet pc8", "o<f [pc8] colour thumbnail 1024??"},
      {"q.exe --png o1 f1 --png o2 f2 --sheet pc8", "o1<f1|o2<f2 [pc8]??"},
      {"q.exe --png C:\\x\\--y.png \"C:\\my art\\a \\\"b\\\\\" \t", "C:\\x\\--y.png<C:\\my art\\a \"b\\??"},
      {"q.exe --png o --sheet pc8", "!--png needs OUT.png and FILE"},
      {"q.exe --png o --png o2 f2", "!--png needs OUT.png and FILE"},
      {"q.exe --png \"\" f", "!--png needs OUT.png and FILE"},
      {"q.exe --sheet", "!--sheet needs a NAME"},
      {"q.exe --sheet a --png o f --sheet b", "!--sheet is given twice"},
      {"q.exe --png o f --sheet ..\\x",
       "!--sheet takes the NAME of a sheet in the fonts folder, not a path: \"..\\x\""},
      {"q.exe --png o f g",
       "!unexpected argument \"g\": each FILE follows --png OUT.png, --text OUT.txt, --ansi OUT.ans or "
       "--html "
       "OUT.html"},
      {"q.exe --sheet pc8",
       "!nothing to export: give --png OUT.png FILE, --text OUT.txt FILE, --ansi OUT.ans FILE or --html "
       "OUT.html FILE"},
      // The text outputs' pairs, mixed with PNGs; their own switches, each refused without an output it
      // changes.
      {"q.exe --text o1 f1 --ansi - f2 --colours 16 --html o3 f3 --png o4 f4 --crlf --thumbnail 8",
       "txt:o1<f1|ans:-<f2|html:o3<f3|o4<f4 thumbnail 8?? crlf 16"},
      {"q.exe --ansi - f --colours 256 --colours 16", "!--colours is given twice"},
      {"q.exe --ansi - f --colours 8", "!--colours takes 16, 256 or 24bit: \"8\""},
      {"q.exe --text o --png o2 f2", "!--text needs OUT.txt and FILE"},
      {"q.exe --text o f --animate 9600", "!--animate applies only to --png, which the line does not give"},
      {"q.exe --png o f --html o2 f --crlf",
       "!--crlf applies only to --text or --ansi, which the line does not give"},
      // --colour and --thumbnail SIZE: anywhere, once; SIZE 1 to 1024.
      {"q.exe --colour --png o f --colour", "!--colour is given twice"},
      {"q.exe --thumbnail --png o f", "!--thumbnail needs a SIZE"},
      {"q.exe --thumbnail 8 --png o f --thumbnail 8", "!--thumbnail is given twice"},
      {"q.exe --png o f --thumbnail 1025", "!--thumbnail takes a SIZE of 1 to 1024 pixels: \"1025\""},
      {"q.exe --png o f --thumbnail 0", "!--thumbnail takes a SIZE of 1 to 1024 pixels: \"0\""},
      {"q.exe --png o f --thumbnail 4294967352",
       "!--thumbnail takes a SIZE of 1 to 1024 pixels: \"4294967352\""},
      {"q.exe --png o f --thumbnail +64", "!--thumbnail takes a SIZE of 1 to 1024 pixels: \"+64\""},
      // --letter-spacing 8|9 and --aspect 4:3|square: once each; as the file says without them.
      {"q.exe --letter-spacing 9 --png o f --aspect square", "o<f+-"},
      {"q.exe --png o f --letter-spacing 8 --aspect 4:3", "o<f-+"},
      {"q.exe --png o f --letter-spacing 10", "!--letter-spacing takes 8 or 9: \"10\""},
      {"q.exe --png o f --aspect", "!--aspect takes 4:3 or square"},
      {"q.exe --aspect 4:3 --png o f --aspect 4:3", "!--aspect is given twice"},
      // --font NAME|auto: a name as SAUCE spells it, loosely; auto is the file's.
      {"q.exe --png o f --font \"ibm ega 866\"", "o<f?? font ibm ega 866"},
      {"q.exe --font auto --png o f", "o<f??"},
      {"q.exe --png o f --font Arial",
       "!--font takes a font as SAUCE names it (such as \"IBM VGA 866\" or \"Amiga Topaz 1\") or auto: "
       "\"Arial\""},
      // --animate BPS: once, 1 to 10000000, never with a thumbnail.
      {"q.exe --animate 10000000 --png o f", "o<f?? animate 10000000"},
      {"q.exe --png o f --animate 10000001",
       "!--animate takes a BPS of 1 to 10000000 bits a second: \"10000001\""},
      {"q.exe --png o f --animate 9600 --animate 9600", "!--animate is given twice"},
      {"q.exe --png o f --animate 9600 --thumbnail 8",
       "!--animate and --thumbnail do not go together: a thumbnail is still"},
      {"q.exe --png o f --animate 9600 --aspect 4:3",
       "!--animate draws 8-pixel letters in square rows: not with --letter-spacing 9 or --aspect 4:3"},
  };
  for (const auto& [line, want] : cases) EXPECT_EQ(Describe(ParseExportRequest(line)), want) << line;
}

TEST(ExportUsage, TheProgramsThatShowDocumentsGiveTheViewersFormFirst) {
  EXPECT_EQ(ExportUsage("Quillpane.EXE")[0], "usage: Quillpane.EXE [FILE|FOLDER\\]");
  EXPECT_EQ(ExportUsage("quillpane")[0], "usage: quillpane [FILE|FOLDER/]");  // the Linux launcher's --help
  const std::vector<std::string> exporter = ExportUsage("quillpane-export");
  EXPECT_EQ(exporter.back(), "       quillpane-export --help | --version");
  EXPECT_EQ(exporter[0].substr(0, 94),
            "usage: quillpane-export {--png OUT.png|--text OUT.txt|--ansi OUT.ans|--html OUT.html} FILE ...");
}

}  // namespace
