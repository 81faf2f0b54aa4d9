// Shell integration: the run counter, the first-run registration, the
// file-type associations and the Configuration dialog.
#ifndef QUILLPANE_SHELL_H
#define QUILLPANE_SHELL_H

#include <windows.h>

#include <cstdint>

#include "../win32/settings.h"
#include "../win32/viewer_state.h"

// Counts this start in the settings' run count.
void CountRun(Settings& settings);
// The first paint: a first run registers the program and opens the
// Configuration dialog; then the fonts folder and the recent files.
void FirstPaintWork(ViewerState& viewer, View& view, Settings& settings);
// Its opening's parameter is the program path its verbs register.
INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Shows the Configuration dialog's messages: MessageBoxA but in the tests.
using MessageBoxFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
extern MessageBoxFunction configMessageBox;

// 0 when the extension (".NFO", with its dot) opens with the program;
// 1 when it has no key, else -1 or 1 as its handler's name orders against
// the program's.
int32_t TestAssociation(const char* extension);
// Non-zero `on` takes the extension over, recording what its key held;
// 0 gives it back, leaving the key exactly as it was before the take-over.
void SetAssociation(int32_t on, const char* extension);
// Called before each change SetAssociation makes to an extension's key;
// nullptr but in the tests, which put another instance's take-over or
// give-back there.
extern void (*beforeAssociationChange)(const char* extension);

#endif
