#include "page_limits.h"

PageMeasure LimitPageSize(PageMeasure measured, int bitsPerPixel) {
  PageMeasure page = measured;
  if (page.columnCount > kMaxPageColumns) page.columnCount = kMaxPageColumns;
  if (page.columnCount < 0) page.columnCount = 0;
  if (page.rowCount < 0) page.rowCount = 0;
  const int64_t cellRowBytes = DibStride(int64_t{page.columnCount} * 8, bitsPerPixel) * 8;
  if (cellRowBytes > 0 && int64_t{page.rowCount} * cellRowBytes > kMaxPageBytes) {
    page.rowCount = static_cast<int32_t>(kMaxPageBytes / cellRowBytes);
  }
  return page;
}
