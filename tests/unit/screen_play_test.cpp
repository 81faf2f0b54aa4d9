// The screen in time: the blink's phase and a modem's bytes at a time, blinking cells drawn, a play's frames
// against the file cut at their byte, and its animated PNG read back.
#include <gtest/gtest.h>
#include <lodepng.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "export/export_core.h"
#include "art/ansi_screen.h"
#include "art/screen_play.h"
#include "raster/ansi_raster.h"
#include "raster/png_writer.h"
#include "raster/screen_animation.h"
#include "screen_text.h"

namespace {

TEST(ScreenTime, BlinkPhaseAndModemBytes) {
  // 16 frames of 60 Hz are 266.7 ms: {ms, shown, ms to the next change}
  const std::tuple<uint32_t, bool, uint32_t> blink[] = {{0, true, 267},  {266, true, 1},   {267, false, 267},
                                                        {533, false, 1}, {534, true, 266}, {800, false, 267}};
  for (const auto& [ms, shown, next] : blink)
    EXPECT_EQ(std::make_pair(BlinkShownAt(ms), MillisecondsToBlinkChange(ms)), std::make_pair(shown, next))
        << ms;
  // Ten bits a byte, whole bytes only: {ms, bps, bytes}
  const std::tuple<uint64_t, uint32_t, uint64_t> modem[] = {
      {1000, 14400, 1440}, {4, 2400, 0}, {5, 2400, 1}, {1000, 115200, 11520}, {3600000, 2400, 864000}};
  for (const auto& [ms, bps, bytes] : modem)
    EXPECT_EQ(ModemBytesAt(ms, bps), bytes) << ms << " ms at " << bps;
}

TEST(ScreenTime, BlinkingCellsHideTheirCharacterInTheHiddenPhase) {
  // A blinking white block on blue beside a steady one: {iCE, shown, the two cells' left pixels}
  const std::string art = "\x1b[5;37;44m\xdb\x1b[25m\xdb";
  for (const auto& [ice, shown, pixels] :
       {std::tuple{false, true, 0x77}, {false, false, 0x47}, {true, true, 0x77}, {true, false, 0x77}}) {
    AnsiOptions options;
    options.iceColours = ice;
    const AnsiScreen screen = InterpretAnsi(Bytes(art), art.size(), options);
    std::vector<uint8_t> page(static_cast<size_t>(AnsiPageSizeOf(screen).stride) * 16);
    RasteriseAnsiRows(screen, 0, 1, page.data(), shown);
    EXPECT_EQ((page[0] & 0xF0) | page[4] >> 4, pixels) << ice << shown;
    // Without iCE the blink bit leaves the background dark.
    std::fill(page.begin(), page.end(), 0);
    const std::string space = "\x1b[5;44m ";
    RasteriseAnsiRows(InterpretAnsi(Bytes(space), space.size(), options), 0, 1, page.data(), shown);
    EXPECT_EQ(page[0] >> 4, ice ? 0xC : 0x4);
  }
}

// A screen's cells in `rows` rows, blank past its own.
std::string CellsOf(const AnsiScreen& screen, int32_t rows) {
  std::string cells;
  for (int32_t row = 0; row < rows; ++row)
    for (int32_t column = 0; column < screen.columns; ++column)
      cells += {static_cast<char>(screen.At(column, row).character),
                static_cast<char>(screen.At(column, row).colours)};
  return cells;
}

// Draws, goes back over it, clears, and draws lower; cut in every byte, escape sequences included.
const std::string kAnimation =
    "AB\x1b[DC\r\n\x1b[5;31mblink\x1b[0m\x1b[1;1HX\x1b[2J\x1b[3;2Hnew\x1b[s\x1b[1;1H\x1b[44m \x1b[u!";

TEST(ScreenPlay, EachCutOfAnAnsiFileIsTheScreenOfTheFileCutThere) {
  ScreenPlay play("anim.ans", Bytes(kAnimation), kAnimation.size());
  const int32_t rows = play.still().rows;
  std::string before = CellsOf(play.frame(), rows);
  for (size_t cut = 1; cut <= kAnimation.size(); ++cut) {
    const CellRect changed = play.AdvanceTo(cut);
    const std::string now = CellsOf(play.frame(), rows);
    EXPECT_TRUE(now == CellsOf(InterpretAnsi(Bytes(kAnimation), cut, AnsiOptions()), rows)) << cut;
    // Nothing changed outside the rectangle said to have.
    for (size_t i = 0; i < now.size(); i += 2) {
      const auto column = static_cast<int32_t>(i / 2 % 80), row = static_cast<int32_t>(i / 160);
      const bool inside = row >= changed.firstRow && row < changed.endRow && column >= changed.firstColumn &&
                          column < changed.endColumn;
      EXPECT_TRUE(inside || now.compare(i, 2, before, i, 2) == 0) << cut << " " << column << "," << row;
    }
    before = now;
  }
  EXPECT_TRUE(play.finished());
  EXPECT_TRUE(before == CellsOf(play.still(), rows));
  EXPECT_EQ(play.cursorRow(), 2);
}

// Cut in six places: ANSI fed to one interpreter, a PCBoard stream read again, XBin's cells in file order.
TEST(ScreenPlay, RealArtOfEachKindAtItsCuts) {
  for (const char* name : {"ansiart2utf8/test_data/bbs/hell01.ans", "image-textmode/corpus/input/SCREEN4.PCB",
                           "image-textmode/corpus/input/42_WOLVR.XB"}) {
    const std::string art = CorpusFile(name);
    if (art.empty()) GTEST_SKIP() << "no corpus";
    ScreenPlay play(name, Bytes(art), art.size());
    const AnsiScreen& still = play.still();
    const SauceRecord sauce = ReadSauce(Bytes(art), art.size());
    for (size_t cut = art.size() % 5; cut <= art.size(); cut += art.size() / 5) {
      play.AdvanceTo(cut);
      const size_t shown = still.cells.size() * cut / art.size();
      const std::string expected =
          FormatOfName(name) == ArtFormat::kText
              ? CellsOf(InterpretAnsi(Bytes(art), std::min(cut, sauce.textLength), AnsiOptionsFor(sauce)),
                        still.rows)
          : FormatOfName(name) == ArtFormat::kPcBoard
              ? CellsOf(ReadPcBoard(Bytes(art), cut).screen, still.rows)
              : CellsOf(still, still.rows).substr(0, 2 * shown) +
                    std::string(2 * (still.cells.size() - shown), '\0');
      EXPECT_TRUE(CellsOf(play.frame(), still.rows) == expected) << name << " cut at " << cut;
    }
  }
}

// A long PCBoard played 128 bytes at a time is read again often at first, then in 32nds of the file.
TEST(ScreenPlay, AStreamFormatIsReadAtMostSomeFiftyTimesItsLength) {
  std::string art;
  while (art.size() < 32 * 1024) art += "@X1FA row of PCBoard text\r\n";
  ScreenPlay play("long.pcb", Bytes(art), art.size());
  for (size_t cut = 128; !play.finished(); cut += 128) play.AdvanceTo(cut);
  EXPECT_LE(play.bytesRead(), 50 * art.size() + (1u << 20));
  EXPECT_TRUE(CellsOf(play.frame(), play.still().rows) == CellsOf(play.still(), play.still().rows));
}

std::vector<uint8_t> Chunk(const char* type, const uint8_t* data, size_t size) {
  unsigned char* chunk = nullptr;
  size_t length = 0;
  lodepng_chunk_create(&chunk, &length, static_cast<unsigned>(size), type, data);
  std::vector<uint8_t> bytes(chunk, chunk + length);
  free(chunk);
  return bytes;
}

uint32_t U32(const uint8_t* p) { return uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
uint32_t U16(const uint8_t* p) { return uint32_t{p[0]} << 8 | p[1]; }

struct Frame {
  uint32_t width, height, x, y, delay, denominator;
  uint8_t dispose, blend;
  std::vector<uint8_t> zlib = {};
};

// The frames of an animated PNG, their fcTL and fdAT numbered in order; its acTL's count, IHDR's and PLTE's data.
std::vector<Frame> FramesOf(const std::vector<uint8_t>& png, std::vector<uint8_t>* head = nullptr,
                            std::vector<uint8_t>* palette = nullptr) {
  std::vector<Frame> frames;
  uint32_t announced = 0, sequence = 0;
  for (size_t at = 8; at + 12 <= png.size(); at += 12 + U32(&png[at])) {
    const uint8_t* data = &png[at + 8];
    const std::string type(reinterpret_cast<const char*>(&png[at + 4]), 4);
    if (type == "IHDR" && head != nullptr) head->assign(data, data + 13);
    if (type == "PLTE" && palette != nullptr) palette->assign(data, data + U32(&png[at]));
    if (type == "acTL") announced = U32(data);
    if (type == "fcTL" || type == "fdAT") {
      EXPECT_EQ(U32(data), sequence++);
    }
    if (type == "fcTL")
      frames.push_back({U32(data + 4), U32(data + 8), U32(data + 12), U32(data + 16), U16(data + 20),
                        U16(data + 22), data[24], data[25]});
    if (type == "fdAT") frames.back().zlib.insert(frames.back().zlib.end(), data + 4, data + U32(&png[at]));
  }
  EXPECT_EQ(announced, frames.size());
  return frames;
}

// The animated PNG's still image (any reader's) and each frame as a PNG of its own, read with lodepng.
TEST(ScreenAnimation, FramesComposeToTheCutScreensAndEndOnTheStillExport) {
  const uint32_t bps = 2400;  // 8 bytes a 30th of a second
  std::vector<uint8_t> png;
  size_t count = 0;
  ASSERT_TRUE(EncodeScreenPlay("anim.ans", Bytes(kAnimation), kAnimation.size(), bps, png, &count));
  std::vector<uint8_t> head, palette;  // IHDR's data, PLTE's
  const std::vector<Frame> frames = FramesOf(png, &head, &palette);
  const Decoded still = Decode(png);
  ASSERT_TRUE(count > 2 && frames.size() == count);
  EXPECT_EQ(std::make_tuple(frames[0].width, frames[0].height, frames[0].x, frames[0].y),
            std::make_tuple(still.width, still.height, 0u, 0u));

  std::vector<uint32_t> canvas(still.rgb.size());
  uint64_t tick = 0;
  for (const Frame& frame : frames) {
    ASSERT_TRUE(frame.x + frame.width <= still.width && frame.y + frame.height <= still.height &&
                frame.dispose == 0 && frame.blend == 0 && frame.denominator == 30);
    std::vector<uint8_t> own = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, header = head;
    for (int k = 0; k < 4; ++k)
      header[k] = uint8_t(frame.width >> (24 - 8 * k)), header[4 + k] = uint8_t(frame.height >> (24 - 8 * k));
    for (const auto& chunk : {Chunk("IHDR", header.data(), 13), Chunk("PLTE", palette.data(), palette.size()),
                              Chunk("IDAT", frame.zlib.data(), frame.zlib.size()), Chunk("IEND", nullptr, 0)})
      own.insert(own.end(), chunk.begin(), chunk.end());
    const Decoded pixels = Decode(own);
    ASSERT_EQ(pixels.rgb.size(), size_t{frame.width} * frame.height);
    for (uint32_t y = 0; y < frame.height; ++y)
      std::copy_n(&pixels.rgb[y * frame.width], frame.width, &canvas[(frame.y + y) * still.width + frame.x]);
    // The canvas is the screen of the bytes a modem brought by this frame's time, black below its last row.
    // A step's rectangles but its last stay no time.
    if (frame.delay == 0) continue;
    std::vector<uint32_t> want =
        Pixels(InterpretAnsi(Bytes(kAnimation), std::min<size_t>(tick * bps / 300, kAnimation.size()), {}));
    want.resize(canvas.size(), kAnsiPalette[0]);
    ASSERT_TRUE(canvas == want) << "tick " << tick;
    tick += frame.delay;
  }
  EXPECT_TRUE(canvas == still.rgb);
  // The still image is the still export's page.
  Document document;
  ReadDocument("anim.ans", ReadFromMemory(Bytes(kAnimation), kAnimation.size()), {true, {}}, document);
  ExportPage page;
  ASSERT_TRUE(DrawExportPage(document, GlyphPixels(), 0, page));
  std::vector<uint8_t> exported;
  ASSERT_TRUE(EncodePng(page.rows, exported));
  EXPECT_TRUE(Decode(exported).rgb == still.rgb);
}

// A play that writes at the top and at the bottom of a tall screen encodes the two cells, not the screen
// between them; and it plays in 8-pixel letters whatever SAUCE says, its still the 8-pixel export's.
TEST(ScreenAnimation, FramesAreTheCellsThatChangedInEightPixelLetters) {
  std::string art = "\x1b[300;1HX";
  for (char c = 'a'; c < 'k'; ++c) art += std::string("\x1b[1;1H") + c + "\x1b[300;80H" + c;
  std::string record = "\032SAUCE00" + std::string(121, '\0');
  record[1 + 94] = 1, record[1 + 95] = 1, record[1 + 96] = 80, record[1 + 105] = 0x04;  // ANSi, 9-pixel letters
  art += record;
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodeScreenPlay("tall.ans", Bytes(art), art.size(), 6000, png));
  const std::vector<Frame> frames = FramesOf(png);
  ASSERT_FALSE(frames.empty());
  EXPECT_GE(frames.size(), 11u);
  EXPECT_EQ(std::make_pair(frames[0].width, frames[0].height), std::make_pair(640u, 4800u));
  for (size_t k = 1; k < frames.size(); ++k)
    EXPECT_EQ(std::make_pair(frames[k].width, frames[k].height), std::make_pair(8u, 16u)) << k;
  Document document;
  ReadDocument("tall.ans", ReadFromMemory(Bytes(art), art.size()), {true, {LookChoice::kOff, LookChoice::kAsFile}},
               document);
  ExportPage page;
  ASSERT_TRUE(DrawExportPage(document, GlyphPixels(), 0, page));
  std::vector<uint8_t> still;
  ASSERT_TRUE(EncodePng(page.rows, still));
  EXPECT_TRUE(Decode(still).rgb == Decode(png).rgb);
}

}  // namespace
