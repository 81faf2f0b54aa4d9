// The document as the window and the export read it: what of the file is read for which reading.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "art/document.h"
#include "core/state_types.h"

namespace {

// Reads `file` as a disk would; counts the reads.
ReadFileStart Reader(const std::string& file, int& reads) {
  return [&file, &reads](uint8_t* bytes, size_t capacity) {
    ++reads;
    FileStart start;
    start.opened = 3;
    start.count = std::min(capacity, file.size());
    std::memcpy(bytes, file.data(), start.count);
    start.cut = file.size() > capacity;
    return start;
  };
}

TEST(Document, TheWholeFileIsReadOnlyWhereAColourReadingMayNeedIt) {
  Document document;
  int reads = 0;
  // Longer than the text layout reads: the export without colours reads it once, the window keeps it whole
  // for the colour mode it may switch on, and that reading then needs no read.
  const std::string ans = "\x1b[31mred\r\n" + std::string(kTextBufferSize, 'x');
  ReadDocument("a.ans", Reader(ans, reads), {}, document);
  EXPECT_EQ(std::make_tuple(reads, document.wholeHeld, document.Colour()), std::make_tuple(1, false, false));
  DocumentOptions window;
  window.holdWholeFile = true;
  ReadDocument("a.ans", Reader(ans, reads = 0), window, document);
  window.colour = true;
  ReadDocumentAs(window, document);
  EXPECT_EQ(std::make_tuple(reads, document.Length(), document.reading, document.screen.screen.rows > 0),
            std::make_tuple(2, ans.size(), Reading::kAnsiScreen, true));
  // A scene format's bytes are always read raw; a file that cannot be read shows why, in the text layout.
  ReadDocument("b.xb", Reader("XBIN", reads = 0), {}, document);
  EXPECT_EQ(std::make_tuple(reads, document.reading), std::make_tuple(2, Reading::kSceneFormat));
  ReadDocument("c.ans", [](uint8_t*, size_t) { return FileStart{-1, 0, false, "Access denied", false}; },
               window, document);
  EXPECT_EQ(std::make_tuple(std::string(document.text.data()), document.laidOutLength, document.Colour()),
            std::make_tuple(std::string("Could not find the file\nAccess denied\n"), 38, false));
}

}  // namespace
