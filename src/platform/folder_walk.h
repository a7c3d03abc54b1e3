// The long walks over everything below a folder: measuring and removing.
// Both work relative to open folder descriptors and open each subfolder with
// O_NOFOLLOW, so a link is never followed, not even one swapped in for a
// folder during the walk. Entries whose names a Windows path cannot hold are
// passed over, and so is a subfolder that is a mapped drive's root: like a
// volume mounted in a folder on Windows, that drive is reached only through
// its own letter.
#pragma once

#include <cstdint>

#include "platform/path_resolver.h"
#include "platform/platform.h"
#include "platform/unique_fd.h"

namespace qm {

// Opens the subfolder `name` of an open folder for reading, to walk it.
// Invalid when it is missing, is a link (also one swapped in since a listing)
// or is a mapped drive's root.
UniqueFd OpenSubfolder(int folder, const char* name, const DriveRoots& roots);

// Bytes of the regular files below the folder (opened for reading). Links and
// other special entries count 0; unreadable subfolders are passed over. Asks
// `stop` between entries and returns what it counted when told to stop.
int64_t SumFolder(UniqueFd folder, const DriveRoots& roots, const StopCheck& stop);

// What RemoveContents leaves in place besides what it cannot delete.
struct RemovalRules {
  bool keepDotNames = true;  // entries whose names begin with "."
  bool keepReadOnly = true;  // regular files whose owner write bit is clear
};

enum class RemovalResult { kAllGone, kSomeLeft, kStopped };

// Removes everything below the folder (opened for reading): files and links
// are unlinked, subfolders emptied and removed. Passes over what it cannot
// delete. Asks `stop` between entries.
RemovalResult RemoveContents(UniqueFd folder, const RemovalRules& rules, const DriveRoots& roots,
                             const StopCheck& stop);

}  // namespace qm
