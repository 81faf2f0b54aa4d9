// Recent files and the saved place in the real registry, the Open dialog's
// request and dropped files, through the real window procedure.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/viewer_state.h"
#include "document/document.h"
#include "test_support.h"

namespace {

using Entries = std::vector<std::string>;  // most recent first; "" not in use

std::string Lower(std::string text) {
  CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

Entries ShownEntries() {
  Entries out;
  for (int i = 0; i < kRecentFileCount; ++i) {
    char text[300] = {};
    GetMenuStringA(GetMenu(viewer.mainWindow), 400 + i, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(viewer.recentFiles[i].used ? viewer.recentFiles[i].path : "none", std::string(text));
    const UINT state = GetMenuState(GetMenu(viewer.mainWindow), 400 + i, MF_BYCOMMAND);
    EXPECT_EQ(viewer.recentFiles[i].used != 0, (state & MF_GRAYED) == 0);
    out.push_back(viewer.recentFiles[i].used ? text : "");
  }
  return out;
}

void SetValue(HKEY key, const char* name, DWORD type, const std::string& bytes) {
  RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
}

TEST(RecentFiles, ExitSavesThePlaceAndTheEntriesForTheNextStart) {
  TempDir dir;
  const std::string shown = Lower(dir.Write("s.nfo", "s\n"));
  {
    MainWindowTest first;
    first.Show(shown);
    SetWindowPos(first.window(), nullptr, 150, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }  // the close pushes the shown document and saves
  MainWindowTest second(true);
  RECT rect;
  GetWindowRect(second.window(), &rect);
  EXPECT_EQ(rect.left, 150);
  EXPECT_EQ(rect.top, 90);
  EXPECT_EQ(ShownEntries(), (Entries{shown, "", "", "", ""}));

  // Values of another type, or too long for an entry, read as defaults;
  // paths longer than 160 bytes that fit an entry come back whole.
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Molvo\\Quillpane", 0, KEY_ALL_ACCESS, &key), 0);
  const std::string carried = "c:\\" + std::string(200, 'c') + ".nfo" + '\0';
  SetValue(key, "last.top", REG_SZ, std::string("77", 3));
  SetValue(key, "last5.0", REG_SZ, carried);
  SetValue(key, "last5.2", REG_DWORD, std::string(4, '\5'));
  SetValue(key, "last5.3", REG_SZ, std::string(300, 'x') + '\0');
  RegCloseKey(key);
  SyncSettings(false);
  UpdateRecentFiles(false);
  EXPECT_EQ(viewer.windowRect.left, 150);
  EXPECT_EQ(viewer.windowRect.top, 0);
  EXPECT_EQ(ShownEntries(), (Entries{carried.c_str(), "", "", "", ""}));
}

TEST(RecentFiles, ChoosingAnEntryPushesTheShownDocumentFirst) {
  MainWindowTest test;
  TempDir dir;
  const std::string shown = Lower(dir.Write("d.nfo", "d\n")), chosen = Lower(dir.Write("p.asc", "p\n"));
  test.Show(shown);
  const char* old[] = {"c:\\old0.nfo", chosen.c_str(), "c:\\old2.nfo", "c:\\old3.nfo", "c:\\old4.nfo"};
  for (int i = 0; i < 5; ++i) {
    std::strcpy(viewer.recentFiles[i].path, old[i]);
    viewer.recentFiles[i].used = 1;
  }
  SendMessageA(test.window(), WM_COMMAND, 401, 0);
  EXPECT_EQ(ShownEntries(), (Entries{shown, old[0], chosen, old[2], old[3]}));
  EXPECT_STREQ(viewer.textBuffer, "p\n");
  // An entry not in use names no document.
  viewer.recentFiles[4].used = 0;
  SendMessageA(test.window(), WM_COMMAND, 404, 0);
  EXPECT_STREQ(viewer.currentPath, chosen.c_str());
}

// The modal dialog's stand-in: records each request and the path it starts
// with, then answers with the next path, or fails as a dialog can (leaving
// the size it wanted in the path's first two bytes) when that is empty.
std::vector<std::pair<OPENFILENAMEA, std::string>> dialogCalls;
std::vector<std::string> dialogAnswers;

BOOL WINAPI FakeOpenDialog(LPOPENFILENAMEA request) {
  dialogCalls.push_back({*request, request->lpstrFile});
  const std::string answer = dialogAnswers[dialogCalls.size() - 1];
  std::strcpy(request->lpstrFile, answer.empty() ? ",\1" : answer.c_str());
  return !answer.empty();
}

TEST(OpenDialog, RequestChoiceAndCancel) {
  MainWindowTest test;
  TempDir dir;
  const std::string shown = Lower(dir.Write("d.nfo", "d\n")), chosen = dir.Write("A.DIZ", "a\n");
  test.Show(shown);
  dialogAnswers = {"", chosen, ""};
  runOpenDialog = FakeOpenDialog;
  for (int i = 0; i < 3; ++i) SendMessageA(test.window(), WM_COMMAND, 101, 0);
  runOpenDialog = GetOpenFileNameA;
  ASSERT_EQ(dialogCalls.size(), 3u);
  const OPENFILENAMEA& request = dialogCalls[0].first;
  constexpr char kFilter[] =
      "All Recognized\0*.nfo;*.diz;*.ans;*.asc\0Nfo\0*.nfo\0Diz\0*.diz\0Ansi\0*.ans\0"
      "Ascii\0*.asc\0Files(*.*)\0*.*\0";
  EXPECT_EQ(std::string(request.lpstrFilter, sizeof kFilter), std::string(kFilter, sizeof kFilter));
  EXPECT_EQ(request.hwndOwner, test.window());
  EXPECT_EQ(request.nFilterIndex, 1u);
  EXPECT_EQ(request.lpstrFile, viewer.openFileName);
  EXPECT_EQ(request.nMaxFile, 260u);
  EXPECT_STREQ(request.lpstrTitle, "Load");
  EXPECT_EQ(request.Flags, 0x1800u);
  // A cancel changes nothing, the dialog's path included; each dialog
  // starts with the path chosen last.
  EXPECT_EQ(dialogCalls[1].second, "");
  EXPECT_EQ(dialogCalls[2].second, chosen);
  EXPECT_EQ(ShownEntries(), (Entries{shown, "", "", "", ""}));
  EXPECT_STREQ(viewer.textBuffer, "a\n");
}

// As the shell makes a drop: DROPFILES, then ANSI paths each ended by a
// zero byte, and one more zero byte.
WPARAM Drop(const std::vector<std::string>& paths) {
  std::string bytes(sizeof(DROPFILES), '\0');
  for (const std::string& path : paths) bytes += path + '\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + 1);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  std::memcpy(drop, bytes.data(), bytes.size());
  drop->pFiles = sizeof(DROPFILES);
  GlobalUnlock(memory);
  return reinterpret_cast<WPARAM>(memory);
}

TEST(DroppedFiles, TheFirstFileIsShownWhereTheWindowStands) {
  MainWindowTest test;
  TempDir dir;
  const std::string shown = Lower(dir.Write("d.nfo", "d\n")), first = Lower(dir.Write("First.ans", "1\n"));
  test.Show(shown);
  SetWindowPos(test.window(), nullptr, 120, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageA(test.window(), WM_DROPFILES, Drop({first, dir.Write("b.nfo", ""), dir.Write("c.nfo", "")}), 0);
  EXPECT_STREQ(viewer.textBuffer, "1\n");
  RECT rect;
  GetWindowRect(test.window(), &rect);
  EXPECT_EQ(rect.left, 120);
  EXPECT_EQ(rect.top, 70);
  // A path of 300 bytes is refused whole and shows like a missing file.
  SendMessageA(test.window(), WM_DROPFILES, Drop({dir.path() + std::string(300 - dir.path().size(), 'x')}),
               0);
  EXPECT_STREQ(viewer.textBuffer, "Could not find the file\n");
  EXPECT_STREQ(viewer.currentPath, "");
  EXPECT_EQ(ShownEntries(), (Entries{first, shown, "", "", ""}));
}

}  // namespace
