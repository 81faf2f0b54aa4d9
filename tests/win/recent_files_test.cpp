// Recent files and the saved window position in the real registry, the
// recent-files commands, the Open dialog's request and dropped files, all
// through the real window procedure.
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

constexpr char kMissing[] = "Could not find the file\n";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

// The five entries, most recent first; "" for an entry not in use.
std::vector<std::string> Entries() {
  std::vector<std::string> out;
  for (const RecentFile& entry : viewer.recentFiles) out.push_back(entry.used ? entry.path : "");
  return out;
}

void SetEntries(const std::vector<std::string>& paths) {
  for (int i = 0; i < kRecentFileCount; ++i) {
    lstrcpynA(viewer.recentFiles[i].path, paths[i].c_str(), kRecentPathSize);
    viewer.recentFiles[i].used = !paths[i].empty();
  }
}

std::string MenuText(HWND window, UINT id) {
  char text[300] = {};
  GetMenuStringA(GetMenu(window), id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

bool Grayed(HWND window, UINT id) { return GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_GRAYED; }

HKEY SettingsKey() {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Molvo\\Quillpane", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &key, nullptr);
  return key;
}

// A value as stored: its type and bytes.
std::pair<DWORD, std::string> Stored(HKEY key, const char* name) {
  char data[1024] = {};
  DWORD type = 0, size = sizeof data;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
    return {REG_NONE, ""};
  }
  return {type, std::string(data, size)};
}

void Store(HKEY key, const char* name, DWORD type, const std::string& bytes) {
  RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
}

TEST(RecentFiles, ExitSavesThePlaceAndTheEntriesAndTheNextStartShowsThem) {
  TempDir dir;
  const std::string shown = dir.Write("Shown.NFO", "s\n");
  {
    MainWindowTest first;
    first.Show(shown);
    SetWindowPos(first.window(), nullptr, 150, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }  // the close pushes the shown document and saves
  HKEY key = SettingsKey();
  const DWORD left = 150, top = 90;
  EXPECT_EQ(Stored(key, "last.left"),
            std::make_pair(DWORD{REG_DWORD}, std::string(reinterpret_cast<const char*>(&left), 4)));
  EXPECT_EQ(Stored(key, "last.top"),
            std::make_pair(DWORD{REG_DWORD}, std::string(reinterpret_cast<const char*>(&top), 4)));
  EXPECT_EQ(Stored(key, "last5.0"), std::make_pair(DWORD{REG_SZ}, Lower(shown) + '\0'));
  // Entries not in use are written too, as the empty string.
  EXPECT_EQ(Stored(key, "last5.4"), std::make_pair(DWORD{REG_SZ}, std::string(1, '\0')));
  RegCloseKey(key);

  MainWindowTest second(true);
  RECT rect;
  GetWindowRect(second.window(), &rect);
  EXPECT_EQ(rect.left, 150);
  EXPECT_EQ(rect.top, 90);
  EXPECT_EQ(MenuText(second.window(), 400), Lower(shown));
  EXPECT_FALSE(Grayed(second.window(), 400));
  EXPECT_EQ(MenuText(second.window(), 401), "none");
  EXPECT_TRUE(Grayed(second.window(), 401));
}

TEST(RecentFiles, StoredValuesThatDoNotFitReadAsDefaults) {
  ResetViewerState();
  HKEY key = SettingsKey();
  const DWORD left = 321;
  Store(key, "last.left", REG_DWORD, std::string(reinterpret_cast<const char*>(&left), 4));
  Store(key, "last.top", REG_SZ, std::string("77", 3));
  const std::string carried = "c:\\" + std::string(200, 'c') + ".nfo";  // longer than 160 bytes
  Store(key, "last5.0", REG_SZ, std::string("c:\\art\\a.nfo", 13));
  Store(key, "last5.1", REG_SZ, std::string(1, '\0'));
  Store(key, "last5.2", REG_DWORD, std::string(4, '\x05'));
  Store(key, "last5.3", REG_SZ, "c:\\" + std::string(300, 'x') + ".nfo" + '\0');
  Store(key, "last5.4", REG_SZ, carried + '\0');
  SetEntries({"old", "old", "old", "old", "old"});
  SyncSettings(false);
  EXPECT_EQ(viewer.windowRect.left, 321);
  EXPECT_EQ(viewer.windowRect.top, 0);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"c:\\art\\a.nfo", "", "", "", carried}));

  ForgetSavedSettings();
  viewer.windowRect.top = 5;
  SyncSettings(false);
  EXPECT_EQ(viewer.windowRect.left, 0);
  EXPECT_EQ(viewer.windowRect.top, 0);
  EXPECT_EQ(Entries(), std::vector<std::string>(5, ""));
  RegCloseKey(key);
}

TEST(RecentFiles, ChoosingAnEntryPushesTheShownDocumentFirst) {
  MainWindowTest test;
  TempDir dir;
  const std::string shown = Lower(dir.Write("d.nfo", "d\n")), chosen = Lower(dir.Write("p.asc", "p\n"));
  test.Show(shown);
  SetEntries({"c:\\old0.nfo", chosen, "c:\\old2.nfo", "c:\\old3.nfo", "c:\\old4.nfo"});
  SendMessageA(test.window(), WM_COMMAND, 401, 0);
  PumpMessages();
  const std::vector<std::string> expected = {shown, "c:\\old0.nfo", chosen, "c:\\old2.nfo", "c:\\old3.nfo"};
  EXPECT_EQ(Entries(), expected);
  EXPECT_STREQ(viewer.textBuffer, "p\n");
  EXPECT_EQ(std::string(viewer.currentPath), chosen);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(MenuText(test.window(), 400 + i), expected[i]);

  // 405 names no entry, nor does an entry not in use.
  viewer.recentFiles[4].used = 0;
  SendMessageA(test.window(), WM_COMMAND, 405, 0);
  SendMessageA(test.window(), WM_COMMAND, 404, 0);
  EXPECT_EQ(std::string(viewer.currentPath), chosen);
  EXPECT_EQ(Entries()[0], shown);
}

// The modal dialog's stand-in: records each request and answers with the
// next path, or fails as a dialog does (the first two bytes of the path
// then hold the size it wanted) when the answer is empty.
struct DialogCall {
  OPENFILENAMEA request;
  std::string fileAtStart;
  std::vector<std::string> filter;
};
std::vector<DialogCall> dialogCalls;
std::vector<std::string> dialogAnswers;

BOOL WINAPI FakeOpenDialog(LPOPENFILENAMEA request) {
  DialogCall call = {*request, request->lpstrFile, {}};
  for (const char* item = request->lpstrFilter; *item != '\0'; item += std::strlen(item) + 1) {
    call.filter.push_back(item);
  }
  dialogCalls.push_back(call);
  const std::string answer = dialogAnswers[dialogCalls.size() - 1];
  if (answer.empty()) {
    request->lpstrFile[0] = 0x2C;
    request->lpstrFile[1] = 0x01;
    return FALSE;
  }
  lstrcpynA(request->lpstrFile, answer.c_str(), static_cast<int>(request->nMaxFile));
  return TRUE;
}

TEST(OpenDialog, RequestChoiceAndCancel) {
  MainWindowTest test;
  TempDir dir;
  const std::string shown = Lower(dir.Write("d.nfo", "d\n")), chosen = dir.Write("A.DIZ", "a\n");
  test.Show(shown);
  dialogCalls.clear();
  dialogAnswers = {"", chosen, ""};
  runOpenDialog = FakeOpenDialog;
  for (int i = 0; i < 3; ++i) SendMessageA(test.window(), WM_COMMAND, 101, 0);
  runOpenDialog = GetOpenFileNameA;
  PumpMessages();
  ASSERT_EQ(dialogCalls.size(), 3u);

  const OPENFILENAMEA& request = dialogCalls[0].request;
  EXPECT_EQ(request.hwndOwner, test.window());
  EXPECT_EQ(dialogCalls[0].filter,
            (std::vector<std::string>{"All Recognized", "*.nfo;*.diz;*.ans;*.asc", "Nfo", "*.nfo", "Diz",
                                      "*.diz", "Ansi", "*.ans", "Ascii", "*.asc", "Files(*.*)", "*.*"}));
  EXPECT_EQ(request.nFilterIndex, 1u);
  EXPECT_EQ(request.lpstrFile, viewer.openFileName);
  EXPECT_EQ(request.nMaxFile, 260u);
  EXPECT_EQ(request.lpstrFileTitle, nullptr);
  EXPECT_EQ(request.lpstrInitialDir, nullptr);
  EXPECT_STREQ(request.lpstrTitle, "Load");
  EXPECT_EQ(request.Flags, 0x1800u);

  // A cancel changes nothing, the dialog's path included; the next dialog
  // starts with the path chosen last.
  EXPECT_EQ(dialogCalls[0].fileAtStart, "");
  EXPECT_EQ(dialogCalls[1].fileAtStart, "");
  EXPECT_EQ(dialogCalls[2].fileAtStart, chosen);
  EXPECT_EQ(std::string(viewer.openFileName), chosen);
  EXPECT_EQ(Entries(), (std::vector<std::string>{shown, "", "", "", ""}));
  EXPECT_EQ(std::string(viewer.currentPath), Lower(chosen));
  EXPECT_STREQ(viewer.textBuffer, "a\n");
}

// A drop as the shell makes it: DROPFILES followed by ANSI paths, each
// ended by a zero byte, and one more zero byte.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  size_t bytes = sizeof(DROPFILES) + 1;
  for (const std::string& path : paths) bytes += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  char* out = reinterpret_cast<char*>(drop + 1);
  for (const std::string& path : paths) out = std::strcpy(out, path.c_str()) + path.size() + 1;
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST(DroppedFiles, TheFirstFileIsShownWhereTheWindowStands) {
  MainWindowTest test;
  TempDir dir;
  const std::string shown = Lower(dir.Write("d.nfo", "d\n"));
  const std::string first = dir.Write("First.ans", "first\n");
  test.Show(shown);
  SetWindowPos(test.window(), nullptr, 120, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageA(
      test.window(), WM_DROPFILES,
      reinterpret_cast<WPARAM>(MakeDrop({first, dir.Write("b.nfo", "b\n"), dir.Write("c.nfo", "c\n")})), 0);
  PumpMessages();
  EXPECT_STREQ(viewer.textBuffer, "first\n");
  EXPECT_EQ(std::string(viewer.currentPath), Lower(first));
  EXPECT_EQ(Entries()[0], shown);
  RECT rect;
  GetWindowRect(test.window(), &rect);
  EXPECT_EQ(rect.left, 120);
  EXPECT_EQ(rect.top, 70);

  // A path of 300 bytes is refused whole: it shows like a file that cannot
  // be opened, and the document left is still pushed.
  const std::string tooLong = dir.path() + std::string(300 - dir.path().size() - 4, 'x') + ".nfo";
  ASSERT_EQ(tooLong.size(), 300u);
  SendMessageA(test.window(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({tooLong})), 0);
  EXPECT_STREQ(viewer.textBuffer, kMissing);
  EXPECT_STREQ(viewer.currentPath, "");
  EXPECT_EQ(Entries()[0], Lower(first));
  EXPECT_EQ(Entries()[1], shown);
}

}  // namespace
