#include "font_sheet_list.h"

#include "../core/text_helpers.h"

std::string FontDisplayName(const char* bytes, int32_t count) {
  int32_t length = 0;
  while (length < count && bytes[length] != '\r' && bytes[length] != '\n' && bytes[length] != '\0') ++length;
  return std::string(bytes, static_cast<size_t>(length));
}

std::string FontMenuText(int32_t index, const std::string& name) {
  std::string text = std::to_string(index) + ". ";
  for (const char c : name) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

std::string FontSheetBaseName(const char* fileName) {
  return Substring(fileName, 0, FindLastFromEnd(fileName, '.') - 1);
}
