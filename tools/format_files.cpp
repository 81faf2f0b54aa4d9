// format_files: the Linux desktop entry, thumbnailer and MIME package, made
// from the table of formats (src/art/art_formats.h).
//   format_files check DIR    exit 0 when DIR's quillpane.desktop,
//                             quillpane.thumbnailer and quillpane-mime.xml
//                             are what the table makes, else 1, saying which
//   format_files write DIR    writes them (after a new row: write src/linux)
//   format_files extensions   the extensions as a regular expression's
//                             alternatives, without dots: nfo|diz|...
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "art/art_formats.h"

namespace {

const char kMadeNote[] =
    "# Made by tools/format_files from the table of formats (src/art/art_formats.h):\n"
    "# build/native/format_files write src/linux makes it again.\n";

std::string Escaped(const char* text) {
  std::string out;
  for (const char* c = text; *c != '\0'; ++c) {
    switch (*c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += *c;
    }
  }
  return out;
}

// Each MIME type once, in the order of its first row, ended by a semicolon.
std::string MimeTypeList() {
  std::vector<std::string> types;
  std::string list;
  for (const ArtFormatRow& row : kArtFormats) {
    bool met = false;
    for (const std::string& type : types) met = met || type == row.mimeType;
    if (!met) types.emplace_back(row.mimeType), list += std::string(row.mimeType) + ";";
  }
  return list;
}

// "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i)
    text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
  return text;
}

std::string DesktopEntry() {
  std::vector<std::string> documents, scene;
  for (const ArtFormatRow& row : kArtFormats) {
    std::vector<std::string>& list = row.shown == ShownAs::kColour ? scene : documents;
    const std::string item = row.shown == ShownAs::kColour ? row.name : row.extension;
    bool met = false;
    for (const std::string& known : list) met = met || known == item;
    if (!met) list.push_back(item);
  }
  std::string documentList;
  for (const std::string& document : documents) documentList += document + ", ";
  return std::string(kMadeNote) +
         "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Quillpane\n"
         "GenericName=Text-Mode Art Viewer\n"
         "Comment=View " +
         documentList.substr(0, documentList.size() - 2) + " and the scene's " + Listed(scene) +
         " art\n"
         "Exec=quillpane %f\n"
         "Icon=quillpane\n"
         "Terminal=false\n"
         "Categories=Graphics;Viewer;\n"
         "MimeType=" +
         MimeTypeList() + "\n";
}

std::string Thumbnailer() {
  return std::string(kMadeNote) +
         "[Thumbnailer Entry]\n"
         "TryExec=quillpane-export\n"
         "Exec=quillpane-export --thumbnail %s --colour --png %o %i\n"
         "MimeType=" +
         MimeTypeList() + "\n";
}

std::string MimePackage() {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!-- Made by tools/format_files from the table of formats (src/art/art_formats.h):\n"
      "     the file types Quillpane shows that the shared MIME database has no\n"
      "     type for. A glob weighs more than the database's own (50) where\n"
      "     the viewer is to be offered before a plain text editor, and less\n"
      "     where the extension is most often something else. -->\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (size_t i = 0; i < std::size(kArtFormats); ++i) {
    const ArtFormatRow& row = kArtFormats[i];
    if (row.mimeComment == nullptr) continue;  // the database's own type
    bool before = false;
    for (size_t j = 0; j < i; ++j) before = before || std::strcmp(kArtFormats[j].mimeType, row.mimeType) == 0;
    if (before) continue;
    xml += "  <mime-type type=\"" + Escaped(row.mimeType) + "\">\n";
    xml += "    <comment>" + Escaped(row.mimeComment) + "</comment>\n";
    if (row.mimeParent != nullptr) xml += "    <sub-class-of type=\"" + Escaped(row.mimeParent) + "\"/>\n";
    if (row.magic != nullptr) {
      xml += "    <magic priority=\"60\">\n";
      xml += "      <match type=\"string\" value=\"" + Escaped(row.magic) + "\" offset=\"0\"/>\n";
      xml += "    </magic>\n";
    }
    // Every row of the type gives its glob.
    for (size_t j = i; j < std::size(kArtFormats); ++j) {
      const ArtFormatRow& same = kArtFormats[j];
      if (std::strcmp(same.mimeType, row.mimeType) != 0) continue;
      xml += "    <glob pattern=\"*" + Escaped(same.extension) + "\"";
      if (same.globWeight != 0) xml += " weight=\"" + std::to_string(same.globWeight) + "\"";
      xml += "/>\n";
    }
    xml += "  </mime-type>\n";
  }
  return xml + "</mime-info>\n";
}

struct MadeFile {
  const char* name;
  std::string text;
};

std::vector<MadeFile> MadeFiles() {
  return {{"quillpane.desktop", DesktopEntry()},
          {"quillpane.thumbnailer", Thumbnailer()},
          {"quillpane-mime.xml", MimePackage()}};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc >= 2 ? argv[1] : "";
  if (mode == "extensions" && argc == 2) {
    std::string list;
    for (const ArtFormatRow& row : kArtFormats)
      list += (list.empty() ? "" : "|") + std::string(row.extension + 1);
    std::printf("%s\n", list.c_str());
    return 0;
  }
  if ((mode != "check" && mode != "write") || argc != 3) {
    std::fprintf(stderr, "usage: format_files check DIR | write DIR | extensions\n");
    return 2;
  }
  int status = 0;
  for (const MadeFile& made : MadeFiles()) {
    const std::string path = std::string(argv[2]) + "/" + made.name;
    if (mode == "write") {
      std::ofstream out(path, std::ios::binary);
      out << made.text;
      if (!out.flush()) {
        std::fprintf(stderr, "format_files: cannot write %s\n", path.c_str());
        status = 1;
      }
      continue;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string found{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (found != made.text) {
      std::fprintf(
          stderr,
          "format_files: %s is not what the table of formats makes (format_files write %s makes it):\n"
          "%s",
          path.c_str(), argv[2], made.text.c_str());
      status = 1;
    }
  }
  return status;
}
