// quillpane-export: the export (PNG, text, terminal ANSI, web page) as a
// native Linux program, from the same export core as quillpane.exe --png, for the launcher and the file
// manager's thumbnails, which should not wait for Wine to start. Its
// usage is the Windows program's (quillpane-export --help prints it).
//
// A FILE may be an entry of a pack (art/pack.zip/GROUP/x.ans), and an OUT
// ending in / a folder (png/ art/pack.zip: a PNG for each art entry).
//
// This file is its POSIX side: files, the sheets, the record of written
// texts, standard output and standard error.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../core/file_names.h"
#include "../core/text_helpers.h"
#include "export_core.h"
#include "written_texts.h"

namespace {

// The built-in glyph sheet: the bytes of src/resources/glyphs.bmp, which
// the build turns into this array (the Windows program has it as a
// resource).
const uint8_t kBuiltInSheet[] = {
#include "glyph_sheet_bmp.inc"
};

// A sheet file is a few kilobytes (48 x 368 pixels, at most 32 bits each);
// one larger than this is not read at all.
constexpr size_t kMaxSheetFileSize = 16 << 20;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string ErrnoReason() { return SystemReason(std::strerror(errno), errno); }

// Opens `path` for reading when it is a regular file, and nothing else: a
// name that opens a device under Windows is refused as it is there (so a
// call behaves the same on both), and a device node, folder or pipe is not
// even opened (opening one can wait, or act). O_NONBLOCK keeps a file that
// turns into a pipe between the look and the open from holding the open.
// -1 when refused or not there, with the reason in `reason`.
int OpenRegularFile(const std::string& path, std::string& reason) {
  if (NamesDevice(path.c_str())) {
    reason = kDeviceReason;
    return -1;
  }
  reason = kNotRegularReason;
  struct stat status;
  if (stat(path.c_str(), &status) != 0) {
    reason = ErrnoReason();
    return -1;
  }
  if (!S_ISREG(status.st_mode)) return -1;
  const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file < 0) {
    reason = ErrnoReason();
  } else if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(file);
    return -1;
  }
  return file;
}

// Reads up to `capacity` bytes into `count`; false when a read fails.
bool ReadUpTo(int file, uint8_t* bytes, size_t capacity, size_t& count) {
  count = 0;
  while (count < capacity) {
    const ssize_t got = read(file, bytes + count, capacity - count);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    count += static_cast<size_t>(got);
  }
  return true;
}

// A pack read through its descriptor with pread, which shares no file
// position; the descriptor is closed with the source.
class DescriptorPackSource final : public PackSource {
 public:
  explicit DescriptorPackSource(int file) : file_(file) {
    struct stat status;
    if (fstat(file, &status) == 0) size_ = static_cast<uint64_t>(status.st_size);
  }
  ~DescriptorPackSource() override { close(file_); }
  DescriptorPackSource(const DescriptorPackSource&) = delete;
  DescriptorPackSource& operator=(const DescriptorPackSource&) = delete;
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* into, size_t count) const override {
    static_assert(sizeof(off_t) >= 8, "a pack's offsets need 64 bits");
    if (offset > size_ || count > size_ - offset) return false;
    auto* at = static_cast<uint8_t*>(into);
    while (count > 0) {
      const ssize_t got = pread(file_, at, std::min<size_t>(count, 1 << 30), static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;  // a pack cut short while it is read
      at += got, offset += static_cast<uint64_t>(got), count -= static_cast<size_t>(got);
    }
    return true;
  }

 private:
  int file_;
  uint64_t size_ = 0;
};

// A name's characters for comparing it as a Windows folder would: UTF-8
// decoded, a byte that is not UTF-8 read as U+FFFD (as Windows reads it),
// each in capitals by the C.UTF-8 locale's rules (Unicode's simple case
// mapping; A to Z alone where that locale is missing), so the two programs
// give a pack's entries the same PNG names wherever their case rules agree.
std::u32string FoldedName(const std::string& name) {
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  std::u32string folded;
  for (size_t i = 0; i < name.size();) {
    const auto lead = static_cast<unsigned char>(name[i]);
    const int more = lead < 0x80                   ? 0
                     : lead >= 0xC2 && lead < 0xE0 ? 1
                     : lead >= 0xE0 && lead < 0xF0 ? 2
                     : lead >= 0xF0 && lead < 0xF5 ? 3
                                                   : -1;
    char32_t c = more <= 0 ? lead : lead & (0x3F >> more);
    bool valid = more >= 0 && i + static_cast<size_t>(more) < name.size();
    for (int k = 1; valid && k <= more; ++k) {
      const auto next = static_cast<unsigned char>(name[i + static_cast<size_t>(k)]);
      valid = (next & 0xC0) == 0x80;
      c = c << 6 | (next & 0x3F);
    }
    // Overlong forms, surrogates and what lies past U+10FFFF are not UTF-8 either.
    static const char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    valid = valid && c >= kLeast[more < 0 ? 0 : more] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    if (!valid) {
      folded += U'\uFFFD';
      ++i;
      continue;
    }
    i += static_cast<size_t>(more) + 1;
    if (unicode != static_cast<locale_t>(0)) {
      c = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), unicode));
    } else if (c >= 'a' && c <= 'z') {
      c -= 'a' - 'A';
    }
    folded += c;
  }
  return folded;
}

// Writes all `size` bytes; the error (errno's) when it could not, else 0.
int WriteAll(int output, const void* bytes, size_t size) {
  const auto* next = static_cast<const uint8_t*>(bytes);
  while (size > 0) {
    const ssize_t put = write(output, next, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return put < 0 ? errno : ENOSPC;
    next += put, size -= static_cast<size_t>(put);
  }
  return 0;
}

void WriteLine(int output, const std::string& line) {
  const std::string text = line + "\n";
  WriteAll(output, text.data(), text.size());
}

// The folder of the record of written texts, ending with a slash: the XDG
// state folder's quillpane/ (~/.local/state/quillpane/ when the variable
// is not set, or is not an absolute path, which the XDG rules ignore).
// Empty when there is no home to put it in.
std::string StateFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::string(state) + "/quillpane/";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return std::string();
  return std::string(home) + "/.local/state/quillpane/";
}

// Makes `folder` and the folders it is in, as far as they are missing.
void MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
    mkdir(folder.substr(0, slash).c_str(), 0700);
}

// The folder of this program, ending with a slash; empty when unknown.
std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof path) return std::string();
  const std::string program(path, static_cast<size_t>(length));
  return program.substr(0, program.rfind('/') + 1);
}

class PosixExportPlatform final : public ExportPlatform {
 public:
  PosixExportPlatform() {
    const std::string folder = ProgramFolder();
    if (!folder.empty()) fontsFolder_ = folder + "fonts/";
  }

  PathIdentity Identify(const std::string& path) override {
    PathIdentity identity;
    identity.fullPath = FullPath(path);
    // As under Windows: a device name is not even asked whether it exists.
    if (NamesDevice(path.c_str())) return identity;
    struct stat status;
    identity.exists = lstat(path.c_str(), &status) == 0;
    if (stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
      identity.identified = true;
      identity.volume = static_cast<uint64_t>(status.st_dev);
      identity.file = static_cast<uint64_t>(status.st_ino);
    }
    return identity;
  }

  FileStart ReadStart(const std::string& path, uint8_t* bytes, size_t capacity) override {
    FileStart start;
    const int file = OpenRegularFile(path, start.reason);
    if (file < 0) return start;
    struct stat status;
    if (!ReadUpTo(file, bytes, capacity, start.count)) {
      start.reason = ErrnoReason();
    } else {
      start.cut = start.count == capacity && fstat(file, &status) == 0 &&
                  static_cast<uint64_t>(status.st_size) > capacity;
      start.opened = file;
    }
    close(file);
    return start;
  }

  bool Exists(const std::string& path) override {
    struct stat status;
    return lstat(path.c_str(), &status) == 0;
  }

  bool IsFolder(const std::string& path, std::string* reason) override {
    struct stat status;
    std::string why = kDeviceReason;
    if (!NamesDevice(path.c_str())) {
      const bool there = stat(path.c_str(), &status) == 0;
      if (there && S_ISDIR(status.st_mode)) return true;
      why = there ? kNotFolderReason : ErrnoReason();
    }
    if (reason != nullptr) *reason = why;
    return false;
  }

  std::unique_ptr<PackSource> OpenPack(const std::string& path, std::string& reason) override {
    const int file = OpenRegularFile(path, reason);
    if (file < 0) return nullptr;
    return std::make_unique<DescriptorPackSource>(file);
  }

  bool LoadSheet(const std::string& name, SheetImage& image) override {
    if (name.empty()) return ReadGlyphSheetBmp(kBuiltInSheet, sizeof kBuiltInSheet, image);
    if (fontsFolder_.empty()) return false;
    std::string reason;
    const int file = OpenRegularFile(SheetPath(name), reason);
    if (file < 0) return false;
    std::vector<uint8_t> bytes(kMaxSheetFileSize + 1);
    size_t count = 0;
    const bool read = ReadUpTo(file, bytes.data(), bytes.size(), count);
    close(file);
    return read && count <= kMaxSheetFileSize && ReadGlyphSheetBmp(bytes.data(), count, image);
  }

  std::string FontsFolder() override { return fontsFolder_; }

  std::string WriteWholeFile(const std::string& path, const void* bytes, size_t size) override {
    // Named after OUT, so that what a stopped export leaves tells what it was.
    const std::string temporary = path + ".tmp";
    const std::string cannot = "cannot write " + Quoted(path) + ": ";
    // A file already of that name is never replaced: it may be someone's
    // own, or the rest of an export that was stopped.
    struct stat status;
    if (lstat(temporary.c_str(), &status) == 0) {
      return cannot + Quoted(temporary) + " is in the way (an export that was stopped leaves one)";
    }
    const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (file < 0) return cannot + ErrnoReason();
    const auto* next = static_cast<const uint8_t*>(bytes);
    size_t left = size;
    // Each step's error is taken before the next call can replace it.
    int error = 0;
    while (left > 0 && error == 0) {
      const ssize_t put = write(file, next, left);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        error = put < 0 ? errno : ENOSPC;
      } else {
        next += put, left -= static_cast<size_t>(put);
      }
    }
    if (close(file) != 0 && error == 0) error = errno;
    if (error == 0 && rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error == 0) return std::string();
    unlink(temporary.c_str());
    return cannot + SystemReason(std::strerror(error), error);
  }

  int CompareNames(const std::string& a, const std::string& b) override {
    return FoldedName(a).compare(FoldedName(b));
  }

  std::string WriteStandardOutput(const void* bytes, size_t size) override {
    const int error = WriteAll(STDOUT_FILENO, bytes, size);
    if (error == 0) return std::string();
    return "cannot write to standard output: " + SystemReason(std::strerror(error), error);
  }

  std::string ReadWrittenRecord() override {
    const std::string folder = StateFolder();
    if (folder.empty()) return std::string();
    std::string reason;
    const int file = OpenRegularFile(folder + "written", reason);
    if (file < 0) return std::string();
    struct stat status;
    std::string record;
    size_t count = 0;
    // One byte more than its size tells a record that grew meanwhile.
    if (fstat(file, &status) == 0 && static_cast<uint64_t>(status.st_size) <= kWrittenRecordMaxSize) {
      record.resize(static_cast<size_t>(status.st_size) + 1);
      if (!ReadUpTo(file, reinterpret_cast<uint8_t*>(&record[0]), record.size(), count) ||
          count == record.size())
        count = 0;
    }
    close(file);
    record.resize(count);
    return record;
  }

  void WriteWrittenRecord(const std::string& record) override {
    const std::string folder = StateFolder();
    if (folder.empty()) return;
    MakeFolders(folder);
    // A temporary name of this process's own, renamed into place: a reader
    // never sees half a record, and one left by a stopped run is never in
    // the way of the next.
    const std::string temporary = folder + "written." + std::to_string(getpid()) + ".tmp";
    const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0600);
    if (file < 0) return;
    const bool written = WriteAll(file, record.data(), record.size()) == 0;
    if (close(file) != 0 || !written || rename(temporary.c_str(), (folder + "written").c_str()) != 0)
      unlink(temporary.c_str());
  }

  void Say(const std::string& line) override { WriteLine(STDERR_FILENO, line); }
  void Tell(const std::string& line) override { WriteLine(STDOUT_FILENO, line); }

 private:
  // The path from the root: its folder with links resolved (when it
  // exists) and its own name as given, so that two spellings of one
  // folder compare equal even for a file not there yet. Names are compared
  // as they are: case matters on a Linux disk.
  static std::string FullPath(const std::string& path) {
    std::string absolute = path;
    if (path.empty() || path[0] != '/') {
      char here[PATH_MAX];
      if (getcwd(here, sizeof here) == nullptr) return path;
      absolute = std::string(here) + "/" + path;
    }
    const size_t slash = absolute.rfind('/');
    const std::string folder = slash == 0 ? "/" : absolute.substr(0, slash);
    char* resolved = realpath(folder.c_str(), nullptr);
    if (resolved == nullptr) return absolute;
    std::string full = resolved;
    std::free(resolved);
    return (full == "/" ? full : full + "/") + absolute.substr(slash + 1);
  }

  // NAME.bmp in the fonts folder, in any ASCII case, as a Windows disk
  // finds it (the name as given first).
  std::string SheetPath(const std::string& name) const {
    const std::string wanted = name + ".bmp";
    struct stat status;
    if (stat((fontsFolder_ + wanted).c_str(), &status) == 0) return fontsFolder_ + wanted;
    std::string found = wanted;
    if (DIR* folder = opendir(fontsFolder_.c_str())) {
      while (const dirent* entry = readdir(folder)) {
        if (EqualsIgnoringAsciiCase(entry->d_name, wanted.c_str())) {
          found = entry->d_name;
          break;
        }
      }
      closedir(folder);
    }
    return fontsFolder_ + found;
  }

  std::string fontsFolder_;
};

}  // namespace

int main(int argc, char** argv) {
  // This program only exports: every line is one of switches.
  const ExportRequest request =
      ParseExportArguments(argc > 0 ? argv[0] : "", std::vector<std::string>(argv + 1, argv + argc));
  PosixExportPlatform platform;
  return RunExport(request, platform);
}
