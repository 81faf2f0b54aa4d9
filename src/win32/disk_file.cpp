#include "disk_file.h"

#include <cstring>

#include "../core/file_names.h"
#include "../core/text_helpers.h"

HANDLE OpenDiskFile(const char* path, DWORD share) {
  if (path == nullptr || NamesDevice(path)) return INVALID_HANDLE_VALUE;
  HANDLE file =
      CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return file;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

bool IsListedFile(const WIN32_FIND_DATAA& found, const char* extension) {
  const size_t length = std::strlen(found.cFileName), extensionLength = std::strlen(extension);
  return (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0 &&
         !NamesDevice(found.cFileName) && length >= extensionLength &&
         EqualsIgnoringAsciiCase(found.cFileName + length - extensionLength, extension);
}
