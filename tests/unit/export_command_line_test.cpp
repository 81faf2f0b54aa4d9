// The export switches: which lines export, what they ask for, and the one
// line that names what is wrong with a bad one.
#include <gtest/gtest.h>

#include "document/export_command_line.h"

namespace {

// "out<file|out<file [sheet]" or "!error"; "" when the line is no export.
std::string Describe(const ExportRequest& r) {
  if (!r.exportMode) return "";
  if (!r.error.empty()) return "!" + r.error;
  std::string text;
  for (const ExportPair& p : r.pairs) text += (text.empty() ? "" : "|") + p.out + "<" + p.file;
  return r.sheet.empty() ? text : text + " [" + r.sheet + "]";
}

TEST(ParseExportRequest, Table) {
  const std::pair<const char*, const char*> cases[] = {
      // The viewer's lines stay the viewer's, a "--" document with its folder too.
      {"q.exe", ""},
      {"\"C:\\v\\q.exe\" C:\\art\\--png", ""},
      {"q.exe C:\\art\\--x.nfo --png o f", ""},
      {"q.exe --pngx o f", ""},
      {"q.exe --png o.png a.nfo", "o.png<a.nfo"},
      {"\"C:\\my v\\q.exe\" --png \"C:\\my out\\o.png\" \"C:\\my art\\a b.nfo\"",
       "C:\\my out\\o.png<C:\\my art\\a b.nfo"},
      {"q.exe --png o1 f1 --png o2 f2 --sheet pc8", "o1<f1|o2<f2 [pc8]"},
      {"q.exe --sheet pc8 --png o f", "o<f [pc8]"},
      {"q.exe --png C:\\x\\--y.png \"a\\\"b\\\\\" \t", "C:\\x\\--y.png<a\"b\\"},
      {"q.exe --png o", "!--png needs OUT.png and FILE"},
      {"q.exe --png o --sheet pc8", "!--png needs OUT.png and FILE"},
      {"q.exe --png \"\" f", "!--png needs OUT.png and FILE"},
      {"q.exe --sheet", "!--sheet needs a NAME"},
      {"q.exe --sheet a --png o f --sheet b", "!--sheet is given twice"},
      {"q.exe --png o f --sheet ..\\x",
       "!--sheet takes the NAME of a sheet in the fonts folder, not a path: \"..\\x\""},
      {"q.exe --png o f --pgn o2 f2", "!unknown switch \"--pgn\""},
      {"q.exe --png o f g", "!unexpected argument \"g\": each FILE follows --png OUT.png"},
      {"q.exe --sheet pc8", "!nothing to export: give --png OUT.png FILE"},
  };
  for (const auto& [line, want] : cases) EXPECT_EQ(Describe(ParseExportRequest(line)), want) << line;
}

TEST(OutputFolder, IsTheFolderOfOut) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\a\\b.png", "C:\\a\\"}, {"/tmp/b.png", "/tmp/"}, {"C:b.png", "C:"}, {"b.png", "."}};
  for (const auto& [out, folder] : cases) EXPECT_EQ(OutputFolder(out), folder);
}

}  // namespace
