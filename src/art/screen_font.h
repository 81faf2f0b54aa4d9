// The screen a piece was drawn on, as its font says: which font a SAUCE
// name (or the reader's choice) asks for, the one drawn in its place when
// that one is not built in, its cell's height and how a 4:3 tube
// stretched its rows.
#ifndef QUILLPANE_SCREEN_FONT_H
#define QUILLPANE_SCREEN_FONT_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "../core/character_sets.h"

enum class FontFamily : uint8_t {
  kIbmVga,     // 8x16 (9x16), 80 x 25
  kIbmVga50,   // 8x8, 80 x 50
  kIbmVga25g,  // 8x19, the 640 x 480 graphics mode
  kIbmEga,     // 8x14, 640 x 350
  kIbmEga43,   // 8x8, 80 x 43
  kTopaz1,
  kTopaz1Plus,
  kTopaz2,
  kTopaz2Plus,
  kPotNoodle,
  kMicroKnight,
  kMicroKnightPlus,
  kMosoul,
  kPetsciiUnshifted,
  kPetsciiShifted,
  kAtascii,
  kEnd
};

constexpr int kFontFamilyCount = static_cast<int>(FontFamily::kEnd);

// How the tube a font was shown on stretched its pixel rows to fill 4:3.
enum class ScreenTube : uint8_t {
  kVga,     // 720 x 400 to 540 (by 1.35) in 9-pixel cells, 640 x 400 to 480 (1.2) in 8
  kSquare,  // 640 x 480: square already
  kEga,     // 640 x 350 to 480 (by 48/35)
  kAmiga,   // 640 x 200 to 480 (by 2.4)
  kC64,     // 320 x 200 to 240 (by 1.2)
  kAtari,   // 320 x 192 to 240 (by 1.25)
};

struct FontFamilyInfo {
  const char* name;  // as SAUCE spells it: "IBM VGA", "Amiga Topaz 1+"
  int32_t cellHeight;
  ScreenTube tube;
  CharacterSet set;
  bool builtIn;  // its glyphs are in the program
};
const FontFamilyInfo& FamilyInfo(FontFamily family);
inline bool IsIbmFamily(FontFamily family) { return family <= FontFamily::kIbmEga43; }

// A font as asked for or as drawn: an IBM family takes a code page (437
// when none is named); the others none (0).
struct FontFace {
  FontFamily family = FontFamily::kIbmVga;
  int16_t codePage = 437;
  bool operator==(const FontFace& other) const {
    return family == other.family && codePage == other.codePage;
  }
  bool operator!=(const FontFace& other) const { return !(*this == other); }
  int32_t CellHeight() const { return FamilyInfo(family).cellHeight; }
  CharacterSet Set() const { return FamilyInfo(family).set; }
};

// The name SAUCE gives the face: "IBM VGA", "IBM EGA 866", "Amiga Topaz 1".
// Code page 437 is left out, as files name it.
std::string FontFaceName(const FontFace& face);

// Reads a font name as files really spell it: any case, blanks around and
// between the words taken loosely, "PoT-NOoDLE" for "P0T-NOoDLE", a code
// page after an IBM name ("IBM VGA 866", also "IBM VGA866"). `length`
// bytes at most are read, up to the first zero. False for a name that
// names no font (then `face` is left as it was); a code page that is not
// built in is still read (ResolveFont falls back from it).
bool ParseFontName(const char* name, size_t length, FontFace& face);

// Which code pages and families are built in; by default the program's.
using CodePageBuilt = bool (*)(int codePage);
bool CodePageIsBuilt(int codePage);

// The face drawn for the one asked for, through the fallbacks: 858 is
// drawn as 850 and 872 as 855 when they are not built in, 865 as 437; any
// other code page not built in as the font without it (437); an Amiga
// font with a + as its base font, one not built in as Topaz 1. An IBM
// family is always built in. `fellBack` says whether the face changed.
FontFace ResolveFont(const FontFace& asked, bool& fellBack, CodePageBuilt built = CodePageIsBuilt);

// The font a document is drawn in, and where it came from.
struct ChosenFont {
  FontFace face;          // drawn
  bool named = false;     // a font was named, by the reader or the file
  std::string askedName;  // the name as given, blanks around it dropped
  bool fellBack = false;  // the one named is not built in: `face` stands in
  bool amigaText = false; // none was named; the bytes are an Amiga piece
  // Whether the text layout draws in this font rather than in its Keymap
  // sheet: only when the font's characters differ from the sheet's code
  // page 437 (another code page, another machine).
  bool OwnCharacters() const {
    return face.Set() != CharacterSet::kIbm || face.codePage != 437;
  }
};

// "IBM VGA 866"; "Amiga Topaz 1 (for Amiga MicroKnight+)" when it stands
// in for one not built in; "Amiga Topaz 1 (found to be Amiga text)".
std::string ChosenFontText(const ChosenFont& font);

#endif
