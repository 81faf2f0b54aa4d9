// Loading documents from real files, and the command line of a real start.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/viewer_state.h"
#include "document/document.h"
#include "test_support.h"

namespace {

constexpr char kMissing[] = "Could not find the file\n";

void Load(const std::string& path) {
  std::strcpy(viewer.currentPath, path.c_str());
  viewer.currentPathRefused = 0;
  LoadDocument();
}

class LoadDocumentTest : public testing::Test {
 protected:
  void SetUp() override { ResetViewerState(); }
  TempDir dir;
};

TEST_F(LoadDocumentTest, DocumentEndsAtItsFirstZeroByte) {
  Load(dir.Write("zero.nfo", std::string("abc\0def", 7)));
  EXPECT_STREQ(viewer.textBuffer, "abc");
  EXPECT_NE(viewer.fileHandle, -1);
}

TEST_F(LoadDocumentTest, ReadsAtMost524288BytesAndKeepsTheTailZero) {
  const std::string exact(524288, 'x');
  Load(dir.Write("exact.nfo", exact));
  EXPECT_EQ(std::strlen(viewer.textBuffer), 524288u);
  EXPECT_EQ(viewer.textBuffer[524288], '\0');
  EXPECT_EQ(viewer.textBuffer[524289], '\0');

  Load(dir.Write("long.nfo", std::string(600000, 'y')));
  EXPECT_EQ(std::strlen(viewer.textBuffer), 524288u);
  EXPECT_EQ(viewer.textBuffer[0], 'y');
}

TEST_F(LoadDocumentTest, MissingFileGivesTheMessageAndHandleMinusOne) {
  Load(dir.path() + "nothing.nfo");
  EXPECT_STREQ(viewer.textBuffer, kMissing);
  EXPECT_EQ(viewer.fileHandle, -1);
  // A directory named without its trailing backslash cannot be opened.
  std::string folder = dir.path();
  folder.pop_back();
  Load(folder);
  EXPECT_STREQ(viewer.textBuffer, kMissing);
}

TEST_F(LoadDocumentTest, FileHeldOpenWithoutSharingCannotBeRead) {
  const std::string path = dir.Write("held.nfo", "held\n");
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  Load(path);
  EXPECT_STREQ(viewer.textBuffer, kMissing);
  EXPECT_EQ(viewer.fileHandle, -1);
  CloseHandle(holder);
  // The viewer closes its own handle: the file can be held again at once.
  Load(path);
  EXPECT_STREQ(viewer.textBuffer, "held\n");
  holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(holder, INVALID_HANDLE_VALUE);
  CloseHandle(holder);
}

TEST_F(LoadDocumentTest, ShorterDocumentLeavesNothingOfTheLongerOne) {
  std::string first(300000, 'L');
  first[1000] = '\0';  // bytes after a zero byte are still in the buffer
  Load(dir.Write("first.nfo", first));
  Load(dir.Write("second.nfo", "short"));
  EXPECT_STREQ(viewer.textBuffer, "short");
  for (int i = 5; i < kTextBufferSize + 2; ++i) ASSERT_EQ(viewer.textBuffer[i], '\0') << "offset " << i;
}

TEST_F(LoadDocumentTest, RefusedPathOpensNothingAndListsNothing) {
  dir.Write("a.nfo", "a\n");
  viewer.currentPath[0] = '\0';
  viewer.currentPathRefused = 1;
  LoadDocument();
  EXPECT_STREQ(viewer.textBuffer, kMissing);
  EXPECT_EQ(viewer.fileHandle, -1);
  EXPECT_EQ(viewer.browseLast, -1);
}

TEST_F(LoadDocumentTest, DirectoryListingFindsThePositionAndLowerCasesPaths) {
  dir.Write("A.NFO", "a\n");
  dir.Write("b.asc", "b\n");
  dir.Write("c.diz", "c\n");
  dir.Write("readme.txt", "r\n");
  Load(dir.path() + "A.NFO");
  ASSERT_EQ(viewer.browseLast, 2);
  std::string lower = dir.path();
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  EXPECT_EQ(std::string(viewer.browseList[0]), lower + "a.nfo");
  EXPECT_EQ(std::string(viewer.browseList[1]), lower + "c.diz");
  EXPECT_EQ(std::string(viewer.browseList[2]), lower + "b.asc");
  EXPECT_EQ(viewer.browseIndex, 0);
  EXPECT_EQ(std::string(viewer.currentPath), lower + "a.nfo");

  Load(dir.path() + "readme.txt");
  EXPECT_EQ(viewer.browseIndex, -1);
  EXPECT_STREQ(viewer.textBuffer, "r\n");

  // A directory path shows its first recognised file.
  Load(dir.path());
  EXPECT_EQ(viewer.browseIndex, 0);
  EXPECT_STREQ(viewer.textBuffer, "a\n");
}

}  // namespace
