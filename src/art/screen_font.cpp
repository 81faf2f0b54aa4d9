#include "screen_font.h"

#include <cctype>
#include <cstring>

namespace {

const FontFamilyInfo kFamilies[kFontFamilyCount] = {
    {"IBM VGA", 16, ScreenTube::kVga, CharacterSet::kIbm, true},
    {"IBM VGA50", 8, ScreenTube::kVga, CharacterSet::kIbm, true},
    {"IBM VGA25G", 19, ScreenTube::kSquare, CharacterSet::kIbm, true},
    {"IBM EGA", 14, ScreenTube::kEga, CharacterSet::kIbm, true},
    {"IBM EGA43", 8, ScreenTube::kEga, CharacterSet::kIbm, true},
    // One Topaz is built in, the Kickstart 2 shapes; Kickstart 1's Topaz
    // differs from it in a handful of glyphs, so both names draw in it.
    {"Amiga Topaz 1", 8, ScreenTube::kAmiga, CharacterSet::kAmiga, true},
    {"Amiga Topaz 1+", 8, ScreenTube::kAmiga, CharacterSet::kAmiga, false},
    {"Amiga Topaz 2", 8, ScreenTube::kAmiga, CharacterSet::kAmiga, true},
    {"Amiga Topaz 2+", 8, ScreenTube::kAmiga, CharacterSet::kAmiga, false},
    {"Amiga P0T-NOoDLE", 8, ScreenTube::kAmiga, CharacterSet::kAmiga, false},
    {"Amiga MicroKnight", 8, ScreenTube::kAmiga, CharacterSet::kAmiga, false},
    {"Amiga MicroKnight+", 8, ScreenTube::kAmiga, CharacterSet::kAmiga, false},
    {"Amiga mOsOul", 8, ScreenTube::kAmiga, CharacterSet::kAmiga, false},
    {"C64 PETSCII unshifted", 8, ScreenTube::kC64, CharacterSet::kPetsciiUnshifted, true},
    {"C64 PETSCII shifted", 8, ScreenTube::kC64, CharacterSet::kPetsciiShifted, true},
    {"Atari ATASCII", 8, ScreenTube::kAtari, CharacterSet::kAtascii, true},
};

// A name folded for matching: lower case, no blanks, "pot" read as "p0t".
std::string Folded(const char* name, size_t length) {
  std::string folded;
  for (size_t i = 0; i < length && name[i] != '\0'; ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (!std::isspace(c)) folded += static_cast<char>(std::tolower(c));
  }
  const size_t pot = folded.find("pot-noodle");
  if (pot != std::string::npos) folded[pot + 1] = '0';
  return folded;
}

}  // namespace

const FontFamilyInfo& FamilyInfo(FontFamily family) {
  const int index = static_cast<int>(family);
  return kFamilies[index >= 0 && index < kFontFamilyCount ? index : 0];
}

std::string FontFaceName(const FontFace& face) {
  std::string name = FamilyInfo(face.family).name;
  if (IsIbmFamily(face.family) && face.codePage != 437) name += " " + std::to_string(face.codePage);
  return name;
}

bool ParseFontName(const char* name, size_t length, FontFace& face) {
  const std::string folded = Folded(name, length);
  // The longest family name that starts the name, and after an IBM one
  // nothing or a code page: three or four digits, or a word such as
  // "MIK" for a code page that is not built in (read as -1).
  int best = -1;
  size_t bestLength = 0;
  int16_t codePage = 437;
  for (int f = 0; f < kFontFamilyCount; ++f) {
    const std::string family = Folded(kFamilies[f].name, std::strlen(kFamilies[f].name));
    if (folded.compare(0, family.size(), family) != 0 || family.size() <= bestLength) continue;
    const std::string rest = folded.substr(family.size());
    int16_t page = 437;
    if (!rest.empty()) {
      if (!IsIbmFamily(static_cast<FontFamily>(f)) || rest.size() > 4) continue;
      bool digits = true, letters = true;
      for (char c : rest) {
        digits = digits && std::isdigit(static_cast<unsigned char>(c));
        letters = letters && std::isalpha(static_cast<unsigned char>(c));
      }
      if (digits && rest.size() >= 3) page = static_cast<int16_t>(std::stoi(rest));
      else if (letters && rest.size() == 3) page = -1;
      else continue;
    }
    best = f, bestLength = family.size(), codePage = page;
  }
  if (best < 0) return false;
  face.family = static_cast<FontFamily>(best);
  face.codePage = IsIbmFamily(face.family) ? codePage : 0;
  return true;
}

bool CodePageIsBuilt(int codePage) { return CodePageIndex(codePage) >= 0; }

FontFace ResolveFont(const FontFace& asked, bool& fellBack, CodePageBuilt built) {
  FontFace face = asked;
  if (IsIbmFamily(face.family)) {
    // Pages that differ from another in a glyph or two.
    static const int16_t kAlike[][2] = {{858, 850}, {872, 855}, {865, 437}};
    for (const auto& alike : kAlike)
      if (face.codePage == alike[0] && !built(face.codePage)) face.codePage = alike[1];
    if (!built(face.codePage)) face.codePage = 437;
  } else {
    face.codePage = 0;
    if (!FamilyInfo(face.family).builtIn) {
      switch (face.family) {
        case FontFamily::kTopaz1Plus: face.family = FontFamily::kTopaz1; break;
        case FontFamily::kTopaz2Plus: face.family = FontFamily::kTopaz2; break;
        case FontFamily::kMicroKnightPlus: face.family = FontFamily::kMicroKnight; break;
        default: break;
      }
      if (!FamilyInfo(face.family).builtIn) face.family = FontFamily::kTopaz1;
    }
  }
  fellBack = face != asked;
  return face;
}

std::string ChosenFontText(const ChosenFont& font) {
  std::string text = FontFaceName(font.face);
  if (font.fellBack) text += " (for " + font.askedName + ")";
  if (font.amigaText) text += " (found to be Amiga text)";
  return text;
}
