#include "sauce_text.h"

#include <cstring>

#include "../core/code_page_437.h"

namespace {

uint32_t Little(const uint8_t* p, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

// A text field: blanks at its end dropped, and a zero ends it too (some
// editors pad with zeros). Each field is one line: a CR or LF in it shows
// its glyph like the other control bytes, never a break that could pass
// for another field.
std::string Field(const uint8_t* p, size_t size) {
  size_t n = 0;
  while (n < size && p[n] != 0) ++n;
  while (n > 0 && p[n - 1] == ' ') --n;
  const std::string bytes(reinterpret_cast<const char*>(p), n);
  return CodePage437ToUtf8(bytes.c_str(), false);
}

const char* DataTypeName(uint8_t type) {
  static const char* const kNames[] = {"none",       "character", "bitmap",  "vector",    "audio",
                                       "BinaryText", "XBin",      "archive", "executable"};
  return type < sizeof kNames / sizeof kNames[0] ? kNames[type] : "unknown";
}

std::string FileTypeName(uint8_t dataType, uint8_t fileType) {
  if (dataType == 1) {
    static const char* const kCharacter[] = {"ASCII",  "ANSi", "ANSiMation", "RIP script", "PCBoard",
                                             "Avatar", "HTML", "source",     "TundraDraw"};
    if (fileType < sizeof kCharacter / sizeof kCharacter[0]) return kCharacter[fileType];
  }
  if (dataType == 5) return std::to_string(2 * fileType) + " columns";
  return std::to_string(fileType);
}

std::string Date(const std::string& d) {
  // CCYYMMDD; anything else is shown as it stands.
  if (d.size() == 8 && d.find_first_not_of("0123456789") == std::string::npos)
    return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
  return d;
}

}  // namespace

SauceDescription DescribeSauce(const uint8_t* bytes, size_t length) {
  SauceDescription sauce;
  if (length < 128 || std::memcmp(bytes + length - 128, "SAUCE00", 7) != 0) return sauce;
  const uint8_t* r = bytes + length - 128;
  sauce.present = true;
  sauce.title = Field(r + 7, 35);
  sauce.author = Field(r + 42, 20);
  sauce.group = Field(r + 62, 20);
  sauce.summary = sauce.title;
  const std::string who =
      sauce.author + (!sauce.author.empty() && !sauce.group.empty() ? " / " : "") + sauce.group;
  if (!who.empty()) sauce.summary += (sauce.summary.empty() ? "" : " \u00b7 ") + who;

  const uint8_t flags = r[105];
  static const char* const kSpacing[] = {"not given", "8 pixels", "9 pixels", "not valid"};
  static const char* const kAspect[] = {"not given", "4:3, stretched", "square pixels", "not valid"};
  sauce.fields = {
      {"Title", sauce.title},
      {"Author", sauce.author},
      {"Group", sauce.group},
      {"Date", Date(Field(r + 82, 8))},
      {"Size", std::to_string(Little(r + 90, 4)) + " bytes"},
      {"Data type", DataTypeName(r[94])},
      {"File type", FileTypeName(r[94], r[95])},
      {"Width", std::to_string(Little(r + 96, 2))},
      {"Height", std::to_string(Little(r + 98, 2))},
      {"iCE colours", flags & 1 ? "yes" : "no"},
      {"Letter spacing", kSpacing[flags >> 1 & 3]},
      {"Aspect", kAspect[flags >> 3 & 3]},
      {"Font", Field(r + 106, 22)},
  };
  // The comment block stands right before the record: "COMNT" and 64
  // bytes a line.
  const size_t lines = r[104];
  const size_t block = 5 + 64 * lines;
  if (lines > 0 && length - 128 >= block && std::memcmp(r - block, "COMNT", 5) == 0) {
    for (size_t i = 0; i < lines; ++i)
      sauce.fields.emplace_back("Comment", Field(r - block + 5 + 64 * i, 64));
  }
  return sauce;
}

