// ZIP packs read from memory, written field by field (zip_writer.h), each row lying in one. zip's own pack of
// the whole corpus is tests/linux/pack_export_test.sh's.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "export/export_core.h"
#include "core/text_helpers.h"
#include "document/zip_pack.h"
#include "zip_writer.h"

namespace {

// The open's error, or each entry in the list's order: "name[ art]: " and its bytes (their count past 16),
// " (crc)" after a CRC-32 mismatch, or why it was not extracted.
std::string Describe(const std::string& bytes) {
  MemoryPackSource source(bytes.data(), bytes.size());
  ZipPack pack;
  if (!pack.Open(source)) return pack.Error();
  std::string text;
  for (const ZipEntry& entry : pack.Entries()) {
    const ZipBytes got = pack.Extract(entry);
    const std::string data(got.bytes.begin(), got.bytes.end());
    text += (text.empty() ? "" : " | ") + entry.name + (entry.art ? " art: " : ": ") +
            (!got.error.empty() ? got.error
             : data.size() > 16 ? "<" + std::to_string(data.size()) + " bytes>"
                                : data) +
            (got.crcMismatch ? " (crc)" : "");
  }
  return text;
}

TEST(ZipPack, Table) {
  const Member hello{"a.nfo", "hello"};
  const auto withOffset = [](Member m, int64_t offset) { return m.offset = offset, m; };
  const auto with = [](Member m, const std::function<void(Member&)>& change) { return change(m), m; };
  const std::string plain = ": Its name is not a plain path inside the pack",
                    overlaps = " art: Its data overlaps another entry or the central directory",
                    damaged = "Its central directory is damaged or cut short";
  const std::pair<std::string, std::string> cases[] = {
      // Sorted with A to Z as a to z; code page 437 names unless flag 11 says UTF-8; '\' is '/'.
      {Written({{"Zeta/x.ans", "ansi", 8},
                {"alpha\\b.NFO", "nfo"},
                {"Alpha/", ""},
                {"\x84rger.diz", "diz"},
                {"\xC3\xA4rger.txt", "txt", 0, 0x800},
                {"inner.ZIP", "PK"},
                {"ALPHA/b.nfo", "NFO"}}),
       "Alpha/: It is a folder | ALPHA/b.nfo art: NFO | alpha/b.NFO art: nfo | inner.ZIP: It is a pack "
       "inside the pack | Zeta/x.ans art: ansi | \xC3\xA4rger.diz art: diz | \xC3\xA4rger.txt: txt"},
      {Written({{"../up.nfo", ""},
                {"a/../b.nfo", ""},
                {"\\abs.nfo", ""},
                {"C:x.nfo", ""},
                {"art/nul.nfo", ""},
                {std::string("a\0b.nfo", 7), ""}}),
       "../up.nfo" + plain + " | /abs.nfo" + plain + " | a/../b.nfo" + plain + " | a?b.nfo" + plain +
           " | art/nul.nfo: It names a device, not a file | C:x.nfo" + plain},
      {Written({{"enc.nfo", "x", 0, 1}, {"bz2.nfo", "x", 12}}),
       "bz2.nfo: It is compressed in a way this program does not read (only stored and deflated) | "
       "enc.nfo: It is encrypted"},
      {Written({{"dd.nfo", "stored", 0, 8}, {"dd.ans", "deflated", 8, 8}}),
       "dd.ans art: deflated | dd.nfo art: stored"},
      {Written({{"d/a.nfo", "z64"}, {"b.ans", "deflated", 8}}, [](Pack& p) { p.zip64 = true; }),
       "b.ans art: deflated | d/a.nfo art: z64"},
      {Written({with(hello, [](Member& m) { m.crcFlip = 1; })}), "a.nfo art: hello (crc)"},
      // Data that runs into the next local header, into the directory, or shares a header.
      {Written({with({"a.nfo", "aaa", 8}, [](Member& m) { m.storedShift = 1; }),
                {"b.nfo", "b"},
                with({"c.nfo", "ccc", 8}, [](Member& m) { m.storedShift = 1; })}),
       "a.nfo" + overlaps + " | b.nfo art: b | c.nfo" + overlaps},
      {Written({hello, withOffset({"b.nfo", "b"}, 0)}), "a.nfo" + overlaps + " | b.nfo" + overlaps},
      {Written({withOffset(hello, 41)}), "a.nfo" + overlaps},
      {Written({with(hello, [](Member& m) { m.localName = "b.nfo"; })}),
       "a.nfo art: Its local header does not match the central directory"},
      {Written({withOffset(hello, 1 << 20)}), "a.nfo art: Its local header lies outside the pack"},
      // The end record lies about the directory, or there is none.
      {Written({hello}, [](Pack& p) { p.countShift = 1; }), damaged},
      {Written({hello}, [](Pack& p) { p.sizeShift = -1; }), damaged},
      {Written({hello}, [](Pack& p) { p.offsetShift = 1; }), damaged},
      {Written({hello}, [](Pack& p) { p.offsetShift = 1000; }), damaged},
      {Written({hello}).substr(0, 60), "It is not a ZIP pack: no end of central directory record was found"},
      {Written({{std::string(1001, 'n'), ""}}), "An entry's name is longer than 1000 bytes"},
      // Bombs: a megabyte of zeros, sizes that lie low or high, one past the limit; a blank screen is none.
      {Written({{"bomb.ans", std::string(2 << 20, '\0'), 8}, {"blank.ans", std::string(8000, ' '), 8}}),
       "blank.ans art: <8000 bytes> | bomb.ans art: It inflates to more than 200 times its stored size"},
      {Written({with({"low.nfo", std::string(5000, 'x'), 8}, [](Member& m) { m.sizeShift = -4000; }),
                with({"high.nfo", "x", 8}, [](Member& m) { m.sizeShift = 1; }),
                with({"huge.nfo", "x", 8}, [](Member& m) { m.sizeShift = 64 << 20; })}),
       "high.nfo art: It inflates to less than its recorded size | huge.nfo art: It is larger than 64 MB | "
       "low.nfo art: It inflates past its recorded size"},
  };
  for (const auto& [bytes, want] : cases) EXPECT_EQ(Describe(bytes), want);
}

TEST(ZipPack, AHundredThousandEntriesAtMost) {
  for (const size_t count : {kPackEntryLimit, kPackEntryLimit + 1}) {
    const std::string bytes = Written({{"a.nfo", ""}}, [&](Pack& p) { p.zip64 = true, p.copies = count; });
    MemoryPackSource source(bytes.data(), bytes.size());
    ZipPack pack;
    EXPECT_EQ(pack.Open(source) ? std::to_string(pack.Entries().size()) : pack.Error(),
              count == kPackEntryLimit ? "100000"
                                       : "It lists 100001 entries, more than the 100000 this program reads");
  }
}

}  // namespace

TEST(ZipPack, PathsSplitAtTheFirstPack) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      // path, then pack and entry
      {"C:\\art\\pack.ZIP\\GROUP\\x.ans", "C:\\art\\pack.ZIP", "GROUP/x.ans"},
      {"/art/a.zip/b.zip/x.ans", "/art/a.zip", "b.zip/x.ans"},  // a pack inside is an entry
      {"/art/d.zip/p.zip/x.ans", "/art/d.zip/p.zip", "x.ans"},  // a folder named so is passed
      {"/art/d.zip/x.ans", nullptr, nullptr},
      {"C:\\art\\pack.zip", "C:\\art\\pack.zip", ""},
      {"C:\\art\\.zip\\x.ans", nullptr, nullptr},  // no name before the extension
      {"C:\\zipped\\x.ans", nullptr, nullptr},
  };
  for (const auto& [path, pack, entry] : rows) {
    PackPath split;
    ASSERT_EQ(SplitPackPath(path, split, [](const std::string& part) { return part == "/art/d.zip"; }),
              pack != nullptr)
        << path;
    if (pack != nullptr) {
      EXPECT_EQ(split.pack + "|" + split.entry, std::string(pack) + "|" + entry);
    }
  }
}

TEST(ZipPack, EntriesReadAsFileStarts) {
  Pack made{{{"read.me", "text"}, {"B/Art.ANS", "art bytes", 8}}};
  made.members[1].crcFlip = 1;
  const std::string bytes = Write(made);
  MemoryPackSource source(bytes.data(), bytes.size());
  for (const char* name : {"", "b/art.ans"}) {  // the first art entry; a name in another case
    uint8_t start[4];
    const FileStart got = ReadPackEntryStart(source, name, start, sizeof start);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(start), got.count) + (got.cut ? "+" : "") +
                  (got.damaged ? " damaged" : ""),
              "art + damaged")
        << name;
  }
  uint8_t start[4];
  EXPECT_EQ(ReadPackEntryStart(source, "B/none.ans", start, sizeof start).opened, -1);
}

TEST(ZipPack, EntriesGetOnePngEachInAFolder) {
  // Folders flattened; what a Windows name cannot hold made '_'; a device name's PNG put aside; a name
  // taken in any case numbered.
  const std::vector<std::string> names = {"x.ans",          "GROUP/x.ans", "GROUP_x.ans", "group/X.ANS",
                                          "a:b|c?\x01.nfo", "aux.diz",     "x.ans"};
  const auto caseless = [](const std::string& a, const std::string& b) {
    std::string x = a, y = b;
    LowerCaseAscii(x.data()), LowerCaseAscii(y.data());
    return x.compare(y);
  };
  EXPECT_EQ(
      OutNamesInFolder(names, ".png", caseless),
      (std::vector<std::string>{"x.ans.png", "GROUP_x.ans.png", "GROUP_x.ans.2.png", "group_X.ANS.3.png",
                                "a_b_c__.nfo.png", "_aux.diz.png", "x.ans.2.png"}));
}
