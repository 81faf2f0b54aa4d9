#include "font_sheet_list.h"

#include "../core/text_helpers.h"

std::string FontDisplayName(const char* bytes, int32_t count) {
  const std::string text(bytes, static_cast<size_t>(count > 0 ? count : 0));
  const char* start = text.c_str();  // up to the first zero byte
  return Substring(start, 0, FindLastFromEnd(start, '\r') - 1);
}

std::string FontSheetBaseName(const char* fileName) {
  return Substring(fileName, 0, FindLastFromEnd(fileName, '.') - 1);
}
