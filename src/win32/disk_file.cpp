#include "disk_file.h"

#include <cstring>

#include "../core/file_names.h"
#include "handles.h"
#include "../core/text_helpers.h"

HANDLE OpenDiskFile(const char* path, DWORD share, std::string* reason) {
  std::string ignored;
  std::string& why = reason != nullptr ? *reason : ignored;
  if (path == nullptr || NamesDevice(path)) {
    why = path == nullptr ? kPathTooLongReason : kDeviceReason;
    return INVALID_HANDLE_VALUE;
  }
  HANDLE file =
      CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    why = SystemReason(GetLastError());
    return file;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(file);
    why = kNotRegularReason;
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

FileStart ReadDiskFileStart(const char* path, uint8_t* bytes, size_t capacity) {
  FileStart start;
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const FileHandle owner(OpenDiskFile(path, share, &start.reason));
  if (!owner) return start;
  HANDLE file = owner.get();
  DWORD read = 0;
  // A read that fails (a part locked by another program) is a file that
  // could not be read, not an empty one.
  if (ReadFile(file, bytes, static_cast<DWORD>(capacity), &read, nullptr)) {
    LARGE_INTEGER size;
    start.cut =
        read == capacity && GetFileSizeEx(file, &size) && static_cast<uint64_t>(size.QuadPart) > capacity;
    start.count = read;
    start.opened = reinterpret_cast<intptr_t>(file);
  } else {
    start.reason = SystemReason(GetLastError());
  }
  return start;
}

std::string SystemReason(DWORD code) {
  char* message = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string reason = SystemReason(message, static_cast<long>(code));
  LocalFree(message);
  return reason;
}

bool IsListedFile(const WIN32_FIND_DATAA& found, const char* extension) {
  const size_t length = std::strlen(found.cFileName), extensionLength = std::strlen(extension);
  return (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0 &&
         !NamesDevice(found.cFileName) && length >= extensionLength &&
         EqualsIgnoringAsciiCase(found.cFileName + length - extensionLength, extension);
}
