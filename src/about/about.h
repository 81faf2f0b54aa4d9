// The About dialog with its animated credits.
#ifndef QUILLPANE_ABOUT_H
#define QUILLPANE_ABOUT_H

#include <windows.h>

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
