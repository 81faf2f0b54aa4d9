// The plan of an export: every output a request writes, or each document that
// fails before it can be drawn, found before anything is written, and the
// refusal of the whole call when one of its OUTs must not be written.
#ifndef QUILLPANE_EXPORT_PLAN_H
#define QUILLPANE_EXPORT_PLAN_H

#include <functional>
#include <string>
#include <vector>

#include "export_command_line.h"
#include "export_platform.h"

// One output to write, or one document that failed before it could be drawn.
struct ExportJob {
  std::string out;  // empty for a failure that writes nothing; kStandardOutput for standard output
  OutputKind kind = OutputKind::kPng;
  std::string file;  // the document, as messages name it
  std::string read;  // the file on disk that is read: FILE, or its pack
  bool inPack = false;
  ZipEntry entry;          // in a pack: the one to draw
  std::string problem;     // why it cannot be drawn, found before anything was written
  bool outExists = false;  // OUT was there before anything was written
};

// The jobs of every pair of `request` in order, or why the whole export is
// refused (empty when it is not): a folder OUT that is none, an OUT that
// names a device, is a FILE of the call too, is given twice, or exists and
// is not a PNG (for --png) or not an empty file or a text this program
// wrote, as its record of them says (for the text outputs). Standard
// output ("-") is none of these, however often it is given. These are
// mistakes of the call, not of one document (OUT and FILE swapped, a
// pasted pair), so nothing of it is carried out. A FILE whose path runs
// through a pack (pack.zip/GROUP/x.ans, split at the first part named .zip
// that is no folder) is that entry; the pack itself is its first art
// entry, or every art entry into a folder OUT. A pack is opened for its
// list and closed again.
std::string PlanExport(const ExportRequest& request, ExportPlatform& platform, std::vector<ExportJob>& jobs);

// An OUT that ends with a separator (/ or \) is a folder that gets one
// output per document: a pack's art entries each, or the FILE.
bool IsFolderOut(const std::string& out);

// The extension of an output's files: ".png", ".txt", ".ans" or ".html".
std::string OutExtension(OutputKind kind);

// The names of the files an export into a folder writes for a pack's
// entries (`names` as the pack lists them): the entry's name with
// `extension` added and its folders joined by '_' (GROUP/x.ans is
// GROUP_x.ans.png). Whatever no Windows file name may hold (< > : " | ? *
// \ and control characters) becomes '_' too, so a name never reaches
// another folder or a stream, and a device name gets a '_' before it.
// Names that `compare` takes for one (the platform's folders') get .2, .3
// ... before the extension, in the list's order; an art name never ends
// so, so no two entries share a file.
using CompareNames = std::function<int(const std::string&, const std::string&)>;
std::vector<std::string> OutNamesInFolder(const std::vector<std::string>& names, const std::string& extension,
                                          const CompareNames& compare);

#endif
