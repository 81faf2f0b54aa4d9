#include "core/gallery_grid.h"

#include <gtest/gtest.h>

namespace {

// 10 pieces of 128-pixel tiles (cells of 144 x 192) in a 500-pixel-wide
// window: three columns, four rows, the last with one piece.
const GalleryGrid kGrid = LayOutGallery(10, 500, 128);

TEST(GalleryGrid, LaysOutColumnsRowsAndTheVisibleRange) {
  EXPECT_EQ(kGrid.columns, 3);
  EXPECT_EQ(kGrid.Rows(), 4);
  EXPECT_EQ(kGrid.RowOf(7), 2);
  EXPECT_EQ(kGrid.ColumnOf(7), 1);
  EXPECT_EQ(LayOutGallery(10, 20, 128).columns, 1);  // narrower than a tile
  // 200 pixels down, 250 tall: rows 1 and 2 (pixels 192 to 575).
  EXPECT_EQ(VisibleTiles(kGrid, 200, 250).first, 3);
  EXPECT_EQ(VisibleTiles(kGrid, 200, 250).end, 9);
  EXPECT_EQ(VisibleTiles(kGrid, 700, 400).end, 10);
  EXPECT_EQ(TileAt(kGrid, 192, 150, 10), 4);
  EXPECT_EQ(TileAt(kGrid, 0, 440, 10), -1);   // right of the last column
  EXPECT_EQ(TileAt(kGrid, 0, 200, 700), -1);  // after the last piece
}

TEST(GalleryGrid, ScrollKeepsTheSelectionInViewWithinTheGrid) {
  EXPECT_EQ(ScrollToTile(kGrid, 9, 0, 300), 4 * 192 - 300);
  EXPECT_EQ(ScrollToTile(kGrid, 0, 500, 300), 0);
  EXPECT_EQ(ScrollToTile(kGrid, 4, 150, 300), 150);  // already whole in view
  EXPECT_EQ(ScrollToTile(kGrid, 9, 0, 100), 576);    // shorter than a row: its top
  EXPECT_EQ(ClampGalleryScroll(kGrid, 5000, 300), 4 * 192 - 300);
  EXPECT_EQ(ClampGalleryScroll(kGrid, 50, 5000), 0);
}

TEST(GalleryGrid, KeysMoveTheSelectionClamped) {
  struct Case {
    int32_t from;
    GalleryMove move;
    int32_t to;
  } cases[] = {
      {4, GalleryMove::kLeft, 3},      {3, GalleryMove::kRight, 4},    {0, GalleryMove::kLeft, 0},
      {9, GalleryMove::kRight, 9},     {4, GalleryMove::kUp, 1},       {1, GalleryMove::kUp, 1},
      {4, GalleryMove::kDown, 7},      {8, GalleryMove::kDown, 9},     {7, GalleryMove::kPageUp, 1},
      {1, GalleryMove::kPageDown, 7},  {5, GalleryMove::kPageDown, 9}, {5, GalleryMove::kHome, 0},
      {5, GalleryMove::kEnd, 9},
  };
  for (const Case& c : cases)  // a 400-pixel page: two rows
    EXPECT_EQ(MoveGallerySelection(kGrid, c.from, c.move, 400), c.to) << c.from << " " << int(c.move);
  EXPECT_EQ(MoveGallerySelection(LayOutGallery(0, 500, 128), 0, GalleryMove::kEnd, 400), -1);
}

TEST(GalleryGrid, TileSizesStepAndStopAtTheEnds) {
  EXPECT_EQ(StepTileSize(128, +1), 192);
  EXPECT_EQ(StepTileSize(128, -1), 96);
  EXPECT_EQ(StepTileSize(256, +1), 256);
  EXPECT_EQ(StepTileSize(64, -1), 64);
  EXPECT_EQ(StepTileSize(100, -1), 96);
}

TEST(GalleryGrid, CacheDropsTheLeastRecentlyUsedBeyondItsBytes) {
  TileCache<int> cache(100);
  cache.Add("a", 128, 1, std::make_unique<int>(1), 40);
  cache.Add("b", 128, 1, std::make_unique<int>(2), 40);
  ASSERT_NE(cache.Find("a", 128, 1), nullptr);  // a is now the more recent
  EXPECT_EQ(cache.Find("a", 64, 1), nullptr);   // another size
  EXPECT_EQ(cache.Find("a", 128, 2), nullptr);  // the file written since
  cache.Add("c", 128, 1, std::make_unique<int>(3), 40);
  EXPECT_EQ(cache.Find("b", 128, 1), nullptr);
  EXPECT_EQ(*cache.Find("a", 128, 1), 1);
  EXPECT_EQ(cache.Used(), 80u);
  cache.Add("a", 128, 1, std::make_unique<int>(4), 30);  // replaced, not counted twice
  EXPECT_EQ(cache.Used(), 70u);
  cache.Add("huge", 128, 1, std::make_unique<int>(5), 101);
  EXPECT_EQ(cache.Count(), 2u);
}

}  // namespace
