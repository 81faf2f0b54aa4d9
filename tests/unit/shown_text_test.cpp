// Links and Find over the shown rows, and the rows the text layout shows.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "text/links.h"
#include "text/text_search.h"

namespace {

// Shown rows written as a string: '\n' ends a row, '\r' ends one whose text
// wraps onto the next, '\t' is an empty cell.
ShownRows RowsOf(const std::string& text) {
  ShownRows rows(1);
  for (const char c : text) {
    if (c == '\n' || c == '\r') {
      rows.emplace_back();
      rows.back().wrapped = c == '\r';
    } else {
      rows.back().cells.push_back(c == '\t' ? 0 : static_cast<uint8_t>(c));
    }
  }
  return rows;
}

// "row:column+length" for each run, joined by blanks.
std::string RunsText(const CellRuns& runs) {
  std::string out;
  for (const CellRun& r : runs) {
    if (!out.empty()) out += ' ';
    out += std::to_string(r.row) + ':' + std::to_string(r.column) + '+' + std::to_string(r.length);
  }
  return out;
}

TEST(FindLinks, Table) {
  const auto x = [](size_t n) { return std::string(n, 'x'); };
  // The rows, then each link's address and its cells.
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"HTTPS://Group.ORG:8080/a?b=1&c=%20d#top!", {"https://Group.ORG:8080/a?b=1&c=%20d#top 0:0+39"}},
      {"ftp://user:pw@ftp.site.net/pub, then", {"ftp://user:pw@ftp.site.net/pub 0:0+30"}},
      {"(www.group.org) -=WWW.Group.org=-", {"http://www.group.org 0:1+13", "http://www.Group.org 0:18+13"}},
      {"(http://en.wiki.org/Art_(music)) [http://a.org/x]",
       {"http://en.wiki.org/Art_(music) 0:1+30", "http://a.org/x 0:34+14"}},
      {"mail: Some.One+nfo@mail.group.org.", {"mailto:Some.One+nfo@mail.group.org 0:6+27"}},
      {"a@b.org,c@d.org", {"mailto:a@b.org 0:0+7", "mailto:c@d.org 0:8+7"}},
      // Across a wrap it is one link; any other row break or an empty cell ends it.
      {"see http://gro\rup.org/a. ok", {"http://group.org/a 0:4+10 1:0+8"}},
      {"http://a.org/x\nyz www.a.org\t/x", {"http://a.org/x 0:0+14", "http://www.a.org 1:3+9"}},
      // Nothing a shell could take apart, and only text a URL may hold.
      {"http://a.org/\"&calc http://b.org/%zz http://c.org/\x82t\x82",
       {"http://a.org/ 0:0+13", "http://b.org/ 0:20+13", "http://c.org/ 0:37+13"}},
      // At most 512 characters as opened, "http://" and "mailto:" counted; a longer run holds no link.
      {"http://a.org/" + x(499) + " www.a.org/" + x(495) + " " + x(499) + "@a.org",
       {"http://a.org/" + x(499) + " 0:0+512", "http://www.a.org/" + x(495) + " 0:513+505",
        "mailto:" + x(499) + "@a.org 0:1019+505"}},
      {"http://a.org/me@b.org" + x(492) + " www.a.org/" + x(496) + " " + x(500) + "@a.org", {}},
      // Not links.
      {"xwww.a.org www.org svn+http://a.org http:// http://-. file:///etc/passwd javascript:alert(1)", {}},
      {"http\032\017\017a.org @nick a@b a@b.c1 a@b.c a..b@c.org .@c.org a@b@c.org me@-x.org", {}},
  };
  for (const auto& [rows, want] : cases) {
    std::vector<std::string> got;
    for (const Link& link : FindLinks(RowsOf(rows))) {
      got.push_back(link.address + ' ' + RunsText(link.cells));
      EXPECT_TRUE(IsOpenableAddress(link.address)) << link.address;
    }
    EXPECT_EQ(got, want) << rows;
  }
}

TEST(FindLinks, CellLookupAndTheLastCheck) {
  const std::vector<Link> links = FindLinks(RowsOf("see http://gro\rup.org/a. ok"));
  for (const auto& [column, row, on] :
       {std::tuple{4, 0, true}, {13, 0, true}, {7, 1, true}, {3, 0, false}, {8, 1, false}})
    EXPECT_EQ(LinkAtCell(links, column, row), on ? &links[0] : nullptr) << column << "," << row;
  const std::string tooLong = "http://a.org/" + std::string(500, 'x');  // 513 characters
  for (const char* refused : {"file:///c:/x.exe", "HTTP://a.org", "http://", "http://a b", "mailto:a@b.org\"",
                              "http://a.org/%2", tooLong.c_str()})
    EXPECT_FALSE(IsOpenableAddress(refused)) << refused;
}

TEST(CollectShownRows, CellsAndWraps) {
  // A full row wraps onto the next unless a blank filled it; escape
  // sequences move the cursor and show nothing; the last byte drawn stays.
  const std::string text = std::string(92, 'a') + "b\x1b[2Cx\r\n" + std::string(91, 'd') + " e";
  const ShownRows rows = CollectShownRows(reinterpret_cast<const uint8_t*>(text.data()),
                                          static_cast<int32_t>(text.size()), 92, 3);
  std::string got;  // each row's cells, '+' before one that wraps on from the last
  for (const ShownRow& row : rows)
    got += (row.wrapped ? "+" : "") + std::string(row.cells.begin(), row.cells.end()) + "|";
  EXPECT_EQ(got, std::string(92, 'a') + "|+" + std::string("b\0\0x|", 5) + "e" + std::string(90, 'd') + " |");
}

TEST(FindText, Table) {
  const std::optional<TextPosition> top;
  // {what, rows, needle, match case, down, from, the match's cells ("" for none), wrapped}
  // clang-format off
  const std::tuple<const char*, std::string, std::u16string, bool, bool, std::optional<TextPosition>, std::string, bool> cases[] = {
      {"case folded", "x ACiD acid", u"acid", false, true, top, "0:2+4", false},
      {"match case", "x ACiD acid", u"acid", true, true, top, "0:7+4", false},
      {"down: the next after the current one", "x ACiD acid", u"acid", false, true, TextPosition{0, 2}, "0:7+4", false},
      {"down: round the end", "x ACiD acid", u"acid", false, true, TextPosition{0, 7}, "0:2+4", true},
      {"up: the one before", "x ACiD acid", u"acid", false, false, TextPosition{0, 7}, "0:2+4", false},
      {"up from the end", "x ACiD acid", u"acid", false, false, top, "0:7+4", false},
      {"up: round the start", "x ACiD acid\nzz", u"acid", false, false, TextPosition{0, 2}, "0:7+4", true},
      {"across a wrap", "the ac\rid", u"acid", false, true, top, "0:4+2 1:0+2", false},
      {"not across a row break", "the ac\nid", u"acid", false, true, top, "", false},
      {"the glyphs' Latin-1, folded", "\x82t\x82", u"\u00C9T\u00C9", false, true, top, "0:0+3", false},
      {"the glyphs' Greek", "\xE4\xE5", u"\u03C3\u03A3", false, true, top, "0:0+2", false},
      {"empty cells and the no-break space are blanks", "a\tb a\xFF" "b", u"a b", false, true, TextPosition{0, 0}, "0:4+3", false},
      {"empty needle", "acid", u"", false, true, top, "", false},
  };
  // clang-format on
  for (const auto& [what, rows, needle, matchCase, down, from, want, wrapped] : cases) {
    const FindResult r = FindText(RowsOf(rows), {needle, matchCase, down, from});
    EXPECT_EQ(std::make_tuple(r.found, RunsText(r.cells), r.wrapped),
              std::make_tuple(!want.empty(), want, wrapped))
        << what;
  }
}

}  // namespace
