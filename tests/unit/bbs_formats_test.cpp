// The BBS formats' readers: TundraDraw, PCBoard and Avatar/0. Screens are compared as text, one line a row,
// '.' for an empty cell.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "art/scene_formats.h"
#include "screen_text.h"

namespace {

const std::string kTundra = "\x18TUNDRA24";
std::string At(uint32_t row, uint32_t column) {
  std::string bytes = "\x01";
  for (const uint32_t n : {row, column})
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(n >> shift & 0xFF);
  return bytes;
}

TEST(BbsFormats, TextCommandsAndNotes) {
  // {reader, file, screen, whether a note says something was left out}
  const std::tuple<Reader, std::string, std::string, bool> cases[] = {
      {ReadTundraDraw, kTundra + "AB" + At(1, 2) + "C" + At(2, 79) + "DE",
       "AB|..C|" + std::string(79, '.') + "D|E|", false},
      // Just past the last column: the next row; further: off the page until the next position.
      {ReadTundraDraw, kTundra + At(0, 80) + "X" + At(2, 81) + "Y" + At(3, 0) + "Z", "|X||Z|", false},
      // 0x1A is a byte like any other, but for the one before the record.
      {ReadTundraDraw, kTundra + B("\n\x1b\x02Q\0\x1a\x1a\x1a\x1aSAUCE00") + std::string(121, '\0'),
       "\n\x1bQ|", false},
      {ReadTundraDraw, kTundra + B("A\x06X\0\1\2"), "A|", true},
      {ReadTundraDraw, kTundra + At(0xFFFFFFFF, 0) + "X", "", true},
      {ReadTundraDraw, "TUNDRA24AB", "", true},
      {ReadPcBoard, B("@X1FA@CLS@B\tC@POS:20@D@POS:2@E@POFF@F@WAIT@\r\nG\x1a@X0FH"),
       "BEF.....C..........D|G|", false},
      {ReadPcBoard, "a@b@USER@ @X0G@POS:@@POS:1234@", "a@b@USER@ @X0G@POS:@@POS:1234@|", false},
      {ReadPcBoard, "\x1b[2CA\x1b[2;1H@X0", "..A|@X0|", false},  // ANSI acts, a code cut off is text
      {ReadAvatar, B("AB\x0c\x19Z\x03\x16\x03\x16\x05Y\x16\x06X"), "ZZY.X|", false},
      {ReadAvatar, B("\026\004A\026\010\004\003B\026\010\0\0C\026\005\026\007\r\n\r\nD\031Q\032"),
       "|A|D" + std::string(26, 'Q') + "|..B|", false},
      {ReadAvatar, "AB\026\014C\032D", "ABC|", true},  // a later level's command: skipped
      {ReadAvatar, "A\x19Z", "A|", true},
      {ReadAvatar, std::string(65536, '\n') + "\x16\x04X", "", true},
  };
  for (const auto& [reader, file, screen, note] : cases) {
    const FormatReading reading = Read(reader, file);
    EXPECT_EQ(Dump(reading.screen), screen) << file.substr(0, 40);
    EXPECT_EQ(!reading.note.empty(), note) << file.substr(0, 40) << ": " << reading.note;
    EXPECT_EQ(reading.screen.columns, 80);
  }
}

TEST(BbsFormats, Colours) {
  const std::string blueOnGrey = std::string("\0\0\0\xAA\0\xAA\xAA\xAA", 8);
  // {reader, file, a cell of row 0, its colours, whether the screen keeps exact colours}
  const std::tuple<Reader, std::string, int32_t, int, bool> cases[] = {
      {ReadTundraDraw, kTundra + "A", 0, 0x07, false},
      {ReadTundraDraw, kTundra + "\x06X" + blueOnGrey, 0, 0x74, false},  // VGA's own: indexes
      {ReadTundraDraw, kTundra + "\x06X" + blueOnGrey + "\x04Y" + std::string("\0\1\2\3", 4), 1, 0x04, true},
      {ReadPcBoard, "@X1FA", 0, 0x4F, false},
      {ReadPcBoard, "@XE9A", 0, 0xBC, false},  // a bright background
      {ReadPcBoard, "@X07\x1b[1;41mA", 0, 0x1F, false},
      {ReadAvatar, "\026\001\237\026\002A", 0, 0xCF, false},  // bit 7 blinks
      {ReadAvatar, "\026\001\037A\014B", 0, 0x06, false},     // ^L: cyan
      {ReadAvatar, "\x16\x01\x1f\x16\x07", 79, 0x4F, false},  // erased cells take the attribute
  };
  for (const auto& [reader, file, column, colours, exact] : cases) {
    const AnsiScreen screen = Read(reader, file).screen;
    EXPECT_EQ(std::make_pair(int{screen.At(column, 0).colours}, !screen.exactColours.empty()),
              std::make_pair(colours, exact))
        << file;
  }
}

}  // namespace
