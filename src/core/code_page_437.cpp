#include "code_page_437.h"

#include <algorithm>
#include <array>
#include <utility>

// As the PC font names its glyphs.
const char16_t kCodePage437[256] = {
    0x0000, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640,
    0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8, 0x2191, 0x2193,
    0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC, 0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026,
    0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033,
    0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, 0x0040,
    0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047, 0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D,
    0x004E, 0x004F, 0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A,
    0x005B, 0x005C, 0x005D, 0x005E, 0x005F, 0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F, 0x0070, 0x0071, 0x0072, 0x0073, 0x0074,
    0x0075, 0x0076, 0x0077, 0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x2302, 0x00C7, 0x00FC,
    0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4,
    0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2,
    0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF,
    0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561,
    0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C,
    0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584,
    0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398,
    0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7,
    0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

std::u16string CharactersToUnicode(const char* text, const char16_t* characters, bool lineBreaks) {
  std::u16string unicode;
  for (const unsigned char* b = reinterpret_cast<const unsigned char*>(text); *b != 0; ++b) {
    const char16_t shown = characters[*b];
    // A byte that shows nothing is a blank cell.
    unicode += lineBreaks && (*b == '\r' || *b == '\n') ? char16_t{*b} : shown != 0 ? shown : u' ';
  }
  return unicode;
}

std::u16string CodePage437ToUnicode(const char* text, bool lineBreaks) {
  return CharactersToUnicode(text, kCodePage437, lineBreaks);
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string CodePage437ToUtf8(const char* text, bool lineBreaks) {
  std::string utf8;
  for (const char16_t c : CodePage437ToUnicode(text, lineBreaks)) AppendUtf8(utf8, c);
  return utf8;
}

int UnicodeToCodePage437(char32_t c) {
  if (c >= 0x20 && c < 0x7F) return static_cast<int>(c);
  if ((c >= 0x01 && c < 0x20) || c == 0x7F) return static_cast<int>(c);
  // The other characters, sorted once for a binary search.
  static const auto sorted = [] {
    std::array<std::pair<char16_t, uint8_t>, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = {kCodePage437[b], static_cast<uint8_t>(b)};
    std::sort(table.begin(), table.end());
    return table;
  }();
  if (c > 0xFFFF || c == 0) return -1;
  const auto found =
      std::lower_bound(sorted.begin(), sorted.end(), std::make_pair(static_cast<char16_t>(c), uint8_t{0}));
  return found != sorted.end() && found->first == c ? found->second : -1;
}

namespace {

enum class Encoding { kUtf8, kUtf16LittleEndian, kUtf16BigEndian };

// Calls emit(c) for each character from `at` until the end or a zero
// character. Returns false on an ill-formed sequence; `multiByte` tells
// whether any character took more than one byte of UTF-8.
template <typename Emit>
bool ForEachCharacter(const uint8_t* bytes, size_t at, size_t length, Encoding encoding, bool& multiByte,
                      Emit emit) {
  multiByte = false;
  while (at < length) {
    char32_t c = 0;
    if (encoding == Encoding::kUtf8) {
      const uint8_t lead = bytes[at];
      const int count = lead < 0x80                   ? 1
                        : lead >= 0xC2 && lead < 0xE0 ? 2
                        : lead >= 0xE0 && lead < 0xF0 ? 3
                        : lead >= 0xF0 && lead < 0xF5 ? 4
                                                      : 0;
      if (count == 0) return false;
      if (at + count > length) {  // cut by the end: dropped
        for (size_t i = at + 1; i < length; ++i) {
          if ((bytes[i] & 0xC0) != 0x80) return false;
        }
        return true;
      }
      c = count == 1 ? lead : lead & (0x7F >> count);
      for (int i = 1; i < count; ++i) {
        if ((bytes[at + i] & 0xC0) != 0x80) return false;
        c = c << 6 | (bytes[at + i] & 0x3F);
      }
      // Overlong forms, surrogates and values past U+10FFFF are ill-formed.
      static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
      if (c < kLeast[count] || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) return false;
      multiByte |= count > 1;
      at += count;
    } else {
      const auto unit = [&](size_t i) -> char32_t {
        return encoding == Encoding::kUtf16LittleEndian ? bytes[i] | bytes[i + 1] << 8
                                                        : bytes[i] << 8 | bytes[i + 1];
      };
      if (at + 2 > length) return true;
      c = unit(at);
      at += 2;
      if (c >= 0xDC00 && c < 0xE000) return false;
      if (c >= 0xD800 && c < 0xDC00) {
        if (at + 2 > length) return true;
        const char32_t low = unit(at);
        if (low < 0xDC00 || low >= 0xE000) return false;
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        at += 2;
      }
    }
    if (c == 0) return true;
    emit(c);
  }
  return true;
}

}  // namespace

size_t DecodeToCodePage437(uint8_t* bytes, size_t length) {
  Encoding encoding = Encoding::kUtf8;
  size_t start = 0;
  if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    encoding = Encoding::kUtf16LittleEndian;
    start = 2;
  } else if (length >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    encoding = Encoding::kUtf16BigEndian;
    start = 2;
  } else if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    start = 3;
  }
  bool multiByte = false, mappable = true;
  if (!ForEachCharacter(bytes, start, length, encoding, multiByte,
                        [&](char32_t c) { mappable = mappable && UnicodeToCodePage437(c) >= 0; }) ||
      !mappable || (start == 0 && !multiByte)) {
    return length;  // shown as the bytes they are
  }
  // Every character takes at least one byte of input and gives one byte, so
  // the text can be rewritten in place.
  size_t out = 0;
  ForEachCharacter(bytes, start, length, encoding, multiByte,
                   [&](char32_t c) { bytes[out++] = static_cast<uint8_t>(UnicodeToCodePage437(c)); });
  return out;
}
