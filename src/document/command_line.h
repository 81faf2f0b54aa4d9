// Splitting the process command line into the program's own path and the
// document to show. Pure: the window code copies the results into its
// fixed 300-byte buffers.
#ifndef QUILLPANE_COMMAND_LINE_H
#define QUILLPANE_COMMAND_LINE_H

#include <string>

#include "../core/state_types.h"

struct CommandLineParts {
  std::string programPath;  // the program's file as the line names it, relative or not
  std::string currentPath;  // the document; that programPath when none is named
};

// The quoted program path runs from the first double quote to the last one
// of the whole line; without quotes it ends at the first blank. The rest,
// less one leading blank, names the document; a rest of one character
// counts as empty.
CommandLineParts SplitCommandLineText(const char* commandLine);

struct StartPaths {
  char commandLine[kPathBufferSize];
  char programPath[kPathBufferSize];
  char programDir[kPathBufferSize];
  char currentPath[kPathBufferSize];
  // The document path does not fit its buffer. It is refused whole, never
  // cut into a different path, and opens like a file that does not exist.
  bool currentPathRefused;
};

// Fills `paths` from a command line of any length and the full path of the
// running program's file (`modulePath`, empty when the system could not
// give it whole). The program path is the module's, not the line's: the
// line may name the program relative to a folder the shell never starts
// it from, and every command registered for it must name it wherever it
// starts. Each part is kept only when it fits its buffer whole; an
// over-long command line or module path leaves its buffer empty.
void SplitCommandLineInto(const char* commandLine, const char* modulePath, StartPaths& paths);

#endif
