#include "command_line.h"

#include <cstring>

#include "../core/text_helpers.h"

CommandLineParts SplitCommandLineText(const char* commandLine) {
  CommandLineParts parts;
  int32_t q1 = FindFirst(commandLine, '"');
  int32_t q2 = FindLastFromEnd(commandLine, '"');
  if (q1 == q2) {  // no double quote at all
    q1 = -1;
    q2 = FindFirst(commandLine, ' ') + 1;
  }
  parts.programPath = Substring(commandLine, q1 + 1, q2 - 1);

  const int32_t length = FindLastFromEnd(commandLine, '\0');
  if (length != q2 + 1) parts.currentPath = Substring(commandLine, q2, length + 1);

  if (parts.currentPath.empty()) parts.currentPath = parts.programPath;
  if (parts.currentPath[0] == ' ') parts.currentPath.erase(0, 1);  // one blank only
  return parts;
}

void SplitCommandLineInto(const char* commandLine, const char* modulePath, StartPaths& paths) {
  const CommandLineParts parts = SplitCommandLineText(commandLine);
  CopyWholeText(paths.commandLine, kPathBufferSize, commandLine);
  if (!CopyWholeText(paths.programPath, kPathBufferSize, modulePath) ||
      !CopyWholeText(paths.programDir, kPathBufferSize,
                     Substring(modulePath, 0, FindLastFromEnd(modulePath, '\\')))) {
    paths.programPath[0] = '\0';
    paths.programDir[0] = '\0';
  }
  paths.currentPathRefused = !CopyWholeText(paths.currentPath, kPathBufferSize, parts.currentPath);
}
