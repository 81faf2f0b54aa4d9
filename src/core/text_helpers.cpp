#include "text_helpers.h"

#include <cstring>

std::string Substring(const char* text, int32_t from, int32_t to) {
  // The result is a growable string owned by the caller, so no range is too
  // long for it; it never refers to the source.
  if (from >= to) return std::string();
  if (from < 0) from = 0;
  // A range that starts past the end of the text is empty.
  if (std::memchr(text, '\0', static_cast<size_t>(from)) != nullptr) return std::string();
  const char* start = text + from;
  const void* end = std::memchr(start, '\0', static_cast<size_t>(to - from));
  const size_t count =
      end ? static_cast<size_t>(static_cast<const char*>(end) - start) : static_cast<size_t>(to - from);
  return std::string(start, count);
}

int32_t FindFirst(const char* text, char ch) {
  int32_t i = 0;
  while (text[i] != '\0' && text[i] != ch) ++i;
  return i;
}

int32_t FindLastFromEnd(const char* text, char ch) {
  const int32_t length = static_cast<int32_t>(std::strlen(text));
  for (int32_t i = length - 1; i >= 0; --i) {
    if (text[i] == ch) return i + 1;
  }
  return length;
}

void ClearText(char* buffer, int32_t count) {
  for (int32_t i = 0; i < count && buffer[i] != '\0'; ++i) buffer[i] = '\0';
}

bool CopyWholeText(char* buffer, int32_t size, const std::string& text) {
  if (size <= 0) return false;
  if (text.size() + 1 > static_cast<size_t>(size)) {
    buffer[0] = '\0';
    return false;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

void LowerCaseAscii(char* text) {
  for (; *text != '\0'; ++text) {
    if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
  }
}

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (; *a != '\0' && lower(*a) == lower(*b); ++a, ++b) {
  }
  return lower(*a) == lower(*b);
}
