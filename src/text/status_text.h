// The status bar's left part and how much of the bar it takes, as rules
// over plain values; the window measures the texts and sends them.
#ifndef QUILLPANE_STATUS_TEXT_H
#define QUILLPANE_STATUS_TEXT_H

#include <cstdint>
#include <string>
#include <vector>

#include "../art/document.h"

// The left part: the notes first (a warning about the document, what of
// it could not be read, a play), so that the counts never push one out of
// sight, then "anttkn:%d, filhantag:%d, runtimes:%d". Empty notes are left
// out; the others are each followed by " — ".
std::string StatusLeftText(int64_t length, int32_t fileHandle, uint32_t runCount,
                           const std::vector<std::string>& notes);

// The left part's right edge in a bar `barWidth` pixels wide. The last
// `placeWidth` pixels are the right part's, for the place in the folder;
// over a link or beside a SAUCE summary (`wideRight`) the right part takes
// two thirds of the bar. A note is never cut for that: with one
// (`noteTextWidth` > 0, the pixels the left part's whole text needs) the
// left part keeps that much, as far as the place leaves room.
int32_t StatusLeftEdge(int32_t barWidth, int32_t placeWidth, bool wideRight, int32_t noteTextWidth);

// What the status bar says of a play: "Playing at 14400 bit/s", or
// "Paused at 14400 bit/s".
std::string PlayStatusText(bool paused, uint32_t bitsPerSecond);

// The font a document is drawn in, for the left part's notes: empty for
// the plain IBM VGA (437), and when the page is not drawn in the
// document's font (the file's own, or the Keymap sheet's).
std::string FontStatusText(const Document& document);

#endif
