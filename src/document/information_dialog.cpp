// File > Information: every field of the shown file's SAUCE record and its
// comment lines, or that it has none, and the font the page is drawn in.
#include <cstring>
#include <string>

#include "../art/ansi_screen.h"
#include "../art/screen_font.h"
#include "../resources/resource_ids.h"
#include "../view/view.h"
#include "../win32/viewer_state.h"
#include "document.h"

namespace {

// The Keymap sheet's name as its item shows it after the number.
std::string KeymapSheetName(const View& view, const ViewerState& viewer) {
  const UINT item =
      view.activeFontCommand != 0 ? static_cast<UINT>(view.activeFontCommand) : IDM_BUILTIN_SHEET;
  char text[128] = {};
  GetMenuStringA(GetMenu(viewer.mainWindow), item, text, sizeof text, MF_BYCOMMAND);
  const char* name = std::strstr(text, ". ");
  return name != nullptr ? name + 2 : text;
}

// The font the page is drawn in, and what the record names when that is
// not where the font came from: its own font, the chosen one (a colour
// screen's, or the text layout's where its characters are not code page
// 437's) or the Keymap sheet.
std::string FontLine(const View& view, const ViewerState& viewer, const Document& document,
                     const std::string* recordFont) {
  std::string shown;
  bool fromChoice = false;
  if (document.Colour() && document.screen.screen.font != nullptr) {
    shown = "the file's own font";
  } else if (document.DrawnInItsFont()) {
    shown = ChosenFontText(document.font);
    fromChoice = true;
  } else {
    shown = KeymapSheetName(view, viewer);
  }
  if (recordFont != nullptr) {
    if (recordFont->empty())
      shown += " (the record names none)";
    else if (!fromChoice || document.font.askedName != *recordFont)
      shown += " (the record names " + *recordFont + ")";
  }
  return "Font:\t" + shown;
}

}  // namespace

std::string InformationText(const View& view, const ViewerState& viewer, const Document& document) {
  const SauceDescription sauce = ShownSauce(document);
  if (!sauce.present)
    return "This file carries no SAUCE record.\r\n" + FontLine(view, viewer, document, nullptr);
  std::string text;
  for (const auto& [name, value] : sauce.fields)
    text += (name == "Font" ? FontLine(view, viewer, document, &value) : name + ":\t" + value) + "\r\n";
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
