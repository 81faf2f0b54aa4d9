// The status bar's note of the font in use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/status_text.h"

TEST(StatusText, TheFontIsNotedUnlessPlainVgaTheFilesOwnOrDrawnByTheKeymapSheet) {
  const auto font = [](FontFamily family, int16_t codePage, bool amigaText = false) {
    ChosenFont chosen;
    chosen.face = {family, codePage};
    chosen.amigaText = amigaText;
    return chosen;
  };
  const std::vector<std::string> notes = {
      FontStatusText(font(FontFamily::kIbmVga, 437), true, false),
      FontStatusText(font(FontFamily::kIbmVga50, 437), true, false),
      FontStatusText(font(FontFamily::kIbmVga50, 437), false, false),  // the Keymap sheet draws code page 437
      FontStatusText(font(FontFamily::kIbmEga, 866), false, false),
      FontStatusText(font(FontFamily::kTopaz1, 0), true, true),  // drawn in the file's own font
      FontStatusText(font(FontFamily::kTopaz1, 0, true), false, false),
  };
  EXPECT_EQ(notes, (std::vector<std::string>{"", "IBM VGA50", "", "IBM EGA 866", "",
                                             "Amiga Topaz 1 (found to be Amiga text)"}));
}
