#include "gallery.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>

#include "../art/document.h"
#include "../core/gallery_grid.h"
#include "../document/document.h"
#include "../document/pack_file.h"
#include "../export/export_core.h"
#include "../raster/thumbnail.h"
#include "../resources/resource_ids.h"
#include "../text/sauce_text.h"
#include "../view/render_page.h"
#include "../view/view.h"

namespace {

struct Tile {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB
  bool failed = false;           // the piece could not be read or drawn
  std::string title, author;
};

struct Job {
  int32_t index = 0;
  std::string path;
  uint64_t time = 0;
  int32_t size = 0;
};

struct Done {
  Job job;
  std::unique_ptr<Tile> tile;
};

// Drawn tiles are kept across openings; 48 MB holds a few screens of the
// largest tiles and some thousands of the smallest.
constexpr size_t kTileCacheBytes = 48u << 20;

struct Gallery {
  bool shown = false;
  int32_t selected = 0;
  int32_t scrollTop = 0;
  int32_t tileSize = kGalleryDefaultTileSize;
  int32_t count = 0;
  TileCache<Tile> cache{kTileCacheBytes};
  // Each piece's last write time, read when its tile is first wanted in
  // this opening (a pack's entries take the pack's): nothing per piece is
  // read up front.
  std::unordered_map<int32_t, uint64_t> times;
  // How the cached tiles were drawn: the View menu's choices and the
  // Keymap sheet. Other choices draw other pictures of the same files.
  std::string drawnAs;
  RECT windowAtOpen = {};  // the piece's window, laid out again on return only if it changed

  std::thread worker;
  std::mutex lock;
  std::condition_variable wake;
  std::deque<Job> jobs;            // wanted, the visible first; replaced at each paint
  std::vector<Done> done;          // drawn, waiting for the window to take them
  std::string drawing;             // the path being drawn
  bool stop = false;
  bool posted = false;             // a message is on its way
  HWND window = nullptr;
  DocumentOptions options;
  std::unique_ptr<GlyphPixels> glyphs = std::make_unique<GlyphPixels>();
};

Gallery gallery;

// The piece's tile as the thumbnailer draws it; false when it cannot be
// read or drawn.
bool DrawTileInto(const Job& job, const DocumentOptions& options, const GlyphPixels& glyphs, Document& document,
                  Tile& tile) {
  ReadDocument(job.path.c_str(), DocumentReader(job.path.c_str()), options, document);
  ExportPage page;
  Thumbnail thumbnail;
  if (!document.Opened() || !DrawExportPage(document, glyphs, job.size, page) ||
      !MakeThumbnail(page.rows, job.size, thumbnail))
    return false;
  const SauceDescription sauce = DescribeSauce(document.Bytes(), document.Length());
  tile.title = sauce.title;
  tile.author = sauce.author;
  tile.width = thumbnail.width;
  tile.height = thumbnail.height;
  tile.pixels.resize(static_cast<size_t>(thumbnail.width) * thumbnail.height);
  for (size_t i = 0; i < tile.pixels.size(); ++i) {
    const uint8_t* rgb = &thumbnail.rgb[i * 3];
    tile.pixels[i] = (uint32_t{rgb[0]} << 16) | (uint32_t{rgb[1]} << 8) | rgb[2];
  }
  return true;
}

std::unique_ptr<Tile> DrawTile(const Job& job, const DocumentOptions& options, const GlyphPixels& glyphs,
                               Document& document) {
  auto tile = std::make_unique<Tile>();
  // A piece too large for the memory left is a tile that says it cannot be
  // read, not the end of the program.
  try {
    tile->failed = !DrawTileInto(job, options, glyphs, document, *tile);
  } catch (const std::bad_alloc&) {
    tile->failed = true;
  }
  if (tile->failed) tile->pixels.clear();
  return tile;
}

void RunWorker() {
  Document document;  // its buffers serve every tile
  std::unique_lock<std::mutex> held(gallery.lock);
  for (;;) {
    gallery.wake.wait(held, [] { return gallery.stop || !gallery.jobs.empty(); });
    if (gallery.stop) return;
    const Job job = std::move(gallery.jobs.front());
    gallery.jobs.pop_front();
    gallery.drawing = job.path;
    const DocumentOptions options = gallery.options;
    held.unlock();
    std::unique_ptr<Tile> tile = DrawTile(job, options, *gallery.glyphs, document);
    held.lock();
    gallery.drawing.clear();
    gallery.done.push_back(Done{job, std::move(tile)});
    // One message takes in every tile drawn before it is handled.
    if (!gallery.posted) gallery.posted = PostMessageA(gallery.window, kGalleryTileMessage, 0, 0) != 0;
  }
}

void StopWorker() {
  {
    const std::lock_guard<std::mutex> held(gallery.lock);
    gallery.stop = true;
    gallery.jobs.clear();
  }
  gallery.wake.notify_all();
  if (gallery.worker.joinable()) gallery.worker.join();
  gallery.done.clear();
  gallery.posted = false;
  gallery.stop = false;
}

// The gallery's part of the client area: above the status bar, left of
// the piece's scroll bar. Full screen hides the status bar, which keeps
// its rectangle: only a shown bar takes room.
RECT GalleryArea(const View& view, const ViewerState& viewer) {
  RECT area = {};
  GetClientRect(viewer.mainWindow, &area);
  RECT bar = {};
  if (viewer.statusBar != nullptr && IsWindowVisible(viewer.statusBar) && GetWindowRect(viewer.statusBar, &bar))
    area.bottom -= bar.bottom - bar.top;
  if (view.scrollBar != nullptr && IsWindowVisible(view.scrollBar) && GetWindowRect(view.scrollBar, &bar))
    area.right -= bar.right - bar.left;
  if (area.bottom < area.top) area.bottom = area.top;
  if (area.right < area.left) area.right = area.left;
  return area;
}

GalleryGrid Grid(const RECT& area) { return LayOutGallery(gallery.count, area.right - area.left, gallery.tileSize); }

uint64_t PieceTime(const std::string& path) {
  PackPath split;
  const std::string file = IsPackPath(path.c_str(), split) ? split.pack : path;
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
}

uint64_t TimeOf(int32_t index, const std::string& path) {
  const auto found = gallery.times.find(index);
  if (found != gallery.times.end()) return found->second;
  return gallery.times[index] = PieceTime(path);
}

const Tile* CachedTile(int32_t index, const std::string& path) {
  return gallery.cache.Find(path, gallery.tileSize, TimeOf(index, path));
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// Asks the worker for the tiles of `range` not yet drawn, in order, then
// for those of the screen after it, and for nothing else: a tile scrolled
// away before it was drawn is dropped.
void WantTiles(const GalleryRange& range) {
  std::deque<Job> wanted;
  const int32_t end = std::min(gallery.count, range.end + (range.end - range.first));
  for (int32_t index = range.first; index < end; ++index) {
    const std::string path = BrowseEntry(index);
    if (CachedTile(index, path) == nullptr) wanted.push_back(Job{index, path, TimeOf(index, path), gallery.tileSize});
  }
  {
    const std::lock_guard<std::mutex> held(gallery.lock);
    gallery.jobs.clear();
    for (Job& job : wanted) {
      if (job.path == gallery.drawing) continue;
      bool waiting = false;  // drawn, not yet taken in
      for (const Done& done : gallery.done) waiting = waiting || done.job.path == job.path;
      if (!waiting) gallery.jobs.push_back(std::move(job));
    }
  }
  gallery.wake.notify_one();
}

void Redraw(const ViewerState& viewer) { InvalidateRect(viewer.mainWindow, nullptr, FALSE); }

void KeepSelectionInView(const View& view, const ViewerState& viewer) {
  const RECT area = GalleryArea(view, viewer);
  gallery.scrollTop = ScrollToTile(Grid(area), gallery.selected, gallery.scrollTop, area.bottom - area.top);
  Redraw(viewer);
}

void OpenSelected(View& view, ViewerState& viewer, Settings& settings) {
  if (gallery.selected < 0 || gallery.selected >= gallery.count) return;
  const std::string path = BrowseEntry(gallery.selected);
  CloseGallery(view, viewer);
  SwitchDocument(view, viewer, settings, path.c_str());
}

void DrawLabel(HDC dc, const std::string& text, int32_t left, int32_t top, int32_t width, int32_t height) {
  RECT place = {left, top, left + width, top + height};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &place,
            DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_VCENTER);
}

void PaintTile(HDC dc, const GalleryGrid& grid, int32_t index, int32_t x, int32_t y) {
  const std::string path = BrowseEntry(index);
  const Tile* tile = CachedTile(index, path);
  const bool selected = index == gallery.selected;
  const RECT cell = {x, y, x + grid.cellWidth, y + grid.cellHeight};
  FillRect(dc, &cell, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const int32_t size = gallery.tileSize;
  const int32_t left = x + kGalleryMargin;
  const int32_t top = y + kGalleryMargin;
  if (tile != nullptr && !tile->failed) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = tile->width;
    info.bmiHeader.biHeight = -tile->height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, left + (size - tile->width) / 2, top, tile->width, tile->height, 0, 0, 0,
                      tile->height, tile->pixels.data(), &info, DIB_RGB_COLORS);
  } else {
    const RECT square = {left, top, left + size, top + size};
    FillRect(dc, &square, GetSysColorBrush(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    if (tile != nullptr) DrawLabel(dc, "cannot be read", left, top, size, size);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  }
  const int32_t line = kGalleryLabelHeight / 3;
  const int32_t labels = top + size + kGalleryMargin / 2;
  DrawLabel(dc, NameOf(path), x + 2, labels, grid.cellWidth - 4, line);
  if (tile != nullptr) {
    DrawLabel(dc, tile->title, x + 2, labels + line, grid.cellWidth - 4, line);
    DrawLabel(dc, tile->author, x + 2, labels + 2 * line, grid.cellWidth - 4, line);
  }
}

}  // namespace

bool GalleryShown() { return gallery.shown; }
int32_t GallerySelection() { return gallery.selected; }
int32_t GalleryTileSize() { return gallery.tileSize; }

void GalleryVisibleRange(const View& view, const ViewerState& viewer, int32_t& first, int32_t& end) {
  const RECT area = GalleryArea(view, viewer);
  const GalleryRange range = VisibleTiles(Grid(area), gallery.scrollTop, area.bottom - area.top);
  first = range.first;
  end = range.end;
}

GalleryTileView GalleryTileOf(int32_t index) {
  GalleryTileView view;
  if (index < 0 || index >= gallery.count) return view;
  const Tile* tile = CachedTile(index, BrowseEntry(index));
  if (tile == nullptr) return view;
  view.drawn = true;
  view.failed = tile->failed;
  view.width = tile->width;
  view.height = tile->height;
  view.pixels = tile->pixels;
  view.title = tile->title;
  view.author = tile->author;
  return view;
}

void ToggleGallery(View& view, ViewerState& viewer, const Settings& settings) {
  if (gallery.shown) {
    CloseGallery(view, viewer);
    return;
  }
  StopScreenTimers(view, viewer);
  GetWindowRect(viewer.mainWindow, &gallery.windowAtOpen);
  gallery.shown = true;
  CheckMenuItem(GetMenu(viewer.mainWindow), IDM_GALLERY, MF_BYCOMMAND | MF_CHECKED);
  gallery.count = viewer.browseLast + 1;
  gallery.selected = viewer.browseIndex >= 0 && viewer.browseIndex < gallery.count ? viewer.browseIndex : 0;
  gallery.scrollTop = 0;
  gallery.times.clear();
  gallery.window = viewer.mainWindow;
  gallery.options = ShownOptions(settings);
  // A tile reads only what its picture needs: the window keeps a long
  // text whole for a later switch to colours, a tile never switches.
  gallery.options.holdWholeFile = false;
  const ScreenLook& look = gallery.options.look;
  const std::string drawnAs = std::to_string(gallery.options.colour) + "," +
                              std::to_string(static_cast<int>(look.letters)) + "," +
                              std::to_string(static_cast<int>(look.aspect)) + "," +
                              std::to_string(view.activeFontCommand) + "," + look.font;
  if (drawnAs != gallery.drawnAs) gallery.cache.Clear();
  gallery.drawnAs = drawnAs;
  // The text layout's pieces are drawn in the Keymap sheet, as the window
  // and the export draw them.
  ReadGlyphPixels(view.glyphSheet.get(), view.glyphTable, *gallery.glyphs);
  gallery.worker = std::thread(RunWorker);
  KeepSelectionInView(view, viewer);
}

void CloseGallery(View& view, ViewerState& viewer) {
  StopWorker();
  if (!gallery.shown) return;
  gallery.shown = false;
  gallery.times.clear();
  CheckMenuItem(GetMenu(viewer.mainWindow), IDM_GALLERY, MF_BYCOMMAND | MF_UNCHECKED);
  // The piece comes back where it was scrolled to; only a window resized
  // meanwhile needs the piece's layout again (which starts at its top).
  RECT now = {};
  GetWindowRect(viewer.mainWindow, &now);
  if (!EqualRect(&now, &gallery.windowAtOpen)) {
    RenderAgain(view, viewer);
  } else {
    StartScreenTimers(viewer);
  }
  InvalidateRect(viewer.mainWindow, nullptr, TRUE);
}

void OnGalleryKey(View& view, ViewerState& viewer, Settings& settings, WPARAM key) {
  GalleryMove move;
  switch (key) {
    case VK_LEFT: move = GalleryMove::kLeft; break;
    case VK_RIGHT: move = GalleryMove::kRight; break;
    case VK_UP: move = GalleryMove::kUp; break;
    case VK_DOWN: move = GalleryMove::kDown; break;
    case VK_PRIOR: move = GalleryMove::kPageUp; break;
    case VK_NEXT: move = GalleryMove::kPageDown; break;
    case VK_HOME: move = GalleryMove::kHome; break;
    case VK_END: move = GalleryMove::kEnd; break;
    case VK_RETURN: OpenSelected(view, viewer, settings); return;
    case VK_ESCAPE:
    case 'G': CloseGallery(view, viewer); return;
    case VK_ADD:
    case VK_SUBTRACT:
      gallery.tileSize = StepTileSize(gallery.tileSize, key == VK_ADD ? +1 : -1);
      KeepSelectionInView(view, viewer);
      return;
    default: return;
  }
  const RECT area = GalleryArea(view, viewer);
  gallery.selected = MoveGallerySelection(Grid(area), gallery.selected, move, area.bottom - area.top);
  KeepSelectionInView(view, viewer);
}

void OnGallerySize(const View& view, const ViewerState& viewer) {
  if (gallery.shown) KeepSelectionInView(view, viewer);
}

void OnGalleryWheel(const View& view, const ViewerState& viewer, WPARAM wParam) {
  // A notch scrolls a third of a row; the selection is left where it is.
  // With Ctrl a notch is a tile size, as it is a zoom step for a piece.
  const int32_t delta = static_cast<int16_t>(HIWORD(wParam));
  if (LOWORD(wParam) & MK_CONTROL) {
    if (delta != 0) gallery.tileSize = StepTileSize(gallery.tileSize, delta > 0 ? +1 : -1);
    KeepSelectionInView(view, viewer);
    return;
  }
  const RECT area = GalleryArea(view, viewer);
  const GalleryGrid grid = Grid(area);
  gallery.scrollTop = ClampGalleryScroll(grid, gallery.scrollTop - delta * grid.cellHeight / (3 * WHEEL_DELTA),
                                         area.bottom - area.top);
  Redraw(viewer);
}

void OnGalleryClick(View& view, ViewerState& viewer, Settings& settings, LPARAM lParam, bool open) {
  const RECT area = GalleryArea(view, viewer);
  const int32_t index =
      TileAt(Grid(area), gallery.scrollTop, static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam)));
  if (index < 0 || index >= gallery.count || static_cast<int16_t>(HIWORD(lParam)) >= area.bottom) return;
  gallery.selected = index;
  if (open) {
    OpenSelected(view, viewer, settings);
    return;
  }
  KeepSelectionInView(view, viewer);
}

void OnGalleryTiles(const View& view, const ViewerState& viewer) {
  std::vector<Done> done;
  {
    const std::lock_guard<std::mutex> held(gallery.lock);
    done.swap(gallery.done);
    gallery.posted = false;
  }
  const RECT area = GalleryArea(view, viewer);
  const GalleryGrid grid = Grid(area);
  for (Done& tile : done) {
    const size_t bytes = tile.tile->pixels.size() * 4 + tile.job.path.size() + 128;
    gallery.cache.Add(tile.job.path, tile.job.size, tile.job.time, std::move(tile.tile), bytes);
    // Only the tile's own cell is painted again.
    if (!gallery.shown || tile.job.index >= gallery.count) continue;
    const int32_t x = grid.ColumnOf(tile.job.index) * grid.cellWidth;
    const int32_t y = grid.RowOf(tile.job.index) * grid.cellHeight - gallery.scrollTop;
    const RECT cell = {x, y, x + grid.cellWidth, y + grid.cellHeight};
    InvalidateRect(viewer.mainWindow, &cell, FALSE);
  }
}

void PaintGallery(HDC target, const View& view, const ViewerState& viewer, const RECT& dirty) {
  const RECT area = GalleryArea(view, viewer);
  const int32_t height = area.bottom - area.top;
  RECT painted = {};
  if (!IntersectRect(&painted, &area, &dirty)) return;
  const int32_t width = painted.right - painted.left;
  const GalleryGrid grid = Grid(area);
  gallery.scrollTop = ClampGalleryScroll(grid, gallery.scrollTop, height);
  // Drawn off screen, then copied: no flicker while tiles arrive.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, width, painted.bottom - painted.top);
  if (dc == nullptr || bitmap == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc != nullptr) DeleteDC(dc);
    return;
  }
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  // The bitmap holds the painted part alone; drawing keeps the window's
  // coordinates.
  SetViewportOrgEx(dc, -painted.left, -painted.top, nullptr);
  FillRect(dc, &painted, GetSysColorBrush(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  const GalleryRange range = VisibleTiles(grid, gallery.scrollTop, height);
  for (int32_t index = range.first; index < range.end; ++index) {
    const int32_t x = grid.ColumnOf(index) * grid.cellWidth;
    const int32_t y = grid.RowOf(index) * grid.cellHeight - gallery.scrollTop;
    const RECT cell = {x, y, x + grid.cellWidth, y + grid.cellHeight};
    RECT overlap;
    if (IntersectRect(&overlap, &cell, &painted)) PaintTile(dc, grid, index, x, y);
  }
  SetViewportOrgEx(dc, 0, 0, nullptr);
  BitBlt(target, painted.left, painted.top, width, painted.bottom - painted.top, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  WantTiles(range);
}
