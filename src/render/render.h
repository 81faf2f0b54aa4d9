// From bytes to pixels: rendering the page, painting the view, the mouse
// selection and the choice of glyph sheet.
#ifndef QUILLPANE_RENDER_H
#define QUILLPANE_RENDER_H

#include <windows.h>

// Lays textBuffer out and draws it into pageBitmap; lays the window out
// between the two passes.
void RenderDocument();
// Stretches the visible part of the page into paintDC.
void PaintView();

void OnSelectionButtonDown(LPARAM lParam);
void OnSelectionMouseMove(LPARAM lParam);
void OnSelectionButtonUp(LPARAM lParam);

void DiscoverFontSheets();
void SelectFontSheet(int command);

#endif
