// The gallery's grid: tiles of a folder's or pack's pieces in rows, the
// selection's moves, the rows a scroll position shows, and the bounded
// cache of drawn tiles. Pure rules over plain numbers.
#ifndef QUILLPANE_GALLERY_GRID_H
#define QUILLPANE_GALLERY_GRID_H

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

// Tile sizes (the picture's side in pixels) the zoom keys step through.
constexpr int32_t kGalleryTileSizes[] = {64, 96, 128, 192, 256};
constexpr int32_t kGalleryDefaultTileSize = 128;
// Around each picture: a margin, and below it the name, title and author.
constexpr int32_t kGalleryMargin = 8;
constexpr int32_t kGalleryLabelHeight = 48;

struct GalleryGrid {
  int32_t count = 0;       // pieces
  int32_t columns = 1;     // at least one, however narrow the window
  int32_t cellWidth = 0;   // a tile with its margin and labels
  int32_t cellHeight = 0;
  int32_t Rows() const { return (count + columns - 1) / columns; }
  int32_t Height() const { return Rows() * cellHeight; }
  int32_t RowOf(int32_t index) const { return index / columns; }
  int32_t ColumnOf(int32_t index) const { return index % columns; }
};

GalleryGrid LayOutGallery(int32_t count, int32_t width, int32_t tileSize);
// The next tile size up (+1) or down (-1), staying at either end.
int32_t StepTileSize(int32_t tileSize, int direction);

// Pieces first .. end - 1 are (at least partly) seen at `scrollTop` in a
// window `height` pixels tall.
struct GalleryRange {
  int32_t first = 0;
  int32_t end = 0;
};
GalleryRange VisibleTiles(const GalleryGrid& grid, int32_t scrollTop, int32_t height);
// The scroll position kept between the grid's top and its last screen.
int32_t ClampGalleryScroll(const GalleryGrid& grid, int32_t scrollTop, int32_t height);
// The scroll position nearest `scrollTop` that shows all of `index`'s row
// (its top, when the window is shorter than a row).
int32_t ScrollToTile(const GalleryGrid& grid, int32_t index, int32_t scrollTop, int32_t height);
// The piece at a point of the window, or -1 between or after the tiles.
int32_t TileAt(const GalleryGrid& grid, int32_t scrollTop, int32_t x, int32_t y);

enum class GalleryMove { kLeft, kRight, kUp, kDown, kPageUp, kPageDown, kHome, kEnd };
// The selection after `move`, clamped to the pieces: a page is as many
// whole rows as `height` shows (at least one); left and right run on
// across rows.
int32_t MoveGallerySelection(const GalleryGrid& grid, int32_t selected, GalleryMove move, int32_t height);

// Drawn tiles by path, size and last write time, at most `capacity` bytes
// of them: the least recently used go first. A tile larger than the whole
// capacity is not kept.
template <typename Tile>
class TileCache {
 public:
  explicit TileCache(size_t capacity) : capacity_(capacity) {}
  const Tile* Find(const std::string& path, int32_t size, uint64_t time) {
    const auto found = index_.find(Key(path, size, time));
    if (found == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, found->second);
    return found->second->tile.get();
  }
  void Add(const std::string& path, int32_t size, uint64_t time, std::unique_ptr<Tile> tile, size_t bytes) {
    const std::string key = Key(path, size, time);
    const auto old = index_.find(key);
    if (old != index_.end()) Drop(old->second);
    if (bytes > capacity_) return;
    order_.push_front(Entry{key, std::move(tile), bytes});
    index_[key] = order_.begin();
    used_ += bytes;
    while (used_ > capacity_) Drop(std::prev(order_.end()));
  }
  size_t Used() const { return used_; }
  size_t Count() const { return order_.size(); }
  void Clear() {
    order_.clear();
    index_.clear();
    used_ = 0;
  }

 private:
  struct Entry {
    std::string key;
    std::unique_ptr<Tile> tile;
    size_t bytes;
  };
  using Place = typename std::list<Entry>::iterator;
  static std::string Key(const std::string& path, int32_t size, uint64_t time) {
    return std::to_string(size) + ":" + std::to_string(time) + ":" + path;
  }
  void Drop(Place place) {
    used_ -= place->bytes;
    index_.erase(place->key);
    order_.erase(place);
  }
  size_t capacity_;
  size_t used_ = 0;
  std::list<Entry> order_;  // most recently used first
  std::unordered_map<std::string, Place> index_;
};

#endif
