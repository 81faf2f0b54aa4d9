#include "art_formats.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "../core/text_helpers.h"

FormatReading ReadAnsiArt(const uint8_t* bytes, size_t length) { return {ReadAnsiScreen(bytes, length), {}}; }

const ArtFormatRow& FormatRowOf(const char* path) {
  if (path == nullptr) return kOtherFile;
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p)
    if (*p == '/' || *p == '\\') name = p + 1;
  const char* dot = std::strrchr(name, '.');
  if (dot == nullptr) return kOtherFile;
  for (const ArtFormatRow& row : kArtFormats)
    if (EqualsIgnoringAsciiCase(dot, row.extension)) return row;
  return kOtherFile;
}

std::string OpenDialogFilter(const char* packDescription, const char* packPattern) {
  std::string filter;
  const auto add = [&filter](const std::string& description, const std::string& pattern) {
    filter.append(description).push_back('\0');
    filter.append(pattern).push_back('\0');
  };
  std::string all, scene;
  // Entries of their own, in table order, and the scene formats' names;
  // two rows of one name share one.
  std::vector<std::pair<std::string, std::string>> own;
  std::vector<std::string> sceneNames;
  for (const ArtFormatRow& row : kArtFormats) {
    const std::string pattern = std::string("*") + row.extension;
    all += pattern + ";";
    if (!row.ownFilter) {
      scene += (scene.empty() ? "" : ";") + pattern;
      if (std::find(sceneNames.begin(), sceneNames.end(), row.name) == sceneNames.end())
        sceneNames.emplace_back(row.name);
      continue;
    }
    auto entry = own.begin();
    while (entry != own.end() && entry->first != row.name) ++entry;
    if (entry == own.end())
      own.emplace_back(row.name, pattern);
    else
      entry->second += ";" + pattern;
  }
  add("All Recognized", all + packPattern);
  for (const auto& [description, pattern] : own) add(description, pattern);
  if (!scene.empty()) {
    std::string names;
    for (const std::string& name : sceneNames) names += (names.empty() ? "" : ", ") + name;
    add("Scene formats (" + names + ")", scene);
  }
  add(packDescription, packPattern);
  add("Files(*.*)", "*.*");
  return filter;
}
