#include "text_search.h"

#include <algorithm>
#include <functional>
#include <iterator>

#include "../core/code_page_437.h"

namespace {

// The character as Find compares it: blanks alike, and without match case
// the lower case of every capital the fonts' code pages hold (ASCII,
// Latin-1 and Latin Extended-A, Greek, Cyrillic) and of the others of
// those alphabets a needle may hold. 'ß' stays itself: its capital is two
// letters; dotted İ and dotless ı stay themselves, as Turkish keeps them.
char16_t Fold(char16_t c, bool matchCase) {
  if (c == 0x00A0) return u' ';
  if (matchCase) return c;
  if (c >= u'A' && c <= u'Z') return c + 0x20;
  if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return c + 0x20;
  if (c >= 0x0391 && c <= 0x03AB && c != 0x03A2) return c + 0x20;
  if (c == 0x03C2) return 0x03C3;  // final sigma
  if (c == 0x00B5) return 0x03BC;  // the micro sign is a mu
  if (c == 0x0178) return 0x00FF;
  if (c >= 0x0410 && c <= 0x042F) return c + 0x20;  // Cyrillic
  if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
  if (c >= 0x0386 && c <= 0x038F) {  // Greek with tonos
    static const char16_t kTonos[10] = {0x03AC, 0x0387, 0x03AD, 0x03AE, 0x03AF, 0x038B, 0x03CC, 0x038D, 0x03CD, 0x03CE};
    return kTonos[c - 0x0386];
  }
  // Latin Extended-A pairs a capital with the small letter after it: even
  // capitals up to U+0137 and from U+014A, odd ones between and after.
  if (c >= 0x0100 && c <= 0x017E && c != 0x0130 && c != 0x0131 && c != 0x0138 && c != 0x0149 && c != 0x0178) {
    const bool evenCapitals = c <= 0x0137 || (c >= 0x014A && c <= 0x0177);
    if ((c % 2 == 0) == evenCapitals) return c + 1;
  }
  return c;
}

}  // namespace

FindResult FindText(const ShownRows& rows, const FindRequest& request) {
  FindResult result;
  const std::u16string& typed = request.needle;
  if (typed.empty() || typed.find(u'\0') != std::u16string::npos) return result;
  std::u16string needle;
  for (const char16_t c : typed) needle += Fold(c, request.matchCase);

  // Row breaks stay 0, which no needle holds, so no match crosses one.
  const JoinedText joined(rows, ' ');
  std::u16string text;
  text.reserve(joined.Bytes().size());
  for (const uint8_t b : joined.Bytes()) text += Fold(request.characters[b], request.matchCase);

  const size_t n = text.size();
  const size_t m = needle.size();
  size_t at = n;  // where the match begins; n: none
  if (request.down) {
    const std::boyer_moore_searcher<std::u16string::const_iterator> searcher(needle.begin(), needle.end());
    size_t start = 0;
    if (request.from) {
      const TextPosition p = *request.from;
      start = joined.IndexOf(p.row, p.column == INT32_MAX ? p.column : p.column + 1);
    }
    at = static_cast<size_t>(
        std::search(text.cbegin() + static_cast<ptrdiff_t>(start), text.cend(), searcher) - text.cbegin());
    // Round the end: the system's Find dialog offers no choice, and a reader
    // pressing F3 through a long text expects to come round to the top; the
    // window's status bar says it did.
    if (at == n && start > 0) {
      at = static_cast<size_t>(std::search(text.cbegin(), text.cend(), searcher) - text.cbegin());
      result.wrapped = at != n;
    }
  } else {
    // The last match that begins before `limit`: the first in the text read
    // backwards from where such a match can end.
    const std::boyer_moore_searcher<std::u16string::const_reverse_iterator> searcher(needle.crbegin(),
                                                                                     needle.crend());
    const auto lastBefore = [&](size_t limit) {
      const size_t end = std::min(n, limit + m - 1);
      const auto first = text.crbegin() + static_cast<ptrdiff_t>(n - end);
      const auto found = std::search(first, text.crend(), searcher);
      return found == text.crend() ? n : static_cast<size_t>(text.crend() - found) - m;
    };
    const size_t limit = request.from ? joined.IndexOf(request.from->row, request.from->column) : n;
    at = limit == 0 ? n : lastBefore(limit);
    if (at == n && limit < n) {
      at = lastBefore(n);
      result.wrapped = at != n;
    }
  }
  if (at == n) return result;
  result.found = true;
  result.cells = joined.RunsOf(at, at + m);
  return result;
}
