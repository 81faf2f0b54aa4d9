// Which file is shown: command line, loading, directory browsing, recent
// files, window placement, the Open dialog and dropped files.
#ifndef QUILLPANE_DOCUMENT_H
#define QUILLPANE_DOCUMENT_H

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <string>

#include "../art/document.h"
#include "../art/document_reading.h"
#include "../core/file_names.h"
#include "../win32/settings.h"
#include "../win32/viewer_state.h"

// Fills commandLine, currentPath (a full path) from the process command
// line, and programPath, programDir from the running program's file.
void SplitCommandLine(ViewerState& viewer, const char* commandLine = GetCommandLineA());
// Loads currentPath into the shown document after listing its directory;
// a file that cannot be read shows a page saying so and why.
void LoadDocument(View& view, ViewerState& viewer, const Settings& settings);
// Reads the start of the document at `path` (ReadDocumentStart): a null
// path is one refused as too long; nothing but a regular disk file, or an
// entry of a pack that is one, is read. Its `opened` is the open's handle
// value (the handle is already closed; 0 for an entry).
ReadFileStart DocumentReader(const char* path);
// What the status bar says of the document loaded beside its reading: that
// its pack's checksum of it does not match, or nothing ("").
const char* LoadedDocumentWarning(const Document& document);
// Load, lay out and repaint: the ending of every change of document.
void ShowCurrentDocument(View& view, ViewerState& viewer, const Settings& settings);
// Every change of document after start-up: keeps the window where it
// stands, pushes the document left into the recent files, shows `newPath`.
void SwitchDocument(View& view, ViewerState& viewer, Settings& settings, const char* newPath);

// Lists the recognised files of currentDir, or the art entries of the pack
// currentPath runs through, and finds currentPath among them.
void ScanDirectory(View& view, ViewerState& viewer);
// Page Up (-1) and Page Down (+1): the neighbouring file of the directory.
void BrowseStep(View& view, ViewerState& viewer, Settings& settings, int direction);
// Entry `index` of the list, 0 to browseLast.
std::string BrowseEntry(int32_t index);

// Recent files and the saved window position.
void UpdateRecentFiles(const ViewerState& viewer, Settings& settings, bool push);
void SyncSettings(View& view, const ViewerState& viewer, Settings& settings, bool save);
void OpenRecentFile(View& view, ViewerState& viewer, Settings& settings, int command);

// The Open dialog and files dropped on the window. The path chosen, or
// nothing when the dialog was cancelled or failed (a failure is shown in a
// message box). Each dialog starts from the path chosen the time before.
std::optional<std::string> ChooseDocumentFile(const ViewerState& viewer);
// The Open dialog is modal; the Windows tests put a function of their own
// here.
extern BOOL(WINAPI* runOpenDialog)(LPOPENFILENAMEA request);
// Its failure's message box (MessageBoxA), which the tests read instead.
extern int(WINAPI* openDialogMessageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
void OnDropFiles(View& view, ViewerState& viewer, Settings& settings, HDROP drop);

// File > Information (Ctrl+I): a dialog with InformationText, every field
// of the shown file's SAUCE record and its comment lines, one a line, or
// a sentence saying that it has none; its Font line (after that sentence
// without a record) names the font the page is drawn in.
void ShowInformation(const View& view, const ViewerState& viewer, const Document& document);
std::string InformationText(const View& view, const ViewerState& viewer, const Document& document);

#endif
