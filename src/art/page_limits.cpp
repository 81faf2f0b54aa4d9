#include "page_limits.h"

PageMeasure LimitPageSize(PageMeasure measured, int bitsPerPixel) {
  PageMeasure page = measured;
  if (page.columnCount > kMaxPageColumns) page.columnCount = kMaxPageColumns;
  if (page.columnCount < 0) page.columnCount = 0;
  if (page.rowCount < 0 || page.columnCount == 0) page.rowCount = 0;
  const int64_t cellRowBytes = DibStride(int64_t{page.columnCount} * 8, bitsPerPixel) * 8;
  if (cellRowBytes > 0 && int64_t{page.rowCount} * cellRowBytes > kMaxPageBytes) {
    page.rowCount = static_cast<int32_t>(kMaxPageBytes / cellRowBytes);
  }
  return page;
}

PagePixels PagePixelSize(PageMeasure measured, int bitsPerPixel) {
  const PageMeasure page = LimitPageSize(measured, bitsPerPixel);
  // At most 4096 columns; a row of cells takes at least 32 bytes (one
  // column at 1 bit a pixel, pixel rows padded to 4 bytes), which bounds
  // the rows by the page's bytes.
  static_assert(int64_t{kMaxPageColumns} * 8 <= INT32_MAX, "page width fits 32 bits");
  static_assert(kMaxPageBytes / 32 * 8 <= INT32_MAX, "page height fits 32 bits");
  return PagePixels{8 * page.columnCount, 8 * page.rowCount};
}
