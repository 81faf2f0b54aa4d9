// Sizing and placing the main window around the view, zoom and scrolling.
#ifndef QUILLPANE_WINDOW_LAYOUT_H
#define QUILLPANE_WINDOW_LAYOUT_H

#include <windows.h>

#include <cstdint>

void LayoutWindow();
// Keypad plus (+1) and minus (-1): one pixel a cell bigger or smaller.
void ZoomStep(int direction);
void OnVScroll(WPARAM wParam);
// Home (false) and End (true): the top or the bottom of the page.
void ScrollToPageEdge(bool bottom);
// `rows` rows down (negative: up) at once, held to the page; removes the
// selection like every scroll.
void ScrollByRows(int32_t rows);
// The wheel scrolls by the user's rows a notch; with Ctrl held it zooms
// like keypad plus and minus.
void OnMouseWheel(WPARAM wParam);

#endif
