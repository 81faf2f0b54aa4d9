#include "export_plan.h"

#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "../core/file_names.h"
#include "written_texts.h"

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A path of the export as it stands before anything is written.
struct PathOnDisk {
  PathIdentity identity;
  // A file that replacing loses nothing of: for a PNG, a regular file that
  // begins with the PNG signature or an empty one (file managers'
  // thumbnail services make the output file, empty, before they run a
  // thumbnailer); for a text output, an empty file or one of the record's.
  bool replaceable = false;
};

// The record of written texts, read when the plan first needs it.
struct LazyRecord {
  bool read = false;
  std::vector<WrittenText> entries;
  const std::vector<WrittenText>& Of(ExportPlatform& platform) {
    if (!read) entries = ReadWrittenTexts(platform.ReadWrittenRecord()), read = true;
    return entries;
  }
};

PathOnDisk Inspect(ExportPlatform& platform, const std::string& path, OutputKind kind, LazyRecord& record) {
  PathOnDisk disk;
  disk.identity = platform.Identify(path);
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  uint8_t head[sizeof kSignature];
  if (!disk.identity.exists) return disk;
  if (kind != OutputKind::kPng) {
    disk.replaceable = ReplaceableText(platform, path, record.Of(platform));
    return disk;
  }
  const FileStart start = platform.ReadStart(path, head, sizeof head);
  disk.replaceable = start.opened != -1 &&
                     ((start.count == sizeof head && std::memcmp(head, kSignature, sizeof head) == 0) ||
                      (start.count == 0 && !start.cut));
  return disk;
}

// Full paths in the order of the platform's folders where names match
// other than byte for byte (a disk where case matters could hold both, but
// refusing is the safe side), else byte for byte.
struct PathOrder {
  ExportPlatform* platform;
  bool operator()(const std::string& a, const std::string& b) const {
    return platform->CompareNames(a, b) < 0;
  }
};

// One file under two spellings is caught by its full path, or, when it
// could be opened, by the same file number on the same volume.
class FileSet {
 public:
  explicit FileSet(ExportPlatform& platform) : folded_(PathOrder{&platform}) {}
  // The first FILE added under `identity`'s keys, or null.
  const std::string* Find(const PathIdentity& identity) const {
    const auto path =
        identity.foldCase ? Lookup(folded_, identity.fullPath) : Lookup(exact_, identity.fullPath);
    if (path != nullptr) return path;
    return identity.identified ? Lookup(numbers_, Number(identity)) : nullptr;
  }
  // False when `identity` was added already.
  bool Add(const PathIdentity& identity, const std::string& file) {
    bool added = identity.foldCase ? folded_.emplace(identity.fullPath, file).second
                                   : exact_.emplace(identity.fullPath, file).second;
    if (identity.identified) added &= numbers_.emplace(Number(identity), file).second;
    return added;
  }

 private:
  static std::string Number(const PathIdentity& identity) {
    return std::to_string(identity.volume) + ":" + std::to_string(identity.file);
  }
  template <typename Map>
  static const std::string* Lookup(const Map& map, const std::string& key) {
    const auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
  }
  std::map<std::string, std::string, PathOrder> folded_;
  std::map<std::string, std::string> exact_, numbers_;
};

// Why the whole export is refused before any PNG is written, or an empty
// text. A pack into a folder gives up to kPackEntryLimit OUTs: each is
// looked up by its keys, never compared with each other one.
std::string Refusal(ExportPlatform& platform, std::vector<ExportJob>& jobs) {
  FileSet files(platform);  // each file read, to the first FILE that reads it
  std::set<std::string> read;
  for (const ExportJob& job : jobs) {
    if (read.insert(job.read).second) files.Add(platform.Identify(job.read), job.file);
  }
  FileSet outs(platform);
  LazyRecord record;
  for (ExportJob& job : jobs) {
    // Standard output is no file: outputs there follow each other.
    if (job.out.empty() || job.out == kStandardOutput) continue;
    const std::string out = "OUT " + Quoted(job.out);
    if (NamesDevice(job.out.c_str())) return out + " names a device, not a file";
    const PathOnDisk disk = Inspect(platform, job.out, job.kind, record);
    job.outExists = disk.identity.exists;
    if (const std::string* file = files.Find(disk.identity))
      return out + " is the FILE " + Quoted(*file) + " too";
    if (!outs.Add(disk.identity, job.out)) return out + " is given twice";
    if (disk.identity.exists && !disk.replaceable)
      return out + (job.kind == OutputKind::kPng ? " exists and is not a PNG"
                                                 : " exists and is not a text this program wrote");
  }
  return std::string();
}

std::string LastPart(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// The jobs of one pair, or the refusal of the whole call (a folder OUT that
// is none).
std::string PlanPair(ExportPlatform& platform, const ExportPair& pair, std::vector<ExportJob>& jobs) {
  const bool intoFolder = IsFolderOut(pair.out);
  std::string reason;
  if (intoFolder && !platform.IsFolder(pair.out, &reason))
    return "OUT " + Quoted(pair.out) + " names no folder: " + reason;
  ExportJob job;
  job.kind = pair.kind;
  const std::string extension = OutExtension(pair.kind);
  job.out = intoFolder ? pair.out + LastPart(pair.file) + extension : pair.out;
  job.file = job.read = pair.file;
  PackPath split;
  // A folder named like a pack is a folder: the pack is the first such part that is none.
  if (!SplitPackPath(pair.file, split,
                     [&platform](const std::string& path) { return platform.IsFolder(path, nullptr); })) {
    jobs.push_back(job);
    return std::string();
  }
  job.read = split.pack;
  job.inPack = true;
  const auto fail = [&](const std::string& why) {
    job.problem = "cannot read " + Quoted(pair.file) + ": " + why;
    if (intoFolder) job.out.clear();
    jobs.push_back(job);
    return std::string();
  };
  const std::unique_ptr<PackSource> source = platform.OpenPack(split.pack, reason);
  if (!source) return fail(reason);
  ZipPack pack;
  if (!pack.Open(*source)) return fail(pack.Error());
  const CompareNames compare = [&platform](const std::string& a, const std::string& b) {
    return platform.CompareNames(a, b);
  };
  if (!split.entry.empty() || !intoFolder) {
    const ZipEntry* entry = FindPackEntry(pack, split.entry);
    if (entry == nullptr)
      return fail(split.entry.empty() ? "The pack holds no art" : "The pack holds no entry of that name");
    if (entry->refusal != nullptr) return fail(entry->refusal);
    job.entry = *entry;
    // The pack itself: its first art entry, named so that its reading and
    // the messages go by the entry's name.
    if (split.entry.empty()) job.file = split.pack + "/" + entry->name;
    if (intoFolder) job.out = pair.out + OutNamesInFolder({entry->name}, extension, compare)[0];
    jobs.push_back(job);
    return std::string();
  }
  // Every art entry into the folder; one named as art that cannot be read
  // fails with its reason, and anything else is not art to draw.
  std::vector<std::string> names;
  for (const ZipEntry& entry : pack.Entries())
    if (entry.art) names.push_back(entry.name);
  const std::vector<std::string> outs = OutNamesInFolder(names, extension, compare);
  const size_t before = jobs.size();
  size_t next = 0;
  for (const ZipEntry& entry : pack.Entries()) {
    ExportJob one = job;
    one.file = split.pack + "/" + entry.name;
    if (entry.art) {
      one.entry = entry;
      one.out = pair.out + outs[next++];
    } else if (entry.refusal != nullptr && IsArtName(entry.name)) {
      one.out.clear();
      one.problem = "cannot read " + Quoted(one.file) + ": " + entry.refusal;
    } else {
      continue;
    }
    jobs.push_back(std::move(one));
  }
  return jobs.size() == before ? fail("The pack holds no art") : std::string();
}

}  // namespace

const char kNotFolderReason[] = "It is not a folder";

std::string PlanExport(const ExportRequest& request, ExportPlatform& platform, std::vector<ExportJob>& jobs) {
  for (const ExportPair& pair : request.pairs) {
    const std::string refusal = PlanPair(platform, pair, jobs);
    if (!refusal.empty()) return refusal;
  }
  return Refusal(platform, jobs);
}

bool IsFolderOut(const std::string& out) { return !out.empty() && (out.back() == '/' || out.back() == '\\'); }

std::string OutExtension(OutputKind kind) {
  switch (kind) {
    case OutputKind::kText: return ".txt";
    case OutputKind::kAnsi: return ".ans";
    case OutputKind::kHtml: return ".html";
    case OutputKind::kPng: break;
  }
  return ".png";
}

std::vector<std::string> OutNamesInFolder(const std::vector<std::string>& names, const std::string& extension,
                                          const CompareNames& compare) {
  std::vector<std::string> outs;
  const auto before = [&compare](const std::string& a, const std::string& b) { return compare(a, b) < 0; };
  std::set<std::string, decltype(before)> taken(before);
  for (const std::string& name : names) {
    std::string flat = name;
    for (char& c : flat) {
      if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"|?*\\/", c) != nullptr) c = '_';
    }
    if (NamesDevice(flat.c_str())) flat.insert(0, "_");
    for (int copy = 1;; ++copy) {
      std::string out = flat + (copy > 1 ? "." + std::to_string(copy) : "") + extension;
      if (taken.insert(out).second) {
        outs.push_back(std::move(out));
        break;
      }
    }
  }
  return outs;
}
