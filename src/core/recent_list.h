// The recent-files list: five entries, the most recent first. Pure rules;
// the window code shows the entries in the File menu and keeps them in the
// registry.
#ifndef QUILLPANE_RECENT_LIST_H
#define QUILLPANE_RECENT_LIST_H

#include <cstddef>
#include <cstdint>

#include "state_types.h"

// Puts `path` on top: the entries in use follow in their order, closing up
// the entries not in use, and one that no longer fits is lost. No path is
// listed twice: one already listed moves to the top, spelt as pushed, and
// later copies of any entry are dropped. Paths equal but for the case of
// A to Z are the same, as Windows takes them; on a Linux disk under Wine,
// where A.nfo and a.nfo are two files, only the one shown last is listed,
// and every entry still names exactly the file that was shown. An empty
// path pushes nothing, and so does one the entries cannot hold whole.
// Returns whether the path was pushed.
bool PushRecentFile(RecentFile (&entries)[kRecentFileCount], const char* path);

// Fills `entry` from a stored value: `size` bytes of `data`, read into a
// buffer of kRecentPathSize bytes; `isString` when the read succeeded and
// the value is a string. Only a non-empty string that fits whole puts the
// entry in use; anything else leaves it empty and out of use.
void TakeStoredRecentFile(RecentFile& entry, bool isString, const char* data, size_t size);

#endif
