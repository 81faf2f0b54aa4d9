#include "main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <cstring>

#include "../about/about.h"
#include "../document/document.h"
#include "../export/window_export.h"
#include "../raster/glyph_table.h"
#include "../document/slideshow.h"
#include "gallery.h"
#include "../view/view.h"
#include "../view/view_text.h"
#include "../resources/resource_ids.h"
#include "../shell/shell.h"
#include "../core/scroll_steps.h"
#include "../core/text_helpers.h"
#include "../text/status_text.h"
#include "../win32/settings.h"
#include "../win32/viewer_state.h"
#include "../view/window_layout.h"

// Zero-initialised so that the megabytes of buffers live in .bss, not in
// the executable file.
ViewerState viewer;
View view;
Settings settings;

void ResetMainWindowState() { ResetViewerState(viewer, view, settings); }

bool RegisterMainWindowClass(HINSTANCE instance) {
  viewer.appIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP_ICON));
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = kMainClassStyle;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = viewer.appIcon;
  windowClass.hIconSm = viewer.appIcon;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszMenuName = QP_MENU_NAME;
  windowClass.lpszClassName = QP_CLASS_NAME;
  return RegisterClassExA(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
  viewer.mainWindow = CreateWindowExA(kMainWindowExStyle, QP_CLASS_NAME, "Quillpane", kMainWindowStyle, 0, 0,
                                      0, 0, nullptr, nullptr, instance, nullptr);
  return viewer.mainWindow;
}

int RunMessageLoop(BOOL(WINAPI* getMessage)(LPMSG, HWND, UINT, UINT)) {
  MSG message = {};
  BOOL got;
  while ((got = getMessage(&message, nullptr, 0, 0)) > 0) {
    // The Find dialog is modeless: its keys (Tab, Enter, Escape) go to it.
    HWND find = FindDialogWindow();
    if (find != nullptr && IsDialogMessageA(find, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // -1: the loop failed and no quit message carries an exit code.
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

namespace {

// The screen's dots an inch (under Wine, its LogPixels setting); the
// program's manifest declares it DPI-aware, so this is the real one.
int32_t ScreenDpi() {
  const WindowDC screen(nullptr);
  return screen.get() != nullptr ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
}

void OnCreate(HWND window, HMENU menu) {
  // The handle arrives with the message before CreateWindowExA returns;
  // anything invalidated during creation needs it.
  viewer.mainWindow = window;
  viewer.appInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  viewer.statusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | 0x20, nullptr, window, IDC_STATUS_BAR);
  // The art keeps its size on a high-DPI screen: 8 pixels a cell at 96 DPI.
  view.cellWidth = view.cellHeight = StartZoomForDpi(ScreenDpi());
  SplitCommandLine(viewer);
  CountRun(settings);
  view.glyphSheet.Reset(LoadBitmapA(viewer.appInstance, MAKEINTRESOURCEA(IDB_GLYPH_SHEET)));
  view.activeFontCommand = 0;
  CheckMenuRadioItem(menu, IDM_BUILTIN_SHEET, IDM_BUILTIN_SHEET + 1, IDM_BUILTIN_SHEET, MF_BYCOMMAND);
  BuildGlyphTable(view.glyphTable);
  SyncSettings(view, viewer, settings, false);
  ReadViewSettings(settings);
  ShowColourModeSetting(viewer, settings);
  ShowFontSetting(viewer, settings);
  ShowPlaySpeedSetting(viewer, settings);
  ShowFitWidthSetting(view, viewer, settings);
  ShowSlideSpeedSetting(viewer, settings);
  LoadDocument(view, viewer, settings);
  DragAcceptFiles(window, TRUE);
  ShowWindow(window, SW_SHOW);
  // The window is still of zero size, so it has nothing to invalidate; ask
  // for a paint all the same, since the first paint gives it its size.
  InvalidateRect(window, nullptr, TRUE);
  RedrawWindow(window, nullptr, nullptr, RDW_INTERNALPAINT);
}

// The pixels `text` takes in the status bar's font, with the part's edges.
int32_t StatusTextWidth(const std::string& text) {
  const WindowDC dc(viewer.statusBar);
  if (dc.get() == nullptr) return 0;
  auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(viewer.statusBar, WM_GETFONT, 0, 0));
  const SelectedObject selected(dc.get(), font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size = {};
  GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx + 4 * GetSystemMetrics(SM_CXEDGE);
}

// Over a link the right part takes two thirds of the bar, so that the
// address shows, and beside a SAUCE summary; it gives them back when the
// pointer leaves the link. A note in the left part keeps its room.
void SetStatusParts(bool wide, int32_t noteTextWidth) {
  int32_t parts[2] = {StatusLeftEdge(viewer.statusParts[0] + kStatusRightPartWidth, kStatusRightPartWidth,
                                     wide, noteTextWidth),
                      -1};
  int32_t now[2] = {};
  SendMessageA(viewer.statusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(now));
  if (now[0] != parts[0]) SendMessageA(viewer.statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

// Sends a part's text only when it changes: a play asks at every frame.
void SetStatusText(int part, const std::string& text) {
  // The bar counts its text in UTF-16 units, and SB_GETTEXTA takes no size:
  // in this process's UTF-8 a unit may take three bytes (an em dash of a
  // note), so there is room for three a unit.
  const auto length = LOWORD(SendMessageA(viewer.statusBar, SB_GETTEXTLENGTHA, part, 0));
  std::string shown(3u * length + 1u, '\0');
  SendMessageA(viewer.statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(shown.data()));
  shown.resize(std::strlen(shown.c_str()));
  if (shown != text)
    SendMessageA(viewer.statusBar, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text.c_str()));
}

// A find's note replaces the one before; a message that made no find
// leaves it.
void TakeFindNote(const std::optional<std::string>& note) {
  if (note) std::snprintf(viewer.findNote, sizeof viewer.findNote, "%s", note->c_str());
}

// A Find's note stays until the next key or click: true when there was one.
bool ClearFindNote() {
  const bool had = viewer.findNote[0] != '\0';
  viewer.findNote[0] = '\0';
  return had;
}

void WriteStatusTexts() {
  std::string left;
  bool noted = false;
  if (viewer.findNote[0] != '\0') {
    left = viewer.findNote;
  } else {
    const Document& document = ShownDocument();
    // A scene format is not the text layout's to count: its length is the
    // bytes its screen was read from.
    const int64_t length = document.reading == Reading::kSceneFormat ? static_cast<int64_t>(document.Length())
                                                                     : document.laidOutLength;
    // A damaged entry of a pack, what of a colour screen's file could not
    // be read, and a play come first, where nothing cuts them off.
    const std::string play = PlayStatus();
    left = StatusLeftText(
        length, document.start.opened, settings.runCount,
        {LoadedDocumentWarning(document), document.note, play,
         FontStatusText(document)});
    noted = *LoadedDocumentWarning(document) != '\0' || !document.note.empty() || !play.empty();
  }
  // The right part: a link's address under the pointer, or the SAUCE
  // record's title, author and group before the place in the folder.
  const char* address = PointedLinkAddress();
  const std::string sauce = ShownSauce(ShownDocument()).summary;
  SetStatusParts(address != nullptr || !sauce.empty(), noted ? StatusTextWidth(left) : 0);
  SetStatusText(0, left);
  std::snprintf(viewer.statusText, sizeof viewer.statusText, "%d/%d",
                static_cast<int>((GalleryShown() ? GallerySelection() : viewer.browseIndex) + 1),
                static_cast<int>(viewer.browseLast + 1));
  const std::string right =
      address != nullptr ? address : (sauce.empty() ? "" : sauce + "   ") + viewer.statusText;
  SetStatusText(1, right);
}

void OnPaint(HWND window) {
  if (viewer.firstPaint) FirstPaintWork(viewer, view, settings);
  if (GalleryShown()) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintGallery(dc, view, viewer, paint.rcPaint);
    EndPaint(window, &paint);
    WriteStatusTexts();
    return;
  }
  // Rendering comes before BeginPaint, so that what the new layout
  // invalidates joins this paint.
  if (view.needsRender) RenderDocument(view, viewer, settings);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  PaintView(dc, view);
  EndPaint(window, &paint);
  WriteStatusTexts();
}

void OnSize(WPARAM wParam, LPARAM lParam) {
  viewer.statusParts[0] = LOWORD(lParam) - kStatusRightPartWidth;
  viewer.statusParts[1] = -1;
  SendMessageA(viewer.statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(viewer.statusParts));
  SendMessageA(viewer.statusBar, WM_SIZE, wParam, lParam);
  OnGallerySize(view, viewer);
}

// Full screen on or off; the menu's marks, which keys may have changed
// while the menu was away, are set again as it comes back.
void ToggleFullScreen() {
  SetFullScreen(view, viewer, !view.fullScreen);
  if (view.fullScreen) return;
  ShowColourModeSetting(viewer, settings);
  ShowFitWidthSetting(view, viewer, settings);
  ShowSlideSpeedSetting(viewer, settings);
}

void OnDestroy(HWND window) {
  // The windowed rectangle is the one kept for the next start.
  if (view.fullScreen) ToggleFullScreen();
  StopSlideshow(viewer);
  CloseGallery(view, viewer);
  StopScreenTimers(view, viewer);
  UpdateRecentFiles(viewer, settings, true);
  SyncSettings(view, viewer, settings, true);
  DragAcceptFiles(window, FALSE);
  view.glyphSheet.Reset();
  view.pageBitmap.Reset();
  viewer.backgroundBrush.Reset();
  SetForegroundWindow(GetWindow(window, GW_HWNDPREV));
  PostQuitMessage(0);
}

void OnKeyDown(HWND window, WPARAM key) {
  // A Find's note stays until the next key or click.
  if (ClearFindNote()) WriteStatusTexts();
  // A key stops a slideshow and does nothing else; Ctrl, Shift and Alt
  // alone do not stop it, so Ctrl+L stops it as it started it.
  if (SlideshowRunning() && key != VK_CONTROL && key != VK_SHIFT && key != VK_MENU) {
    StopSlideshow(viewer);
    return;
  }
  // Full screen holds the gallery too.
  if (key == VK_F11) {
    ToggleFullScreen();
    return;
  }
  if (GalleryShown()) {
    OnGalleryKey(view, viewer, settings, key);
    return;
  }
  switch (key) {
    case 'G': ToggleGallery(view, viewer, settings); break;  // Ctrl+G, or G alone
    case VK_ESCAPE:
      if (view.fullScreen) {
        ToggleFullScreen();
      } else {
        PostMessageA(window, WM_DESTROY, 0, 0);
      }
      break;
    case VK_PRIOR: BrowseStep(view, viewer, settings, -1); break;
    case VK_NEXT: BrowseStep(view, viewer, settings, +1); break;
    case VK_ADD: ZoomStep(view, viewer, +1); break;
    case VK_SUBTRACT: ZoomStep(view, viewer, -1); break;
    case VK_UP: OnVScroll(view, viewer, SB_LINEUP); break;
    case VK_DOWN: OnVScroll(view, viewer, SB_LINEDOWN); break;
    case VK_HOME: ScrollToPageEdge(view, viewer, false); break;
    case VK_END: ScrollToPageEdge(view, viewer, true); break;
    case 'A':  // Ctrl+Shift+A, for ANSI: free of the other keys and of Find's Ctrl+F and F3
      if (GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) < 0) ToggleColourMode(view, viewer, settings);
      break;
    case 'S':
      if (GetKeyState(VK_CONTROL) < 0) SaveShownDocumentAs(view, viewer, settings);
      break;
    case 'C':  // Ctrl+Shift+C: a plain Ctrl+C has nothing to copy, a drag copies its text at once
      if (GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) < 0) CopyShownPicture(view, viewer, settings);
      break;
    case 'I':
      if (GetKeyState(VK_CONTROL) < 0) ShowInformation(view, viewer, ShownDocument());
      break;
    case 'P':
      if (GetKeyState(VK_CONTROL) < 0) TogglePlay(view, viewer, settings);
      WriteStatusTexts();
      break;
    case VK_SPACE:
      PauseOrResumePlay(viewer);
      WriteStatusTexts();
      break;
    case 'F':
      if (GetKeyState(VK_CONTROL) < 0) OpenFindDialog(viewer);
      break;
    case 'L':
      if (GetKeyState(VK_CONTROL) < 0) ToggleSlideshow(viewer);
      break;
    case VK_F3:
      TakeFindNote(FindAgain(view, viewer, GetKeyState(VK_SHIFT) >= 0));
      WriteStatusTexts();
      break;
    default: break;
  }
}

void OnCommand(HWND window, WPARAM command) {
  if (command == IDM_GALLERY) {
    ToggleGallery(view, viewer, settings);
    return;
  }
  // Every other command acts on the piece: the gallery gives way to it.
  CloseGallery(view, viewer);
  switch (command) {
    case IDM_LOAD:
      if (const auto path = ChooseDocumentFile(viewer)) SwitchDocument(view, viewer, settings, path->c_str());
      return;
    case IDM_SAVE_AS: SaveShownDocumentAs(view, viewer, settings); return;
    case IDM_COPY_PICTURE: CopyShownPicture(view, viewer, settings); return;
    case IDM_EXIT: PostMessageA(window, WM_DESTROY, 0, 0); return;
    case IDM_CONFIG:
      DialogBoxParamA(viewer.appInstance, MAKEINTRESOURCEA(IDD_CONFIG), window, ConfigDialogProc,
                      reinterpret_cast<LPARAM>(viewer.programPath));
      return;
    case IDM_ABOUT:
      DialogBoxParamA(viewer.appInstance, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutDialogProc,
                      reinterpret_cast<LPARAM>(&viewer));
      return;
    case IDM_ANSI_COLOURS: ToggleColourMode(view, viewer, settings); return;
    case IDM_LETTERS_8:
    case IDM_LETTERS_9:
    case IDM_LETTERS_FILE:
    case IDM_ASPECT_SQUARE:
    case IDM_ASPECT_4_3:
    case IDM_ASPECT_FILE: ChooseLook(view, viewer, settings, static_cast<UINT>(command)); return;
    case IDM_INFORMATION: ShowInformation(view, viewer, ShownDocument()); return;
    case IDM_FIT_WIDTH: ToggleFitWidth(view, viewer, settings); return;
    case IDM_FULL_SCREEN: ToggleFullScreen(); return;
    case IDM_SLIDESHOW: ToggleSlideshow(viewer); return;
    case IDM_PLAY:
      TogglePlay(view, viewer, settings);
      WriteStatusTexts();
      return;
    default: break;
  }
  if (command >= IDM_FONT_FIRST && command <= IDM_FONT_LAST) {
    SelectScreenFont(view, viewer, settings, static_cast<UINT>(command));
    return;
  }
  if (command >= IDM_SLIDE_SPEED_FIRST && command <= IDM_SLIDE_SPEED_LAST) {
    SelectSlideSpeed(viewer, settings, static_cast<int>(command));
    return;
  }
  if (command >= IDM_SPEED_FIRST && command <= IDM_SPEED_FIRST + 5) {
    SelectPlaySpeed(viewer, settings, static_cast<int>(command));
    WriteStatusTexts();
    return;
  }
  GetWindowRect(window, &view.windowRect);
  if (command >= IDM_KEYMAP_FIRST && command <= IDM_KEYMAP_LAST) {
    SelectFontSheet(view, viewer, static_cast<int>(command));
  } else if (command >= IDM_RECENT_FIRST && command <= IDM_RECENT_LAST) {
    OpenRecentFile(view, viewer, settings, static_cast<int>(command));
  }
}

void OnButtonDown(LPARAM lParam) {
  if (ClearFindNote()) WriteStatusTexts();
  // A click that stops a slideshow does nothing else.
  if (SlideshowRunning()) {
    StopSlideshow(viewer);
    return;
  }
  if (GalleryShown()) {
    OnGalleryClick(view, viewer, settings, lParam, false);
    return;
  }
  // The selection and the links go by the windowed view's place.
  if (view.fullScreen) return;
  OnSelectionButtonDown(view, viewer, lParam);
  OnLinkButtonDown(view, lParam);
}

void OnMouseMove(LPARAM lParam) {
  if (view.fullScreen || GalleryShown()) return;
  OnSelectionMouseMove(view, viewer, lParam);
  if (OnLinkMouseMove(view, viewer, lParam)) WriteStatusTexts();
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HMENU menu = GetMenu(window);
  if (message == FindDialogMessage()) {
    TakeFindNote(OnFindDialogMessage(view, viewer, lParam));
    WriteStatusTexts();
    return 0;
  }
  if (message == kGalleryTileMessage) {
    OnGalleryTiles(view, viewer);
    return 0;
  }
  // The gallery takes the mouse; the piece's scroll bar waits for its return.
  if (GalleryShown()) {
    switch (message) {
      case WM_MOUSEWHEEL: OnGalleryWheel(view, viewer, wParam); return 0;
      case WM_LBUTTONDBLCLK: OnGalleryClick(view, viewer, settings, lParam, true); return 0;
      case WM_LBUTTONUP:
      case WM_VSCROLL: return 0;
      case WM_SETCURSOR: return DefWindowProcA(window, message, wParam, lParam);  // no link's hand
      case WM_DROPFILES: CloseGallery(view, viewer); break;
      default: break;
    }
  }
  switch (message) {
    case WM_CREATE: OnCreate(window, menu); return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_SIZE: OnSize(wParam, lParam); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    case WM_KEYDOWN: OnKeyDown(window, wParam); return 0;
    case WM_COMMAND: OnCommand(window, wParam); return 0;
    case WM_VSCROLL: OnVScroll(view, viewer, wParam); return 0;
    case WM_MOUSEWHEEL: OnMouseWheel(view, viewer, wParam); return 0;
    case WM_LBUTTONDOWN: OnButtonDown(lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
    case WM_ERASEBKGND:
      if (!view.fullScreen) return DefWindowProcA(window, message, wParam, lParam);
      // Full screen shows the art on black.
      {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      }
      return 1;
    case WM_LBUTTONUP:
      if (view.fullScreen) return 0;
      OnLinkButtonUp(view, viewer, lParam, OnSelectionButtonUp(view, viewer, lParam));
      return 0;
    case WM_MOUSELEAVE:
      if (OnLinkMouseLeave()) WriteStatusTexts();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window &&
          SetLinkCursor(view, viewer))
        return TRUE;
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_DROPFILES: OnDropFiles(view, viewer, settings, reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_RBUTTONDOWN: StopSlideshow(viewer); return 0;
    case WM_TIMER:
      if (wParam == kSlideTimer) {
        OnSlideTimer(view, viewer, settings);
        return 0;
      }
      OnScreenTimer(view, viewer, wParam);
      if (wParam == kPlayTimer) WriteStatusTexts();  // a play that ends says so
      return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}
