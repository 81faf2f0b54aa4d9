// Shell integration: the run counter, the first-run registration and the
// Configuration dialog.
#ifndef QUILLPANE_SHELL_H
#define QUILLPANE_SHELL_H

#include <windows.h>

void CountRun();
void FirstPaintWork();
INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
