// From bytes to pixels: rendering the page, painting the view, the mouse
// selection and the choice of glyph sheet.
#ifndef QUILLPANE_RENDER_H
#define QUILLPANE_RENDER_H

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "../art/document.h"
#include "../art/document_reading.h"
#include "../text/sauce_text.h"
#include "../text/selection_copy.h"
#include "../win32/settings.h"
#include "../win32/viewer_state.h"

struct AnsiScreen;

// Reads the shown document under the View menu's choices (ShownOptions)
// and draws it into pageBitmap: the text layout, laying the window out
// between its two passes, or a colour screen.
void RenderDocument(View& view, ViewerState& viewer, const Settings& settings);
// The document shown: loaded by the document's module, read again by each
// render. Its reading is the one of the last render until the next.
Document& ShownDocument();
// The View menu's choices as the document's reading takes them; the
// window keeps a longer file whole, since the colour mode may come later.
DocumentOptions ShownOptions(const Settings& settings);
// The ANSI screen shown, or null while the text layout is shown; it stays
// valid until the next render.
const AnsiScreen* ShownAnsiScreen();
// The character each byte of the shown document shows, in the font it is
// drawn in (code page 437's for a font a file carries: its glyphs say
// nothing of their characters).
const char16_t* ShownCharacters();
// The language whose OEM code page the characters are, 0 when none is.
LCID OemLocaleOf(const char16_t* characters);
// The letters, rows and font View > 9-pixel letters, 4:3 aspect and Font ask for.
ScreenLook ShownLook(const Settings& settings);
// `document`'s SAUCE record as people read it (not present
// without one, nor for a file that could not be read).
SauceDescription ShownSauce(const Document& document);

// View > ANSI colours (Ctrl+Shift+A): its menu check as the settings
// read at the start say; switching it writes the setting and has the
// document rendered again at the next paint.
// View > 9-pixel letters and View > 4:3 aspect are shown with it: each as
// the file says, on or off, a radio item of the three.
void ShowColourModeSetting(const ViewerState& viewer, const Settings& settings);
void ToggleColourMode(View& view, const ViewerState& viewer, Settings& settings);
// Takes the choice of a View > 9-pixel letters or 4:3 aspect item, writes
// the setting and has the document rendered again at the next paint; false
// for any other command.
bool ChooseLook(View& view, const ViewerState& viewer, Settings& settings, UINT command);
// View > Font: made at the window's creation after 4:3 aspect, with one
// radio mark on the font the settings name (as the file says when they
// name none it offers, and then the setting is emptied). Choosing a font
// (IDM_FONT_FIRST to IDM_FONT_LAST) writes its name as the setting and has
// the document rendered again at the next paint; false for any other
// command.
void ShowFontSetting(const ViewerState& viewer, Settings& settings);
bool SelectScreenFont(View& view, const ViewerState& viewer, Settings& settings, UINT command);
// The document is rendered again at the next paint, in its place.
void RenderAgain(View& view, const ViewerState& viewer);
// Makes the page bitmap hold the page's pixel rows top .. top + height - 1
// and returns the page row its first pixel row holds: 0 for the text
// layout's page, which holds them all; an ANSI screen's holds a band of
// rows around those shown, drawn when the view moves out of it.
int32_t PreparePageRows(View& view, int32_t top, int32_t height);
// Stretches the visible part of the page into `dc`, the paint's.
void PaintView(HDC dc, View& view);

// The bytes the shown colour screen was read from (false while the text
// layout is shown); valid until the next render.
bool ShownColourBytes(const View& view, const uint8_t*& bytes, size_t& length);
// The page draws `frame` (a frame of the shown screen's play, of its size
// and colours) instead of the shown screen; null: the shown screen again.
void DrawScreenFrame(View& view, const ViewerState& viewer, const AnsiScreen* frame);
// The phase of the blink the page draws from now on.
void SetBlinkShown(bool shown);
// Draws rows first .. end - 1 of the page again where it holds them, and
// invalidates them in the window.
void RedrawScreenRows(View& view, const ViewerState& viewer, int32_t first, int32_t end);

// Blinking and playing (screen_timing.cpp). A colour screen with blinking
// cells runs the blink timer, and no other screen runs a timer at all;
// View > Play (Ctrl+P) draws the screen again at View > Speed's bits a
// second, Space pausing and resuming it, until Ctrl+P again, its end or a
// change of document shows the whole screen.
constexpr UINT_PTR kBlinkTimer = 0x424C;  // "BL"
constexpr UINT_PTR kPlayTimer = 0x504C;   // "PL"
// After a render: the blink timer when the shown screen blinks.
void StartScreenTimers(const ViewerState& viewer);
// Ends a play and the blink (before a document's bytes change).
void StopScreenTimers(View& view, const ViewerState& viewer);
void OnScreenTimer(View& view, const ViewerState& viewer, WPARAM timer);
void TogglePlay(View& view, const ViewerState& viewer, const Settings& settings);
// Space: pauses or resumes a play; false when none runs.
bool PauseOrResumePlay(const ViewerState& viewer);
// View > Speed: as the settings read at the start say, with its menu mark;
// choosing one (IDM_SPEED_FIRST on) writes the setting.
void ShowPlaySpeedSetting(const ViewerState& viewer, const Settings& settings);
void SelectPlaySpeed(const ViewerState& viewer, Settings& settings, int command);
// What the status bar says of a play running or paused, and at what
// speed; empty when none runs.
std::string PlayStatus();

// A drag with the left button over the picture selects a rectangle of
// cells, shown inverted; the release copies their text to the clipboard.
// The release returns true for a click: it selected no cell.
void OnSelectionButtonDown(View& view, const ViewerState& viewer, LPARAM lParam);
void OnSelectionMouseMove(View& view, const ViewerState& viewer, LPARAM lParam);
bool OnSelectionButtonUp(View& view, const ViewerState& viewer, LPARAM lParam);
// The cells the selection shown covers, its rows counted from the page's
// top; none when no cell is selected.
std::optional<CellSpan> SelectedPageCells(const View& view);
// Puts `text` (code page 437 bytes, cut after 1023 characters) on the
// clipboard: its bytes as CF_TEXT and CF_OEMTEXT with CF_LOCALE US English
// (OEM code page 437), and its characters as CF_UNICODETEXT.
void CopyTextToClipboard(HWND owner, const char* text, const char16_t* characters);

// Lists the sheets of the fonts folder beside the program in fontList and
// adds their Keymap items (202 on) above the built-in one.
void DiscoverFontSheets(View& view, const ViewerState& viewer);
// Keymap command 201 (the built-in sheet) or 202 on: takes that sheet and
// has the document rendered again at the next paint.
void SelectFontSheet(View& view, const ViewerState& viewer, int command);
// The sheet at `path`, or NAME.bmp of the fonts folder beside the program,
// loaded at its own size and colour format; null when it cannot be loaded,
// or is not a BMP of 48 x 368 pixels that all lie inside the file.
HBITMAP LoadFontSheetFile(const char* path);
HBITMAP LoadFontSheet(const ViewerState& viewer, const char* name);

#endif
