#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "../win32/viewer_state.h"
#include "window_layout.h"
#include "../art/document.h"
#include "../art/document_reading.h"
#include "../raster/ansi_raster.h"
#include "../raster/page_drawing.h"
#include "../raster/vga_look.h"
#include "../art/page_limits.h"
#include "view.h"
#include "render_page.h"
#include "view_text.h"
#include "../text/sauce_text.h"
#include "../text/text_out.h"
#include "../core/window_geometry.h"
#include "../core/character_sets.h"
#include "../core/code_page_437.h"

namespace {

// Read once per render; kept out of the stack.
GlyphPixels glyphPixels;

// The document shown. Its colour screen's cells are the one part of the
// window's state sized by the document (two bytes a cell: about 1 MB for
// 512 KB of 80-column art), so the document lives here rather than in the
// fixed-size View; they are let go when the text layout is shown.
Document shownDocument;
// Whether its colour screen is shown (it has been rendered).
bool ansiShown = false;
AnsiScreen& ShownScreen() { return shownDocument.screen.screen; }

// An ANSI screen's page is kept at 4 bits a pixel (the palette index of
// each pixel, in a 16-colour DIB section that the paint stretches like the
// text layout's page), and only a band of its rows around the rows shown
// is drawn: the whole page of 512 KB of 80-column art would take 30 to 50
// MB, and writing that much fresh memory takes longer under Wine (page
// faults, some 30 ms for 50 MB) than the 30 ms a render may take. The band
// holds at least twice the rows in view, so scrolling draws it again only
// every half a view, a few hundred microseconds each time.
constexpr int32_t kMinBandRows = 128;
// Rows stretched for a 4:3 screen blend colours, so their band is 32 bits
// a pixel; past the rows in view it keeps to this many bytes.
constexpr int64_t kStretchedBandBytes = int64_t{32} << 20;

struct Band {
  HBITMAP bitmap = nullptr;  // the page bitmap while it is the band
  uint8_t* bits = nullptr;
  int32_t capacity = 0;                   // rows of cells the bitmap holds
  int32_t firstRow = 0;                   // the screen row drawn at its top
  int32_t drawnRows = 0;                  // rows drawn from there; 0: none yet
  std::array<uint32_t, 16> palette = {};  // the colour table the bitmap was made with
  std::vector<uint8_t> square;            // a stretched band's rows before the stretch
};
Band band;
// Whether the shown screen's rows are stretched, and the page pixels a
// row of its cells then takes: every row alike (StretchedHeight of one
// row), so that scrolling and selection keep going by whole rows.
bool stretched = false;
int32_t rowPixels = 16;

// The band's pixels: the screen's own, or 32 bits for stretched rows.
AnsiPageSize BandPageSize() {
  AnsiPageSize size = AnsiPageSizeOf(ShownScreen());
  if (stretched) size.bitsPerPixel = 32, size.stride = static_cast<int32_t>(DibStride(size.width, 32));
  return size;
}

// What the band draws: the shown screen, or a frame of its play (of the
// same size and colours); and the phase of the blink it draws.
const AnsiScreen* playFrame = nullptr;
bool blinkShown = true;

// Draws `count` rows of the drawn screen from row `from` into the band,
// which holds them: as they are, or each row of cells stretched to its
// rows of the band (every row takes the same rows, so a band may start at
// any of them). False when the square rows find no memory.
bool DrawBandRows(int32_t from, int32_t count) {
  const auto stride = static_cast<size_t>(BandPageSize().stride);
  uint8_t* at = band.bits + static_cast<size_t>(from - band.firstRow) * static_cast<size_t>(rowPixels) * stride;
  PageOptions options;
  options.rowsAlike = true;
  options.stretchedFormat = PixelFormat::kBgrx32;
  options.frame = playFrame;
  options.blinkShown = blinkShown;
  const PageDrawing page = PageDrawing::OfDocument(shownDocument, options);
  return page.Draw(from * rowPixels, count * rowPixels, at, stride, band.square);
}

void RenderTextLayout(View& view, ViewerState& viewer) {
  ansiShown = false;
  band = Band{};
  view.pageCellHeight = 8;
  view.pageCellWidth = 8;
  const int32_t length = shownDocument.laidOutLength;
  const uint8_t* text = shownDocument.laidOut.data();

  const PageMeasure measured = MeasureLayout(text, length, view.lineTable);
  const GlyphPixels* own = DocumentFontGlyphs(shownDocument);
  if (own == nullptr) ReadGlyphPixels(view.glyphSheet.get(), view.glyphTable, glyphPixels);
  const GlyphPixels& glyphs = own != nullptr ? *own : glyphPixels;
  const int bitsPerPixel = glyphs.bitsPerPixel == 32 ? 32 : 1;
  // A page cut to the size limits shows what fits; the window is laid out
  // for that page even when its bitmap cannot be made.
  const PagePixels size = PagePixelSize(measured, bitsPerPixel);
  view.pageWidth = size.width;
  view.pageHeight = size.height;
  view.pageBitmap.Reset();  // never two pages at once
  Page page = CreatePage(measured, bitsPerPixel);
  view.pageBitmap.Reset(page.bitmap);
  view.pageRect = RECT{0, 0, view.pageWidth, view.pageHeight};

  LayoutWindow(view, viewer);
  DrawPage(text, length, glyphs, page);
}

// Makes the page bitmap a band of at least `rows` rows of the screen's
// width and cell height. A band that is that already, as wide and with
// the rows, is kept with its memory (the rows it holds past the screen are
// never shown); any other page goes first, so that two are never held at
// once. False when no bitmap can be made.
bool MakeBand(View& view, int32_t rows) {
  const AnsiPageSize size = BandPageSize();
  DIBSECTION shown = {};
  if (band.bitmap != nullptr && band.bitmap == view.pageBitmap.get() && band.palette == ShownScreen().palette &&
      GetObjectA(band.bitmap, sizeof shown, &shown) == sizeof shown && shown.dsBm.bmWidth == size.width &&
      shown.dsBm.bmBitsPixel == size.bitsPerPixel && std::abs(shown.dsBm.bmHeight) / rowPixels >= rows) {
    band.capacity = std::abs(shown.dsBm.bmHeight) / rowPixels;
    return true;
  }
  view.pageBitmap.Reset();
  band = Band{};
  // Top-down, as the rasteriser writes it, in the screen's palette (or
  // its exact colours, 32 bits a pixel).
  uint8_t* bits = nullptr;
  HBITMAP bitmap = CreatePageBitmap(size.width, rows * rowPixels, size.bitsPerPixel, ShownScreen().palette.data(),
                                    size.bitsPerPixel == 4 ? 16 : 0, bits);
  if (bitmap == nullptr) return false;
  view.pageBitmap.Reset(bitmap);
  band.bitmap = bitmap;
  band.bits = bits;
  band.capacity = rows;
  band.palette = ShownScreen().palette;
  return true;
}

void RenderColourScreen(View& view, ViewerState& viewer) {
  const AnsiScreen& ansiScreen = ShownScreen();
  ansiShown = true;
  band.drawnRows = 0;  // nothing of this screen is drawn yet
  stretched = shownDocument.screen.stretched;
  rowPixels = stretched ? StretchedHeight(ansiScreen.cellHeight, ansiScreen.cellWidth, ansiScreen.tube) : ansiScreen.cellHeight;
  const AnsiPageSize size = AnsiPageSizeOf(ansiScreen);
  view.pageCellHeight = rowPixels;
  view.pageCellWidth = ansiScreen.cellWidth;
  view.pageWidth = size.width;
  view.pageHeight = static_cast<int32_t>(int64_t{ansiScreen.rows} * rowPixels);
  view.pageRect = RECT{0, 0, view.pageWidth, view.pageHeight};
  // The text layout's page is let go before the band is made.
  if (view.pageBitmap.get() != band.bitmap) view.pageBitmap.Reset();

  LayoutWindow(view, viewer);
  PreparePageRows(view, view.scrollY, view.sourceHeight);
}

}  // namespace

void RenderDocument(View& view, ViewerState& viewer, const Settings& settings) {
  // A play, a blink phase and the bytes they read end with the screen.
  StopScreenTimers(view, viewer);
  playFrame = nullptr;
  blinkShown = true;
  view.needsRender = 0;
  view.selectionShown = 0;
  ForgetShownRows(viewer);
  ReadDocumentAs(ShownOptions(settings), shownDocument);
  if (shownDocument.Colour()) {
    RenderColourScreen(view, viewer);
    StartScreenTimers(viewer);
    return;
  }
  RenderTextLayout(view, viewer);
}

Document& ShownDocument() { return shownDocument; }

DocumentOptions ShownOptions(const Settings& settings) {
  DocumentOptions options;
  options.colour = settings.ansiColours != 0;
  options.look = ShownLook(settings);
  options.holdWholeFile = true;
  return options;
}

SauceDescription ShownSauce(const Document& document) {
  return document.Opened() ? DescribeSauce(document.Bytes(), document.Length()) : SauceDescription{};
}

ScreenLook ShownLook(const Settings& settings) {
  return ScreenLook{static_cast<LookChoice>(settings.letterSpacing), static_cast<LookChoice>(settings.aspect),
                    settings.font};
}

const AnsiScreen* ShownAnsiScreen() { return ansiShown ? &ShownScreen() : nullptr; }

const char16_t* ShownCharacters() { return DocumentCharacters(shownDocument); }

LCID OemLocaleOf(const char16_t* characters) {
  // US English, Arabic, Greek, Latvian, German, Polish, Turkish, Hebrew, Russian.
  static const std::pair<int, LCID> kOemLocales[] = {{437, 0x0409}, {720, 0x0401}, {737, 0x0408},
                                                     {775, 0x0426}, {850, 0x0407}, {852, 0x0415},
                                                     {857, 0x041F}, {862, 0x040D}, {866, 0x0419}};
  if (characters == kCodePage437) return 0x0409;
  for (const auto& [codePage, locale] : kOemLocales)
    if (characters == CharactersOf(CharacterSet::kIbm, codePage)) return locale;
  return 0;
}

int32_t PreparePageRows(View& view, int32_t top, int32_t height) {
  if (!ansiShown) return 0;
  const int32_t cell = rowPixels;
  const int32_t rows = ShownScreen().rows;
  const int32_t first = std::clamp(top / cell, 0, rows);
  const int32_t last =
      static_cast<int32_t>(std::clamp<int64_t>((int64_t{top} + height + cell - 1) / cell, first, rows));
  if (band.bits != nullptr && band.bitmap == view.pageBitmap.get() && band.drawnRows > 0 &&
      first >= band.firstRow && last <= band.firstRow + band.drawnRows) {
    return band.firstRow * cell;
  }
  const int32_t shown = last - first;
  int32_t least = kMinBandRows;
  if (stretched) {
    const int64_t rowBytes = int64_t{BandPageSize().stride} * cell;
    least = static_cast<int32_t>(std::clamp<int64_t>(kStretchedBandBytes / rowBytes, 1, kMinBandRows));
  }
  if (!MakeBand(view, std::min(rows, std::max(2 * shown, least)))) return 0;
  // The rows shown, in the middle of the band where the screen allows.
  band.drawnRows = std::min(band.capacity, rows);
  band.firstRow = std::clamp(first - (band.drawnRows - shown) / 2, 0, rows - band.drawnRows);
  GdiFlush();  // the band's memory is written directly
  if (!DrawBandRows(band.firstRow, band.drawnRows)) band.drawnRows = 0;  // drawn again at the next paint
  return band.firstRow * cell;
}

bool ShownColourBytes(const View& view, const uint8_t*& bytes, size_t& length) {
  bytes = shownDocument.Bytes();
  length = shownDocument.Length();
  // A render due means the bytes have changed since.
  return ansiShown && !view.needsRender;
}

void DrawScreenFrame(View& view, const ViewerState& viewer, const AnsiScreen* frame) {
  playFrame = frame;
  if (ansiShown) RedrawScreenRows(view, viewer, 0, ShownScreen().rows);
}

void SetBlinkShown(bool shown) { blinkShown = shown; }

void RedrawScreenRows(View& view, const ViewerState& viewer, int32_t first, int32_t end) {
  if (!ansiShown) return;
  const int32_t cell = rowPixels;
  // The band's rows among them are drawn again; the others are drawn when
  // the view reaches them.
  const int32_t from = std::max(first, band.firstRow);
  const int32_t to = std::min(end, band.firstRow + band.drawnRows);
  if (band.bits != nullptr && band.bitmap == view.pageBitmap.get() && from < to) {
    GdiFlush();
    if (!DrawBandRows(from, to - from)) band.drawnRows = 0;
  }
  // Their part of the view, in the window's pixels.
  if (view.sourceHeight <= 0) return;
  const auto clientY = [&view](int64_t pageY) {
    return static_cast<LONG>(view.originY +
                             (pageY - view.scrollY) * view.viewHeight / view.sourceHeight);
  };
  RECT rows = {view.originX, std::max<LONG>(clientY(int64_t{first} * cell), view.originY),
               view.originX + view.viewWidth,
               std::min<LONG>(clientY(int64_t{end} * cell) + 1, view.originY + view.viewHeight)};
  if (rows.top < rows.bottom) InvalidateRect(viewer.mainWindow, &rows, FALSE);
}
