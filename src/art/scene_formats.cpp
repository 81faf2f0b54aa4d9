#include "scene_formats.h"

#include <cstring>

#include "../core/text_helpers.h"

ArtFormat FormatOfName(const char* path) {
  if (path == nullptr) return ArtFormat::kText;
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p)
    if (*p == '/' || *p == '\\') name = p + 1;
  const char* dot = std::strrchr(name, '.');
  if (dot == nullptr) return ArtFormat::kText;
  static const struct {
    const char* extension;
    ArtFormat format;
  } kFormats[] = {{".xb", ArtFormat::kXBin},        {".bin", ArtFormat::kBinaryText},
                  {".adf", ArtFormat::kArtworx},    {".idf", ArtFormat::kIceDraw},
                  {".tnd", ArtFormat::kTundraDraw}, {".pcb", ArtFormat::kPcBoard},
                  {".avt", ArtFormat::kAvatar}};
  for (const auto& known : kFormats)
    if (EqualsIgnoringAsciiCase(dot, known.extension)) return known.format;
  return ArtFormat::kText;
}

FormatReading ReadFormat(ArtFormat format, const uint8_t* bytes, size_t length) {
  switch (format) {
    case ArtFormat::kXBin: return ReadXBin(bytes, length);
    case ArtFormat::kBinaryText: return ReadBinaryText(bytes, length);
    case ArtFormat::kArtworx: return ReadArtworx(bytes, length);
    case ArtFormat::kIceDraw: return ReadIceDraw(bytes, length);
    case ArtFormat::kTundraDraw: return ReadTundraDraw(bytes, length);
    case ArtFormat::kPcBoard: return ReadPcBoard(bytes, length);
    case ArtFormat::kAvatar: return ReadAvatar(bytes, length);
    case ArtFormat::kText: break;
  }
  return FormatReading{};
}
