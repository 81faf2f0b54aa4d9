// How an Amiga piece is told from a PC one. Both agree on ASCII; they part
// at 0xA0-0xFF, where the Amiga's Topaz shows Latin-1 and the PC shows code
// page 437's line, block and shade pieces and its Greek and maths signs.
// Each high byte is weighed by what it is likely to be in each reading:
//
//   pieces  437's box, block and shade pieces (0xB0-0xDF but the few below),
//           « (0xAE: 437 text that has » at 0xAF, the Amiga's ¯, mostly
//           has « too), and ∙ · ■ and the hard blank
//           (0xF9, 0xFA, 0xFE, 0xFF): count for 437;
//   Latin   the Amiga artist's strokes ¯ · ¸ ¨ (0xAF, 0xB7, 0xB8, 0xA8) and
//           the Latin-1 letters that are Greek in 437 and seldom drawn
//           with there (à â ä å è é ê ë í î): count for the Amiga;
//   both    bytes that are at home in both: ´ ┤, ß ▀, ß-as-beta, π, µ, τ,
//           ∞, ∩, 0xF0-0xF8 and 0xFB-0xFD (≡ ± ≥ ≤ ⌠ ⌡ ÷ ≈ ° √ ⁿ ²; ø ü
//           and kin in Latin-1), which 437 artists draw with: count for
//           each;
//   neither 0xA0-0xAD but ¨ (Spanish letters and signs in 437,
//           symbols in Latin-1), ½ × Ø: not counted.
//
// Where a byte stands can settle it. A Latin-1 letter between two ASCII
// letters is a letter in a word (für, melød): Latin, whatever 437 makes
// of it. A ´ with only ASCII beside it (and not - or =, which a 437 line
// ends a ┤ with) is the Amiga's stroke, not a tee that joins nothing. A ¯
// standing alone between blanks is 437's » used as a bullet: both.
// Escape sequences are stepped over, so that their final letter does not
// make a word.
//
// It is Amiga text when at least kLeast bytes count for Latin-1, at least
// twice as many as count for 437, and the bytes 0x80-0x9F (control codes
// in Latin-1; Windows-1252 or 437's accented letters where they occur) are
// at most one in sixteen of the Latin-1 count. The minimum keeps a few
// stray signs in a plain text from switching it; the majority keeps every
// 437 piece, whose blocks and lines come in hundreds, where it is.
//
// Line ends were weighed too and left out: the Amiga pieces at hand came
// through PC tools with CR LF, and PC pieces with LF alone are common.
#include "art/amiga_text.h"

#include <array>
#include <cstring>

namespace {

enum Reading : uint8_t { kNeither, kLatin, kBoth, kPiece };

constexpr std::array<uint8_t, 256> MakeReadings() {
  std::array<uint8_t, 256> reading{};
  for (int b = 0xAE; b <= 0xFF; ++b) reading[b] = kPiece;
  for (int b : {0xBD, 0xD7, 0xD8}) reading[b] = kNeither;
  for (int b : {0xA8, 0xAF, 0xB7, 0xB8, 0xE0, 0xE2, 0xE4, 0xE5, 0xE8, 0xE9, 0xEA, 0xEB, 0xED, 0xEE})
    reading[b] = kLatin;
  for (int b : {0xB4, 0xDF, 0xE1, 0xE3, 0xE6, 0xE7, 0xEC, 0xEF, 0xFB, 0xFC, 0xFD}) reading[b] = kBoth;
  for (int b = 0xF0; b <= 0xF8; ++b) reading[b] = kBoth;
  return reading;
}
constexpr std::array<uint8_t, 256> kReadings = MakeReadings();

// At least this many bytes must read as Latin-1.
constexpr size_t kLeast = 4;

bool IsLetter(uint8_t b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }
bool IsBlank(uint8_t b) { return b == ' ' || b == '\t' || b == '\r' || b == '\n'; }

bool IsWordLetter(uint8_t b) { return b >= 0xC0 && b != 0xD7 && b != 0xF7; }

// Beside a ´ that is a stroke: ASCII other than a 437 line's - or =, or
// another ´.
bool BesideStroke(uint8_t b) { return b == 0xB4 || (b < 0x80 && b != '-' && b != '='); }

}  // namespace

bool MayBeAmigaText(const char* path) {
  if (path == nullptr) return false;
  const size_t length = std::strlen(path);
  if (length < 4 || path[length - 4] != '.') return false;
  char ext[4] = {};
  for (int i = 0; i < 3; ++i) {
    const char c = path[length - 3 + i];
    ext[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  for (const char* amiga : {"asc", "txt", "nfo", "diz"})
    if (std::memcmp(ext, amiga, 3) == 0) return true;
  return false;
}

bool LooksLikeAmigaText(const uint8_t* bytes, size_t length) {
  if (bytes == nullptr) return false;
  // The end-of-file mark ends the text; a SAUCE record may follow it.
  if (const void* eof = std::memchr(bytes, 0x1A, length))
    length = static_cast<size_t>(static_cast<const uint8_t*>(eof) - bytes);
  size_t latin = 0, pieces = 0, controls = 0;
  bool afterLetter = false;  // the byte before is an ASCII letter of the text
  for (size_t i = 0; i < length; ++i) {
    const uint8_t b = bytes[i];
    if (b == 0x1B && i + 1 < length && bytes[i + 1] == '[') {
      // ESC [, parameters, one final byte 0x40-0x7E.
      i += 2;
      while (i < length && (bytes[i] < 0x40 || bytes[i] > 0x7E)) ++i;
      afterLetter = false;
      continue;
    }
    if (b < 0x80) {
      afterLetter = IsLetter(b);
      continue;
    }
    const bool left = afterLetter;
    afterLetter = false;
    if (b < 0xA0) {
      ++controls;
      continue;
    }
    const uint8_t before = i > 0 ? bytes[i - 1] : ' ';
    const uint8_t after = i + 1 < length ? bytes[i + 1] : ' ';
    Reading reading = static_cast<Reading>(kReadings[b]);
    if (left && IsLetter(after) && IsWordLetter(b))
      reading = kLatin;
    else if (b == 0xB4 && BesideStroke(before) && BesideStroke(after))
      reading = kLatin;
    else if (b == 0xAF && IsBlank(before) && IsBlank(after))
      reading = kBoth;
    if (reading == kLatin || reading == kBoth) ++latin;
    if (reading == kPiece || reading == kBoth) ++pieces;
  }
  return latin >= kLeast && latin >= 2 * pieces && 16 * controls <= latin;
}
