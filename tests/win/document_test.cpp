// Loading documents from real files and listing their folders.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/text_helpers.h"
#include "app/viewer_state.h"
#include "document/document.h"
#include "test_support.h"

namespace {

constexpr char kMissing[] = "Could not find the file\n";

class LoadDocumentTest : public testing::Test {
 protected:
  void SetUp() override { ResetViewerState(); }
  void Load(const std::string& path) {
    std::strcpy(viewer.currentPath, path.c_str());
    viewer.currentPathRefused = 0;
    LoadDocument();
  }
  TempDir dir;
};

TEST_F(LoadDocumentTest, ReadsUpTo524288BytesAndLeavesNothingOfTheLastDocument) {
  Load(dir.Write("zero.nfo", std::string("abc\0def", 7)));
  EXPECT_STREQ(viewer.textBuffer, "abc");
  EXPECT_NE(viewer.fileHandle, -1);
  Load(dir.Write("long.nfo", std::string(600000, 'y')));
  EXPECT_EQ(std::strlen(viewer.textBuffer), 524288u);
  // Art saved as UTF-16 shows as the code page 437 bytes it was made of.
  Load(dir.Write("short.nfo", std::string("\xFF\xFE\x54\x25\x50\x25\x57\x25\r\0\n\0", 12)));
  EXPECT_STREQ(viewer.textBuffer, "\xC9\xCD\xBB\r\n");
  for (int i = 5; i < kTextBufferSize + 2; ++i) ASSERT_EQ(viewer.textBuffer[i], '\0') << "offset " << i;
}

TEST_F(LoadDocumentTest, WhatCannotBeOpenedShowsTheMessage) {
  const std::string held = dir.Write("held.nfo", "held\n");
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  std::string folder = dir.path();
  folder.pop_back();  // a folder without its backslash is no document
  for (const std::string& path : {dir.path() + "nothing.nfo", folder, held}) {
    Load(path);
    EXPECT_STREQ(viewer.textBuffer, kMissing) << path;
    EXPECT_EQ(viewer.fileHandle, -1) << path;
  }
  CloseHandle(holder);
  // The viewer closes its own handle: the file can be held again at once.
  Load(held);
  EXPECT_STREQ(viewer.textBuffer, "held\n");
  holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(holder, INVALID_HANDLE_VALUE);
  CloseHandle(holder);
  // A refused path opens nothing and lists nothing.
  viewer.currentPathRefused = 1;
  LoadDocument();
  EXPECT_EQ(viewer.browseLast, -1);
  EXPECT_STREQ(viewer.textBuffer, kMissing);
}

TEST_F(LoadDocumentTest, FolderListingInExtensionOrderAndLowerCase) {
  for (const char* name : {"A.NFO", "b.asc", "c.diz", "readme.txt"})
    dir.Write(name, std::string(name) + "\n");
  std::string lower = dir.path();
  LowerCaseAscii(&lower[0]);
  Load(dir.path() + "A.NFO");
  ASSERT_EQ(viewer.browseLast, 2);
  EXPECT_EQ(std::string(viewer.browseList[0]) + " " + viewer.browseList[1] + " " + viewer.browseList[2],
            lower + "a.nfo " + lower + "c.diz " + lower + "b.asc");
  EXPECT_EQ(viewer.browseIndex, 0);
  EXPECT_EQ(std::string(viewer.currentPath), lower + "a.nfo");
  Load(dir.path() + "readme.txt");
  EXPECT_EQ(viewer.browseIndex, -1);
  // A folder path shows its first recognised file.
  Load(dir.path());
  EXPECT_EQ(viewer.browseIndex, 0);
  EXPECT_STREQ(viewer.textBuffer, "A.NFO\n");
}

}  // namespace
