// The files Page Up and Page Down walk through: a folder's recognised
// files, or a pack's art entries, each as a whole path, in the order they
// were found.
#ifndef QUILLPANE_BROWSE_LIST_H
#define QUILLPANE_BROWSE_LIST_H

#include <cstdint>
#include <string>
#include <vector>

// A folder lists at most this many files; later ones are not listed. A
// pack lists every art entry it holds (it holds at most kPackEntryLimit).
constexpr int32_t kFolderListLimit = 16000;
// An entry is a path of at most this many bytes with its ending zero.
constexpr int32_t kBrowseEntrySize = 256;

class BrowseList {
 public:
  // Empties the list for entries that all begin with `prefix` (the folder
  // or the pack they lie in), at most `limit` of them. Each is kept without
  // the prefix, so a pack's hundred thousand entries do not each hold its
  // path.
  void Reset(const std::string& prefix, int32_t limit);
  // Adds `path`; false, adding nothing, when the list is full, or the path
  // does not begin with the prefix or does not fit kBrowseEntrySize (it is
  // left out rather than cut into another path).
  bool Add(const std::string& path);
  int32_t Count() const { return static_cast<int32_t>(starts_.size()); }
  // Entry `index`, 0 to Count() - 1, as a whole path.
  std::string Entry(int32_t index) const;
  // The place of `path`: the last entry equal to it byte for byte, or else
  // the first that differs only in ASCII case (C:\ART\A.NFO finds a.nfo),
  // or -1.
  int32_t Find(const std::string& path) const;

 private:
  std::string prefix_;
  std::string names_;  // each entry after the prefix, ended by a zero
  std::vector<uint32_t> starts_;
  int32_t limit_ = 0;
};

#endif
