#include "document_reading.h"

#include <algorithm>
#include <cstring>

#include "../core/code_page_437.h"
#include "../core/state_types.h"
#include "amiga_text.h"
#include "art_formats.h"
#include "sauce.h"

namespace {

size_t TextEnd(const uint8_t* bytes, size_t length) {
  const void* zero = std::memchr(bytes, 0, length);
  return zero != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : length;
}

}  // namespace

FileStart LoadDocumentBytes(const ReadFileStart& readStart, char* text) {
  std::memset(text, 0, kTextBufferSize + 2);
  auto* bytes = reinterpret_cast<uint8_t*>(text);
  FileStart start = readStart(bytes, kTextBufferSize);
  const size_t decoded = DecodeToCodePage437(bytes, start.count);
  std::memset(text + decoded, 0, start.count - decoded);
  start.count = decoded;
  return start;
}

Reading ChooseReading(const char* path, const uint8_t* bytes, size_t length, bool colour) {
  switch (FormatRowOf(path).shown) {
    case ShownAs::kColour: return Reading::kSceneFormat;
    case ShownAs::kAnsiInColour:
      if (colour) return Reading::kAnsiScreen;
      break;
    case ShownAs::kText:
    case ShownAs::kUnset: break;
  }
  return colour && IsAnsiRecord(ReadSauce(bytes, length)) ? Reading::kAnsiScreen : Reading::kTextLayout;
}

int32_t LaidOutLength(const uint8_t* bytes, size_t length) {
  const size_t end = TextEnd(bytes, length);
  return static_cast<int32_t>(end == 0 || bytes[end - 1] != '\n' ? end + 1 : end);
}

int32_t LaidOutText(const uint8_t* bytes, size_t length, uint8_t* out) {
  const size_t end = TextEnd(bytes, length);
  std::memcpy(out, bytes, end);
  if (end == 0 || bytes[end - 1] != '\n') out[end] = '\n';
  return LaidOutLength(bytes, length);
}

FileStart LoadColourBytes(const ReadFileStart& readStart, bool decode, std::vector<uint8_t>& bytes) {
  FileStart start;
  for (size_t capacity = size_t{1} << 20;; capacity = std::min(capacity * 8, kColourDocumentLimit)) {
    bytes.resize(capacity);
    start = readStart(bytes.data(), capacity);
    if (start.opened == -1 || !start.cut || capacity == kColourDocumentLimit) break;
  }
  bytes.resize(start.count);
  if (decode) bytes.resize(DecodeToCodePage437(bytes.data(), bytes.size()));
  start.count = bytes.size();
  return start;
}

namespace {

// TFlags bits 1-2 and 3-4: 1 and 2 say 8 pixels and 9, 4:3 and square.
int SauceSays(const SauceRecord& sauce, int shift) {
  const bool defined = sauce.present && (sauce.dataType == 1 || sauce.dataType == 5);
  return defined ? sauce.flags >> shift & 3 : 0;
}

}  // namespace

int32_t ChosenLetterWidth(const SauceRecord& sauce, LookChoice letters) {
  if (letters != LookChoice::kAsFile) return letters == LookChoice::kOn ? 9 : 8;
  return SauceSays(sauce, 1) == 2 ? 9 : 8;
}

bool ChosenStretch(const SauceRecord& sauce, LookChoice aspect) {
  if (aspect != LookChoice::kAsFile) return aspect == LookChoice::kOn;
  return SauceSays(sauce, 3) == 1;
}

ChosenFont ChooseFont(const char* path, const uint8_t* bytes, size_t length, const std::string& chosen) {
  ChosenFont font;
  FontFace asked;
  if (!chosen.empty() && ParseFontName(chosen.c_str(), chosen.size(), asked)) {
    font.named = true;
    font.askedName = chosen;
  } else if (const SauceRecord sauce = ReadSauce(bytes, length); SauceFont(sauce, asked)) {
    font.named = true;
    font.askedName = sauce.fontName;
  } else if (MayBeAmigaText(path) && LooksLikeAmigaText(bytes, sauce.textLength)) {
    asked.family = FontFamily::kTopaz1;
    asked.codePage = 0;
    font.amigaText = true;
  }
  font.face = ResolveFont(asked, font.fellBack);
  return font;
}

namespace {

// The screen drawn in `font` when it carries no font of its own, its
// rows kept within the page limit at the font's height.
void TakeFont(const ChosenFont& font, AnsiScreen& screen, std::string& note) {
  if (screen.font != nullptr) return;
  screen.characterSet = font.face.Set();
  screen.codePage = font.face.codePage;
  screen.tube = FamilyInfo(font.face.family).tube;
  screen.cellHeight = font.face.CellHeight();
  const int32_t limit = AnsiRowLimit(screen.columns, screen.cellHeight, screen.exactColours.empty() ? 4 : 32);
  if (screen.rows > limit) {
    screen.rows = limit;
    const size_t cells = static_cast<size_t>(limit) * static_cast<size_t>(screen.columns);
    screen.cells.resize(cells);
    if (!screen.exactColours.empty()) screen.exactColours.resize(2 * cells);
    note = "only the first " + std::to_string(limit) + " rows are shown";
  }
}

}  // namespace

ColourScreen ReadColourScreen(const char* path, const uint8_t* bytes, size_t length, ScreenLook look) {
  ColourScreen shown;
  const SauceRecord sauce = ReadSauce(bytes, length);
  shown.font = ChooseFont(path, bytes, length, look.font);
  FormatReading reading = FormatRowOf(path).read(bytes, length);
  shown.screen = std::move(reading.screen);
  shown.note = std::move(reading.note);
  // An empty screen still shows a row, black, as the text layout shows an
  // empty document's row.
  AnsiScreen& screen = shown.screen;
  if (screen.rows == 0) {
    screen.rows = 1;
    screen.cells.assign(static_cast<size_t>(screen.columns), AnsiCell{});
    if (!screen.exactColours.empty()) screen.exactColours.assign(2 * static_cast<size_t>(screen.columns), 0);
  }
  TakeFont(shown.font, screen, shown.note);
  // Only the VGA's text modes drew a 9th column; its other fonts, and the
  // other machines, 8 pixels a letter whatever the record or the View asks.
  const bool vgaText = screen.tube == ScreenTube::kVga && screen.characterSet == CharacterSet::kIbm;
  screen.cellWidth = vgaText || screen.font != nullptr ? ChosenLetterWidth(sauce, look.letters) : 8;
  // A tube already square has nothing to stretch.
  shown.stretched = ChosenStretch(sauce, look.aspect) && screen.tube != ScreenTube::kSquare;
  return shown;
}
