// Documents from real files: loading, folder listing, recent files, the saved place, the Open dialog, drops.
#include "test_support.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>
#include <dlgs.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "win32/viewer_state.h"
#include "document/document.h"
#include "document/pack_file.h"
#include "document/zip_pack.h"
#include "view/view.h"
#include "../unit/zip_writer.h"

namespace {

using namespace std::string_literals;

class LoadDocumentTest : public testing::Test {
 protected:
  void SetUp() override { ResetMainWindowState(); }
  std::string Load(const std::string& path, bool refused = false) {
    std::strcpy(viewer.currentPath, path.c_str());
    viewer.currentPathRefused = refused;
    LoadDocument(view, viewer, settings);
    return ShownDocument().text.data() + std::string(ShownDocument().Opened() ? "|opened" : "|-1");
  }
  TempDir dir;
};

TEST_F(LoadDocumentTest, OnlyRegularFilesOpenEvenWhileAnotherProgramWritesThemAndAFailureSaysWhy) {
  const std::string held = dir.Write("held.nfo", "held\n");
  // An editor holding it open for writing does not keep it from being read; the viewer closes its handle.
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Load(held), "held\n|opened");
  CloseHandle(holder);
  // /proc/self/mem opens as a regular file but fails its read; a folder without its backslash names no
  // document; nul.nfo is the NUL device, whatever the folder holds; a refused path opens and lists nothing.
  const std::string folder = dir.path().substr(0, dir.path().size() - 1);
  for (const auto& [path, refused, reason] : {std::tuple("Z:\\proc\\self\\mem"s, false, "Not ready"s),
                                              {folder, false, "Access denied"s},
                                              {dir.path() + "nul.nfo", false, kDeviceReason},
                                              {held, true, kPathTooLongReason}}) {
    EXPECT_EQ(Load(path, refused), "Could not find the file\n" + reason + "\n|-1") << path;
  }
  EXPECT_EQ(viewer.browseLast, -1);
}

TEST_F(LoadDocumentTest, FolderListingInExtensionOrderKeepingCase) {
  // Neither a folder named like art nor a file whose 8.3 alias ends like it (x.nfox is X~1.NFO) is listed.
  for (const char* folder : {"d.nfo", "fonts"}) CreateDirectoryA((dir.path() + folder).c_str(), nullptr);
  for (const char* name : {"A.NFO", "b.asc", "c.diz", "x.nfox", "fonts\\x.inix"}) dir.Write(name, name);
  // A folder path shows the first file listed.
  EXPECT_EQ(Load(dir.path()), "A.NFO|opened");
  const auto listing = [] {
    return std::to_string(viewer.browseIndex) + "/" + std::to_string(viewer.browseLast) + " " +
           viewer.currentPath + " " + BrowseEntry(1) + " " + BrowseEntry(2);
  };
  EXPECT_EQ(listing(), "0/2 " + dir.path() + "A.NFO " + dir.path() + "c.diz " + dir.path() + "b.asc");
  // A path spelt in another case than the name keeps its spelling and finds its entry.
  EXPECT_EQ(Load(dir.path() + "C.Diz"), "c.diz|opened");
  EXPECT_EQ(listing(), "1/2 " + dir.path() + "C.Diz " + dir.path() + "c.diz " + dir.path() + "b.asc");
  MainWindowTest sheets(false, dir.path());  // the glyph sheets' folder the same way
  EXPECT_EQ(view.fontCount, 0);
}

using Entries = std::vector<std::string>;  // most recent first; "" not in use

// The text of each enabled File menu item whose entry is in use.
Entries ShownEntries() {
  Entries out;
  for (int id = 400; id < 400 + kRecentFileCount; ++id) {
    char text[300] = {};
    GetMenuStringA(GetMenu(viewer.mainWindow), id, text, sizeof text, MF_BYCOMMAND);
    const bool grayed = GetMenuState(GetMenu(viewer.mainWindow), id, MF_BYCOMMAND) & MF_GRAYED;
    out.push_back(settings.recentFiles[id - 400].used && !grayed ? text : "");
  }
  return out;
}

// A settings value as another viewer leaves it, `data` with its zero if it has one.
void Set(const std::string& name, DWORD type, const std::string& data) {
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, name.c_str(), type, data.data(), data.size());
}

void Store(const Entries& entries) {
  for (int i = 0; i < kRecentFileCount; ++i) Set("last5." + std::to_string(i), REG_SZ, entries[i] + '\0');
}

Entries Stored() {
  Entries out;
  for (int i = 0; i < kRecentFileCount; ++i)
    out.push_back(RegText(HKEY_LOCAL_MACHINE, kSettingsKey, ("last5." + std::to_string(i)).c_str()));
  return out;
}

TEST(RecentFiles, ThePlaceAndTheEntriesAreKeptForTheNextStart) {
  const std::string longPath = "c:\\" + std::string(200, 'c') + ".nfo";  // longer than 160 bytes
  TempDir start, other;
  const std::string a = start.Write("a.nfo", "a"), b = other.Write("b.nfo", "b");
  const std::filesystem::path folder = std::filesystem::current_path();
  {
    MainWindowTest first;
    // Kept by full path whatever the current folder, and only once opened: no missing file, nor the program.
    SetCurrentDirectoryA(start.path().c_str());
    SplitCommandLine(viewer, "q.exe a.nfo");
    ShowCurrentDocument(view, viewer, settings);
    SetCurrentDirectoryA(other.path().c_str());  // as the Open dialog does
    for (const std::string& path : {"b.nfo"s, ProgramPath(), other.path() + "missing.nfo", a})
      SwitchDocument(view, viewer, settings, path.c_str());
    std::filesystem::current_path(folder);
    EXPECT_EQ(Stored(), (Entries{b, a, "", "", ""}));
    SetWindowPos(first.window(), nullptr, 150, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(first.window(), SW_MINIMIZE);  // closed from the task bar: the restored place is kept
    Store({"c:\\b.nfo", "", longPath, "c:\\c.nfo", "c:\\e.nfo"});  // meanwhile another viewer closed
  }  // the close pushes the document on show onto the stored list and saves the place
  EXPECT_EQ(Stored(), (Entries{a, "c:\\b.nfo", longPath, "c:\\c.nfo", "c:\\e.nfo"}));
  // Values of another type, or too long for an entry, read as defaults.
  Set("last.top", REG_SZ, {"77", 3});
  Set("last5.1", REG_DWORD, "\5\5\5\5");
  Set("last5.3", REG_SZ, std::string(300, 'x') + '\0');
  MainWindowTest second(true);
  EXPECT_EQ(std::make_tuple(view.windowRect.left, view.windowRect.top), std::make_tuple(150L, 0L));
  EXPECT_EQ(ShownEntries(), (Entries{a, "", longPath, "", "c:\\e.nfo"}));
}

// Each start and message: the 1st dialog is cancelled (sizes left), the 2nd chooses, the 3rd is refused.
std::vector<std::string> starts, messages;

BOOL WINAPI FakeOpenDialog(LPOPENFILENAMEA request) {
  starts.push_back(std::string(request->lpstrInitialDir ? request->lpstrInitialDir : "-") + "|" +
                   request->lpstrFile);
  std::strcpy(request->lpstrFile, starts.size() == 2 ? "c:\\a.diz" : ",\1");
  return starts.size() == 3 ? (request->lStructSize = 0, GetOpenFileNameA(request)) : starts.size() == 2;
}

int WINAPI RecordMessage(HWND, LPCSTR text, LPCSTR, UINT) { return messages.push_back(text), IDOK; }

// A drop as the shell and Wine's X11 driver make it: DROPFILES, UTF-16 paths each ended by a zero, a zero.
WPARAM Drop(const std::wstring& paths) {
  auto* drop = static_cast<DROPFILES*>(GlobalAlloc(GPTR, sizeof(DROPFILES) + 2 * (paths.size() + 2)));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(drop + 1, paths.data(), 2 * paths.size());
  return reinterpret_cast<WPARAM>(drop);
}

// The system's own dialog, told through its hook to choose `chosen` (UTF-16) and press Open.
std::wstring chosen;

UINT_PTR CALLBACK ChooseOnOpen(HWND hook, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<OFNOTIFYA*>(lParam)->hdr.code == CDN_INITDONE) {
    HWND dialog = GetParent(hook);
    SetDlgItemTextW(dialog, GetDlgItem(dialog, cmb13) ? cmb13 : edt1, chosen.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  }
  return 0;
}

BOOL WINAPI ChoosingOpenDialog(LPOPENFILENAMEA request) {
  request->Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
  request->lpfnHook = ChooseOnOpen;
  // The dialog moves the current folder to the chosen file's; the later tests keep theirs.
  const std::filesystem::path folder = std::filesystem::current_path();
  const BOOL chose = GetOpenFileNameA(request);
  std::filesystem::current_path(folder);
  return chose;
}

TEST(RecentFiles, OtherDocumentsFromTheMenuTheOpenDialogsAndADrop) {
  Store({"c:\\o0.nfo", "c:\\p.asc", "c:\\o2.nfo", "c:\\o3.nfo", "c:\\o4.nfo"});
  MainWindowTest test(true);  // loads them
  TempDir dir;
  const std::string japanese = dir.Write("\u65E5\u672C.nfo", "one\r\n");
  test.Show(japanese);
  // Another viewer has since pushed x: the choice is what this menu shows, the push goes onto x.
  Store({"c:\\x.nfo", "c:\\o0.nfo", "c:\\p.asc", "c:\\o2.nfo", "c:\\o3.nfo"});
  SendMessageA(test.window(), WM_COMMAND, 401, 0);
  const Entries pushed = {japanese, "c:\\x.nfo", "c:\\o0.nfo", "c:\\p.asc", "c:\\o2.nfo"};
  EXPECT_EQ(std::make_pair(ShownEntries(), Stored()), std::make_pair(pushed, pushed));
  EXPECT_STREQ(viewer.currentPath, "c:\\p.asc");

  runOpenDialog = FakeOpenDialog;
  openDialogMessageBox = RecordMessage;
  for (int i = 0; i < 3; ++i) SendMessageA(test.window(), WM_COMMAND, 101, 0);
  runOpenDialog = GetOpenFileNameA;
  openDialogMessageBox = MessageBoxA;
  // A cancel or failure changes nothing, not even the path the next dialog starts with; a failure says so.
  EXPECT_EQ(starts, (Entries{"c:\\|", "c:\\|", "c:\\|c:\\a.diz"}));  // in the shown document's folder
  EXPECT_EQ(messages, (Entries{"The Open dialog failed (common dialog error 0x0001)."}));
  EXPECT_STREQ(viewer.currentPath, "c:\\a.diz");

  // The first file dropped; names in any script: the program's code page is UTF-8.
  SendMessageA(test.window(), WM_DROPFILES,
               Drop(std::filesystem::u8path(japanese).wstring() + L"\0c:\\b.nfo"s), 0);
  EXPECT_EQ(std::string(viewer.currentPath) + "|" + ShownDocument().text.data(), japanese + "|one\r\n");
  // A path of 300 bytes is refused whole, never cut into another path.
  SendMessageA(test.window(), WM_DROPFILES, Drop(L"c:\\" + std::wstring(297, L'x')), 0);
  EXPECT_STREQ(viewer.currentPath, "");

  // The system's Open dialog chooses a long name in any script whole. 80 characters of 3 UTF-8 bytes: a path
  // of fewer than 260 characters, which the dialog lets through, but of more than 260 bytes; fewer than the
  // 300 a path may have.
  std::string name;
  for (int i = 0; i < 80; ++i) name += "\u65E5";
  const std::string path = dir.Write(name + ".nfo", "long\r\n");
  ASSERT_TRUE(path.size() > 260 && path.size() < 300) << path.size();
  chosen = std::filesystem::u8path(path).wstring();
  runOpenDialog = ChoosingOpenDialog;
  SendMessageA(test.window(), WM_COMMAND, 101, 0);
  runOpenDialog = GetOpenFileNameA;
  EXPECT_EQ(std::string(viewer.currentPath) + "|" + ShownDocument().text.data(), path + "|long\r\n");
}

// The status bar's part `part`, and the pixels `text` takes in its font.
int PartWidth(int part) {
  RECT r = {};
  SendMessageA(viewer.statusBar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r));
  return r.right - r.left;
}

int TextWidth(const std::string& text) {
  HDC dc = GetDC(viewer.statusBar);
  auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(viewer.statusBar, WM_GETFONT, 0, 0));
  SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ReleaseDC(viewer.statusBar, dc);
  return size.cx;
}

// A pack walked in place: its art in name order, its folders in one list; a damaged entry warns, one that
// cannot be read says why; an entry's page is its file's; the recent files keep its name ("z." not "z").
TEST(Packs, TheArtWalkedInNameOrderAndShownAsFromDisk) {
  const std::string xb = ReadWholeFile(QP_CORPUS_DIR "/ansilove/tests/bs-alove.xb"),
                    ans = ReadWholeFile(QP_CORPUS_DIR "/x84/x84/default/art/tetris.ans");
  if (xb.empty()) GTEST_SKIP() << "no corpus";
  std::vector<Member> members = {{"read.me", ""},        {"z./alove.xb", xb},
                                 {"b/bad.nfo", "x"},     {"b/secret.nfo", "x", 0, 1},
                                 {"b/lies.nfo", "x", 8}, {"A/x/tetris.ans", ans, 8}};
  members[2].crcFlip = members[4].sizeShift = 1;
  // A damaged entry of 80 columns with a SAUCE title: the warning is read whole at the start width.
  members[2].data = std::string(80, 'x') + "\r\n\x1aSAUCE00" + std::string(35, 'T') + std::string(86, '\0');
  TempDir dir;
  const std::string pack = dir.Write("art.zip", Written(members));
  MainWindowTest test;
  const auto shown = [&] {  // the path after the pack's, the place, a warning or the failure's page
    PumpMessages();
    const std::string place = test.StatusText(1);
    return std::string(viewer.currentPath + pack.size()) + " " + place.substr(place.size() - 3) +
           (test.StatusText(0).find("CRC-32") != std::string::npos ? " damaged" : "") +
           (!ShownDocument().Opened() ? std::strchr(ShownDocument().text.data(), '\n') : "");
  };
  test.Show(pack);  // its first art
  std::vector<std::string> steps = {shown()};
  for (int i = 0; i < 3; ++i) {
    steps.push_back((SendMessageA(test.window(), WM_KEYDOWN, VK_NEXT, 0), shown()));
    if (i == 0) {
      EXPECT_GE(PartWidth(0), TextWidth(kCrcMismatchWarning)) << test.StatusText(1);
    }
  }
  int32_t width, height;
  const auto entryPage = ReadPixels(view.pageBitmap.get(), &width, &height);
  SwitchDocument(view, viewer, settings,
                 (dir.Write("alove.xb", xb)).c_str());  // the entry left goes into the recent files
  EXPECT_TRUE(ReadPixels(view.pageBitmap.get(), &width, &height) == entryPage);
  steps.push_back((SendMessageA(test.window(), WM_COMMAND, 400, 0), shown()));
  EXPECT_EQ(steps,
            (std::vector<std::string>{"\\A\\x\\tetris.ans 1/4", "\\b\\bad.nfo 2/4 damaged",
                                      "\\b\\lies.nfo 3/4\nIt inflates to less than its recorded size\n",
                                      "\\z.\\alove.xb 4/4", "\\z.\\alove.xb 4/4"}));
}

// A pack lists every art entry, past the 16,000 a folder lists: an entry opened directly shows its true
// place, and Page Up and Page Down go on from it.
TEST(Packs, EveryEntryOfALargePackIsListed) {
  std::vector<Member> members(16002);
  for (size_t i = 0; i < members.size(); ++i) members[i] = {"e" + std::to_string(100000 + i) + ".nfo", "x"};
  TempDir dir;
  const std::string pack = dir.Write("large.zip", Written(members));
  MainWindowTest test;
  test.Show(pack + "\\e116000.nfo");
  std::vector<std::string> places = {test.StatusText(1)};
  for (WPARAM key : {VK_NEXT, VK_NEXT, VK_PRIOR}) {
    SendMessageA(test.window(), WM_KEYDOWN, key, 0);
    PumpMessages();
    places.push_back(test.StatusText(1) + " " + (viewer.currentPath + pack.size()));
  }
  EXPECT_EQ(places, (std::vector<std::string>{"16001/16002", "16002/16002 \\e116001.nfo",
                                              "16002/16002 \\e116001.nfo", "16001/16002 \\e116000.nfo"}));
}

// A folder named like a pack is passed on the way to the pack inside it.
TEST(Packs, APackInAFolderNamedLikeOne) {
  TempDir dir;
  CreateDirectoryA((dir.path() + "d.zip").c_str(), nullptr);
  dir.Write("d.zip\\p.zip", Written({{"x.ans", "art"}}));
  char bytes[8];
  const FileStart start =
      ReadDocumentStart((dir.path() + "d.zip\\p.zip\\x.ans").c_str(), reinterpret_cast<uint8_t*>(bytes), 8);
  EXPECT_EQ(std::string(bytes, start.count), "art");
}

}  // namespace
