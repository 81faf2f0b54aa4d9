// The main window: class registration, creation and the window procedure
// that dispatches every message to its handler.
#ifndef QUILLPANE_MAIN_WINDOW_H
#define QUILLPANE_MAIN_WINDOW_H

#include <windows.h>

#include "../win32/settings.h"
#include "../win32/viewer_state.h"

constexpr DWORD kMainClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_BYTEALIGNCLIENT;
constexpr DWORD kMainWindowStyle = WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kMainWindowExStyle = WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES;
constexpr int kStatusRightPartWidth = 70;

// The process-wide instances. The window procedure is the one place of
// the program that names them: every handler below it takes what it reads
// or writes as a parameter. (Tests and benchmarks drive the same ones.)
extern ViewerState viewer;
extern View view;
extern Settings settings;
// Resets the three to their start values (ResetViewerState).
void ResetMainWindowState();

// Registers the window class; false when registration fails.
bool RegisterMainWindowClass(HINSTANCE instance);
// Creates the main window at zero size; WM_CREATE loads the document and
// shows the window. Returns the window or null.
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Dispatches messages until WM_QUIT and returns its exit code, or 1 when
// `getMessage` fails (-1) before that.
int RunMessageLoop(BOOL(WINAPI* getMessage)(LPMSG, HWND, UINT, UINT) = GetMessageA);

#endif
