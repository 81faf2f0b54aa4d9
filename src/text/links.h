// Web and mail addresses in the shown text, as links that open with a click.
#ifndef QUILLPANE_LINKS_H
#define QUILLPANE_LINKS_H

#include <cstddef>
#include <string>
#include <vector>

#include "shown_rows.h"

// The longest address a link opens, counted as opened ("http://" before a
// `www.` run, "mailto:" before a mail address), so that every link found is
// one IsOpenableAddress lets through. A longer run is no link: the system's
// ShellExecuteA has been seen to overrun its own buffers with addresses of
// about a thousand characters, and art holds none near this long.
constexpr size_t kMaxLinkLength = 512;

struct Link {
  CellRuns cells;       // in reading order, one run a row
  std::string address;  // what to open: http://, https://, ftp:// or mailto:
};

// The links on `rows`, in reading order: runs starting `http://`, `https://`,
// `ftp://` (any case) or `www.` at the start of a word, and words shaped
// `name@host.tld`. A link goes on across a wrap; an empty cell or any other
// row break ends it. Sentence punctuation and closing brackets at its end
// are left out. `www.` addresses open with `http://`, mail ones with
// `mailto:`.
std::vector<Link> FindLinks(const ShownRows& rows);

// The link that covers cell (column, row), or null.
const Link* LinkAtCell(const std::vector<Link>& links, int32_t column, int32_t row);

// The last check before an address is handed to the system to open: it
// starts with one of the four schemes and holds only characters a URL may
// hold (no blanks, quotes, angle brackets, backslashes or control bytes), so
// the system can only pass it to a browser or mail program, as one argument;
// and it is at most kMaxLinkLength characters.
bool IsOpenableAddress(const std::string& address);

#endif
