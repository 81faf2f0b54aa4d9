#include "bitmap_font.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

void Put16(std::string& out, uint32_t value) {
  out += static_cast<char>(value >> 8 & 0xFF);
  out += static_cast<char>(value & 0xFF);
}
void Put32(std::string& out, uint32_t value) {
  Put16(out, value >> 16);
  Put16(out, value & 0xFFFF);
}
void Set32(std::string& out, size_t at, uint32_t value) {
  for (int k = 0; k < 4; ++k)
    out[at + static_cast<size_t>(k)] = static_cast<char>(value >> (24 - 8 * k) & 0xFF);
}
uint32_t Get16(const std::string& in, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(in[at])) << 8 | static_cast<uint8_t>(in[at + 1]);
}
uint32_t Get32(const std::string& in, size_t at) { return Get16(in, at) << 16 | Get16(in, at + 2); }

uint32_t Checksum(const std::string& table) {
  uint32_t sum = 0;
  for (size_t i = 0; i < table.size(); i += 4) {
    uint32_t word = 0;
    for (size_t k = 0; k < 4; ++k)
      word = word << 8 | (i + k < table.size() ? static_cast<uint8_t>(table[i + k]) : 0u);
    sum += word;
  }
  return sum;
}

struct Rect {
  int32_t x0, x1, top, bottom;  // pixels: columns x0..x1-1, rows top..bottom-1
};

// The glyph's ink as rectangles: runs of ink along each row, a run carried
// down while the next row has the very same run.
void InkRects(const uint32_t* rows, int32_t width, int32_t height, std::vector<Rect>& rects) {
  rects.clear();
  size_t open = 0;  // rects[open..] may still grow down
  for (int32_t y = 0; y < height; ++y) {
    const size_t before = rects.size();
    for (int32_t x = 0; x < width;) {
      if ((rows[y] >> (width - 1 - x) & 1) == 0) {
        ++x;
        continue;
      }
      int32_t end = x;
      while (end < width && (rows[y] >> (width - 1 - end) & 1) != 0) ++end;
      bool grown = false;
      for (size_t r = open; r < before; ++r) {
        if (rects[r].x0 == x && rects[r].x1 == end && rects[r].bottom == y) {
          rects[r].bottom = y + 1;
          grown = true;
          break;
        }
      }
      if (!grown) rects.push_back(Rect{x, end, y, y + 1});
      x = end;
    }
    // Rects that did not reach this row are finished: move the open ones
    // (those ending at y + 1) to the back by keeping order, and skip the rest.
    size_t keep = open;
    for (size_t r = open; r < rects.size(); ++r) {
      if (rects[r].bottom == y + 1) continue;
      std::swap(rects[keep++], rects[r]);
    }
    open = keep;
  }
}

struct Table {
  const char* tag;
  std::string bytes;
};

}  // namespace

std::string MakeTrueTypeFont(const BitmapFont& font, const std::string& familyName) {
  const int32_t width = std::clamp(font.width, 1, 32), height = std::clamp(font.height, 1, 255);
  const int32_t u = kFontUnitsPerPixel;
  const int32_t em = std::clamp(height * u, 16, 16384);
  constexpr int kByteGlyphs = 256;
  // Glyph 0 is .notdef, glyph b + 1 draws byte b, the last one a blank for
  // U+0020 where no byte stands for it.
  const int numGlyphs = kByteGlyphs + 2;

  // cmap: characters to glyphs, the first byte to claim one keeping it.
  std::vector<std::pair<uint16_t, uint16_t>> map;
  map.reserve(2 * kByteGlyphs + 1);
  for (int b = 0; b < kByteGlyphs; ++b) {
    const char16_t c = font.characters != nullptr ? font.characters[b] : static_cast<char16_t>(b);
    if (c == 0 || c == 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) continue;
    map.emplace_back(static_cast<uint16_t>(c), static_cast<uint16_t>(b + 1));
  }
  map.emplace_back(uint16_t{0x20}, static_cast<uint16_t>(numGlyphs - 1));
  for (int b = 0; b < kByteGlyphs; ++b)
    map.emplace_back(static_cast<uint16_t>(kGlyphCharacters + static_cast<uint32_t>(b)),
                     static_cast<uint16_t>(b + 1));
  std::stable_sort(map.begin(), map.end(), [](auto a, auto b) { return a.first < b.first; });
  map.erase(std::unique(map.begin(), map.end(), [](auto a, auto b) { return a.first == b.first; }),
            map.end());

  std::string glyf, loca, hmtx;
  std::vector<Rect> rects;
  int32_t xMin = 0, yMin = 0, xMax = 0, yMax = 0, maxPoints = 0, maxContours = 0;
  bool any = false;
  for (int g = 0; g < numGlyphs; ++g) {
    Put32(loca, static_cast<uint32_t>(glyf.size()));
    rects.clear();
    const int b = g - 1;
    if (b >= 0 && b < kByteGlyphs && font.rows.size() >= static_cast<size_t>(kByteGlyphs * height))
      InkRects(font.rows.data() + static_cast<size_t>(b) * static_cast<size_t>(height), width, height, rects);
    int32_t lsb = 0;
    if (!rects.empty()) {
      int32_t gx0 = width, gx1 = 0, gtop = height, gbottom = 0;
      for (const Rect& r : rects) {
        gx0 = std::min(gx0, r.x0);
        gx1 = std::max(gx1, r.x1);
        gtop = std::min(gtop, r.top);
        gbottom = std::max(gbottom, r.bottom);
      }
      const int32_t bx0 = gx0 * u, bx1 = gx1 * u, by0 = (height - gbottom) * u, by1 = (height - gtop) * u;
      lsb = bx0;
      if (!any) xMin = bx0, yMin = by0, xMax = bx1, yMax = by1;
      xMin = std::min(xMin, bx0), yMin = std::min(yMin, by0), xMax = std::max(xMax, bx1),
      yMax = std::max(yMax, by1);
      any = true;
      const auto contours = static_cast<int32_t>(rects.size());
      maxContours = std::max(maxContours, contours);
      maxPoints = std::max(maxPoints, 4 * contours);
      Put16(glyf, static_cast<uint32_t>(contours));
      Put16(glyf, static_cast<uint16_t>(bx0));
      Put16(glyf, static_cast<uint16_t>(by0));
      Put16(glyf, static_cast<uint16_t>(bx1));
      Put16(glyf, static_cast<uint16_t>(by1));
      for (int32_t c = 0; c < contours; ++c) Put16(glyf, static_cast<uint32_t>(4 * c + 3));
      Put16(glyf, 0);                                          // no instructions
      glyf.append(static_cast<size_t>(4 * contours), '\x01');  // every point on the outline
      // Clockwise (y up): bottom left, top left, top right, bottom right.
      int32_t px = 0, py = 0;
      for (const Rect& r : rects) {
        const int32_t xs[4] = {r.x0 * u, r.x0 * u, r.x1 * u, r.x1 * u};
        for (int32_t x : xs) Put16(glyf, static_cast<uint16_t>(static_cast<int16_t>(x - px))), px = x;
      }
      for (const Rect& r : rects) {
        const int32_t bottom = (height - r.bottom) * u, top = (height - r.top) * u;
        const int32_t ys[4] = {bottom, top, top, bottom};
        for (int32_t y : ys) Put16(glyf, static_cast<uint16_t>(static_cast<int16_t>(y - py))), py = y;
      }
      while (glyf.size() % 4 != 0) glyf += '\0';
    }
    Put16(hmtx, static_cast<uint32_t>(width * u));
    Put16(hmtx, static_cast<uint16_t>(lsb));
  }
  Put32(loca, static_cast<uint32_t>(glyf.size()));

  std::string head;
  Put32(head, 0x00010000);
  Put32(head, 0x00010000);
  Put32(head, 0);  // checkSumAdjustment, set last
  Put32(head, 0x5F0F3CF5);
  Put16(head, 0x0009);  // baseline at 0, whole pixels per em
  Put16(head, static_cast<uint32_t>(em));
  head.append(16, '\0');  // created, modified
  Put16(head, static_cast<uint16_t>(xMin));
  Put16(head, static_cast<uint16_t>(yMin));
  Put16(head, static_cast<uint16_t>(xMax));
  Put16(head, static_cast<uint16_t>(yMax));
  Put16(head, 0);  // macStyle
  Put16(head, 8);  // lowestRecPPEM
  Put16(head, 2);  // fontDirectionHint
  Put16(head, 1);  // long loca
  Put16(head, 0);

  std::string hhea;
  Put32(hhea, 0x00010000);
  Put16(hhea, static_cast<uint32_t>(height * u));  // ascender: the whole cell
  Put16(hhea, 0);                                  // descender
  Put16(hhea, 0);                                  // lineGap
  Put16(hhea, static_cast<uint32_t>(width * u));
  Put16(hhea, static_cast<uint16_t>(any ? xMin : 0));
  Put16(hhea, static_cast<uint16_t>(width * u - (any ? xMax : 0)));
  Put16(hhea, static_cast<uint16_t>(any ? xMax : 0));
  Put16(hhea, 1);
  Put16(hhea, 0);
  hhea.append(10, '\0');  // caretOffset, reserved
  Put16(hhea, 0);
  Put16(hhea, static_cast<uint32_t>(numGlyphs));

  std::string maxp;
  Put32(maxp, 0x00010000);
  Put16(maxp, static_cast<uint32_t>(numGlyphs));
  Put16(maxp, static_cast<uint32_t>(maxPoints));
  Put16(maxp, static_cast<uint32_t>(maxContours));
  Put16(maxp, 0);
  Put16(maxp, 0);
  Put16(maxp, 2);  // maxZones
  maxp.append(16, '\0');

  std::string os2;
  Put16(os2, 4);
  Put16(os2, static_cast<uint32_t>(width * u));
  Put16(os2, 400);
  Put16(os2, 5);
  Put16(os2, 0);                                                                      // fsType: installable
  for (int k = 0; k < 4; ++k) Put16(os2, static_cast<uint32_t>(k < 2 ? em / 2 : 0));  // subscript
  for (int k = 0; k < 4; ++k) Put16(os2, static_cast<uint32_t>(k < 2 ? em / 2 : k == 3 ? em / 2 : 0));
  Put16(os2, static_cast<uint32_t>(u));  // strikeout size
  Put16(os2, static_cast<uint32_t>(em / 2));
  Put16(os2, 0);         // sFamilyClass
  os2.append(10, '\0');  // panose
  Put32(os2, 1);         // Basic Latin
  os2.append(12, '\0');
  os2 += "QPNE";
  Put16(os2, 0x0040 | 0x0080);  // regular; the typo metrics are the line's
  Put16(os2, map.front().first);
  Put16(os2, map.back().first);
  Put16(os2, static_cast<uint32_t>(height * u));  // sTypoAscender
  Put16(os2, 0);
  Put16(os2, 0);
  Put16(os2, static_cast<uint32_t>(height * u));  // usWinAscent
  Put16(os2, 0);
  Put32(os2, 1);  // Latin 1
  Put32(os2, 0);
  Put16(os2, static_cast<uint32_t>(em / 2));
  Put16(os2, static_cast<uint32_t>(em * 3 / 4));
  Put16(os2, 0);
  Put16(os2, 0x20);
  Put16(os2, 0);

  // Format 4: runs of characters whose glyphs follow on, then 0xFFFF.
  std::vector<uint16_t> starts, ends, deltas;
  for (size_t i = 0; i < map.size(); ++i) {
    const auto delta = static_cast<uint16_t>(map[i].second - map[i].first);
    if (!starts.empty() && ends.back() + 1 == map[i].first && deltas.back() == delta) {
      ends.back() = map[i].first;
      continue;
    }
    starts.push_back(map[i].first);
    ends.push_back(map[i].first);
    deltas.push_back(delta);
  }
  starts.push_back(0xFFFF);
  ends.push_back(0xFFFF);
  deltas.push_back(1);
  const auto segments = static_cast<uint32_t>(starts.size());
  uint32_t power = 1, log = 0;
  while (power * 2 <= segments) power *= 2, ++log;
  std::string sub;
  Put16(sub, 4);
  Put16(sub, 16 + 8 * segments);
  Put16(sub, 0);
  Put16(sub, 2 * segments);
  Put16(sub, 2 * power);
  Put16(sub, log);
  Put16(sub, 2 * segments - 2 * power);
  for (uint16_t e : ends) Put16(sub, e);
  Put16(sub, 0);
  for (uint16_t s : starts) Put16(sub, s);
  for (uint16_t d : deltas) Put16(sub, d);
  for (uint32_t s = 0; s < segments; ++s) Put16(sub, 0);
  std::string cmap;
  Put16(cmap, 0);
  Put16(cmap, 1);
  Put16(cmap, 3);
  Put16(cmap, 1);
  Put32(cmap, 12);
  cmap += sub;

  std::string ps;
  for (char c : familyName)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') ps += c;
  if (ps.empty()) ps = "Quillpane";
  const std::string names[] = {ps, "Regular", ps + "-Regular", ps, ps + "-Regular"};
  const uint16_t ids[] = {1, 2, 3, 4, 6};
  std::string name, strings;
  Put16(name, 0);
  Put16(name, 5);
  Put16(name, 6 + 12 * 5);
  for (int k = 0; k < 5; ++k) {
    Put16(name, 3);
    Put16(name, 1);
    Put16(name, 0x409);
    Put16(name, ids[k]);
    Put16(name, static_cast<uint32_t>(2 * names[k].size()));
    Put16(name, static_cast<uint32_t>(strings.size()));
    for (char c : names[k]) Put16(strings, static_cast<uint8_t>(c));
  }
  name += strings;

  std::string post;
  Put32(post, 0x00030000);
  Put32(post, 0);
  Put16(post, static_cast<uint16_t>(-u));
  Put16(post, static_cast<uint32_t>(u));
  Put32(post, 1);  // fixed pitch
  post.append(16, '\0');

  Table tables[] = {{"OS/2", std::move(os2)},  {"cmap", std::move(cmap)}, {"glyf", std::move(glyf)},
                    {"head", std::move(head)}, {"hhea", std::move(hhea)}, {"hmtx", std::move(hmtx)},
                    {"loca", std::move(loca)}, {"maxp", std::move(maxp)}, {"name", std::move(name)},
                    {"post", std::move(post)}};
  constexpr uint32_t kTables = 10;
  std::string out;
  Put32(out, 0x00010000);
  Put16(out, kTables);
  Put16(out, 128);  // searchRange: 16 x 8
  Put16(out, 3);
  Put16(out, kTables * 16 - 128);
  size_t offset = 12 + 16 * kTables, headAt = 0;
  for (const Table& t : tables) {
    out.append(t.tag, 4);
    Put32(out, Checksum(t.bytes));
    Put32(out, static_cast<uint32_t>(offset));
    Put32(out, static_cast<uint32_t>(t.bytes.size()));
    if (std::strcmp(t.tag, "head") == 0) headAt = offset;
    offset += (t.bytes.size() + 3) / 4 * 4;
  }
  for (const Table& t : tables) {
    out += t.bytes;
    while (out.size() % 4 != 0) out += '\0';
  }
  Set32(out, headAt + 8, 0xB1B0AFBAu - Checksum(out));
  return out;
}

bool TrueTypeGlyphOf(const std::string& font, char16_t character, uint16_t& glyph) {
  glyph = 0;
  if (font.size() < 12) return false;
  const uint32_t tables = Get16(font, 4);
  if (font.size() < 12 + 16 * size_t{tables}) return false;
  for (uint32_t t = 0; t < tables; ++t) {
    const size_t record = 12 + 16 * size_t{t};
    if (font.compare(record, 4, "cmap") != 0) continue;
    const size_t cmap = Get32(font, record + 8), length = Get32(font, record + 12);
    if (cmap + length > font.size() || length < 4) return false;
    const uint32_t subtables = Get16(font, cmap + 2);
    for (uint32_t s = 0; s < subtables && cmap + 4 + 8 * size_t{s} + 8 <= cmap + length; ++s) {
      const size_t entry = cmap + 4 + 8 * size_t{s};
      if (Get16(font, entry) != 3 || Get16(font, entry + 2) != 1) continue;
      const size_t sub = cmap + Get32(font, entry + 4);
      if (sub + 14 > cmap + length || Get16(font, sub) != 4) return false;
      const size_t segments = Get16(font, sub + 6) / 2;
      const size_t endAt = sub + 14, startAt = endAt + 2 * segments + 2, deltaAt = startAt + 2 * segments;
      if (deltaAt + 4 * segments > cmap + length) return false;
      for (size_t k = 0; k < segments; ++k) {
        if (Get16(font, endAt + 2 * k) < character) continue;
        if (Get16(font, startAt + 2 * k) <= character)
          glyph = static_cast<uint16_t>(character + Get16(font, deltaAt + 2 * k));
        return true;
      }
      return true;
    }
  }
  return false;
}
