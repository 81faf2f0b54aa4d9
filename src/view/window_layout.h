// Sizing and placing the main window around the view, zoom and scrolling.
#ifndef QUILLPANE_WINDOW_LAYOUT_H
#define QUILLPANE_WINDOW_LAYOUT_H

#include <windows.h>

#include <cstdint>

#include "../win32/settings.h"
#include "../win32/viewer_state.h"

// Sizes and places the window around the view of the page as `view` holds
// it, and gives the window its title.
void LayoutWindow(View& view, ViewerState& viewer);
// View > Fit width: its menu check and the view's as the settings say;
// switching it writes the setting and lays the document out again (turned
// off, the zoom stays where it is until the zoom keys change it).
void ShowFitWidthSetting(View& view, const ViewerState& viewer, const Settings& settings);
void ToggleFitWidth(View& view, ViewerState& viewer, Settings& settings);
// F11 and View > Full screen: no caption, menu or status bar, the window
// over its whole monitor, the art centred on black at the zoom that fills
// the screen's width or a larger one. Ending it puts back the window's
// rectangle, zoom, menu and status bar as they were.
void SetFullScreen(View& view, ViewerState& viewer, bool on);
// Keypad plus (+1) and minus (-1): one pixel a cell bigger or smaller.
void ZoomStep(View& view, ViewerState& viewer, int direction);
void OnVScroll(View& view, const ViewerState& viewer, WPARAM wParam);
// Home (false) and End (true): the top or the bottom of the page.
void ScrollToPageEdge(View& view, const ViewerState& viewer, bool bottom);
// `rows` rows down (negative: up) at once, held to the page; removes the
// selection like every scroll.
void ScrollByRows(View& view, const ViewerState& viewer, int32_t rows);
// The wheel scrolls by the user's rows a notch; with Ctrl held it zooms
// like keypad plus and minus.
void OnMouseWheel(View& view, ViewerState& viewer, WPARAM wParam);

#endif
