// Arbitrary command lines through the split: every buffer stays terminated
// within its 300 bytes, and a part is either kept whole or refused whole;
// the export switches parse without fault.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "document/command_line.h"
#include "export/export_command_line.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "command line invariant broken: %s\n", what);
    std::abort();
  }
}

bool Terminated(const char (&buffer)[kPathBufferSize]) {
  return std::memchr(buffer, '\0', kPathBufferSize) != nullptr;
}

// `part` is one whole run of bytes of `text`.
bool IsPieceOf(const std::string& part, const std::string& text) {
  return part.empty() || text.find(part) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The process command line is a zero-terminated string: an interior zero
  // ends it.
  const std::string copy(reinterpret_cast<const char*>(data), size);
  const char* line = copy.c_str();
  const std::string text(line);

  const CommandLineParts parts = SplitCommandLineText(line);
  Check(IsPieceOf(parts.programPath, text), "programPath is not taken from the line");
  Check(IsPieceOf(parts.currentPath, text), "currentPath is not taken from the line");
  Check(parts.currentPath.find('\0') == std::string::npos, "currentPath holds a zero byte");

  StartPaths paths;
  std::memset(&paths, 0xA5, sizeof paths);
  SplitCommandLineInto(line, line, paths);  // the same bytes as the module's path
  Check(Terminated(paths.commandLine) && Terminated(paths.programPath) && Terminated(paths.programDir) &&
            Terminated(paths.currentPath),
        "a buffer is not terminated within 300 bytes");

  const bool lineFits = text.size() < kPathBufferSize;
  Check(paths.commandLine == (lineFits ? text : std::string()), "commandLine cut or lost");

  Check(paths.programPath == (lineFits ? text : std::string()), "programPath cut or lost");
  const std::string programPath = paths.programPath, programDir = paths.programDir;
  Check(programPath.compare(0, programDir.size(), programDir) == 0,
        "programDir is not a prefix of programPath");

  if (paths.currentPathRefused) {
    Check(parts.currentPath.size() >= kPathBufferSize, "a path that fits was refused");
    Check(paths.currentPath[0] == '\0', "a refused path left text behind");
  } else {
    Check(paths.currentPath == parts.currentPath, "currentPath differs from the split text");
  }

  // The export switches: only a line whose first argument is one of them
  // exports, and a request is either an error or at least one whole pair.
  const ExportRequest request = ParseExportRequest(line);
  if (request.exportMode && request.asked == Asked::kExport && request.error.empty()) {
    Check(!request.pairs.empty(), "an export with nothing to export");
    for (const ExportPair& pair : request.pairs)
      Check(!pair.out.empty() && !pair.file.empty(), "an empty path");
  }
  return 0;
}
