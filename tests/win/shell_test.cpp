// Associations, the Configuration dialog and the run counter, in the registry.
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "win32/viewer_state.h"
#include "resources/resource_ids.h"
#include "shell/shell.h"

namespace {

const char* const kVerbs[] = {"*\\shell\\Open with Quillpane", "Directory\\shell\\Browse with Quillpane",
                              "Drive\\shell\\Browse with Quillpane"};

std::string Value(const std::string& key, const char* name = "") {
  return RegText(HKEY_CLASSES_ROOT, key, name);
}
std::string Setting(const char* name) { return RegText(HKEY_LOCAL_MACHINE, kSettingsKey, name); }
std::string Handlers(const char* extension) { return Value(extension) + "," + Value(extension, "backup"); }

TEST(Shell, AssociationRoundTrips) {
  const std::string longName(120, 'x'), longBackup(150, 'y');
  // Handler and backup before ("-": none), steps (t: take over, g: give back), then held, handler, backup.
  const std::string cases[][4] = {
      {"quillpane", "-", "", "0 quillpane,-"},                      // another letter case
      {"txtfile", "-", "ttg", "0 txtfile,-"},                       // the second take keeps the first backup
      {"txtfile", "-", "g", "0 txtfile,-"},                         // no backup: nothing changes
      {longName, "-", "t", "0 " + longName + ",-"},                 // never the identifier, never replaced
      {"Quillpane", "txtfile", "g", "0 txtfile,-"},                 // taken by a version that kept no record
      {"Quillpane", longBackup, "g", "1 Quillpane," + longBackup},  // never given back in part
  };
  for (const auto& c : cases) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".qpa");
    RegSetValueA(HKEY_CLASSES_ROOT, ".qpa", REG_SZ, c[0].c_str(), 0);
    if (c[1] != "-")
      RegSetKeyValueA(HKEY_CLASSES_ROOT, ".qpa", "backup", REG_SZ, c[1].c_str(), c[1].size() + 1);
    for (char step : c[2]) SetAssociation(step == 't', ".QPA");
    EXPECT_EQ(std::to_string(TestAssociation(".qpa") == 0) + " " + Handlers(".qpa"), c[3]) << c[2];
  }
}

// The Configuration dialog through the user's steps (typing `typed` on the Other box), the last ending it.
void RunDialog(const std::vector<int>& steps, const std::string& typed) {
  HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_CONFIG), nullptr, ConfigDialogProc,
                                   reinterpret_cast<LPARAM>(viewer.programPath));
  ShowWindow(dialog, SW_SHOW);
  for (int step : steps) {
    for (MSG press :
         {MSG{dialog, WM_KEYDOWN, VK_RETURN, 0, 0, {}}, MSG{dialog, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}}})
      IsDialogMessageA(dialog, &press);
    EXPECT_TRUE(IsWindowVisible(dialog)) << step;  // Enter and Escape never end it
    if (step != IDC_OTHER_LIST) {
      SendDlgItemMessageA(dialog, step, BM_CLICK, 0, 0);
    } else if (std::any_of(typed.begin(), typed.end(), [](char c) { return c & 0x80; })) {
      SetDlgItemTextA(dialog, step, typed.c_str());  // characters of several bytes are pasted whole
    } else {
      for (char key : typed) SendDlgItemMessageA(dialog, step, WM_CHAR, key, 0);
    }
  }
  EXPECT_FALSE(IsWindowVisible(dialog));
  DestroyWindow(dialog);
}

TEST(Shell, DialogAppliesOnlyWhatChanged) {
  for (const char* key : {".qpa", ".qpb", kVerbs[0], kVerbs[1], kVerbs[2]})
    RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
  for (const char* name : {"other", "otherap"}) RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, name);
  RegSetValueA(HKEY_CLASSES_ROOT, ".qpb", REG_SZ, "txtfile", 0);
  lstrcpyA(viewer.programPath, "C:\\Program Files\\Quillpane\\quillpane.exe");
  const std::string command = std::string("\"") + viewer.programPath + "\" %1";
  const std::string held =
      "Quillpane,-|Quillpane,txtfile|pa|.qpa;.qpb|" + command + "|" + command + "\\|" + command + "|";
  const std::pair<std::vector<int>, std::string> runs[] = {
      // The first typing comes while the box is read-only, Other being off.
      {{IDC_OTHER_LIST, IDC_TYPE_OTHER, IDC_OPEN_VERB, IDC_BROWSE_VERB, IDC_OTHER_LIST, IDC_CONFIG_OK}, held},
      {{IDC_CONFIG_OK}, held},
      {{IDC_REMOVE_ALL, IDC_OPEN_VERB, IDC_BROWSE_VERB, IDC_CONFIG_CANCEL}, held},
      // The dialog starts from the registry, not from the abandoned choices.
      {{IDC_TYPE_OTHER, IDC_OPEN_VERB, IDC_BROWSE_VERB, IDC_CONFIG_OK}, "-,-|txtfile,-|av|.qpa;.qpb|-|-|-|"},
  };
  for (const auto& run : runs) {
    RunDialog(run.first, ".QPA;*.qpb;.nfo");
    std::string state;  // what the dialog governs: two extensions, the Other switch and list, the verbs
    for (const char* extension : {".qpa", ".qpb"}) state += Handlers(extension) + "|";
    for (const char* name : {"otherap", "other"}) state += Setting(name) + "|";
    for (const char* verb : kVerbs) state += Value(std::string(verb) + "\\command") + "|";
    EXPECT_EQ(state, run.second);
  }
  HKEY key;
  for (const char* verb : kVerbs) EXPECT_NE(RegOpenKeyA(HKEY_CLASSES_ROOT, verb, &key), 0) << verb;
}

// An extension's key as stored: each value's name, type and bytes, in name order; "no key" when there is
// none.
std::string KeyContents(const char* extension) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension, 0, KEY_READ, &key) != 0) return "no key";
  std::set<std::string> values;  // in name order
  wchar_t name[64];
  BYTE data[512];
  DWORD nameSize = 64, type = 0, size = sizeof data;
  while (RegEnumValueW(key, values.size(), name, &nameSize, nullptr, &type, data, &size) == 0) {
    std::string value = std::string(name, name + nameSize) + " " + std::to_string(type) + ":";
    for (DWORD i = 0; i < size; ++i)
      value += data[i] >= ' ' && data[i] < 127 ? std::string(1, data[i]) : "\\" + std::to_string(data[i]);
    values.insert(value);
    nameSize = 64, size = sizeof data;
  }
  RegCloseKey(key);
  std::string joined;
  for (const std::string& value : values) joined += value + "; ";
  return joined;
}

// Taking every type over and giving it back leaves each key exactly as it was: values the program did not
// write, no default value, no key, a default value of another type or holding a zero.
TEST(Shell, GiveBackRestoresEachKeyExactly) {
  const char* const extensions[] = {".nfo", ".ans", ".diz", ".asc", ".doc"};
  for (const char* extension : extensions) RegDeleteTreeA(HKEY_CLASSES_ROOT, extension);
  for (const char* name : {"other", "otherap"}) RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, name);
  const auto set = [](const char* extension, const char* name, DWORD type, const std::string& data) {
    RegSetKeyValueA(HKEY_CLASSES_ROOT, extension, name, type, data.data(), data.size());
  };
  set(".nfo", nullptr, REG_SZ, std::string("nfofile", 8));
  set(".nfo", "backup", REG_SZ, std::string("someone else's", 15));
  set(".nfo", "Content Type", REG_SZ, std::string("text/plain", 11));
  HKEY key;
  RegCreateKeyA(HKEY_CLASSES_ROOT, ".ans", &key);
  RegCloseKey(key);
  set(".asc", nullptr, REG_EXPAND_SZ, std::string("%ascfile%", 10));
  set(".doc", nullptr, REG_SZ, std::string("docfile\0old", 12));
  std::vector<std::string> before;
  for (const char* extension : extensions) before.push_back(KeyContents(extension));

  RunDialog({IDC_SELECT_ALL, IDC_TYPE_OTHER, IDC_TYPE_OTHER, IDC_OTHER_LIST, IDC_CONFIG_OK}, ".doc");
  for (const char* extension : extensions) EXPECT_EQ(TestAssociation(extension), 0) << extension;
  EXPECT_EQ(Value(".nfo", "backup"), "someone else's");
  RunDialog({IDC_REMOVE_ALL, IDC_CONFIG_OK}, "");
  for (size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(KeyContents(extensions[i]), before[i]) << extensions[i];
  for (const char* extension : extensions)
    RegDeleteTreeA(HKEY_CLASSES_ROOT, extension);  // for the later tests
}

// Another instance's take-over (or give-back) runs in the middle of a give-back (or take-over): before its
// first, second or third change to the key. Whatever the outcome, a give-back afterwards restores the key.
int changesBeforeOther;
int32_t otherInstanceOn;
void OtherInstance(const char* extension) {
  if (--changesBeforeOther == 0) SetAssociation(otherInstanceOn, extension);
}

TEST(Shell, AnotherInstanceNeverDropsTheRecord) {
  for (int32_t on : {0, 1}) {
    for (int changes = 1; changes <= 3; ++changes) {
      RegDeleteTreeA(HKEY_CLASSES_ROOT, ".qpa");
      RegSetValueA(HKEY_CLASSES_ROOT, ".qpa", REG_SZ, "txtfile", 0);
      const std::string before = KeyContents(".qpa");
      if (!on) SetAssociation(1, ".qpa");
      changesBeforeOther = changes;
      otherInstanceOn = !on;
      beforeAssociationChange = OtherInstance;
      SetAssociation(on, ".qpa");
      beforeAssociationChange = nullptr;
      SetAssociation(0, ".qpa");
      EXPECT_EQ(KeyContents(".qpa"), before) << "on " << on << ", other before change " << changes;
    }
  }
}

std::string messages;
int WINAPI RecordMessage(HWND, LPCSTR text, LPCSTR, UINT) {
  messages += text;
  return IDOK;
}

// A stored Other list that was refused, and refused typed pieces, are left alone; a message names the typed.
TEST(Shell, OtherListLeavesTheRefusedAlone) {
  configMessageBox = RecordMessage;
  const std::string tooLong = ".qpa;" + std::string(80, 'x');
  std::string cyrillic;
  for (int i = 0; i < 45; ++i) cyrillic += "\xD0\xB6";
  // The stored list ("-": none) and the typing; then the stored list, .qpa's
  // handler and backup, what .qpb holds, and the message's first line.
  const std::string cases[][3] = {
      {tooLong, ".qpb", tooLong + "|-,-|no key|"},
      {"-", ".qpa;.EXE;.qpb\\i",
       ".qpa|Quillpane,-|no key|These were left out of the Other list: .exe .qpb\\i"},
      // 51 characters, 96 bytes in UTF-8: more than the list's buffer holds.
      {"-", ".qpa;." + cyrillic,
       "-|-,-|no key|The list of other extensions is too long to keep; it was left as it was."},
  };
  for (const auto& c : cases) {
    for (const char* extension : {".qpa", ".qpb"}) RegDeleteTreeA(HKEY_CLASSES_ROOT, extension);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "other");
    if (c[0] != "-")
      RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "other", REG_SZ, c[0].c_str(), c[0].size() + 1);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "otherap", REG_SZ, "pa", 3);
    messages.clear();
    RunDialog({IDC_OTHER_LIST, IDC_CONFIG_OK}, c[1]);
    EXPECT_EQ(Setting("other") + "|" + Handlers(".qpa") + "|" + KeyContents(".qpb") + "|" +
                  messages.substr(0, messages.find('\n')),
              c[2]);
  }
  configMessageBox = MessageBoxA;
}

// Only a 4-byte REG_DWORD is a count, anything else none: type, data, size, the count a second start shows.
TEST(Shell, RunCounterReadsOnlyADword) {
  const DWORD cases[][4] = {{REG_DWORD, 0xFFFFFFFF, 4, 1}, {REG_BINARY, 7, 4, 2}, {REG_DWORD, 7, 2, 2}};
  for (const auto& c : cases) {
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "Times", c[0], &c[1], c[2]);
    CountRun(settings);
    CountRun(settings);  // reads what the first start stored
    EXPECT_EQ(settings.runCount, c[3]) << c[0] << " " << c[2];
  }
}

}  // namespace
