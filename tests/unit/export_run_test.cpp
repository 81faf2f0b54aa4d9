// The export's run on a system of the test's making.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

#include "core/text_helpers.h"
#include "export/export_core.h"
#include "export/written_texts.h"
#include "zip_writer.h"

namespace {

// Files in memory in a folder that takes names in any case of A to Z for one file, while the platform
// compares names byte for byte: what the plan cannot tell apart, as Windows's short names would be.
class FoldingDisk final : public ExportPlatform {
 public:
  std::map<std::string, std::string> files;  // by the name in lower case
  std::vector<std::string> lines;
  std::string standardOutput, record;
  static std::string Key(std::string path) { return LowerCaseAscii(path.data()), path; }

  PathIdentity Identify(const std::string& path) override {
    PathIdentity identity;
    identity.fullPath = path;
    identity.exists = identity.identified = files.count(Key(path)) != 0;
    identity.file = std::hash<std::string>()(Key(path));
    return identity;
  }
  FileStart ReadStart(const std::string& path, uint8_t* bytes, size_t capacity) override {
    FileStart start;
    const auto file = files.find(Key(path));
    if (file == files.end()) return start;
    start.count = std::min(capacity, file->second.size());
    std::memcpy(bytes, file->second.data(), start.count);
    start.opened = 0;
    return start;
  }
  bool LoadSheet(const std::string&, SheetImage& image) override {
    const std::string data = QP_TEST_DATA_DIR;  // the folder need not be there: its path leads to the sources
    std::ifstream bmp(data.substr(0, data.rfind("/tests/")) + "/src/resources/glyphs.bmp", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(bmp)), std::istreambuf_iterator<char>());
    return ReadGlyphSheetBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image);
  }
  bool Exists(const std::string& path) override { return files.count(Key(path)) != 0; }
  bool IsFolder(const std::string& path, std::string*) override { return path.back() == '/'; }
  std::unique_ptr<PackSource> OpenPack(const std::string& path, std::string&) override {
    const std::string& bytes = files[Key(path)];
    return std::make_unique<MemoryPackSource>(bytes.data(), bytes.size());
  }
  std::string FontsFolder() override { return std::string(); }
  std::string WriteWholeFile(const std::string& path, const void* bytes, size_t size) override {
    files[Key(path)].assign(static_cast<const char*>(bytes), size);
    return std::string();
  }
  std::string WriteStandardOutput(const void* bytes, size_t size) override {
    standardOutput.append(static_cast<const char*>(bytes), size);
    return std::string();
  }
  std::string ReadWrittenRecord() override { return record; }
  void WriteWrittenRecord(const std::string& bytes) override { record = bytes; }
  int CompareNames(const std::string& a, const std::string& b) override { return a.compare(b); }
  void Say(const std::string& line) override { lines.push_back(line); }
  void Tell(const std::string& line) override { lines.push_back(line); }
};

TEST(RunExport, AnOutTheSystemTakesForAPngWrittenInTheSameRunIsRefused) {
  FoldingDisk disk;
  disk.files["p.zip"] = Written({{"A.nfo", "first"}, {"a.nfo", "second"}});
  const ExportRequest request = ParseExportArguments("/bin/qx", {"--png", "out/", "p.zip"});
  ASSERT_EQ(RunExport(request, disk), kExportFailed);
  EXPECT_EQ(disk.lines[0],
            "qx: cannot write \"out/a.nfo.png\": it is the file \"out/A.nfo.png\" this export has written");
  EXPECT_EQ(disk.files.size(), 2u);  // the pack and the first entry's PNG
}

TEST(WrittenTexts, TheRecordKeepsTheNewestEntryOfEachPathAndSkipsDamagedLines) {
  const auto exact = [](const std::string& a, const std::string& b) { return a.compare(b); };
  std::vector<WrittenText> entries;
  for (uint64_t i = 0; i < kWrittenTextLimit + 2; ++i)
    AddWrittenText(entries, {"/t/" + std::to_string(i), i, i}, exact);
  AddWrittenText(entries, {"/t/5", 7, 0xFEDCBA9876543210u}, exact);
  AddWrittenText(entries, {"/t/a\nb", 1, 1}, exact);  // no line can hold it
  ASSERT_EQ(entries.size(), kWrittenTextLimit);
  EXPECT_EQ(entries.front().path, "/t/2");
  EXPECT_EQ(FindWrittenText(entries, "/t/5", exact), &entries.back());
  EXPECT_EQ(FindWrittenText(entries, "/t/1", exact), nullptr);
  const std::string line = "fedcba9876543210 7 /my art/x.txt\n";
  const std::vector<WrittenText> read =
      ReadWrittenTexts("zz 1 /a\n" + line + "12 -3 /b\n12 3\n\n12 99999999999 /c\n" + line.substr(0, 20));
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(WrittenTextsRecord(read), line);
  EXPECT_NE(HashBytes("abc", 3), HashBytes("abd", 3));
}

TEST(PlanExport, TextOutsReplaceOnlyEmptyFilesAndTheirOwnAndStandardOutputIsNoFile) {
  FoldingDisk disk;
  disk.files = {{"art.nfo", "art"},
                {"empty.ans", ""},
                {"ours.txt", "abc"},
                {"mine.html", "<p>"},
                {"p.zip", Written({{"A.nfo", "a"}, {"g/b.diz", "b"}})}};
  RecordWrittenText(disk, "ours.txt", "abc", 3);
  const auto plan = [&disk](std::vector<std::string> args) {
    std::vector<ExportJob> jobs;
    std::string outs = PlanExport(ParseExportArguments("qx", args), disk, jobs);
    for (const ExportJob& job : jobs) outs += outs.empty() || outs[0] == ' ' ? " " + job.out : "";
    return outs;
  };
  EXPECT_EQ(plan({"--text", "ours.txt", "art.nfo", "--ansi", "empty.ans", "art.nfo", "--html", "-", "art.nfo",
                  "--png", "-", "art.nfo", "--ansi", "out/", "p.zip", "--html", "out/", "art.nfo"}),
            " ours.txt empty.ans - - out/A.nfo.ans out/g_b.diz.ans out/art.nfo.html");
  EXPECT_EQ(plan({"--html", "mine.html", "art.nfo"}),
            "OUT \"mine.html\" exists and is not a text this program wrote");
  disk.files["ours.txt"] = "abd";
  EXPECT_EQ(plan({"--text", "ours.txt", "art.nfo"}),
            "OUT \"ours.txt\" exists and is not a text this program wrote");
}

TEST(RunExport, OutputsGoToStandardOutputAndEachTextWrittenToAFileIsRecorded) {
  FoldingDisk disk;
  disk.files["art.nfo"] = "art";
  disk.files["red.ans"] = "\x1b[31mX";
  const ExportRequest request = ParseExportArguments(
      "qx", {"--png", "-", "art.nfo", "--text", "t.txt", "art.nfo", "--ansi", "-", "red.ans"});
  ASSERT_EQ(RunExport(request, disk), kExportDone);
  EXPECT_EQ(disk.standardOutput.substr(1, 3), "PNG");
  // Terminal ANSI is the colour screen's even without --colour.
  EXPECT_NE(disk.standardOutput.find("38;2;170;0;0"), std::string::npos);
  EXPECT_NE(FindWrittenText(ReadWrittenTexts(disk.record), "t.txt",
                            [](const std::string& a, const std::string& b) { return a.compare(b); }),
            nullptr);
}

}  // namespace
