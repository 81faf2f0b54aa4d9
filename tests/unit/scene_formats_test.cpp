// The readers of the formats that store cells: XBin, BinaryText, Artworx and iCEDraw, from made-up files
// (a screen as text, one line a row, '.' for a character 0) and from the corpus.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "art/scene_formats.h"
#include "screen_text.h"
#include "raster/ansi_raster.h"

namespace {

std::string U16(int value) { return {static_cast<char>(value & 255), static_cast<char>(value >> 8)}; }

std::string XBin(int width, int height, int fontHeight, int flags, const std::string& rest) {
  return "XBIN\032" + U16(width) + U16(height) +
         std::string{static_cast<char>(fontHeight), static_cast<char>(flags)} + rest;
}

// 0x1A and a record of data type 5 (BinaryText), its file type half the width.
std::string Record(int fileType, int flags = 0) {
  std::string record = "\032SAUCE00" + std::string(121, '\0');
  record[1 + 94] = 5;
  record[1 + 95] = static_cast<char>(fileType);
  record[1 + 105] = static_cast<char>(flags);
  return record;
}

std::string IceDraw(int lastColumn, const std::string& cells) {
  return B("\0041.4\0\0\0\0") + U16(lastColumn) + U16(0) + cells + std::string(4096 + 48, '\0');
}

TEST(SceneFormats, ReadersWithTheirBoundsAndNotes) {
  // Attribute 0x9C is the PC's bright red on blinking blue: 0xC9 in the ANSI order, its bit 7 blink
  // without iCE. {reader, what, file, screen, first cell's colours, note}
  const std::tuple<Reader, const char*, std::string, std::string, int, std::string> cases[] = {
      {ReadXBin, "raw, blink kept", XBin(2, 2, 16, 0, "A\234BxCxDx"), "AB|CD|", 0xC9, ""},
      {ReadXBin, "non-blink keeps bright backgrounds", XBin(1, 1, 16, 8, "A\234"), "A|", 0xC9, ""},
      {ReadXBin, "the four kinds of run", XBin(8, 1, 16, 4, "\001AxBy\101C12\201zDE\301F3"), "ABCCDEFF|", 'x',
       ""},
      {ReadXBin, "a run past the end", XBin(8, 1, 16, 4, "\001AxBx\303F"), "AB......|", 'x',
       "a compressed run goes past the end of the file"},
      {ReadXBin, "65535 x 65535", XBin(65535, 65535, 16, 0, "AxB"), "A" + std::string(999, '.') + "|", 'x',
       "the file ends after 0 of 65535 rows; the width 65535 is cut to 1000 columns"},
      {ReadXBin, "font height 200", XBin(1, 1, 200, 2, std::string(51200, 'f') + "Ax"), "", 0,
       "the font height 200 is not 1 to 32"},
      {ReadXBin, "font height 0, no font", XBin(1, 1, 0, 0, "Ax"), "A|", 'x',
       "the font height 0 is not 1 to 32"},
      {ReadXBin, "palette cut short", XBin(1, 1, 16, 1, "?"), "", 0, "the file ends inside the palette"},
      {ReadXBin, "not an XBin", "XBIN", "", 0, "not an XBin: no XBIN header"},
      {ReadBinaryText, "the record's width", "A\234BxCxDx" + Record(1), "AB|CD|", 0xC9, ""},
      {ReadBinaryText, "the record's iCE", "A\234" + Record(1, 1), "A.|", 0xC9, ""},
      {ReadBinaryText, "the record's width 0", "AxBx" + Record(0), "AB" + std::string(158, '.') + "|", 'x',
       "the SAUCE record gives a width of 0"},
      {ReadArtworx, "header cut short", std::string(4288, '\0'), "", 0,
       "the file ends before the cells of an Artworx picture"},
      {ReadIceDraw, "a run, a smiley, a lone byte", IceDraw(2, B("\001\000\002\000Ax\001\007B")), "AA\001|",
       'x', ""},
      {ReadIceDraw, "a run of 65535 repeats 255", IceDraw(254, B("\001\000\377\377A\234")),
       std::string(255, 'A') + "|", 0xC9, ""},
      {ReadIceDraw, "a run past the cells", IceDraw(0, B("\001\000\002")), "", 0,
       "a run goes past the end of the cells"},
      {ReadIceDraw, "too short", std::string(4155, '\0'), "", 0,
       "the file is too short for an iCEDraw header, font and palette"},
  };
  for (const auto& [reader, what, file, screen, colours, note] : cases) {
    SCOPED_TRACE(what);
    const FormatReading reading = Read(reader, file);
    EXPECT_EQ(Dump(reading.screen, true), screen);
    EXPECT_EQ(reading.screen.cells.empty() ? 0 : reading.screen.cells[0].colours, colours);
    EXPECT_EQ(reading.note, note);
  }

  // Cells 32 pixels high keep half the rows of 16-pixel ones, in a page of 9-pixel cells: 1000 x 2000 cells,
  // in runs of 64.
  std::string runs;
  for (int k = 0; k < 1000 * 2000 / 64; ++k) runs += "\377Ax";
  const FormatReading tall = Read(ReadXBin, XBin(1000, 2000, 32, 2 | 4, std::string(256 * 32, 'f') + runs));
  EXPECT_EQ(std::make_tuple(tall.screen.rows, tall.note),
            std::make_tuple(1165, std::string("only the first 1165 rows fit in a page")));
  // A palette's 6-bit values widened and put in the ANSI order (the PC's blue, 1, is its 4); 512 glyphs.
  const FormatReading xbin =
      Read(ReadXBin, XBin(1, 1, 8, 3 | 16, B("?\0\0\0\0*") + std::string(42 + 512 * 8, '\0') + "Ax"));
  EXPECT_EQ(std::make_tuple(xbin.screen.palette[0], xbin.screen.palette[4], xbin.screen.palette[1]),
            std::make_tuple(0xFF0000u, 0x0000AAu, 0u));
  ASSERT_TRUE(xbin.screen.font);
  EXPECT_EQ(std::make_tuple(xbin.screen.font->glyphs, xbin.screen.cellHeight), std::make_tuple(512, 8));
  // Artworx's brown (the PC's 6, the ANSI 3) is register 20, and its picture keeps bright backgrounds.
  std::string adf = std::string(4289, '\0') + "A\360";
  adf[1 + 3 * 20] = 0x15;
  const AnsiScreen artworx = Read(ReadArtworx, adf).screen;
  EXPECT_EQ(std::make_tuple(artworx.palette[3], artworx.cells[0].colours), std::make_tuple(0x550000u, 0xF0));
  // An iCEDraw file's palette is its last bytes before the record.
  std::string idf = IceDraw(0, "Ax");
  idf[idf.size() - 48] = 0x3F;
  EXPECT_EQ(Read(ReadIceDraw, idf + Record(0)).screen.palette[0], 0xFF0000u);
}

TEST(SceneFormats, BinaryTextWidthFromThePicture) {
  // 60 columns of stripes that change down a column only at a few rows; cells alike at every width.
  std::string stripes, noise;
  for (int row = 0; row < 12; ++row)
    for (int column = 0; column < 60; ++column)
      stripes += {static_cast<char>('A' + column % 7), static_cast<char>(row / 4 + 1)};
  for (int i = 0; i < 720; ++i) noise += {static_cast<char>('A' + i * 7919 % 23), 7};
  EXPECT_EQ(Read(ReadBinaryText, stripes).screen.columns, 60);
  EXPECT_EQ(Read(ReadBinaryText, noise).screen.columns, 160);
}

TEST(SceneFormats, CorpusFiles) {
  if (!std::filesystem::is_directory(QP_CORPUS_DIR)) GTEST_SKIP() << "no corpus at " << QP_CORPUS_DIR;
  // The same picture as ANSI and in five formats (two with their own font and palette, the VGA's; TundraDraw
  // in its own shades, a step off VGA's): each pixel within 4 a channel. The TundraDraw file draws a 60th
  // row of blanks below the picture's 59: black below the shorter page.
  const std::string ans = CorpusFile("ansilove/examples/burps/bs-alove.ans");
  const std::vector<uint32_t> want = Pixels(ReadAnsiScreen(Bytes(ans), ans.size()));
  for (const auto& [reader, extension] :
       {std::make_pair(ReadXBin, "xb"), std::make_pair(ReadBinaryText, "bin"),
        std::make_pair(ReadArtworx, "adf"), std::make_pair(ReadTundraDraw, "tnd"),
        std::make_pair(ReadPcBoard, "pcb")}) {
    const std::string path = std::string("ansilove/tests/bs-alove.") + extension;
    const FormatReading reading = Read(reader, CorpusFile(path));
    const std::vector<uint32_t> got = Pixels(reading.screen);
    size_t differing = 0;
    for (size_t i = 0; i < std::max(got.size(), want.size()); ++i) {
      const uint32_t a = i < got.size() ? got[i] : 0, b = i < want.size() ? want[i] : 0;
      for (int shift = 0; shift < 24; shift += 8)
        differing += std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 4;
    }
    EXPECT_EQ(differing, 0u) << path;
    EXPECT_EQ(reading.note, "") << path;
  }
  // The record's width, past ansilove's 160.
  const AnsiScreen screen =
      Read(ReadBinaryText, CorpusFile("image-textmode/corpus/input/HU-ERMAG.BIN")).screen;
  EXPECT_EQ(std::make_tuple(screen.columns, screen.rows), std::make_tuple(202, 50));
}

}  // namespace
