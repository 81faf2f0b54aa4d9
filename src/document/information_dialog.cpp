// File > Information: every field of the shown file's SAUCE record and its
// comment lines, or that it has none.
#include <cstring>
#include <string>

#include "../art/ansi_screen.h"
#include "../resources/resource_ids.h"
#include "../view/view.h"
#include "../win32/viewer_state.h"
#include "document.h"

namespace {

// The font the page is drawn in: a colour screen's, or the Keymap sheet's
// name as its item shows it after the number.
std::string ShownFontName(const View& view, const ViewerState& viewer) {
  if (const AnsiScreen* screen = ShownAnsiScreen())
    return ScreenFontName(screen->cellHeight, screen->font != nullptr);
  const UINT item =
      view.activeFontCommand != 0 ? static_cast<UINT>(view.activeFontCommand) : IDM_BUILTIN_SHEET;
  char text[128] = {};
  GetMenuStringA(GetMenu(viewer.mainWindow), item, text, sizeof text, MF_BYCOMMAND);
  const char* name = std::strstr(text, ". ");
  return name != nullptr ? name + 2 : text;
}

}  // namespace

std::string InformationText(const View& view, const ViewerState& viewer, const Document& document) {
  const SauceDescription sauce = ShownSauce(document);
  if (!sauce.present) return "This file carries no SAUCE record.";
  std::string text;
  for (const auto& [name, value] : sauce.fields) {
    // A record that names no font is shown in one all the same: that one.
    const bool unnamedFont = name == "Font" && value.empty();
    text += name + ":\t" + (unnamedFont ? ShownFontName(view, viewer) + " (the record names none)" : value) +
            "\r\n";
  }
  return text;
}

namespace {

INT_PTR CALLBACK InformationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      // The text comes with the dialog: ShowInformation's, alive while the dialog runs.
      SetDlgItemTextA(dialog, IDC_INFORMATION_TEXT, reinterpret_cast<const char*>(lParam));
      // Tab stops that line the values up after the names.
      const int stops[] = {56};
      SendDlgItemMessageA(dialog, IDC_INFORMATION_TEXT, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops));
      // The text has the focus, for its scroll keys, with nothing selected:
      // the dialog's own choice of focus would select all of it.
      SetFocus(GetDlgItem(dialog, IDC_INFORMATION_TEXT));
      SendDlgItemMessageA(dialog, IDC_INFORMATION_TEXT, EM_SETSEL, 0, 0);
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void ShowInformation(const View& view, const ViewerState& viewer, const Document& document) {
  const std::string text = InformationText(view, viewer, document);
  DialogBoxParamA(viewer.appInstance, MAKEINTRESOURCEA(IDD_INFORMATION), viewer.mainWindow,
                  InformationDialogProc, reinterpret_cast<LPARAM>(text.c_str()));
}
