#include <cstring>
#include <string>

#include "../win32/handles.h"
#include "../win32/settings.h"
#include "../win32/viewer_state.h"
#include "../resources/resource_ids.h"
#include "shell.h"
#include "shell_registry.h"
#include "shell_rules.h"

MessageBoxFunction configMessageBox = MessageBoxA;

namespace {

// The five file-type boxes, IDC_TYPE_NFO to IDC_TYPE_OTHER, in this order.
constexpr int kTypeCount = 5;
constexpr int kOther = 4;
const char* const kBuiltInTypes[4] = {".NFO", ".DIZ", ".ANS", ".ASC"};

constexpr char kOpenVerb[] = "*\\shell\\Open with Quillpane";
constexpr char kOpenVerbCommand[] = "*\\shell\\Open with Quillpane\\command";
constexpr char kFolderBrowseVerb[] = "Directory\\shell\\Browse with Quillpane";
constexpr char kFolderBrowseCommand[] = "Directory\\shell\\Browse with Quillpane\\command";
constexpr char kDriveBrowseVerb[] = "Drive\\shell\\Browse with Quillpane";
constexpr char kDriveBrowseCommand[] = "Drive\\shell\\Browse with Quillpane\\Command";

// The registry's state when the dialog opened and the user's choices since;
// cleared whenever the dialog ends, so the next opening starts from the
// registry again.
struct AssocFlags {
  int32_t initialType[kTypeCount];
  int32_t currentType[kTypeCount];
  int32_t initialOpen, initialBrowse;
  int32_t currentOpen, currentBrowse;
};
AssocFlags assocFlags;

// The "other" value as read at opening, and whether it was refused.
// The program path the verbs register, given with the dialog's opening.
const char* registeredProgram = "";
char otherExtensions[100];
bool otherRefused;

int32_t KeyExists(const char* path) {
  return RegistryKey(OpenKey(HKEY_CLASSES_ROOT, path)) ? 1 : 0;
}

// A refused stored list is never replaced, so the box never takes typing.
void SetEditable(HWND dialog, int32_t editable) {
  SendDlgItemMessageA(dialog, IDC_OTHER_LIST, EM_SETREADONLY, editable && !otherRefused ? FALSE : TRUE, 0);
}

void ReadSettings() {
  otherExtensions[0] = '\0';
  otherRefused = false;
  if (ReadOtherTicked()) assocFlags.initialType[kOther] = assocFlags.currentType[kOther] = 1;
  char text[kOtherTextSize];
  // A stored list longer than the 80-byte buffer, or not text, is refused,
  // not cut: a cut piece would name another extension. The dialog then
  // shows an empty list that cannot be edited, and OK leaves the stored
  // value alone, and the extensions it names held with their backups:
  // replacing it would leave them held with nothing naming them.
  switch (ReadOtherList(text, sizeof text)) {
    case TextRead::kRead: std::memcpy(otherExtensions, text, sizeof text); break;
    case TextRead::kRefused: otherRefused = true; break;
    case TextRead::kAbsent: break;
  }
}

void OnInitDialog(HWND dialog) {
  for (int i = 0; i < 4; ++i) {
    if (TestAssociation(kBuiltInTypes[i]) == 0) assocFlags.initialType[i] = assocFlags.currentType[i] = 1;
  }
  // Only the folder's Browse verb is consulted; the drive's goes with it.
  assocFlags.initialBrowse = assocFlags.currentBrowse = KeyExists(kFolderBrowseCommand);
  assocFlags.initialOpen = assocFlags.currentOpen = KeyExists(kOpenVerbCommand);
  ReadSettings();

  for (int i = 0; i < kTypeCount; ++i) CheckDlgButton(dialog, IDC_TYPE_NFO + i, assocFlags.initialType[i]);
  CheckDlgButton(dialog, IDC_OPEN_VERB, assocFlags.initialOpen);
  CheckDlgButton(dialog, IDC_BROWSE_VERB, assocFlags.initialBrowse);
  // The box never holds more than the 80-byte buffer takes whole.
  SendDlgItemMessageA(dialog, IDC_OTHER_LIST, EM_LIMITTEXT, kOtherTextSize - 1, 0);
  SetEditable(dialog, assocFlags.initialType[kOther]);
  SetDlgItemTextA(dialog, IDC_OTHER_LIST, otherExtensions);
}

void SetAllTypes(HWND dialog, int32_t on) {
  for (int i = 0; i < kTypeCount; ++i) {
    CheckDlgButton(dialog, IDC_TYPE_NFO + i, on ? BST_CHECKED : BST_UNCHECKED);
    assocFlags.currentType[i] = on;
  }
}

void ApplyVerbs() {
  if (assocFlags.currentBrowse != assocFlags.initialBrowse) {
    if (assocFlags.currentBrowse) {
      WriteShellValue(kFolderBrowseCommand, ShellValue::kFolderCommand, KEY_ALL_ACCESS, registeredProgram);
      WriteShellValue(kDriveBrowseCommand, ShellValue::kOpenCommand, KEY_ALL_ACCESS, registeredProgram);
    } else {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, kFolderBrowseCommand);
      RegDeleteKeyA(HKEY_CLASSES_ROOT, kFolderBrowseVerb);
      RegDeleteKeyA(HKEY_CLASSES_ROOT, kDriveBrowseCommand);
      RegDeleteKeyA(HKEY_CLASSES_ROOT, kDriveBrowseVerb);
    }
  }
  if (assocFlags.currentOpen != assocFlags.initialOpen) {
    if (assocFlags.currentOpen) {
      WriteShellValue(kOpenVerbCommand, ShellValue::kOpenCommand, KEY_ALL_ACCESS, registeredProgram);
    } else {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, kOpenVerbCommand);
      RegDeleteKeyA(HKEY_CLASSES_ROOT, kOpenVerb);
    }
  }
}

// Names the pieces of the typed list that were refused, and why; the rest
// of the list is applied as usual.
void ReportRefused(HWND dialog, const ExtensionList& refused) {
  std::string message = "These were left out of the Other list:";
  for (const std::string& piece : refused) message += " " + piece;
  message +=
      "\n\nQuillpane does not take over executable types (.exe, .com, .bat, .cmd, .lnk, .pif, .scr), "
      "or programs would no longer start, nor names holding a backslash, which are not extensions.";
  configMessageBox(dialog, message.c_str(), "Quillpane Configuration", MB_OK | MB_ICONWARNING);
}

void ApplyOtherList(HWND dialog) {
  const int32_t initialOther = assocFlags.initialType[kOther], currentOther = assocFlags.currentType[kOther];
  if (currentOther != initialOther) WriteOtherTicked(currentOther != 0);
  if (otherRefused) return;

  // The box takes at most 79 characters, but in the UTF-8 code page a
  // character may take up to 4 bytes: a line longer than the buffer would
  // arrive cut, its last extension turned into another one. It is refused
  // whole and the stored list is left as it is.
  if (GetWindowTextLengthA(GetDlgItem(dialog, IDC_OTHER_LIST)) >= kOtherTextSize) {
    configMessageBox(dialog, "The list of other extensions is too long to keep; it was left as it was.",
                     "Quillpane Configuration", MB_OK | MB_ICONWARNING);
    return;
  }
  char text[kOtherTextSize] = "";
  GetDlgItemTextA(dialog, IDC_OTHER_LIST, text, sizeof text);
  const ExtensionList oldList = SplitStoredList(otherExtensions);
  ExtensionList refused;
  const ExtensionList newList = currentOther ? ParseTypedList(text, &refused) : ExtensionList();
  if (!refused.empty()) ReportRefused(dialog, refused);
  // While the switch is off the stored list is kept for the next time.
  const std::string joined = currentOther ? JoinList(newList) : std::string(otherExtensions);
  if (joined != otherExtensions) WriteOtherList(joined.c_str());

  const OtherChanges changes = PlanOtherChanges(oldList, newList, initialOther != 0, currentOther != 0);
  for (const std::string& extension : changes.takeOver) SetAssociation(1, extension.c_str());
  for (const std::string& extension : changes.giveBack) SetAssociation(0, extension.c_str());
}

// Applies exactly what differs from the registry's state at opening.
void Apply(HWND dialog) {
  for (int i = 0; i < 4; ++i) {
    if (assocFlags.currentType[i] != assocFlags.initialType[i]) {
      SetAssociation(assocFlags.currentType[i], kBuiltInTypes[i]);
    }
  }
  ApplyVerbs();
  ApplyOtherList(dialog);
}

void EndConfigDialog(HWND dialog, INT_PTR result) {
  assocFlags = AssocFlags();
  EndDialog(dialog, result);
}

void OnCommand(HWND dialog, WPARAM wParam) {
  const int id = LOWORD(wParam);
  // The boxes check and clear themselves; the flags follow each click.
  switch (id) {
    case IDC_OPEN_VERB: assocFlags.currentOpen ^= 1; return;
    case IDC_BROWSE_VERB: assocFlags.currentBrowse ^= 1; return;
    case IDC_TYPE_NFO:
    case IDC_TYPE_DIZ:
    case IDC_TYPE_ANS:
    case IDC_TYPE_ASC: assocFlags.currentType[id - IDC_TYPE_NFO] ^= 1; return;
    case IDC_TYPE_OTHER:
      assocFlags.currentType[kOther] ^= 1;
      SetEditable(dialog, assocFlags.currentType[kOther]);
      return;
    case IDC_REMOVE_ALL: SetAllTypes(dialog, 0); return;
    case IDC_SELECT_ALL: SetAllTypes(dialog, 1); return;
    case IDC_CONFIG_OK:
      Apply(dialog);
      EndConfigDialog(dialog, wParam);
      return;
    case IDC_CONFIG_CANCEL: EndConfigDialog(dialog, wParam); return;
    default: return;  // Enter and Escape among them
  }
}

}  // namespace

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      // Opened without a path, the verbs register nothing.
      registeredProgram = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
      OnInitDialog(dialog);
      return TRUE;
    case WM_COMMAND: OnCommand(dialog, wParam); return TRUE;
    case WM_CLOSE: EndConfigDialog(dialog, 0); return TRUE;
    default: return FALSE;
  }
}
