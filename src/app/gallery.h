// View > Gallery (Ctrl+G, G): the shown document's folder or pack as a
// grid of thumbnails, drawn on a worker thread while the grid and names
// show at once. Enter or a double click opens the selected piece; Esc or
// Ctrl+G again returns to the piece shown before.
#ifndef QUILLPANE_GALLERY_H
#define QUILLPANE_GALLERY_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../win32/settings.h"
#include "../win32/viewer_state.h"

// The worker's message: tiles are ready to be taken in.
constexpr UINT kGalleryTileMessage = WM_APP + 0x47;

bool GalleryShown();
void ToggleGallery(View& view, ViewerState& viewer, const Settings& settings);
// Returns without changing the piece; stops and joins the worker. Safe
// when the gallery is not shown (the window's destruction calls it).
void CloseGallery(View& view, ViewerState& viewer);
// Keys, the wheel and clicks while the gallery is shown.
void OnGalleryKey(View& view, ViewerState& viewer, Settings& settings, WPARAM key);
void OnGalleryWheel(const View& view, const ViewerState& viewer, WPARAM wParam);
void OnGalleryClick(View& view, ViewerState& viewer, Settings& settings, LPARAM lParam, bool open);
// The grid flows again into the window's new width, the selection kept in view.
void OnGallerySize(const View& view, const ViewerState& viewer);
void OnGalleryTiles(const View& view, const ViewerState& viewer);
// Paints the part `dirty` of the window.
void PaintGallery(HDC dc, const View& view, const ViewerState& viewer, const RECT& dirty);

// What the tests look at: the selection, the tile size, and piece
// `index`'s drawn tile (empty until drawn) as 32-bit top-down rows.
struct GalleryTileView {
  bool drawn = false;
  bool failed = false;
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
  std::string title, author;
};
int32_t GallerySelection();
// The pieces first .. end - 1 the gallery shows now, at least in part.
void GalleryVisibleRange(const View& view, const ViewerState& viewer, int32_t& first, int32_t& end);
int32_t GalleryTileSize();
GalleryTileView GalleryTileOf(int32_t index);

#endif
