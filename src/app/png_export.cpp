#include "png_export.h"

#include <cstring>
#include <vector>

#include "../core/disk_file.h"
#include "../core/file_names.h"
#include "../core/text_helpers.h"
#include "../document/document.h"
#include "../render/png_encoder.h"
#include "../render/render.h"
#include "../resources/resource_ids.h"
#include "../core/viewer_state.h"

namespace {

// The console the program was started from. A GUI program has none of its
// own: its standard error is used when it leads somewhere (redirected, or
// under Wine the shell's own terminal or pipe), otherwise the parent's
// console is attached. Started from the desktop there is none, and the exit
// code is all that reports.
HANDLE ConsoleOutput() {
  static HANDLE output = nullptr;
  static bool chosen = false;
  if (chosen) return output;
  chosen = true;
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error != nullptr && error != INVALID_HANDLE_VALUE && GetFileType(error) != FILE_TYPE_UNKNOWN) {
    output = error;
  } else if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    output = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
  }
  return output;
}

void Say(const std::string& line) {
  HANDLE output = ConsoleOutput();
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A path of the export as it stands before anything is written.
struct PathOnDisk {
  std::string fullPath;  // completed by the system; the path as given when it cannot be
  bool exists = false;
  bool read = false;  // a regular file that was opened: what follows is known
  BY_HANDLE_FILE_INFORMATION info = {};
  bool png = false;  // it begins with the PNG signature
};

PathOnDisk Inspect(const std::string& path) {
  PathOnDisk disk;
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  disk.fullPath = length > 0 && length < sizeof full ? std::string(full, length) : path;
  // A device is not even asked whether it exists: that can open it.
  if (NamesDevice(path.c_str())) return disk;
  disk.exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  HANDLE file = OpenDiskFile(path.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  if (file == INVALID_HANDLE_VALUE) return disk;
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  uint8_t head[sizeof kSignature];
  DWORD count = 0;
  disk.read = GetFileInformationByHandle(file, &disk.info) != 0;
  disk.png = ReadFile(file, head, sizeof head, &count, nullptr) && count == sizeof head &&
             std::memcmp(head, kSignature, sizeof head) == 0;
  CloseHandle(file);
  return disk;
}

// One file under two spellings: the same full path (a disk where case
// matters could hold both, but refusing is the safe side), or, when both
// exist, the same file of the same volume (a short name, a link).
bool SameFile(const PathOnDisk& a, const PathOnDisk& b) {
  return EqualsIgnoringAsciiCase(a.fullPath.c_str(), b.fullPath.c_str()) ||
         (a.read && b.read && a.info.dwVolumeSerialNumber == b.info.dwVolumeSerialNumber &&
          a.info.nFileIndexHigh == b.info.nFileIndexHigh && a.info.nFileIndexLow == b.info.nFileIndexLow);
}

// Why the whole export is refused before any PNG is written, or an empty
// text. These are mistakes of the call, not of one document (OUT and FILE
// swapped, a pasted pair), so nothing of it is carried out: a pair written
// before the mistake was seen could already have replaced something.
std::string Refusal(const std::vector<ExportPair>& pairs) {
  // A command line of at most 32767 characters holds a few hundred pairs:
  // each is compared with each.
  std::vector<PathOnDisk> outs, files;
  for (const ExportPair& pair : pairs) outs.push_back(Inspect(pair.out)), files.push_back(Inspect(pair.file));
  for (size_t i = 0; i < pairs.size(); ++i) {
    const std::string out = "OUT " + Quoted(pairs[i].out);
    if (NamesDevice(pairs[i].out.c_str())) return out + " names a device, not a file";
    for (size_t j = 0; j < pairs.size(); ++j) {
      if (SameFile(outs[i], files[j])) return out + " is the FILE " + Quoted(pairs[j].file) + " too";
    }
    for (size_t j = 0; j < i; ++j) {
      if (SameFile(outs[i], outs[j])) return out + " is given twice";
    }
    if (outs[i].exists && !outs[i].png) return out + " exists and is not a PNG";
  }
  return std::string();
}

// One export: the document's page into a PNG. Returns the problem, or an
// empty text when the PNG is written.
std::string ExportOne(const ExportPair& pair, const GlyphPixels& glyphs, PngEncoder& encoder) {
  bool cut = false;
  if (ReadDocumentFile(pair.file.c_str(), viewer.textBuffer, nullptr, &cut) == -1)
    return "cannot read " + Quoted(pair.file);
  // The window shows such a file cut as well; the export says so.
  if (cut) {
    Say("quillpane: " + Quoted(pair.file) + " is longer than " + std::to_string(kTextBufferSize) +
        " bytes: only its first " + std::to_string(kTextBufferSize) + " are drawn");
  }
  Page page = DrawDocumentPage(viewer.textBuffer, glyphs);
  if (page.bitmap == nullptr) return "cannot draw " + Quoted(pair.file) + ": not enough memory for its page";
  std::vector<uint8_t> png;
  const bool encoded = encoder.Encode(page, png);
  DeleteObject(page.bitmap);
  if (!encoded) return "cannot encode the page of " + Quoted(pair.file) + " as PNG";
  return WriteWholeFile(pair.out, png.data(), png.size());
}

}  // namespace

std::string ProgramFontsFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  // A program path cut at the buffer's end names no folder to look in.
  if (length == 0 || length >= sizeof path) return std::string();
  const std::string program(path, length);
  return program.substr(0, program.find_last_of('\\') + 1) + "fonts\\";
}

HBITMAP LoadNamedSheet(const std::string& fontsFolder, const std::string& name) {
  const std::string path = fontsFolder + name + ".bmp";
  if (fontsFolder.empty() || path.size() >= MAX_PATH) return nullptr;
  return LoadFontSheetFile(path.c_str());
}

Page DrawDocumentPage(char* text, const GlyphPixels& glyphs) {
  const int32_t length = EndWithLineFeed(text);
  const auto* bytes = reinterpret_cast<const uint8_t*>(text);
  Page page = CreatePage(MeasureLayout(bytes, length, nullptr), glyphs.bitsPerPixel == 32 ? 32 : 1);
  DrawPage(bytes, length, glyphs, page);
  return page;
}

std::string WriteWholeFile(const std::string& path, const void* bytes, size_t size) {
  // Named after OUT, so that what a stopped export leaves tells what it was.
  const std::string temporary = path + ".tmp";
  const std::string cannot = "cannot write " + Quoted(path);
  if (temporary.size() >= MAX_PATH) return cannot + ": the path is too long";
  // A file already of that name is never replaced: it may be someone's own,
  // or the rest of an export that was stopped, which only its owner can tell.
  if (GetFileAttributesA(temporary.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return cannot + ": " + Quoted(temporary) + " is in the way (an export that was stopped leaves one)";
  }
  HANDLE file =
      CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return cannot;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
  ok = CloseHandle(file) && ok;
  ok = ok && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!ok) DeleteFileA(temporary.c_str());
  return ok ? std::string() : cannot;
}

int RunExport(const ExportRequest& request, const std::string& fontsFolder) {
  if (!request.error.empty()) {
    Say("quillpane: " + request.error);
    Say(kExportUsage);
    return kExportBadUsage;
  }
  // A refusal is one line: the usage would not help.
  const std::string refusal = Refusal(request.pairs);
  if (!refusal.empty()) {
    Say("quillpane: " + refusal + "; nothing was written");
    return kExportFailed;
  }
  const auto fail = [](const std::string& problem) {
    Say("quillpane: " + problem);
    Say(kExportUsage);
    return kExportFailed;
  };
  HBITMAP sheet = request.sheet.empty()
                      ? LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_GLYPH_SHEET))
                      : LoadNamedSheet(fontsFolder, request.sheet);
  if (sheet == nullptr) return fail("no glyph sheet " + Quoted(request.sheet) + " in " + Quoted(fontsFolder));
  static GlyphPosition table[256];
  static GlyphPixels glyphs;
  BuildGlyphTable(table);
  const bool sheetRead = ReadGlyphPixels(sheet, table, glyphs);
  DeleteObject(sheet);
  if (!sheetRead) return fail("cannot read the glyph sheet");
  PngEncoder encoder;

  // A document that fails does not stop the others: a folder is exported
  // as far as it can be, and the exit code tells that something failed.
  int status = kExportDone;
  for (const ExportPair& pair : request.pairs) {
    const std::string problem = ExportOne(pair, glyphs, encoder);
    if (!problem.empty()) Say("quillpane: " + problem), status = kExportFailed;
  }
  if (status != kExportDone) Say(kExportUsage);
  return status;
}
