// Find over the characters the cells show.
#include "render/text_search.h"

#include <gtest/gtest.h>

#include "shown_rows_text.h"

namespace {

TEST(FindText, Table) {
  struct Case {
    const char* what;
    std::string rows;
    std::u16string needle;
    bool matchCase, down;
    std::optional<TextPosition> from;
    std::string want;  // the match's cells, "" for none
    bool wrapped;
  };
  const std::optional<TextPosition> top;
  // clang-format off
  const Case cases[] = {
      {"case folded", "x ACiD acid", u"acid", false, true, top, "0:2+4", false},
      {"match case", "x ACiD acid", u"acid", true, true, top, "0:7+4", false},
      {"down: the next after the current one", "x ACiD acid", u"acid", false, true, TextPosition{0, 2}, "0:7+4", false},
      {"down: round the end", "x ACiD acid", u"acid", false, true, TextPosition{0, 7}, "0:2+4", true},
      {"down from before a row's first cell", "acid", u"acid", false, true, TextPosition{0, -1}, "0:0+4", false},
      {"up: the one before", "x ACiD acid", u"acid", false, false, TextPosition{0, 7}, "0:2+4", false},
      {"up from the end", "x ACiD acid", u"acid", false, false, top, "0:7+4", false},
      {"up: round the start", "x ACiD acid\nzz", u"acid", false, false, TextPosition{0, 2}, "0:7+4", true},
      {"the only match found again", "acid", u"ACID", false, true, TextPosition{0, 0}, "0:0+4", true},
      {"across a wrap", "the ac\rid", u"acid", false, true, top, "0:4+2 1:0+2", false},
      {"not across a row break", "the ac\nid", u"acid", false, true, top, "", false},
      {"the glyphs' Latin-1, folded", "\x82t\x82", u"\u00C9T\u00C9", false, true, top, "0:0+3", false},
      {"the glyphs' Latin-1, case kept", "\x82t\x82", u"\u00C9T\u00C9", true, true, top, "", false},
      {"the glyphs' Greek", "\xE4\xE5", u"\u03C3\u03A3", false, true, top, "0:0+2", false},
      {"the PC's pictures", "a\x01", u"\u263A", false, true, top, "0:1+1", false},
      {"empty cells and the no-break space are blanks", "a\tb a\xFF" "b", u"a b", false, true, TextPosition{0, 0}, "0:4+3", false},
      {"empty needle", "acid", u"", false, true, top, "", false},
      {"a character no glyph shows", "acid", u"\u4E2D", false, true, top, "", false},
  };
  // clang-format on
  for (const Case& c : cases) {
    const FindResult r = FindText(RowsOf(c.rows), {c.needle, c.matchCase, c.down, c.from});
    EXPECT_EQ(r.found, !c.want.empty()) << c.what;
    EXPECT_EQ(RunsText(r.cells), c.want) << c.what;
    EXPECT_EQ(r.wrapped, c.wrapped) << c.what;
  }
}

}  // namespace
