// Sizing and placing the main window around the view, zoom and scrolling.
#ifndef QUILLPANE_WINDOW_LAYOUT_H
#define QUILLPANE_WINDOW_LAYOUT_H

#include <windows.h>

void LayoutWindow();
// Keypad plus (+1) and minus (-1): one pixel a cell bigger or smaller.
void ZoomStep(int direction);
void OnVScroll(WPARAM wParam);

#endif
