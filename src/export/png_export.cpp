#include "png_export.h"

#include <shlobj.h>

#include "../win32/disk_file.h"
#include "../win32/handles.h"
#include "../document/pack_file.h"
#include "../core/file_names.h"
#include "../view/view.h"
#include "../view/render_page.h"
#include "../resources/resource_ids.h"
#include "written_texts.h"

namespace {

// The console the program was started from, for standard output or
// error (`which`). A GUI program has none of its own: its standard handle
// is used when it leads somewhere (redirected, or under Wine the shell's
// own terminal or pipe), otherwise the parent's console is attached.
// Started from the desktop there is none, and the exit code is all that
// reports.
HANDLE ConsoleOutput(DWORD which) {
  HANDLE own = GetStdHandle(which);
  if (own != nullptr && own != INVALID_HANDLE_VALUE && GetFileType(own) != FILE_TYPE_UNKNOWN) return own;
  // Opened once, for the program's life.
  static const FileHandle parent(AttachConsole(ATTACH_PARENT_PROCESS)
                                     ? CreateFileA("CONOUT$", GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                   0, nullptr)
                                     : INVALID_HANDLE_VALUE);
  return parent.get();
}

void WriteLine(DWORD which, const std::string& line) {
  HANDLE output = ConsoleOutput(which);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A name in the program's code page (UTF-8) as the system reads it: a byte
// that is not of that code page becomes U+FFFD, as in every file call.
std::wstring Wide(const std::string& name) {
  const int length = MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  if (length > 0)
    MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), length);
  return wide;
}

// The record of written texts: a file in the user's local application
// data (%LOCALAPPDATA%\Quillpane\written) rather than a registry value:
// it is up to a few hundred paths of this machine's disks, rewritten after
// each text written, which a file holds and replaces whole more simply;
// and local, since the paths mean nothing on another machine. Its folder
// is made when `make` is set. Empty when there is none.
std::string RecordPath(bool make) {
  char folder[MAX_PATH];
  const int flags = CSIDL_LOCAL_APPDATA | (make ? CSIDL_FLAG_CREATE : 0);
  if (FAILED(SHGetFolderPathA(nullptr, flags, nullptr, SHGFP_TYPE_CURRENT, folder))) return std::string();
  const std::string ours = std::string(folder) + "\\Quillpane";
  if (make) CreateDirectoryA(ours.c_str(), nullptr);
  return ours + "\\written";
}

class Win32ExportPlatform final : public ExportPlatform {
 public:
  explicit Win32ExportPlatform(const std::string& fontsFolder) : fontsFolder_(fontsFolder) {}

  PathIdentity Identify(const std::string& path) override {
    PathIdentity identity;
    identity.foldCase = true;
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    identity.fullPath = length > 0 && length < sizeof full ? std::string(full, length) : path;
    // A device is not even asked whether it exists: that can open it.
    if (NamesDevice(path.c_str())) return identity;
    identity.exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    const FileHandle file(OpenDiskFile(path.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    if (!file) return identity;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file.get(), &info)) {
      identity.identified = true;
      identity.volume = info.dwVolumeSerialNumber;
      identity.file = uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
    }
    return identity;
  }

  FileStart ReadStart(const std::string& path, uint8_t* bytes, size_t capacity) override {
    return ReadDiskFileStart(path.c_str(), bytes, capacity);
  }

  bool Exists(const std::string& path) override {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool IsFolder(const std::string& path, std::string* reason) override {
    // A device is not even asked: that can open it.
    std::string why = kDeviceReason;
    if (!NamesDevice(path.c_str())) {
      const DWORD attributes = GetFileAttributesA(path.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return true;
      why = attributes != INVALID_FILE_ATTRIBUTES ? kNotFolderReason : SystemReason(GetLastError());
    }
    if (reason != nullptr) *reason = why;
    return false;
  }

  std::unique_ptr<PackSource> OpenPack(const std::string& path, std::string& reason) override {
    auto pack = std::make_unique<DiskPackSource>(path.c_str());
    if (pack->Valid()) return pack;
    reason = pack->Reason();
    return nullptr;
  }

  bool LoadSheet(const std::string& name, SheetImage& image) override {
    const GdiObject<HBITMAP> sheet(
        name.empty() ? LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_GLYPH_SHEET))
                     : LoadNamedSheet(fontsFolder_, name));
    if (!sheet) return false;
    ReadSheetImage(sheet.get(), image);
    return true;
  }

  std::string FontsFolder() override { return fontsFolder_; }

  std::string WriteWholeFile(const std::string& path, const void* bytes, size_t size) override {
    return ::WriteWholeFile(path, bytes, size);
  }

  // As NTFS compares names: every letter of Unicode in any case, by the
  // system's own table of capitals.
  // Windows before Vista has no CompareStringOrdinal: there the names are
  // compared in the capitals CharUpperBuffW gives.
  int CompareNames(const std::string& a, const std::string& b) override {
    using Ordinal = int(WINAPI*)(const WCHAR*, int, const WCHAR*, int, BOOL);
    static const auto ordinal = reinterpret_cast<Ordinal>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CompareStringOrdinal")));
    std::wstring wideA = Wide(a), wideB = Wide(b);
    const int sizeA = static_cast<int>(wideA.size()), sizeB = static_cast<int>(wideB.size());
    if (ordinal != nullptr) return ordinal(wideA.data(), sizeA, wideB.data(), sizeB, TRUE) - CSTR_EQUAL;
    CharUpperBuffW(wideA.data(), static_cast<DWORD>(sizeA));
    CharUpperBuffW(wideB.data(), static_cast<DWORD>(sizeB));
    return wideA.compare(wideB);
  }

  // A GUI program's standard output is what the shell that started it
  // gave it (a file, a pipe; under Wine the terminal too); from a console
  // it has none, and a picture or text is not written into the console
  // the messages go to.
  std::string WriteStandardOutput(const void* bytes, size_t size) override {
    const std::string cannot = "cannot write to standard output: ";
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE || GetFileType(output) == FILE_TYPE_UNKNOWN)
      return cannot + "the program was given none (redirect it to a file or a pipe)";
    const auto* next = static_cast<const uint8_t*>(bytes);
    while (size > 0) {
      const DWORD part = static_cast<DWORD>(size < (1u << 30) ? size : (1u << 30));
      DWORD written = 0;
      if (!WriteFile(output, next, part, &written, nullptr)) return cannot + SystemReason(GetLastError());
      if (written == 0) return cannot + SystemReason(ERROR_HANDLE_DISK_FULL);
      next += written, size -= written;
    }
    return std::string();
  }

  std::string ReadWrittenRecord() override {
    const std::string path = RecordPath(false);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        data.nFileSizeHigh != 0 || data.nFileSizeLow > kWrittenRecordMaxSize)
      return std::string();
    // One byte more than its size tells a record that grew meanwhile.
    std::string record(data.nFileSizeLow + size_t{1}, '\0');
    const FileStart start =
        ReadDiskFileStart(path.c_str(), reinterpret_cast<uint8_t*>(&record[0]), record.size());
    record.resize(start.opened == -1 || start.count == record.size() ? 0 : start.count);
    return record;
  }

  void WriteWrittenRecord(const std::string& record) override {
    const std::string path = RecordPath(true);
    if (path.empty()) return;
    // A temporary name of this process's own, moved into place: a reader
    // never sees half a record, and one left by a stopped run is never in
    // the way of the next.
    const std::string temporary = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    const bool whole =
        WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
        written == record.size();
    if (!CloseHandle(file.Release()) || !whole ||
        !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
      DeleteFileA(temporary.c_str());
  }

  void Say(const std::string& line) override { WriteLine(STD_ERROR_HANDLE, line); }
  void Tell(const std::string& line) override { WriteLine(STD_OUTPUT_HANDLE, line); }

 private:
  std::string fontsFolder_;
};

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

std::string WriteWholeFile(const std::string& path, const void* bytes, size_t size) {
  // Named after OUT, so that what a stopped export leaves tells what it was.
  const std::string temporary = path + ".tmp";
  const std::string cannot = "cannot write " + Quoted(path) + ": ";
  if (temporary.size() >= MAX_PATH) return cannot + kPathTooLongReason;
  // A file already of that name is never replaced: it may be someone's own,
  // or the rest of an export that was stopped, which only its owner can tell.
  if (GetFileAttributesA(temporary.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return cannot + Quoted(temporary) + " is in the way (an export that was stopped leaves one)";
  }
  FileHandle file(
      CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return cannot + SystemReason(GetLastError());
  DWORD written = 0;
  // Each step's error is taken before the next call can replace it.
  DWORD error =
      WriteFile(file.get(), bytes, static_cast<DWORD>(size), &written, nullptr) ? 0 : GetLastError();
  if (error == 0 && written != size) error = ERROR_HANDLE_DISK_FULL;
  // Closed here, not by the owner: a close can fail to write what was held back.
  if (!CloseHandle(file.Release()) && error == 0) error = GetLastError();
  if (error == 0 && !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
    error = GetLastError();
  if (error == 0) return std::string();
  DeleteFileA(temporary.c_str());
  return cannot + SystemReason(error);
}

int RunExport(const ExportRequest& request, const std::string& fontsFolder) {
  Win32ExportPlatform platform(fontsFolder);
  return RunExport(request, platform);
}

bool NamesOneFile(const std::string& a, const std::string& b) {
  Win32ExportPlatform platform((std::string()));
  const PathIdentity first = platform.Identify(a), second = platform.Identify(b);
  if (platform.CompareNames(first.fullPath, second.fullPath) == 0) return true;
  return first.identified && second.identified && first.volume == second.volume && first.file == second.file;
}

void RememberWrittenText(const std::string& path, const void* bytes, size_t size) {
  Win32ExportPlatform platform((std::string()));
  RecordWrittenText(platform, path, bytes, size);
}
