// The export's run on a system of the test's making.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

#include "core/text_helpers.h"
#include "export/export_core.h"
#include "zip_writer.h"

namespace {

// Files in memory in a folder that takes names in any case of A to Z for one file, while the platform
// compares names byte for byte: what the plan cannot tell apart, as Windows's short names would be.
class FoldingDisk final : public ExportPlatform {
 public:
  std::map<std::string, std::string> files;  // by the name in lower case
  std::vector<std::string> lines;
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

}  // namespace
