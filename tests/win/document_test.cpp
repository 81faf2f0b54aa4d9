// Loading documents from real files and listing their folders.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/viewer_state.h"
#include "document/document.h"
#include "test_support.h"

namespace {

class LoadDocumentTest : public testing::Test {
 protected:
  void SetUp() override { ResetViewerState(); }
  std::string Load(const std::string& path, bool refused = false) {
    std::strcpy(viewer.currentPath, path.c_str());
    viewer.currentPathRefused = refused;
    LoadDocument();
    return viewer.textBuffer + std::string(viewer.fileHandle == -1 ? "|-1" : "|opened");
  }
  TempDir dir;
};

TEST_F(LoadDocumentTest, ReadsUpTo524288BytesAndLeavesNothingOfTheLastDocument) {
  bool cut = false;  // only a longer file is cut
  for (const int32_t size : {kTextBufferSize, kTextBufferSize + 1}) {
    ReadDocumentFile(dir.Write("long.nfo", std::string(size, 'y')).c_str(), viewer.textBuffer, nullptr, &cut);
    EXPECT_EQ(std::strlen(viewer.textBuffer) + cut, 524288u + (size > kTextBufferSize));
  }
  // Art saved as UTF-16 shows as the code page 437 bytes it was made of.
  Load(dir.Write("short.nfo", std::string("\xFF\xFE\x54\x25\x50\x25\x57\x25\r\0\n\0", 12)));
  EXPECT_EQ(std::string(viewer.textBuffer, kTextBufferSize + 2),
            "\xC9\xCD\xBB\r\n" + std::string(kTextBufferSize - 3, '\0'));
}

TEST_F(LoadDocumentTest, OnlyRegularFilesOpenEvenWhileAnotherProgramWritesThem) {
  const std::string held = dir.Write("held.nfo", "held\n"), missing = "Could not find the file\n|-1";
  // An editor holding the file open for writing does not keep it from
  // being read, and the viewer closed its own handle.
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Load(held), "held\n|opened");
  CloseHandle(holder);
  // A folder without its backslash names no document; nul.nfo is the NUL
  // device on Windows, whatever the folder holds.
  const std::string folder = dir.path().substr(0, dir.path().size() - 1);
  for (const std::string& path : {folder, dir.path() + "nul.nfo"}) EXPECT_EQ(Load(path), missing) << path;
  // A refused path opens nothing and lists nothing.
  EXPECT_EQ(Load(held, true), missing);
  EXPECT_EQ(viewer.browseLast, -1);
}

TEST_F(LoadDocumentTest, FolderListingInExtensionOrderKeepingCase) {
  for (const char* name : {"A.NFO", "b.asc", "c.diz", "readme.txt"}) dir.Write(name, name);
  // A folder path shows the first file listed.
  EXPECT_EQ(Load(dir.path()), "A.NFO|opened");
  const auto listing = [] {
    return std::to_string(viewer.browseIndex) + "/" + std::to_string(viewer.browseLast) + " " +
           viewer.currentPath + " " + viewer.browseList[1] + " " + viewer.browseList[2];
  };
  EXPECT_EQ(listing(), "0/2 " + dir.path() + "A.NFO " + dir.path() + "c.diz " + dir.path() + "b.asc");
  // A path spelt in another case than the name keeps its spelling and finds its entry.
  EXPECT_EQ(Load(dir.path() + "C.Diz"), "c.diz|opened");
  EXPECT_EQ(listing(), "1/2 " + dir.path() + "C.Diz " + dir.path() + "c.diz " + dir.path() + "b.asc");
}

}  // namespace
