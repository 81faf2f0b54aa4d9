// The export's run: what the command line asked for, the plan, the sheet,
// then each job, a document that fails not stopping the others. Every
// problem goes out as one line named by the program as it was started.
#include <exception>
#include <map>

#include "../core/state_types.h"
#include "../resources/resource_ids.h"
#include "export_core.h"

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The files this run has written. An OUT that was not there when the export
// was planned and is there when its turn comes is refused rather than
// written over: the system takes it for a file written before it (names the
// plan could not tell apart, a short name), or someone made it meanwhile.
// One look at the name an output; the files written are told apart by their
// numbers only then, each once.
class WrittenFiles {
 public:
  explicit WrittenFiles(ExportPlatform& platform) : platform_(platform) {}
  // Why `job`'s OUT must not be written, or an empty text.
  std::string Check(const ExportJob& job) {
    if (job.outExists || !platform_.Exists(job.out)) return std::string();
    for (; numbered_ < written_.size(); ++numbered_) {
      const std::string number = Number(platform_.Identify(written_[numbered_]));
      if (!number.empty()) numbers_.emplace(number, written_[numbered_]);
    }
    const auto earlier = numbers_.find(Number(platform_.Identify(job.out)));
    const std::string cannot = "cannot write " + Quoted(job.out) + ": ";
    if (earlier == numbers_.end()) return cannot + "it was made while the export ran";
    return cannot + "it is the file " + Quoted(earlier->second) + " this export has written";
  }
  void Add(const std::string& out) { written_.push_back(out); }

 private:
  static std::string Number(const PathIdentity& identity) {
    return identity.identified ? std::to_string(identity.volume) + ":" + std::to_string(identity.file) : "";
  }
  ExportPlatform& platform_;
  std::vector<std::string> written_;
  size_t numbered_ = 0;  // how many of written_ are in numbers_
  std::map<std::string, std::string> numbers_;
};

}  // namespace

int RunExport(const ExportRequest& request, ExportPlatform& platform) {
  const std::string named = request.program + ": ";
  const auto sayUsage = [&platform, &request] {
    for (const std::string& line : ExportUsage(request.program)) platform.Say(line);
  };
  if (request.asked == Asked::kHelp) {
    for (const std::string& line : ExportUsage(request.program)) platform.Tell(line);
    return kExportDone;
  }
  // As the window's title shows it.
  if (request.asked == Asked::kVersion) {
    platform.Tell("Quillpane " QP_VERSION_TEXT);
    return kExportDone;
  }
  if (!request.error.empty()) {
    platform.Say(named + request.error);
    sayUsage();
    return kExportBadUsage;
  }
  std::vector<ExportJob> jobs;
  // A refusal is one line: the usage would not help.
  const std::string refusal = PlanExport(request, platform, jobs);
  if (!refusal.empty()) {
    platform.Say(named + refusal + "; nothing was written");
    return kExportFailed;
  }
  const auto fail = [&platform, &sayUsage, &named](const std::string& problem) {
    platform.Say(named + problem);
    sayUsage();
    return kExportFailed;
  };
  // The sheet is loaded even when every FILE turns out to be ANSI art,
  // which does not use it: a wrong NAME is reported the same for every call.
  SheetImage sheet;
  if (!platform.LoadSheet(request.sheet, sheet))
    return fail("no glyph sheet " + Quoted(request.sheet) + " in " + Quoted(platform.FontsFolder()));
  static GlyphPosition table[256];
  static GlyphPixels glyphs;
  BuildGlyphTable(table);
  if (!GlyphPixelsFromSheet(sheet, table, glyphs)) return fail("cannot read the glyph sheet");

  // One document's buffers serve every job in turn.
  Document document;
  try {
    document.text.resize(static_cast<size_t>(kTextBufferSize) + 2);
  } catch (const std::exception&) {
    return fail("not enough memory to read a document");
  }
  // A document that fails does not stop the others: a folder is exported
  // as far as it can be, and the exit code tells that something failed.
  int status = kExportDone;
  OpenPack pack;
  WrittenFiles written(platform);
  for (const ExportJob& job : jobs) {
    const bool file = !job.out.empty() && job.out != kStandardOutput;
    std::string problem = file ? written.Check(job) : std::string();
    if (problem.empty()) problem = ExportJobOutput(platform, request, job, pack, glyphs, document);
    if (problem.empty() && file) written.Add(job.out);
    if (!problem.empty()) platform.Say(named + problem), status = kExportFailed;
  }
  if (status != kExportDone) sayUsage();
  return status;
}
