// Associations, the Configuration dialog driven as a user drives it, and
// the run counter, against the test prefix's registry.

// The registry calls that name a subkey come with Vista; Wine has them.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/viewer_state.h"
#include "resources/resource_ids.h"
#include "shell/shell.h"

namespace {

const char kSettings[] = "Software\\Molvo\\Quillpane";
const char* const kVerbs[] = {"*\\shell\\Open with Quillpane", "Directory\\shell\\Browse with Quillpane",
                              "Drive\\shell\\Browse with Quillpane"};

std::string Value(HKEY root, const char* path, const char* name = "") {
  char text[512] = {};
  DWORD size = sizeof text - 1;
  return RegGetValueA(root, path, name, RRF_RT_ANY, nullptr, text, &size) == ERROR_SUCCESS ? text
                                                                                           : "<absent>";
}

void SetValue(HKEY root, const char* path, const char* name, const char* text) {
  RegSetKeyValueA(root, path, name, REG_SZ, text, std::strlen(text) + 1);
}

class Shell : public testing::Test {
 protected:
  void SetUp() override { TearDown(), ResetViewerState(); }
  void TearDown() override {
    for (const char* key : {".NFO", ".DIZ", ".ANS", ".ASC", ".qpa", ".qpb"})
      RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    for (const char* key : kVerbs) RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSettings, "other");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSettings, "otherap");
  }
};

TEST_F(Shell, AssociationRoundTrips) {
  const std::string longName(120, 'x'), longBackup(150, 'y');
  const char* none = "<absent>";
  struct Case {
    const char *handler, *backup;  // before; nullptr: no key, no value
    const char* steps;             // t takes the extension over, g gives it back
    bool held;
    const char *handlerAfter, *backupAfter;
  };
  const Case cases[] = {
      {nullptr, nullptr, "tg", false, "", none},             // an empty backup, an empty handler
      {"quillpane", nullptr, "", false, "quillpane", none},  // another letter case
      {"txtfile", nullptr, "ttg", false, "txtfile", none},   // the second take keeps the first backup
      {"txtfile", nullptr, "g", false, "txtfile", none},     // no backup: nothing changes
      // Too long for the buffers: never taken for the identifier, never
      // replaced without a backup, never given back in part.
      {longName.c_str(), nullptr, "t", false, longName.c_str(), none},
      {"Quillpane", longBackup.c_str(), "g", true, "Quillpane", longBackup.c_str()},
  };
  EXPECT_EQ(TestAssociation(".qpa"), 1);
  for (const Case& c : cases) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".qpa");
    if (c.handler != nullptr) SetValue(HKEY_CLASSES_ROOT, ".qpa", "", c.handler);
    if (c.backup != nullptr) SetValue(HKEY_CLASSES_ROOT, ".qpa", "backup", c.backup);
    for (const char* step = c.steps; *step != '\0'; ++step) SetAssociation(*step == 't', ".QPA");
    const std::string row = std::string(c.handler ? c.handler : "no key") + " " + c.steps;
    EXPECT_EQ(TestAssociation(".qpa") == 0, c.held) << row;
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".qpa"), c.handlerAfter) << row;
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".qpa", "backup"), c.backupAfter) << row;
  }
}

std::function<void(HWND)> dialogUser;

// The user acts once the dialog shows, from inside its own message loop.
void CALLBACK ActOnDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "Quillpane Configuration");
  if (dialog == nullptr || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  dialogUser(dialog);
}

void RunConfigDialog(std::function<void(HWND)> user) {
  dialogUser = std::move(user);
  // Owned as from the main window, away from the screen's edges.
  static HWND owner = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 100, 100, 50, 50, nullptr,
                                      nullptr, nullptr, nullptr);
  SetTimer(nullptr, 0, 0, ActOnDialog);
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG), owner, ConfigDialogProc, 0);
}

void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

// Enter and Escape leave the dialog open (it has no default button, and its
// OK and Cancel are not IDOK and IDCANCEL); the close box ends it.
TEST_F(Shell, OnlyTheCloseBoxOkAndCancelEndTheDialog) {
  RunConfigDialog([](HWND dialog) {
    PostMessageA(GetDlgItem(dialog, IDC_TYPE_NFO), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(GetDlgItem(dialog, IDC_TYPE_NFO), WM_KEYDOWN, VK_ESCAPE, 0);
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
      if (!IsDialogMessageA(dialog, &message)) DispatchMessageA(&message);
    }
    EXPECT_TRUE(IsWindowVisible(dialog));
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
}

// Signalled by any change under HKEY_CLASSES_ROOT or the settings key (Wine
// drops a write of the data a value holds already).
HANDLE WatchRegistry() {
  HANDLE changed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HKEY keys[2];
  RegOpenKeyExA(HKEY_CLASSES_ROOT, "", 0, KEY_NOTIFY, &keys[0]);
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettings, 0, KEY_NOTIFY, &keys[1]);
  for (HKEY key : keys)
    RegNotifyChangeKeyValue(key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE);
  return changed;  // the keys stay open while the test runs
}

TEST_F(Shell, DialogAppliesOnlyWhatChanged) {
  std::strcpy(viewer.programPath, "C:\\Program Files\\Quillpane\\quillpane.exe");
  const std::string command = std::string("\"") + viewer.programPath + "\" %1";
  SetValue(HKEY_CLASSES_ROOT, ".qpb", "", "oldhandler");
  RunConfigDialog([](HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_OTHER_LIST, WM_CHAR, '.', 0);  // read-only while Other is off
    for (int id : {IDC_TYPE_NFO, IDC_TYPE_OTHER, IDC_OPEN_VERB, IDC_BROWSE_VERB}) Click(dialog, id);
    for (const char* key = ".QPA;*.qpb;.nfo"; *key != '\0'; ++key) {
      SendDlgItemMessageA(dialog, IDC_OTHER_LIST, WM_CHAR, *key, 0);
    }
    Click(dialog, IDC_CONFIG_OK);
  });
  EXPECT_EQ(TestAssociation(".NFO"), 0);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kSettings, "otherap") + Value(HKEY_LOCAL_MACHINE, kSettings, "other"),
            "pa.qpa;.qpb");
  EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".qpa") + Value(HKEY_CLASSES_ROOT, ".qpb", "backup"),
            "Quillpaneoldhandler");
  EXPECT_EQ(Value(HKEY_CLASSES_ROOT, "*\\shell\\Open with Quillpane\\command") + "|" +
                Value(HKEY_CLASSES_ROOT, "Directory\\shell\\Browse with Quillpane\\command") + "|" +
                Value(HKEY_CLASSES_ROOT, "Drive\\shell\\Browse with Quillpane\\Command"),
            command + "|" + command + "\\|" + command);

  HANDLE changed = WatchRegistry();
  RunConfigDialog([](HWND dialog) { Click(dialog, IDC_CONFIG_OK); });
  RunConfigDialog([](HWND dialog) {
    for (int id : {IDC_REMOVE_ALL, IDC_OPEN_VERB, IDC_BROWSE_VERB}) Click(dialog, id);
    Click(dialog, IDC_CONFIG_CANCEL);
  });
  EXPECT_EQ(WaitForSingleObject(changed, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  RunConfigDialog([](HWND dialog) {
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_OPEN_VERB), 1u);  // the registry's state, not the abandoned one
    for (int id : {IDC_TYPE_OTHER, IDC_OPEN_VERB, IDC_BROWSE_VERB, IDC_CONFIG_OK}) Click(dialog, id);
  });
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kSettings, "otherap") + Value(HKEY_LOCAL_MACHINE, kSettings, "other"),
            "av.qpa;.qpb");
  EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".qpa") + Value(HKEY_CLASSES_ROOT, ".qpb"), "oldhandler");
  EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".qpb", "backup"), "<absent>");
  HKEY key;
  for (const char* verb : kVerbs)
    EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, verb, 0, KEY_READ, &key), 0) << verb;
}

// Only a 4-byte REG_DWORD is a count. The last row leaves the count at 1, so
// that later main windows are no first runs.
TEST_F(Shell, RunCounterReadsOnlyADword) {
  const struct {
    DWORD type, stored, size, runCount;
  } cases[] = {{REG_DWORD, 0xFFFFFFFF, 4, 0}, {REG_BINARY, 7, 2, 1}, {REG_SZ, '5', 2, 1}};
  for (const auto& c : cases) {
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSettings, "Times", c.type, &c.stored, c.size);
    CountRun();
    EXPECT_EQ(viewer.runCount, c.runCount) << c.type;
    DWORD stored = 0, size = sizeof stored;
    RegGetValueA(HKEY_LOCAL_MACHINE, kSettings, "Times", RRF_RT_REG_DWORD, nullptr, &stored, &size);
    EXPECT_EQ(stored, c.runCount) << c.type;
  }
}

}  // namespace
