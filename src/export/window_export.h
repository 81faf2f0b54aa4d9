// The export from the window: File > Save as... writes the shown document
// as the command line would (its PNG, UTF-8 text, terminal ANSI or web
// page), and File > Copy picture puts the pixels the PNG export draws of
// the selected cells on the clipboard.
#ifndef QUILLPANE_WINDOW_EXPORT_H
#define QUILLPANE_WINDOW_EXPORT_H

#include <windows.h>
#include <commdlg.h>

#include "../win32/settings.h"
#include "../win32/viewer_state.h"

// File > Save as... (Ctrl+S): the system's Save dialog, then the bytes of
// the chosen output of the shown document in its reading as shown, with
// the command line's defaults for everything else. The art shown (its
// file, or the pack its entry comes from) is never written over; a refusal
// or a failure is shown in a message box, with the system's reason.
void SaveShownDocumentAs(View& view, ViewerState& viewer, const Settings& settings);
// The Save dialog (GetSaveFileNameA) and the message box (MessageBoxA);
// the Windows tests put functions of their own here.
extern BOOL(WINAPI* runSaveDialog)(LPOPENFILENAMEA request);
extern int(WINAPI* windowExportMessageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// File > Copy picture (Ctrl+Shift+C): the selected cells, or the whole page
// when none is selected, as a 24-bit bottom-up CF_DIB of exactly the pixels
// the PNG export draws of them. A picture larger than a page may be is
// refused in the message box.
void CopyShownPicture(View& view, ViewerState& viewer, const Settings& settings);

#endif
