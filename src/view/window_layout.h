// Sizing and placing the main window around the view, zoom and scrolling.
#ifndef QUILLPANE_WINDOW_LAYOUT_H
#define QUILLPANE_WINDOW_LAYOUT_H

#include <windows.h>

#include <cstdint>

#include "../win32/viewer_state.h"

// Sizes and places the window around the view of the page as `view` holds
// it, and gives the window its title.
void LayoutWindow(View& view, ViewerState& viewer);
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
