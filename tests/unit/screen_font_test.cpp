#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "../../src/art/document_reading.h"
#include "../../src/art/screen_font.h"
#include "screen_text.h"

namespace {

// Every name a record may carry, spelled as files spell it, to the font
// drawn ("-" where the name names no font) and whether that one stands in.
TEST(ScreenFont, NamesAndFallbacks) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"IBM VGA 437", "IBM VGA", false},
      {"ibm vga   866  ", "IBM VGA 866", false},
      {"IBM VGA866", "IBM VGA 866", false},
      {"IBM VGA50 437", "IBM VGA50", false},
      {"IBM VGA25G 737", "IBM VGA25G 737", false},
      {"IBM EGA 437", "IBM EGA", false},  // not EGA43 with a 7 after it
      {"IBM EGA43 775", "IBM EGA43 775", false},
      {"IBM VGA MIK", "IBM VGA", true},  // a code page not built in: the font without it
      {"IBM VGA 85", "-", false},
      {"IBM VGA 86612", "-", false},
      {"Amiga Topaz 1", "Amiga Topaz 1", false},
      {"Amiga Topaz 1+", "Amiga Topaz 1", true},
      {"amiga topaz 2 +", "Amiga Topaz 2", true},
      {"Amiga PoT-NOoDLE", "Amiga Topaz 1", true},
      {"Amiga MicroKnight+", "Amiga Topaz 1", true},
      {"Amiga Topaz 1 866", "-", false},
      {"C64 PETSCII shifted", "C64 PETSCII shifted", false},
      {"Atari ATASCII", "Atari ATASCII", false},
      {"", "-", false},
      {"Courier New", "-", false},
  };
  for (const auto& [name, drawn, fellBack] : cases) {
    SCOPED_TRACE(name);
    FontFace face;
    face.family = FontFamily::kAtascii;  // left alone by a name that names nothing
    if (!ParseFontName(name, std::strlen(name), face)) {
      EXPECT_STREQ(drawn, "-");
      EXPECT_EQ(face.family, FontFamily::kAtascii);
      continue;
    }
    bool fell = true;
    EXPECT_EQ(FontFaceName(ResolveFont(face, fell)), drawn);
    EXPECT_EQ(fell, fellBack);
  }
  // A 22-byte field without its zero is read to its end, no further.
  const char field[] = "IBM VGA50 866xxxxxxxxxxxxxx";
  FontFace face;
  EXPECT_TRUE(ParseFontName(field, 13, face));
  EXPECT_EQ(FontFaceName(face), "IBM VGA50 866");
}

TEST(ScreenFont, CodePagesAlikeWhenOneIsMissing) {
  const auto only437And850And855 = [](int page) { return page == 437 || page == 850 || page == 855; };
  const std::pair<int, int> cases[] = {{858, 850}, {872, 855}, {865, 437}, {866, 437}, {850, 850}};
  for (const auto& [asked, drawn] : cases) {
    bool fell = false;
    const FontFace face = ResolveFont(FontFace{FontFamily::kIbmEga, static_cast<int16_t>(asked)}, fell,
                                      only437And850And855);
    EXPECT_EQ(face.codePage, drawn) << asked;
    EXPECT_EQ(face.family, FontFamily::kIbmEga);
    EXPECT_EQ(fell, asked != drawn);
  }
}

}  // namespace

// Which font a document gets: the reader's choice, else its record's, else Topaz for Amiga text under a
// text name, else the VGA's.
TEST(ScreenFont, TheReadersChoiceThenTheRecordThenTheBytes) {
  const std::string amiga = "Sm\xE5 b\xE5ter p\xE5 havet, \xE9t \xB7 \xAF\xAF\xAF \xB7 f\xFCr alle\n";
  const std::string named = amiga + File("", 1, 0, 80, 0, "IBM EGA 775");
  const std::tuple<const char*, std::string, std::string, const char*> cases[] = {
      {"x.asc", amiga, "", "Amiga Topaz 1 (found to be Amiga text)"},
      {"x.ans", amiga, "", "IBM VGA"},
      {"x.asc", named, "", "IBM EGA 775"},
      {"x.asc", named, "ibm vga 866", "IBM VGA 866"},
      {"x.asc", amiga, "Amiga MicroKnight", "Amiga Topaz 1 (for Amiga MicroKnight)"},
      {"x.asc", amiga, "no such font", "Amiga Topaz 1 (found to be Amiga text)"},
  };
  for (const auto& [path, bytes, chosen, want] : cases) {
    SCOPED_TRACE(path + (" " + chosen));
    const ChosenFont font = ChooseFont(path, Bytes(bytes), bytes.size(), chosen);
    EXPECT_EQ(ChosenFontText(font), want);
  }
}
