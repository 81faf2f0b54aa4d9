// The program's state, the window's and the view's apart: fixed-size
// buffers, nothing allocated per document. The one instance of each lives
// beside the window procedure (app/main_window.h), which passes it down.
#ifndef QUILLPANE_VIEWER_STATE_H
#define QUILLPANE_VIEWER_STATE_H

#include <windows.h>

#include <cstdint>

#include "../core/state_types.h"
#include "handles.h"

// The window and the place of its document: handles, the status bar, the
// paths from the command line, the listing that Page Up and Page Down walk.
struct ViewerState {
  HWND mainWindow;
  HINSTANCE appInstance;
  HICON appIcon;
  HWND statusBar;
  int32_t statusParts[2];
  char statusText[100];
  char titleText[kPathBufferSize + 64];
  // What the last Find said, shown in the status bar's left part until the
  // next key or click ("": nothing); as long as the searched text allows.
  char findNote[256 + 40];
  int32_t firstPaint;
  GdiObject<HBRUSH> backgroundBrush;  // the About dialog's, kept to the end

  // Documents (the shown one: ShownDocument)
  char commandLine[kPathBufferSize];
  char programPath[kPathBufferSize];
  char programDir[kPathBufferSize];
  char currentPath[kPathBufferSize];
  char currentDir[kPathBufferSize];
  // currentPath could not hold the path asked for; it opens like a
  // missing file.
  int32_t currentPathRefused;
  // The browse list itself is sized by what it lists (a pack's entries run
  // to 100,000): document/directory_browse.cpp holds it.
  int32_t browseIndex;
  int32_t browseLast;
};

// The view of the shown document: its glyph sheet, its page, the zoom, the
// scroll and the selection. Its long-lived GDI objects each have their
// owner here, which deletes the old one as it takes another.
struct View {
  // Rendering
  int32_t needsRender;
  GdiObject<HBITMAP> glyphSheet;
  GlyphPosition glyphTable[256];
  int32_t activeFontCommand;
  FontEntry fontList[kFontListSize];
  int32_t fontCount;
  GdiObject<HBITMAP> pageBitmap;  // the text layout's page, or a colour screen's band
  int32_t pageWidth;
  int32_t pageHeight;
  RECT pageRect;
  int32_t lineTable[kLineTableSize];

  // Zoom and scroll
  int32_t cellWidth;    // screen pixels 8 page pixels take across: the zoom
  int32_t cellHeight;   // screen pixels a cell high, in the page cell's shape
  int32_t columnWidth;  // screen pixels a cell across, in the page cell's shape
  // Page pixels a cell high: 8, or 16 for an ANSI screen's cells (8 x 8
  // ones for the 43 and 50-line fonts, a file's own font's height; each
  // stretched when the rows are shown for a 4:3 screen).
  int32_t pageCellHeight;
  // Page pixels a cell across: 8, or 9 for a colour screen's 9-pixel letters.
  int32_t pageCellWidth;
  int32_t viewWidth;
  int32_t viewHeight;
  int32_t sourceX;
  int32_t scrollY;
  int32_t sourceWidth;
  int32_t sourceHeight;
  RECT repaintRect;
  RECT windowRect;
  HWND scrollBar;
  SCROLLINFO scrollInfo;
  int32_t lastThumbRow;
  // The part of a wheel notch turned but not yet scrolled.
  int32_t wheelRemainder;
  // View > Fit width, as the setting says: each render takes the zoom at
  // which the page's width fits the work area.
  int32_t fitWidth;
  // Full screen: the window covers its monitor without caption, menu or
  // status bar, the view centred at (originX, originY); otherwise the view
  // stands at kViewOrigin. The windowed rectangle, zoom, style and menu
  // come back when it ends.
  int32_t fullScreen;
  int32_t originX, originY;
  RECT windowedRect;
  int32_t windowedZoom;
  LONG_PTR windowedStyle;
  HMENU windowedMenu;

  // Selection
  int32_t selectionShown;
  RECT selectionRect;
  int32_t selectionDragging;
  SelectionPoint selectionAnchor;  // the press point, snapped
};

struct Settings;

// Zeroes the window's state, the view and the settings and sets the start
// values (zoom 8, render and first paint pending, no browse position).
void ResetViewerState(ViewerState& viewer, View& view, Settings& settings);

#endif
