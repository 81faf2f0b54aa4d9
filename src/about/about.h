// The About dialog with its animated credits.
#ifndef QUILLPANE_ABOUT_H
#define QUILLPANE_ABOUT_H

#include <windows.h>

#include <cstdint>
#include <optional>

#include "../win32/handles.h"
#include "../win32/viewer_state.h"
#include "credits_animation.h"

// The program's home page: drawn as the link and opened by a click on it.
constexpr char kAboutLinkText[] = "http://quillpane.example.org/";

// State of the About dialog. The flags and the animation live for the whole
// run; the rest is made at each opening.
struct AboutState {
  int32_t fullRedraw = 1;  // redraw the whole dialog at the next paint
  int32_t linkRedraw = 1;  // redraw the link at the next paint
  int32_t frameDue = 1;    // draw an animation frame at the next paint
  int32_t linkHover = 0;   // the mouse was last seen on the link
  CreditsAnimation credits;
  DWORD nextFrameTime = 0;  // tick count at which the next frame is due

  bool open = false;  // between the dialog's opening and its closing
  ViewerState* viewer = nullptr;  // given with the opening
  RECT client = {};
  RECT linkRect = {};
  // The logo, selected into its DC while the dialog is open; the selection
  // goes first, then the DC, then the bitmap.
  GdiObject<HBITMAP> logoBitmap;
  MemoryDC logoDC;
  std::optional<SelectedObject> logoSelection;
};

extern AboutState aboutState;

// How a click on the link opens it; tests put a recorder here.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern ShellExecuteFunction aboutShellExecute;

// Its opening's parameter is the window's state (ViewerState*): the
// program's instance, and the brush kept to the end.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
