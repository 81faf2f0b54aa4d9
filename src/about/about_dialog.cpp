#include "about.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "../win32/viewer_state.h"
#include "../resources/resource_ids.h"

AboutState aboutState;
ShellExecuteFunction aboutShellExecute = ShellExecuteA;

namespace {

constexpr int32_t kRoleY = 10;
constexpr int32_t kNameY = 30;
constexpr int32_t kLogoWidth = 141;
constexpr int32_t kLogoHeight = 56;
constexpr int32_t kLogoY = 70;
constexpr int32_t kLinkTop = 130;
constexpr int32_t kLinkBottom = 146;
constexpr int32_t kVersionX = 2;
constexpr int32_t kVersionFromBottom = 18;
constexpr DWORD kFrameSpacing = 60;  // milliseconds between frames, at least
constexpr DWORD kFirstFrameDelay = 100;
constexpr UINT_PTR kFrameTimer = 1;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);

AboutState& about = aboutState;

// The dialog's own window DC, in its default (system) font, with opaque
// black behind the text. Every block of drawing takes one and gives it back.
class DialogDC {
 public:
  explicit DialogDC(HWND dialog) : owner_(dialog), dc_(owner_.get()) { SetBkColor(dc_, kBlack); }
  operator HDC() const { return dc_; }

  void Text(int32_t x, int32_t y, const char* text, COLORREF colour) const {
    SetTextColor(dc_, colour);
    TextOutA(dc_, x, y, text, static_cast<int>(std::strlen(text)));
  }
  int32_t Width(const char* text) const {
    SIZE size = {};
    GetTextExtentPoint32A(dc_, text, static_cast<int>(std::strlen(text)), &size);
    return size.cx;
  }

 private:
  WindowDC owner_;
  HDC dc_;
};

// A paint request without an update region: the dialog draws through its
// own DC anyway, and the OK button is left alone.
void RequestPaint(HWND dialog) { RedrawWindow(dialog, nullptr, nullptr, RDW_INTERNALPAINT | RDW_NOCHILDREN); }

// The frame timer fires when the next frame is due: 60 ms after a frame,
// or what is left of that after a paint in between.
void ArmFrameTimer(HWND dialog) {
  const DWORD now = GetTickCount();
  DWORD delay = about.nextFrameTime > now ? about.nextFrameTime - now : USER_TIMER_MINIMUM;
  if (delay > kFirstFrameDelay) delay = kFirstFrameDelay;
  SetTimer(dialog, kFrameTimer, delay, nullptr);
}

void OnInitDialog(HWND dialog, ViewerState& viewer) {
  GetClientRect(dialog, &about.client);
  // The brush outlives the dialog (the main window deletes it at exit);
  // the one from an earlier opening goes before its replacement is made.
  viewer.backgroundBrush.Reset(CreateSolidBrush(kBlack));
  about.logoSelection.reset();
  about.logoBitmap.Reset(LoadBitmapA(viewer.appInstance, MAKEINTRESOURCEA(IDB_LOGO)));
  about.logoDC.Reset(CreateCompatibleDC(nullptr));
  about.logoSelection.emplace(about.logoDC.get(), about.logoBitmap.get());
  const int32_t width = DialogDC(dialog).Width(kAboutLinkText);
  about.linkRect.left = about.client.right / 2 - width / 2;
  about.linkRect.right = about.linkRect.left + width;
  about.linkRect.top = kLinkTop;
  about.linkRect.bottom = kLinkBottom;
  about.nextFrameTime = GetTickCount() + kFirstFrameDelay;
  about.open = true;
  ArmFrameTimer(dialog);
}

void DrawWhole(HWND dialog) {
  const DialogDC dc(dialog);
  FillRect(dc, &about.client, about.viewer->backgroundBrush.get());
  BitBlt(dc, about.client.right / 2 - kLogoWidth / 2, kLogoY, kLogoWidth, kLogoHeight, about.logoDC.get(), 0,
         0, SRCCOPY);
  dc.Text(about.linkRect.left, kLinkTop, kAboutLinkText, kWhite);
  char version[32];
  std::snprintf(version, sizeof version, "Ver: %s", QP_VERSION_TEXT);
  dc.Text(kVersionX, about.client.bottom - kVersionFromBottom, version, kWhite);
  about.fullRedraw = 0;
}

void DrawLink(HWND dialog) {
  DialogDC(dialog).Text(about.linkRect.left, kLinkTop, kAboutLinkText, about.linkHover ? kBlue : kWhite);
  about.linkRedraw = 0;
}

// Overdraws the last frame's texts in black, steps the cycle and draws the
// new texts: only the two text boxes are touched.
void DrawFrame(HWND dialog) {
  const DialogDC dc(dialog);
  CreditsAnimation& credits = about.credits;
  const CreditLine* line = &creditsTable[credits.creditIndex];
  dc.Text(credits.roleX, kRoleY, line->role, kBlack);
  dc.Text(credits.nameX, kNameY, line->name, kBlack);
  AdvanceCredits(credits);
  line = &creditsTable[credits.creditIndex];
  PlaceCredits(credits, about.client.right, dc.Width(line->role), dc.Width(line->name));
  const BYTE grey = static_cast<BYTE>(credits.creditBrightness & 0xFF);
  dc.Text(credits.roleX, kRoleY, line->role, RGB(grey, grey, grey));
  dc.Text(credits.nameX, kNameY, line->name, RGB(grey, grey, grey));
  about.frameDue = 0;
  about.nextFrameTime = GetTickCount() + kFrameSpacing;
}

void OnPaint(HWND dialog) {
  // Validated at once: an unvalidated dialog gets WM_PAINT whenever it has
  // nothing else to do and keeps a processor busy. Frames come from the
  // timer instead.
  RedrawWindow(dialog, nullptr, nullptr, RDW_VALIDATE | RDW_NOINTERNALPAINT | RDW_NOCHILDREN);
  // Paints before WM_INITDIALOG or after the close have nothing to draw with.
  if (!about.open) return;
  if (about.fullRedraw == 1) DrawWhole(dialog);
  if (about.linkRedraw == 1) DrawLink(dialog);
  if (GetTickCount() >= about.nextFrameTime) about.frameDue = 1;
  if (about.frameDue == 1) DrawFrame(dialog);
  ArmFrameTimer(dialog);
}

void RedrawAllNow(HWND dialog) {
  about.fullRedraw = 1;
  RequestPaint(dialog);
  UpdateWindow(dialog);
}

void OnMouseMove(HWND dialog, LPARAM lParam) {
  const int32_t x = LOWORD(lParam), y = HIWORD(lParam);
  const RECT& link = about.linkRect;
  const int32_t inside = x >= link.left && x <= link.right && y >= link.top && y <= link.bottom;
  about.linkRedraw = inside != about.linkHover;
  about.linkHover = inside;
  // Painted at once: a second move before a later paint would clear the
  // flag again and leave the link in its old colour.
  if (about.linkRedraw) {
    RequestPaint(dialog);
    UpdateWindow(dialog);
  }
}

void Close(HWND dialog, WPARAM result) {
  EndDialog(dialog, static_cast<INT_PTR>(result));
  KillTimer(dialog, kFrameTimer);
  about.logoSelection.reset();
  about.logoDC.Reset();
  about.logoBitmap.Reset();
  about.open = false;
}

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      about.viewer = reinterpret_cast<ViewerState*>(lParam);
      OnInitDialog(dialog, *about.viewer);
      return TRUE;
    case WM_PAINT: OnPaint(dialog); return TRUE;
    case WM_TIMER: RequestPaint(dialog); return FALSE;
    case WM_MOVE:
    case WM_SIZE: RedrawAllNow(dialog); return TRUE;
    case WM_ACTIVATE:
      // A click that activates the dialog does not redraw it all.
      if (LOWORD(wParam) == WA_ACTIVE) RedrawAllNow(dialog);
      return TRUE;
    case WM_CLOSE: Close(dialog, wParam); return TRUE;
    case WM_COMMAND:
      // Only the OK button closes the dialog; Enter and Escape (IDOK and
      // IDCANCEL) do nothing.
      if (LOWORD(wParam) == IDC_ABOUT_OK) Close(dialog, wParam);
      return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(dialog, lParam); return TRUE;
    case WM_LBUTTONDOWN:
      if (about.linkHover == 1) {
        aboutShellExecute(dialog, "open", kAboutLinkText, nullptr, nullptr, SW_SHOWMAXIMIZED);
      }
      return TRUE;
    default: return FALSE;
  }
}
