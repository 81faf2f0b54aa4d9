#include "window_export.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../art/page_limits.h"
#include "../core/file_names.h"
#include "../document/pack_file.h"
#include "../raster/page_drawing.h"
#include "../raster/vga_look.h"
#include "../view/render_page.h"
#include "../view/view.h"
#include "../win32/disk_file.h"
#include "export_core.h"
#include "png_export.h"

BOOL(WINAPI* runSaveDialog)(LPOPENFILENAMEA request) = GetSaveFileNameA;
int(WINAPI* windowExportMessageBox)(HWND, LPCSTR, LPCSTR, UINT) = MessageBoxA;

namespace {

struct OutputType {
  const char* description;
  const char* extension;
  OutputKind kind;
};
// The Save dialog's file types, in its order (nFilterIndex counts from 1).
constexpr OutputType kOutputTypes[] = {{"PNG image (*.png)", "png", OutputKind::kPng},
                                       {"UTF-8 text (*.txt)", "txt", OutputKind::kText},
                                       {"ANSI for terminals (*.ans)", "ans", OutputKind::kAnsi},
                                       {"Web page (*.html)", "html", OutputKind::kHtml}};
constexpr DWORD kOutputTypeCount = sizeof kOutputTypes / sizeof kOutputTypes[0];

// The type chosen last, for the whole run: each dialog offers it first.
DWORD lastType = 1;

// As the Open dialog's: three bytes a character hold every path whole.
constexpr size_t kSaveFileNameSize = 3 * MAX_PATH;

void Tell(const ViewerState& viewer, std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  windowExportMessageBox(viewer.mainWindow, text.c_str(), "Quillpane", MB_OK | MB_ICONERROR);
}

// The shown document in its reading as shown (a render that is due is
// made first); null when no art is shown: a file that could not be read
// shows a page saying why, which is not art to save.
const Document* ShownArt(View& view, ViewerState& viewer, const Settings& settings) {
  if (view.needsRender) RenderDocument(view, viewer, settings);
  const Document& document = ShownDocument();
  return document.Opened() ? &document : nullptr;
}

// The Keymap sheet's glyphs, which the window draws the text layout in
// (a font with its own characters brings its own: DocumentFontGlyphs).
// A sheet that cannot be read leaves the page blank, as in the window.
std::unique_ptr<GlyphPixels> KeymapGlyphs(const View& view) {
  auto glyphs = std::make_unique<GlyphPixels>();
  ReadGlyphPixels(view.glyphSheet.get(), view.glyphTable, *glyphs);
  return glyphs;
}

// The file whose bytes are shown: a pack's entry is the pack's.
std::string ShownArtFile(const ViewerState& viewer) {
  PackPath split;
  return IsPackPath(viewer.currentPath, split) ? split.pack : std::string(viewer.currentPath);
}

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// What a chosen name is written as: the type its extension names, so that
// a file's name never belies its bytes (x.ans.png stays a PNG when the
// dialog's type was changed and the name was not); a name with another
// extension or none takes the dialog's type.
const OutputType& ChosenType(const std::string& path, DWORD filterIndex) {
  const std::string name = FileNameOf(path);
  const size_t dot = name.find_last_of('.');
  std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (extension == "htm") extension = "html";
  for (const OutputType& type : kOutputTypes)
    if (extension == type.extension) return type;
  return kOutputTypes[filterIndex - 1];
}

}  // namespace

void SaveShownDocumentAs(View& view, ViewerState& viewer, const Settings& settings) {
  const Document* document = ShownArt(view, viewer, settings);
  if (document == nullptr) return Tell(viewer, "No art is shown: there is nothing to save.");
  std::string filter;
  for (const OutputType& type : kOutputTypes) {
    filter += type.description + std::string(1, '\0') + "*." + type.extension + std::string(1, '\0');
  }
  OPENFILENAMEA request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = viewer.mainWindow;
  request.lpstrFilter = filter.c_str();  // the string's own zero ends the list
  request.nFilterIndex = lastType;
  // The proposed name is the document's whole name with the type's
  // extension after it (x.ans.png): never the document's own name, even
  // for an ANSI file saved as ANSI, and it says what it was made from.
  char path[kSaveFileNameSize] = {};
  const std::string proposed = FileNameOf(viewer.currentPath) + "." + kOutputTypes[lastType - 1].extension;
  if (proposed.size() < sizeof path) std::memcpy(path, proposed.c_str(), proposed.size() + 1);
  request.lpstrFile = path;
  request.nMaxFile = sizeof path;
  const std::string art = ShownArtFile(viewer);
  const std::string folder = art.substr(0, art.find_last_of('\\') + 1);
  if (!folder.empty()) request.lpstrInitialDir = folder.c_str();
  request.lpstrTitle = "Save as";
  // A name typed without an extension gets the chosen type's: an Explorer
  // dialog takes the type's own for any default extension given.
  request.lpstrDefExt = kOutputTypes[lastType - 1].extension;
  request.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!runSaveDialog(&request)) {
    // Zero is a cancel; the dialog's own errors have no system text.
    if (const DWORD error = CommDlgExtendedError()) {
      char message[100];
      std::snprintf(message, sizeof message, "The Save dialog failed (common dialog error 0x%04lX).",
                    static_cast<unsigned long>(error));
      Tell(viewer, message);
    }
    return;
  }
  if (request.nFilterIndex >= 1 && request.nFilterIndex <= kOutputTypeCount) lastType = request.nFilterIndex;
  const std::string chosen(path, strnlen(path, sizeof path));
  if (NamesOneFile(chosen, art)) {
    return Tell(viewer, "\"" + chosen + "\" is the art shown" +
                            (art == viewer.currentPath ? "" : " (the pack it comes from)") +
                            ": it is never written over. Choose another name.");
  }
  const OutputType& type = ChosenType(chosen, lastType);
  // The window's reading (colour mode, letters, aspect, font) is the
  // document's own; everything else is as the command line's defaults.
  std::vector<uint8_t> bytes;
  std::string problem;
  try {
    Document coloured;
    if (OutputReadsInColour(type.kind) && !document->Colour()) {
      DocumentOptions options = ShownOptions(settings);
      options.colour = true;
      coloured = *document;
      ReadDocumentAs(options, coloured);
      document = &coloured;
    }
    problem =
        DocumentOutput(type.kind, *document, *KeymapGlyphs(view), ExportRequest(), viewer.currentPath, bytes);
  } catch (const std::exception&) {  // out of memory
    problem = "cannot save \"" + std::string(viewer.currentPath) + "\": not enough memory";
  }
  if (problem.empty()) problem = WriteWholeFile(chosen, bytes.data(), bytes.size());
  if (!problem.empty()) return Tell(viewer, problem);
  if (type.kind != OutputKind::kPng) RememberWrittenText(chosen, bytes.data(), bytes.size());
}

namespace {

// A rectangle of page pixels, right and bottom excluded.
struct PixelBox {
  int64_t left, top, right, bottom;
};

// The page pixels of `cells` as the export draws the page: 8 x 8 cells for
// the text layout, a colour screen's 8 or 9 by its font's height. A
// stretched (4:3) page is one picture whose rows blend the square rows
// they cover, so no pixel row belongs to one row of cells alone: rows r to
// r + n take the pixel rows from where r rows stretched end to where r + n
// rows stretched end, the stretch's own rounding.
PixelBox CellPixels(const Document& document, const CellSpan& cells) {
  int64_t width = 8, height = 8;
  bool stretched = false;
  const AnsiScreen& screen = document.screen.screen;
  if (document.Colour())
    width = screen.cellWidth, height = screen.cellHeight, stretched = document.screen.stretched;
  const auto rowEdge = [&](int64_t row) -> int64_t {
    if (!stretched) return row * height;
    // Rows past the screen's are past the page (the box is cut to it).
    const auto pixels = static_cast<int32_t>(std::clamp<int64_t>(row, 0, screen.rows) * height);
    return StretchedHeight(pixels, screen.cellWidth, screen.tube);
  };
  return PixelBox{cells.column * width, rowEdge(cells.row), (int64_t{cells.column} + cells.width) * width,
                  rowEdge(int64_t{cells.row} + cells.height)};
}

// The colour (0xRRGGBB) of pixel `x` of a row of `shape`'s format.
uint32_t PixelAt(const PixelRows& shape, const uint8_t* row, int64_t x) {
  switch (shape.format) {
    case PixelFormat::kIndexed1: return shape.palette[(row[x / 8] >> (7 - x % 8)) & 1];
    case PixelFormat::kIndexed4: return shape.palette[(row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
    case PixelFormat::kGrey8: return row[x] * 0x010101u;
    case PixelFormat::kRgb24:
      return uint32_t{row[3 * x]} << 16 | uint32_t{row[3 * x + 1]} << 8 | row[3 * x + 2];
    case PixelFormat::kBgrx32:
      return uint32_t{row[4 * x + 2]} << 16 | uint32_t{row[4 * x + 1]} << 8 | row[4 * x];
  }
  return 0;
}

// A movable block the clipboard takes, freed unless handed over.
class ClipboardBlock {
 public:
  explicit ClipboardBlock(size_t size) : block_(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size)) {}
  ~ClipboardBlock() {
    if (block_ != nullptr) GlobalFree(block_);
  }
  ClipboardBlock(const ClipboardBlock&) = delete;
  ClipboardBlock& operator=(const ClipboardBlock&) = delete;
  HGLOBAL get() const { return block_; }
  HGLOBAL Release() {
    HGLOBAL block = block_;
    block_ = nullptr;
    return block;
  }

 private:
  HGLOBAL block_;
};

// The picture of `box` of `drawing`'s page as a CF_DIB block: a
// BITMAPINFOHEADER and 24-bit rows, bottom row first, each padded to 4
// bytes. The problem, or an empty text.
std::string FillPicture(const PageDrawing& drawing, const PixelBox& box, ClipboardBlock& block) {
  const PixelRows& shape = drawing.shape();
  const auto width = static_cast<int32_t>(box.right - box.left),
             height = static_cast<int32_t>(box.bottom - box.top);
  const auto stride = static_cast<size_t>(DibStride(width, 24));
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block.get()));
  if (header == nullptr) return "not enough memory for the picture";
  *header = BITMAPINFOHEADER{};
  header->biSize = sizeof *header;
  header->biWidth = width;
  header->biHeight = height;  // bottom-up
  header->biPlanes = 1;
  header->biBitCount = 24;
  header->biCompression = BI_RGB;
  header->biSizeImage = static_cast<DWORD>(stride * static_cast<size_t>(height));
  uint8_t* bits = reinterpret_cast<uint8_t*>(header + 1);
  std::string problem;
  try {
    // A band of the page's own rows at a time (some 4 MB): the page is never whole in memory.
    const auto bandRows =
        static_cast<int32_t>(std::clamp<size_t>((size_t{4} << 20) / shape.stride, 1, height));
    std::vector<uint8_t> band(shape.stride * static_cast<size_t>(bandRows)), scratch;
    for (int32_t first = 0; first < height && problem.empty(); first += bandRows) {
      const int32_t count = std::min(bandRows, height - first);
      if (!drawing.Draw(static_cast<int32_t>(box.top) + first, count, band.data(), shape.stride, scratch)) {
        problem = "not enough memory to draw the picture";
        break;
      }
      for (int32_t k = 0; k < count; ++k) {
        const uint8_t* in = band.data() + static_cast<size_t>(k) * shape.stride;
        uint8_t* out = bits + static_cast<size_t>(height - 1 - (first + k)) * stride;
        for (int32_t x = 0; x < width; ++x, out += 3) {
          const uint32_t colour = PixelAt(shape, in, box.left + x);
          out[0] = static_cast<uint8_t>(colour), out[1] = static_cast<uint8_t>(colour >> 8);
          out[2] = static_cast<uint8_t>(colour >> 16);
        }
        std::memset(out, 0, stride - 3 * static_cast<size_t>(width));
      }
    }
  } catch (const std::exception&) {
    problem = "not enough memory to draw the picture";
  }
  GlobalUnlock(block.get());
  return problem;
}

}  // namespace

void CopyShownPicture(View& view, ViewerState& viewer, const Settings& settings) {
  const Document* document = ShownArt(view, viewer, settings);
  if (document == nullptr) return Tell(viewer, "No art is shown: there is no picture to copy.");
  // The page the PNG export draws (PlanExportPage's options).
  const std::unique_ptr<GlyphPixels> glyphs = KeymapGlyphs(view);
  PageOptions options;
  options.glyphs = glyphs.get();
  PageDrawing drawing;
  try {
    drawing = PageDrawing::OfDocument(*document, options);
  } catch (const std::exception&) {
    return Tell(viewer, "Not enough memory to draw the page.");
  }
  const PixelRows& shape = drawing.shape();
  PixelBox box{0, 0, shape.width, shape.height};
  if (const std::optional<CellSpan> cells = SelectedPageCells(view)) {
    const PixelBox selected = CellPixels(*document, *cells);
    // Cells of a page cut to the page limits may lie past what it draws.
    box = PixelBox{std::min(selected.left, box.right), std::min(selected.top, box.bottom),
                   std::min(selected.right, box.right), std::min(selected.bottom, box.bottom)};
  }
  const int64_t width = box.right - box.left, height = box.bottom - box.top;
  if (width <= 0 || height <= 0)
    return Tell(viewer, "Nothing of the page is selected: there is no picture to copy.");
  // The picture is held to what a page may take, like every page drawn.
  const int64_t bytes = DibStride(width, 24) * height;
  if (bytes > kMaxPageBytes) {
    return Tell(viewer, "The picture of " + std::to_string(width) + " x " + std::to_string(height) +
                            " pixels is larger than a page may be: select fewer cells.");
  }
  ClipboardBlock block(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(bytes));
  if (block.get() == nullptr) return Tell(viewer, "Not enough memory for the picture.");
  const std::string problem = FillPicture(drawing, box, block);
  if (!problem.empty()) return Tell(viewer, problem);
  if (!OpenClipboard(viewer.mainWindow))
    return Tell(viewer, "The clipboard is in use: " + SystemReason(GetLastError()));
  EmptyClipboard();
  if (SetClipboardData(CF_DIB, block.get()) != nullptr) block.Release();
  CloseClipboard();
}
