#include <gtest/gtest.h>

#include <string>

#include "export/bitmap_font.h"
#include "export/html_page.h"
#include "screen_text.h"

namespace {

uint32_t At32(const std::string& f, size_t at) {
  uint32_t v = 0;
  for (size_t k = 0; k < 4; ++k) v = v << 8 | static_cast<uint8_t>(f[at + k]);
  return v;
}
int At16(const std::string& f, size_t at) {
  return static_cast<int16_t>(static_cast<uint8_t>(f[at]) << 8 | static_cast<uint8_t>(f[at + 1]));
}
size_t TableAt(const std::string& f, const char* tag) {
  for (size_t r = 12; r < 12 + 16 * static_cast<size_t>(At16(f, 4)); r += 16)
    if (f.compare(r, 4, tag) == 0) return At32(f, r + 8);
  return 0;
}

// Glyph `g`'s outlines (rectangles of 4 on-curve points, coordinates as
// 16-bit deltas) filled back into rows of pixels.
std::vector<uint32_t> Fill(const std::string& f, int g, int width, int height) {
  std::vector<uint32_t> rows(static_cast<size_t>(height));
  const size_t glyph = TableAt(f, "glyf") + At32(f, TableAt(f, "loca") + 4 * static_cast<size_t>(g));
  if (At32(f, TableAt(f, "loca") + 4 * static_cast<size_t>(g) + 4) ==
      At32(f, TableAt(f, "loca") + 4 * static_cast<size_t>(g)))
    return rows;
  const int contours = At16(f, glyph), points = 4 * contours;
  const size_t xs = glyph + 10 + 2 * static_cast<size_t>(contours) + 2 + static_cast<size_t>(points);
  const size_t ys = xs + 2 * static_cast<size_t>(points);
  int x = 0, y = 0;
  std::vector<int> px, py;
  for (int p = 0; p < points; ++p)
    px.push_back(x += At16(f, xs + 2 * p)), py.push_back(y += At16(f, ys + 2 * p));
  for (int c = 0; c < contours; ++c) {
    const int u = kFontUnitsPerPixel, x0 = px[4 * c] / u, x1 = px[4 * c + 2] / u;
    const int top = height - py[4 * c + 1] / u, bottom = height - py[4 * c] / u;
    for (int r = top; r < bottom; ++r)
      for (int col = x0; col < x1; ++col) rows[static_cast<size_t>(r)] |= 1u << (width - 1 - col);
  }
  return rows;
}

TEST(BitmapFont, TablesSumAndGlyphsDrawTheirBitsAndCmapGivesEachCharacterItsGlyph) {
  char16_t characters[256];
  for (int b = 0; b < 256; ++b) characters[b] = static_cast<char16_t>(0x2500 + b);
  characters[0x41] = u'A';
  characters[0x42] = u'A';  // a second claim: the first byte keeps it
  BitmapFont font;
  font.width = 9;
  font.height = 3;
  font.characters = characters;
  font.rows.assign(256 * 3, 0);
  const uint32_t shape[3] = {0x1FF, 0x183, 0x0F0};  // full row, two edges, a run: merged down and apart
  for (int y = 0; y < 3; ++y) font.rows[0x41 * 3 + static_cast<size_t>(y)] = shape[y];
  const std::string f = MakeTrueTypeFont(font, "q0");

  ASSERT_EQ(f.size() % 4, 0u);
  uint32_t sum = 0;
  for (size_t at = 0; at < f.size(); at += 4) sum += At32(f, at);
  EXPECT_EQ(sum, 0xB1B0AFBAu);
  for (size_t r = 12; r < 12 + 16 * static_cast<size_t>(At16(f, 4)); r += 16) {
    uint32_t table = 0;
    for (size_t at = 0; at < At32(f, r + 12); at += 4) table += At32(f, At32(f, r + 8) + at);
    if (f.compare(r, 4, "head") == 0) table -= At32(f, At32(f, r + 8) + 8);
    EXPECT_EQ(table, At32(f, r + 4)) << f.substr(r, 4);
  }
  EXPECT_EQ(At16(f, TableAt(f, "head") + 18), 3 * kFontUnitsPerPixel);  // the em is the cell's height
  EXPECT_EQ(At16(f, TableAt(f, "hmtx") + 4 * 0x42), 9 * kFontUnitsPerPixel);

  const std::vector<uint32_t> drawn = Fill(f, 0x41 + 1, 9, 3);
  EXPECT_EQ(drawn, std::vector<uint32_t>(shape, shape + 3));
  uint16_t glyph = 0;
  ASSERT_TRUE(TrueTypeGlyphOf(f, u'A', glyph));
  EXPECT_EQ(glyph, 0x41 + 1);
  ASSERT_TRUE(TrueTypeGlyphOf(f, u'\x2543', glyph));
  EXPECT_EQ(glyph, 0x43 + 1);
  ASSERT_TRUE(TrueTypeGlyphOf(f, u' ', glyph));  // no byte stands for a blank: a blank glyph does
  EXPECT_GT(glyph, 256);
  ASSERT_TRUE(TrueTypeGlyphOf(f, static_cast<char16_t>(kGlyphCharacters + 0x42), glyph));  // by byte
  EXPECT_EQ(glyph, 0x42 + 1);
  ASSERT_TRUE(TrueTypeGlyphOf(f, u'B', glyph));
  EXPECT_EQ(glyph, 0);
}

std::string Page(const std::string& name, const std::string& bytes, bool colour = false) {
  Document document;
  ReadDocument(name.c_str(), ReadFromMemory(Bytes(bytes), bytes.size()), {colour, {}}, document);
  static GlyphPixels sheet;  // zero: no sheet
  return DocumentHtml(document, sheet, TextOutOptions());
}

TEST(HtmlPage, EscapesTextAndRecordAndLinksAnchorsAndRunsNoScript) {
  std::string record = "SAUCE00" + std::string("<T&\"x\">") + std::string(28, ' ') + "A<b>" +
                       std::string(16, ' ') + std::string(20, ' ') + "20261207" + std::string(4, '\0');
  const uint8_t fields[] = {1, 0, 80, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  record += std::string(fields, fields + sizeof fields) + std::string(22, '\0');
  const std::string page =
      Page("a.nfo", "x<y>&\"z\" see www.site.org/a?b=1&c=2 onload=1\r\n<script>\r\n\x1A" + record);

  EXPECT_NE(page.find("<title>&lt;T&amp;&quot;x&quot;&gt;"), std::string::npos);
  EXPECT_NE(page.find("<meta name=\"author\" content=\"A&lt;b&gt;\">"), std::string::npos);
  EXPECT_NE(page.find("<meta name=\"generator\" content=\"Quillpane\">"), std::string::npos);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find("x&lt;y&gt;&amp;&quot;z&quot; see <a "
                      "href=\"http://www.site.org/a?b=1&amp;c=2\">www.site.org/a?b=1&amp;c=2</a>"),
            std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;"), std::string::npos);
  EXPECT_EQ(page.find("<script"), std::string::npos);
  for (size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at + 1)) {
    const std::string tag = page.substr(at, page.find('>', at) - at);
    EXPECT_EQ(tag.find(" on"), std::string::npos) << tag;
  }
  EXPECT_EQ(page.find("url(http"), std::string::npos);
}

TEST(HtmlPage, ColourRunsAreSpansAndGroundPastTheTextIsAnEmptyBox) {
  // Red on blue "ab", then the row erased in blue: ground with no text.
  const std::string page = Page("a.ans", "\x1B[31;44mab\x1B[K\r\n", true);
  EXPECT_NE(page.find(".c0{color:#aa0000;background:#0000aa}"), std::string::npos);
  EXPECT_NE(page.find("<pre>\n<span class=c0>ab</span><span class=\"g c"), std::string::npos);
  EXPECT_NE(page.find("style=\"width:624px\"></span>\n"), std::string::npos);
}

}  // namespace
