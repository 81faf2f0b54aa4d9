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

RECT DialogUnits(HWND dialog, int x, int y, int w, int h) {
  RECT rect = {x, y, w, h};
  MapDialogRect(dialog, &rect);
  return {rect.left, rect.top, rect.left + rect.right, rect.top + rect.bottom};  // as controls are placed
}

TEST_F(Shell, DialogAsItsTemplateMakesIt) {
  RunConfigDialog([](HWND dialog) {
    char text[64];
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ(text, "Quillpane Configuration");
    // Wine clips a captioned pop-up's siblings of its own accord.
    EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & ~WS_CLIPSIBLINGS,
              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_3DLOOK | DS_SETFOREGROUND |
                  DS_SETFONT);
    // The client area is placed from the owner's, not centred.
    RECT rect, expected = DialogUnits(dialog, -1, 4, 340, 125);
    GetClientRect(dialog, &rect);
    MapWindowPoints(dialog, GetWindow(dialog, GW_OWNER), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_TRUE(EqualRect(&rect, &expected));
    struct Control {
      int id;
      const char *className, *text;  // text nullptr: a combo box shows none
      DWORD style;                   // the low word, the class's own styles
      int x, y, w, h;
    };
    const DWORD check = BS_AUTOCHECKBOX, push = BS_PUSHBUTTON, group = BS_GROUPBOX,
                combo = CBS_DROPDOWN | CBS_SORT;
    const Control controls[] = {
        {1021, "Button", "File types", group, 4, 9, 232, 95},
        {1002, "Button", "NFO", check, 12, 20, 44, 13},
        {1003, "Button", "DIZ", check, 12, 32, 32, 13},
        {1004, "Button", "ANS", check, 12, 46, 32, 9},
        {1005, "Button", "ASC", check, 12, 58, 32, 8},
        {1006, "Button", "Other:", check, 12, 68, 36, 17},
        {1007, "Edit", "", ES_READONLY, 48, 69, 60, 13},  // no ES_AUTOHSCROLL
        {1020, "Static", "( t.ex. .nfo; .diz )", SS_LEFT, 56, 82, 52, 8},
        {1014, "Static", "iNFO Text", SS_LEFT, 120, 20, 36, 9},
        {1015, "Static", "Description In Zip", SS_LEFT, 120, 32, 56, 9},
        {1016, "Static", "ANSi text", SS_LEFT, 120, 44, 32, 9},
        {1017, "Static", "Ascii text", SS_LEFT, 120, 58, 48, 9},
        {1009, "Button", "Select &all", push, 188, 60, 40, 17},
        {1008, "Button", "&Remove all", push, 188, 82, 40, 17},
        {1022, "Button", "Commands to add", group, 240, 9, 96, 43},
        {1000, "Button", "Open with Quillpane", check, 248, 22, 76, 12},
        {1001, "Button", "Browse with Quillpane", check, 248, 32, 84, 12},
        {1023, "Button", "Font Size", group, 240, 56, 96, 48},
        {1018, "Static", "xsize", SS_LEFT, 256, 69, 24, 7},
        {1019, "Static", "ysize", SS_LEFT, 300, 68, 24, 12},
        {1012, "ComboBox", nullptr, combo, 248, 80, 36, 13},
        {1013, "ComboBox", nullptr, combo, 292, 80, 36, 13},
        {1010, "Button", "OK", push, 228, 108, 50, 14},
        {1011, "Button", "Cancel", push, 284, 108, 50, 14},
    };
    for (const Control& c : controls) {
      HWND control = GetDlgItem(dialog, c.id);
      GetClassNameA(control, text, sizeof text);
      EXPECT_STREQ(text, c.className) << c.id;
      GetWindowTextA(control, text, sizeof text);
      EXPECT_STREQ(text, c.text ? c.text : text) << c.id;
      EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & 0xFFFF, c.style) << c.id;
      GetWindowRect(control, &rect);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
      expected = DialogUnits(dialog, c.x, c.y, c.w, c.h);
      if (c.text == nullptr) expected.bottom = rect.bottom;  // as tall as its edit field until it drops
      EXPECT_TRUE(EqualRect(&rect, &expected)) << c.id;
    }
    // Enter and Escape leave it open; the close box ends it.
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
