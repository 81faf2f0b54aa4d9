#include "shell.h"

// The dialog template does not exist yet, so the dialog never opens.
INT_PTR CALLBACK ConfigDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
