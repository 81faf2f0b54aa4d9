#include "status_text.h"

#include <algorithm>

std::string StatusLeftText(int64_t length, int32_t fileHandle, uint32_t runCount,
                           const std::vector<std::string>& notes) {
  std::string text;
  for (const std::string& note : notes)
    if (!note.empty()) text += note + " \u2014 ";
  return text + "anttkn:" + std::to_string(length) + ", filhantag:" + std::to_string(fileHandle) +
         ", runtimes:" + std::to_string(runCount);
}

int32_t StatusLeftEdge(int32_t barWidth, int32_t placeWidth, bool wideRight, int32_t noteTextWidth) {
  const int32_t widest = barWidth - placeWidth;
  const int32_t edge = wideRight ? barWidth / 3 : widest;
  return noteTextWidth > 0 ? std::max(edge, std::min(noteTextWidth, widest)) : edge;
}

std::string PlayStatusText(bool paused, uint32_t bitsPerSecond) {
  return (paused ? "Paused at " : "Playing at ") + std::to_string(bitsPerSecond) + " bit/s";
}

std::string FontStatusText(const Document& document) {
  if (!document.DrawnInItsFont() || document.font.face == FontFace{}) return std::string();
  return ChosenFontText(document.font);
}
