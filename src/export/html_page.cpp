#include "html_page.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iterator>
#include <unordered_map>
#include <vector>

#include "../art/layout_interpreter.h"
#include "../core/code_page_437.h"
#include "../raster/ansi_raster.h"
#include "../raster/page_drawing.h"
#include "../raster/png_writer.h"
#include "../raster/screen_fonts.h"
#include "../raster/text_page.h"
#include "../raster/vga_look.h"
#include "../text/links.h"
#include "../text/sauce_text.h"
#include "bitmap_font.h"

// How the page looks like the PNG: the glyphs the PNG is drawn in become a
// TrueType font of their own (bitmap_font.h), embedded as a data: URI,
// whose outlines lie on whole pixels at a font size of the cell's height,
// so that a browser's antialiasing leaves every pixel either ink or ground;
// the cells' colours are spans, one for each run of equal colours, and the
// line height is the cell's. A font of 512 glyphs is two fonts, the second
// for cells whose foreground picks the second 256; a byte whose character
// an earlier byte of another glyph has is drawn in a font of its own
// (Claims); a blank with ink and a soft hyphen, which a browser does not
// draw, draw their glyph as generated content, which is not text. A
// screen's blinking cells are drawn shown, as in the PNG.
//
// Two pages are the PNG itself behind transparent text in a blank font of
// the cells' size (scaled in its height by a transform where the rows are),
// so that a selection still lines up with the cells: a Keymap sheet in
// colour, whose glyphs are pictures rather than ink; and a 4:3 screen,
// whose rows the PNG blends: scaled by a transform, the browser's
// antialiasing of the rows' edges left seams where two rows meet inside a
// pixel (about 92% of the pixels agreed, against all of them for the
// picture).

namespace {

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void AppendBase64(std::string& out, const uint8_t* bytes, size_t size) {
  const size_t at = out.size();
  out.resize(at + (size + 2) / 3 * 4);
  char* o = &out[at];
  size_t i = 0;
  for (; i + 3 <= size; i += 3, o += 4) {
    const uint32_t v = uint32_t{bytes[i]} << 16 | uint32_t{bytes[i + 1]} << 8 | bytes[i + 2];
    o[0] = kBase64[v >> 18];
    o[1] = kBase64[v >> 12 & 63];
    o[2] = kBase64[v >> 6 & 63];
    o[3] = kBase64[v & 63];
  }
  if (i < size) {
    const uint32_t v = uint32_t{bytes[i]} << 16 | (i + 1 < size ? uint32_t{bytes[i + 1]} << 8 : 0);
    o[0] = kBase64[v >> 18], o[1] = kBase64[v >> 12 & 63];
    o[2] = i + 1 < size ? kBase64[v >> 6 & 63] : '=';
    o[3] = '=';
  }
}

// A character of the page's text, escaped for the markup.
void AppendCharacter(std::string& out, char16_t c) {
  switch (c) {
    case u'<': out += "&lt;"; break;
    case u'>': out += "&gt;"; break;
    case u'&': out += "&amp;"; break;
    case u'"': out += "&quot;"; break;
    default: AppendUtf8(out, c);
  }
}

// UTF-8 text (SAUCE fields, addresses) escaped for an attribute or text.
void AppendEscaped(std::string& out, const std::string& text) {
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
}

void AppendHex(std::string& out, uint32_t value) {
  char digits[12];
  std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(value));
  out += digits;
}

void AppendNumber(std::string& out, uint32_t value) {
  char digits[10];
  int n = 0;
  do digits[n++] = static_cast<char>('0' + value % 10);
  while ((value /= 10) != 0);
  while (n > 0) out += digits[--n];
}

void AppendColour(std::string& out, uint32_t rgb) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
  out += buffer;
}

void AppendFontFace(std::string& out, const char* family, const BitmapFont& font) {
  const std::string bytes = MakeTrueTypeFont(font, family);
  out += "@font-face{font-family:";
  out += family;
  out += ";src:url(data:font/ttf;base64,";
  AppendBase64(out, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  out += ") format(\"truetype\")}\n";
}

// A glyph row in a 9-pixel cell, as the rasteriser draws it.
uint32_t NinePixels(uint8_t glyphRow, uint8_t character) {
  return uint32_t{glyphRow} << 1 | (NinthColumnRepeats(character) ? glyphRow & 1u : 0u);
}

// A screen's glyphs as the rasteriser picks them: the file's own font when
// it fits the cells, else the built-in one of its set and height. `second`:
// the second 256 of a 512-glyph font.
BitmapFont ScreenBitmapFont(const AnsiScreen& screen, bool second, const char16_t* characters) {
  BitmapFont font;
  font.width = screen.cellWidth == 9 ? 9 : kAnsiCellWidth;
  font.height = std::max(screen.cellHeight, 1);
  font.characters = characters;
  const int32_t cell = font.height;
  const ScreenFont* own = screen.font.get();
  const uint8_t* rows = nullptr;
  int32_t glyphHeight = cell;
  if (own != nullptr && own->height == cell && own->rows.size() >= size_t(own->glyphs) * size_t(cell)) {
    rows = own->rows.data() + (second && own->glyphs == 512 ? 256 * static_cast<size_t>(cell) : 0);
  } else if ((rows = ScreenFontRows(screen.characterSet, screen.codePage, cell)) == nullptr) {
    rows = AnsiGlyph(cell, 0);
    glyphHeight = cell == 8 ? 8 : 16;
  }
  font.rows.assign(256 * static_cast<size_t>(cell), 0);
  for (int b = 0; b < 256; ++b) {
    for (int32_t y = 0; y < std::min(cell, glyphHeight); ++y) {
      const uint8_t bits =
          rows[static_cast<size_t>(b) * static_cast<size_t>(glyphHeight) + static_cast<size_t>(y)];
      uint32_t& row = font.rows[static_cast<size_t>(b) * static_cast<size_t>(cell) + static_cast<size_t>(y)];
      row = font.width == 9 ? NinePixels(bits, static_cast<uint8_t>(b)) : bits;
    }
  }
  return font;
}

// The text layout's 8 x 8 glyphs of a monochrome sheet: a 0 bit is black ink.
BitmapFont SheetBitmapFont(const GlyphPixels& glyphs, const char16_t* characters) {
  BitmapFont font;
  font.width = 8;
  font.height = 8;
  font.characters = characters;
  font.rows.assign(256 * 8, 0);
  if (glyphs.bitsPerPixel == 1)
    for (int b = 0; b < 256; ++b)
      for (int y = 0; y < 8; ++y)
        font.rows[static_cast<size_t>(b) * 8 + static_cast<size_t>(y)] = ~glyphs.mono[b][y] & 0xFFu;
  return font;
}

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A link's cells on one row.
struct LinkRun {
  int32_t row, column, end;
  size_t link;
};

// The look of a run of cells: class `index` among the page's.
struct RunLooks {
  std::unordered_map<uint64_t, uint32_t> indexes;
  std::string css;
  uint32_t Of(uint32_t foreground, uint32_t background, uint32_t font) {
    const uint64_t key = uint64_t{foreground & 0xFFFFFF} << 40 | uint64_t{background & 0xFFFFFF} << 16 | font;
    const auto found = indexes.find(key);
    if (found != indexes.end()) return found->second;
    const auto index = static_cast<uint32_t>(indexes.size());
    indexes.emplace(key, index);
    css += ".c" + std::to_string(index) + "{color:";
    AppendColour(css, foreground);
    css += ";background:";
    AppendColour(css, background);
    if (font != 0) css += ";font-family:q" + std::to_string(font);
    css += "}\n";
    return index;
  }
};

// A font's cmap gives a character one glyph, and a set may show one
// character with several glyphs (the inverse video of Atari's second half,
// the line pieces of the C64 at several heights), or a byte that shows
// nothing with a glyph. The first byte to claim a character (bytes that show
// a character before those read as a blank) has it in font 0; a later one
// whose glyph differs is drawn in font `rank`, whose cmap gives the
// character to the rank-th claimant.
struct Claims {
  char16_t shown[256];  // what each byte reads as: its character, or a blank
  uint16_t rank[256];   // claimants of the same character before it
  uint8_t first[256];   // the first claimant of its character
  std::vector<uint8_t> claimants[256];

  explicit Claims(const char16_t* characters) {
    std::unordered_map<char16_t, std::vector<uint8_t>> byCharacter;
    for (int pass = 0; pass < 2; ++pass)
      for (int b = 0; b < 256; ++b) {
        if ((characters[b] == 0) != (pass == 1)) continue;
        shown[b] = characters[b] == 0 ? u' ' : characters[b];
        std::vector<uint8_t>& list = byCharacter[shown[b]];
        rank[b] = static_cast<uint16_t>(list.size());
        first[b] = list.empty() ? static_cast<uint8_t>(b) : list.front();
        list.push_back(static_cast<uint8_t>(b));
      }
    for (int b = 0; b < 256; ++b) claimants[b] = byCharacter[shown[b]];
  }
  // The characters of font `rank`: each character given to one byte only.
  std::vector<char16_t> Characters(uint32_t fontRank) const {
    std::vector<char16_t> out(256, 0);
    for (int b = 0; b < 256; ++b) {
      const std::vector<uint8_t>& list = claimants[b];
      const uint8_t winner = list.size() > fontRank ? list[fontRank] : list.front();
      if (winner == b) out[static_cast<size_t>(b)] = shown[b];
    }
    return out;
  }
};

// Each byte's font: its rank where its glyph differs from its character's
// first claimant's, else 0.
void FontRanks(const BitmapFont& font, const Claims& claims, uint16_t (&ranks)[256]) {
  const auto height = static_cast<size_t>(font.height);
  for (int b = 0; b < 256; ++b) {
    const uint32_t* mine = font.rows.data() + static_cast<size_t>(b) * height;
    const uint32_t* theirs = font.rows.data() + static_cast<size_t>(claims.first[b]) * height;
    // Blanks draw through generated content instead (DocumentHtml).
    const bool blank = claims.shown[b] == u' ' || claims.shown[b] == u'\u00A0';
    ranks[b] = blank || std::equal(mine, mine + height, theirs) ? 0 : claims.rank[b];
  }
}

}  // namespace

// Rows end with LF whatever the options say: a browser reads a CR LF in the
// markup as LF anyway.
std::string DocumentHtml(const Document& document, const GlyphPixels& glyphs, const TextOutOptions&) {
  const ShownRows rows = DocumentShownRows(document);
  const char16_t* characters = DocumentCharacters(document);
  const bool colour = document.Colour();
  const AnsiScreen& screen = document.screen.screen;

  const Claims claims(characters);
  int32_t cellWidth = 8, cellHeight = 8, width = 0, squareHeight = 0, height = 0;
  bool pictureBehind = false;
  uint32_t ink = 0x000000, ground = 0xFFFFFF;
  bool wide = false;
  // The glyphs of the page's font (a 512-glyph font's second 256 in the
  // second), and each byte's font: font id 2 x rank + set is family q<id>.
  BitmapFont sets[2];
  uint16_t ranks[2][256] = {};
  if (colour) {
    cellWidth = screen.cellWidth == 9 ? 9 : kAnsiCellWidth;
    cellHeight = std::max(screen.cellHeight, 1);
    width = screen.columns * cellWidth;
    squareHeight = height = screen.rows * cellHeight;
    pictureBehind = document.screen.stretched;
    if (pictureBehind) height = StretchedHeight(squareHeight, cellWidth, screen.tube);
    const CellColours none = ColoursOfCell(screen, -1, -1);
    ink = none.foregroundRgb;
    ground = none.backgroundRgb;
    wide = screen.font != nullptr && screen.font->glyphs == 512 && screen.font->height == screen.cellHeight;
    sets[0] = ScreenBitmapFont(screen, false, characters);
    if (wide) sets[1] = ScreenBitmapFont(screen, true, characters);
  } else {
    const GlyphPixels* own = DocumentFontGlyphs(document);
    const GlyphPixels* sheet = own != nullptr ? own : &glyphs;
    const TextPage shape =
        ShapeTextPage(MeasureLayout(document.laidOut.data(), document.laidOutLength, nullptr),
                      sheet->bitsPerPixel == 32 ? 32 : 1);
    width = shape.columns * 8;
    squareHeight = height = shape.rows * 8;
    pictureBehind = sheet->bitsPerPixel == 32;
    static GlyphPixels blank;  // zero: no sheet, no ink
    sets[0] = SheetBitmapFont(pictureBehind ? blank : *sheet, characters);
  }
  bool inked[2][256] = {};
  if (pictureBehind) {
    std::fill(sets[0].rows.begin(), sets[0].rows.end(), 0u);
  } else {
    for (int k = 0; k < (wide ? 2 : 1); ++k)
      for (size_t b = 0; b < 256; ++b) {
        const auto glyphRows = static_cast<size_t>(sets[k].height);
        const uint32_t* glyph = sets[k].rows.data() + b * glyphRows;
        inked[k][b] = std::any_of(glyph, glyph + glyphRows, [](uint32_t row) { return row != 0; });
      }
    FontRanks(sets[0], claims, ranks[0]);
    if (wide) FontRanks(sets[1], claims, ranks[1]);
  }
  // Cells in colours of their own, unless the picture is behind them.
  const bool spans = colour && !pictureBehind;
  std::vector<bool> fontsUsed(1, true);

  // The links, row by row in reading order.
  const std::vector<Link> links = FindLinks(rows);
  std::vector<LinkRun> linkRuns;
  for (size_t l = 0; l < links.size(); ++l)
    for (const CellRun& run : links[l].cells)
      if (run.length > 0) linkRuns.push_back(LinkRun{run.row, run.column, run.column + run.length, l});
  std::sort(linkRuns.begin(), linkRuns.end(), [](const LinkRun& a, const LinkRun& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  });

  std::string text;
  size_t cells = 0;
  for (const ShownRow& row : rows) cells += row.cells.size() + 1;
  text.reserve(cells * 3 + 64);
  RunLooks looks;
  const bool exact = !screen.exactColours.empty();
  int64_t byColours[256];
  std::fill(std::begin(byColours), std::end(byColours), -1);
  size_t nextLink = 0;
  for (size_t r = 0; r < rows.size(); ++r) {
    const auto rowIndex = static_cast<int32_t>(r);
    const std::vector<uint8_t>& row = rows[r].cells;
    const auto end = static_cast<int32_t>(row.size());
    while (nextLink < linkRuns.size() && linkRuns[nextLink].row < rowIndex) ++nextLink;
    const LinkRun* link =
        nextLink < linkRuns.size() && linkRuns[nextLink].row == rowIndex ? &linkRuns[nextLink] : nullptr;
    bool inLink = false;
    int64_t lastIndex = -1;  // the class of the open span, or -1
    for (int32_t c = 0; c < end; ++c) {
      const bool linkEnds = inLink && c == link->end;
      if (linkEnds) {
        if (lastIndex >= 0) text += "</span>";
        text += "</a>";
        inLink = false;
        lastIndex = -1;
        ++nextLink;
        link =
            nextLink < linkRuns.size() && linkRuns[nextLink].row == rowIndex ? &linkRuns[nextLink] : nullptr;
      }
      if (link != nullptr && c == link->column) {
        if (lastIndex >= 0) text += "</span>";
        lastIndex = -1;
        text += "<a href=\"";
        AppendEscaped(text, links[link->link].address);
        text += "\">";
        inLink = true;
      }
      // An empty cell of the text layout shows nothing; one of a screen
      // shows its byte 0.
      const uint8_t b = row[static_cast<size_t>(c)];
      uint8_t colours = 0;
      uint32_t font = 0;
      int set = 0;
      if (colour) {
        colours = screen.At(c, rowIndex).colours;
        set = wide && (colours & 8) != 0 ? 1 : 0;
        font = 2u * ranks[set][b] + static_cast<uint32_t>(set);
      } else if (b != 0) {
        font = 2u * ranks[0][b];
      }
      if (font >= fontsUsed.size()) fontsUsed.resize(font + 1, false);
      fontsUsed[font] = true;
      int64_t index = -1;  // no span: the pre's own look
      if (spans) {
        // Without exact colours a cell's look is its colours byte's (and its
        // font): each byte's class in font 0 or 1 is found once.
        const bool cached = !exact && font < 2;
        if (cached) index = byColours[colours];
        if (index < 0) {
          const CellColours look = ColoursOfCell(screen, c, rowIndex);
          index = looks.Of(look.foregroundRgb, look.backgroundRgb, font);
          if (cached) byColours[colours] = index;
        }
      } else if (font != 0) {
        index = looks.Of(ink, ground, font);
      }
      if (index != lastIndex) {
        if (lastIndex >= 0) text += "</span>";
        if (index >= 0) {
          text += "<span class=c";
          AppendNumber(text, static_cast<uint32_t>(index));
          text += '>';
        }
        lastIndex = index;
      }
      // An empty cell, and a byte its set shows nothing for, read as a blank.
      // A browser draws no glyph for a blank, and a soft hyphen takes no
      // room: their glyphs are drawn by the font's private-use character
      // of the byte as generated content, which is neither text nor copied.
      const char16_t shown = b == 0 ? u' ' : claims.shown[b];
      const bool blank = shown == u' ' || shown == u'\u00A0';
      if (blank && inked[set][b] && (colour || b != 0)) {
        text += "<span class=h data-g=\"&#x";
        AppendHex(text, kGlyphCharacters + b);
        text += ";\">";
        AppendCharacter(text, shown);
        text += "</span>";
      } else {
        AppendCharacter(text, shown);
        if (shown == u'\u00AD') {
          text += "<span class=w data-g=\"&#x";
          AppendHex(text, kGlyphCharacters + b);
          text += ";\"></span>";
        }
      }
    }
    if (lastIndex >= 0) text += "</span>";
    if (inLink) {
      text += "</a>";
      ++nextLink;
    }
    // Cells past the row's last character draw their ground only: empty
    // boxes of its colour, which hold no text.
    if (spans) {
      int32_t last = end;
      for (int32_t c = end; c < screen.columns; ++c)
        if (ColoursOfCell(screen, c, rowIndex).backgroundRgb != ground) last = c + 1;
      for (int32_t c = end; c < last;) {
        const uint32_t back = ColoursOfCell(screen, c, rowIndex).backgroundRgb;
        int32_t stop = c + 1;
        while (stop < last && ColoursOfCell(screen, stop, rowIndex).backgroundRgb == back) ++stop;
        text += "<span class=\"g c";
        text += std::to_string(looks.Of(back, back, 0));
        text += "\" style=\"width:" + std::to_string((stop - c) * cellWidth) + "px\"></span>";
        c = stop;
      }
    }
    text += '\n';
  }

  const SauceDescription sauce = DescribeSauce(document.Bytes(), document.Length());
  std::string page;
  std::string fonts;
  for (uint32_t id = 0; id < fontsUsed.size(); ++id) {
    if (!fontsUsed[id]) continue;
    const std::vector<char16_t> mapped = claims.Characters(id / 2);
    BitmapFont font = sets[id % 2];
    font.characters = mapped.data();
    AppendFontFace(fonts, ("q" + std::to_string(id)).c_str(), font);
  }
  page.reserve(text.size() + fonts.size() + looks.css.size() + 2048);
  page +=
      "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<meta name=\"generator\" "
      "content=\"Quillpane\">\n<title>";
  AppendEscaped(page, sauce.present && !sauce.summary.empty() ? sauce.summary : FileName(document.path));
  page += "</title>\n";
  if (sauce.present) {
    std::string record;
    for (const auto& field : sauce.fields) {
      if (field.second.empty()) continue;
      if (!record.empty()) record += "; ";
      record += field.first + ": " + field.second;
    }
    page += "<meta name=\"description\" content=\"";
    AppendEscaped(page, record);
    page += "\">\n";
    if (!sauce.author.empty()) {
      page += "<meta name=\"author\" content=\"";
      AppendEscaped(page, sauce.author);
      page += "\">\n";
    }
  }
  page += "<style>\n";
  page += fonts;
  page += "html,body{margin:0;padding:0}\nbody{background:";
  AppendColour(page, ground);
  if (pictureBehind) {
    // The PNG itself, the text in transparent ink over it.
    page += " url(data:image/png;base64,";
    PageOptions options;
    options.glyphs = &glyphs;
    std::vector<uint8_t> png;
    try {
      PageDrawing drawing = PageDrawing::OfDocument(document, options);
      const RowsDrawer draw = [&drawing](int32_t first, int32_t count, uint8_t* out, size_t stride,
                                         std::vector<uint8_t>& scratch) {
        return drawing.Draw(first, count, out, stride, scratch);
      };
      if (drawing.shape().width > 0 && !EncodePngDrawn(drawing.shape(), draw, png)) png.clear();
    } catch (const std::exception&) {  // out of memory: the text alone
      png.clear();
    }
    AppendBase64(page, png.data(), png.size());
    page += ") no-repeat 0 0";
  }
  page += "}\npre{margin:0;padding:0;white-space:pre;font:" + std::to_string(cellHeight) + "px/" +
          std::to_string(cellHeight) +
          "px q0;font-kerning:none;font-variant-ligatures:none;font-synthesis:none;"
          "letter-spacing:0;tab-size:1;width:" +
          std::to_string(width) + "px;height:" + std::to_string(squareHeight) + "px;color:";
  if (pictureBehind) {
    page += "transparent";
  } else {
    AppendColour(page, ink);
    page += ";background:";
    AppendColour(page, ground);
  }
  if (height != squareHeight && squareHeight > 0) {
    // The text's rows as high as the picture's.
    char scale[48];
    std::snprintf(scale, sizeof scale, "%.9g", static_cast<double>(height) / squareHeight);
    page += ";transform-origin:0 0;transform:scaleY(";
    page += scale;
    page += ')';
  }
  page += "}\na{color:inherit;text-decoration:none}\n.g{display:inline-block;height:" +
          std::to_string(cellHeight) + "px;vertical-align:top}\n";
  page +=
      ".h{position:relative}\n.h::before,.w::before{content:attr(data-g)}\n.h::before{position:absolute;left:"
      "0;top:0}\n";
  page += looks.css;
  page += "</style>\n</head>\n<body>\n<pre>\n";  // the parser drops a line end right after <pre>
  page += text;
  page += "</pre>\n</body>\n</html>\n";
  return page;
}
