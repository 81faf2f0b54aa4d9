// View > Font: the items are made from the font families and code pages
// the program knows, so that the menu cannot drift from them.
#include <optional>
#include <string>

#include "../art/screen_font.h"
#include "../resources/resource_ids.h"
#include "../win32/settings.h"
#include "../win32/viewer_state.h"
#include "view.h"

namespace {

constexpr int kIbmFamilyCount = static_cast<int>(FontFamily::kIbmEga43) + 1;
constexpr int kFirstFontCommand = IDM_FONT_FIRST + 1;
// The IBM families' code pages, then one command for each other family.
constexpr int kLastFontCommand =
    kFirstFontCommand + kIbmFamilyCount * kCodePageCount + (kFontFamilyCount - kIbmFamilyCount) - 1;
static_assert(kLastFontCommand <= IDM_FONT_LAST, "every font has a command in 600-799");

// What each code page is for, after its number in the menu.
struct CodePageWords {
  int16_t codePage;
  const char* words;
};
const CodePageWords kCodePageWords[] = {
    {437, "US"},
    {720, "Arabic"},
    {737, "Greek"},
    {775, "Baltic"},
    {819, "Latin-1, ISO 8859-1"},
    {850, "Western European"},
    {852, "Central European"},
    {855, "Cyrillic"},
    {857, "Turkish"},
    {858, "Western European with euro"},
    {860, "Portuguese"},
    {861, "Icelandic"},
    {862, "Hebrew"},
    {863, "French Canadian"},
    {864, "Arabic"},
    {865, "Nordic"},
    {866, "Russian"},
    {869, "Greek"},
    {872, "Cyrillic with euro"},
};

std::string CodePageItemText(int16_t codePage) {
  std::string text = std::to_string(codePage);
  for (const CodePageWords& page : kCodePageWords)
    if (page.codePage == codePage) text += std::string(" (") + page.words + ")";
  return text;
}

// The command of a font the menu offers; 0 for one it does not (a code
// page that is not built in).
int FontCommand(const FontFace& face) {
  const int family = static_cast<int>(face.family);
  if (!IsIbmFamily(face.family))
    return kFirstFontCommand + kIbmFamilyCount * kCodePageCount + family - kIbmFamilyCount;
  const int index = CodePageIndex(face.codePage);
  return index < 0 ? 0 : kFirstFontCommand + family * kCodePageCount + index;
}

std::optional<FontFace> FontOfCommand(int command) {
  const int n = command - kFirstFontCommand;
  if (n < 0 || command > kLastFontCommand) return std::nullopt;
  if (n < kIbmFamilyCount * kCodePageCount)
    return FontFace{static_cast<FontFamily>(n / kCodePageCount), kCodePages[n % kCodePageCount]};
  return FontFace{static_cast<FontFamily>(n - kIbmFamilyCount * kCodePageCount + kIbmFamilyCount), 0};
}

// The command of the font `name` chooses: "as the file says" for an empty
// name, and also for one that names no font the menu offers (garbage
// stored, or a code page not built in), so that one item always carries
// the mark.
int CommandOfName(const std::string& name) {
  FontFace face;
  if (name.empty() || !ParseFontName(name.c_str(), name.size(), face)) return IDM_FONT_AS_FILE;
  const int command = FontCommand(face);
  return command != 0 ? command : IDM_FONT_AS_FILE;
}

void AppendRadioItem(HMENU menu, int command, const std::string& text) {
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
  item.fType = MFT_STRING | MFT_RADIOCHECK;
  item.wID = static_cast<UINT>(command);
  item.dwTypeData = const_cast<char*>(text.c_str());
  InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &item);
}

HMENU MakeFontMenu() {
  HMENU fonts = CreatePopupMenu();
  AppendRadioItem(fonts, IDM_FONT_AS_FILE, "As the &file says");
  AppendMenuA(fonts, MF_SEPARATOR, 0, nullptr);
  for (int family = 0; family < kIbmFamilyCount; ++family) {
    HMENU pages = CreatePopupMenu();
    for (int16_t codePage : kCodePages) {
      const FontFace face{static_cast<FontFamily>(family), codePage};
      AppendRadioItem(pages, FontCommand(face), CodePageItemText(codePage));
    }
    AppendMenuA(fonts, MF_POPUP, reinterpret_cast<UINT_PTR>(pages),
                FamilyInfo(static_cast<FontFamily>(family)).name);
  }
  AppendMenuA(fonts, MF_SEPARATOR, 0, nullptr);
  for (int family = kIbmFamilyCount; family < kFontFamilyCount; ++family) {
    const FontFace face{static_cast<FontFamily>(family), 0};
    AppendRadioItem(fonts, FontCommand(face), FamilyInfo(face.family).name);
  }
  return fonts;
}

// The position in `menu` of the submenu that holds `command`; -1 when none.
int SubmenuHolding(HMENU menu, UINT command) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (sub != nullptr && GetMenuState(sub, command, MF_BYCOMMAND) != static_cast<UINT>(-1)) return i;
  }
  return -1;
}

// One radio mark over the whole menu and its submenus: CheckMenuRadioItem
// keeps to one menu.
void MarkFont(HMENU menu, int chosen) {
  for (int command = IDM_FONT_AS_FILE; command <= kLastFontCommand; ++command)
    CheckMenuItem(menu, static_cast<UINT>(command),
                  MF_BYCOMMAND | (command == chosen ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

void ShowFontSetting(const ViewerState& viewer, Settings& settings) {
  HMENU menu = GetMenu(viewer.mainWindow);
  const int viewMenu = SubmenuHolding(menu, IDM_ANSI_COLOURS);
  if (viewMenu < 0) return;
  HMENU view = GetSubMenu(menu, viewMenu);
  // After 4:3 aspect; at the end should that ever be missing.
  const int aspect = SubmenuHolding(view, IDM_ASPECT_FILE);
  InsertMenuA(view, aspect < 0 ? static_cast<UINT>(-1) : static_cast<UINT>(aspect + 1),
              MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(MakeFontMenu()), "&Font");
  // The name as the menu writes it, whatever spelling was stored.
  const int chosen = CommandOfName(settings.font);
  settings.font = chosen == IDM_FONT_AS_FILE ? std::string() : FontFaceName(*FontOfCommand(chosen));
  MarkFont(menu, chosen);
}

bool SelectScreenFont(View& view, const ViewerState& viewer, Settings& settings, UINT command) {
  const int id = static_cast<int>(command);
  if (id == IDM_FONT_AS_FILE) {
    settings.font.clear();
  } else if (const std::optional<FontFace> face = FontOfCommand(id)) {
    settings.font = FontFaceName(*face);
  } else {
    return false;
  }
  MarkFont(GetMenu(viewer.mainWindow), id);
  WriteFont(settings);
  RenderAgain(view, viewer);
  return true;
}
