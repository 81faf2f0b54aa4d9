#include "browse_list.h"

#include <cstring>

#include "text_helpers.h"

void BrowseList::Reset(const std::string& prefix, int32_t limit) {
  prefix_ = prefix;
  names_.clear();
  starts_.clear();
  limit_ = limit;
}

bool BrowseList::Add(const std::string& path) {
  if (Count() >= limit_ || path.size() >= static_cast<size_t>(kBrowseEntrySize) ||
      path.compare(0, prefix_.size(), prefix_) != 0)
    return false;
  starts_.push_back(static_cast<uint32_t>(names_.size()));
  names_.append(path, prefix_.size(), std::string::npos);
  names_ += '\0';
  return true;
}

std::string BrowseList::Entry(int32_t index) const { return prefix_ + (names_.c_str() + starts_[index]); }

int32_t BrowseList::Find(const std::string& path) const {
  if (path.size() < prefix_.size()) return -1;
  const std::string head = path.substr(0, prefix_.size());
  const char* rest = path.c_str() + prefix_.size();
  const bool exactHead = head == prefix_, foldedHead = EqualsIgnoringAsciiCase(head.c_str(), prefix_.c_str());
  int32_t found = -1;
  for (int32_t i = Count() - 1; i >= 0; --i) {
    const char* name = names_.c_str() + starts_[i];
    if (exactHead && std::strcmp(name, rest) == 0) return i;
    if (foldedHead && EqualsIgnoringAsciiCase(name, rest)) found = i;
  }
  return found;
}
