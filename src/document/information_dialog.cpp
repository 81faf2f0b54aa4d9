// File > Information: every field of the shown file's SAUCE record and its
// comment lines, or that it has none.
#include <string>

#include "../resources/resource_ids.h"
#include "../view/view.h"
#include "../win32/viewer_state.h"
#include "document.h"

std::string InformationText() {
  const SauceDescription sauce = ShownSauce();
  if (!sauce.present) return "This file carries no SAUCE record.";
  std::string text;
  for (const auto& [name, value] : sauce.fields) text += name + ":\t" + value + "\r\n";
  return text;
}

namespace {

INT_PTR CALLBACK InformationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      SetDlgItemTextA(dialog, IDC_INFORMATION_TEXT, InformationText().c_str());
      // Tab stops that line the values up after the names.
      const int stops[] = {56};
      SendDlgItemMessageA(dialog, IDC_INFORMATION_TEXT, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void ShowInformation() {
  DialogBoxParamA(viewer.appInstance, MAKEINTRESOURCEA(IDD_INFORMATION), viewer.mainWindow,
                  InformationDialogProc, 0);
}
