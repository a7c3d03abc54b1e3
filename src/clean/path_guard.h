// The guarded operations the clean pass removes junk with: a directory test, a
// file deletion, and EmptyDirectory, which refuses anything but an absolute
// drive path below a drive root, removes the folder with everything in it and
// creates it again, empty. All removal itself is the platform's; these
// functions decide what to ask it for.
#pragma once

#include <string>

#include "platform/platform.h"

namespace qm {

// True when an entry exists at exactly the path and it is a directory (a link
// never is).
bool IsExistingDirectory(Platform& platform, const std::string& path);

// Deletes the file (or link) at the path; attributes are left as they are, so
// a read-only file is not deleted. False when nothing was deleted.
bool RemoveFile(Platform& platform, const std::string& path);

// Removes the folder with everything below it except entries whose names
// begin with ".", then creates the folder again, empty. True when the folder
// itself was removed; false when the path was refused (nothing on disk is
// touched then), when anything stayed behind, or when `stop` ended the removal.
bool EmptyDirectory(Platform& platform, const std::string& path, const StopCheck& stop = {});

// True when the path may be handed to the removal: it starts with a letter,
// holds ":\" or ":/", and does not name a drive root in any spelling (doubled
// or mixed separators, "." and ".." components included).
bool ValidatePath(const std::string& path);

// Creates the folder and every missing folder above it. A path written with
// forward slashes is a single level here and creates nothing. Returns 1 when
// created, 0 when the folder was already there, -1 on failure. After a failure
// below a folder that already existed, the folders this call created are
// removed again; a folder it did not create is never removed.
int CreateDirectoryPath(Platform& platform, const std::string& path);

}  // namespace qm
