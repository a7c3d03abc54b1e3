// Windows paths resolved below a drive root, component by component, without
// following any link below the root. Every service of the platform reaches
// the file system through here.
#pragma once

#include <sys/stat.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/unique_fd.h"

namespace qm {

// A Windows path taken apart: its drive letter (upper case) and the names
// below the drive root. Empty and "." components are dropped and ".." is
// applied, never climbing above the root.
struct WindowsPath {
  char drive = 0;
  std::vector<std::string> parts;
  bool endsWithSeparator = false;  // "C:\a\": names a folder only
};

// False for a path without a drive letter, or with a component that no
// Windows name can be.
bool ParseWindowsPath(const std::string& path, WindowsPath* parsed);

// The name under which `name` is stored in the open folder: `name` itself
// when it exists, else the first entry (by bytes) that equals it ignoring
// letter case. Fills `info` (lstat) when given. False when there is none.
bool LookUpName(int folder, const std::string& name, std::string* stored, struct stat* info);

// The root folders of the mapped drives, known by device and inode, so that a
// drive whose folder lies inside another drive's tree is recognised when a
// walk meets it.
class DriveRoots {
 public:
  void Add(const struct stat& info) { ids_.emplace_back(info.st_dev, info.st_ino); }
  bool Contains(const struct stat& info) const;

 private:
  std::vector<std::pair<dev_t, ino_t>> ids_;
};

// An entry found below a drive root.
struct FoundEntry {
  UniqueFd folder;  // the folder holding it, opened O_PATH
  std::string name; // its name as stored
  struct stat info; // its own status; a link is not followed
};

// Resolves paths over a drive map. Each drive's root folder is opened once,
// here, so that every look-up starts from the folder the map named, and a
// drive whose folder cannot be opened is not mapped.
class PathResolver {
 public:
  explicit PathResolver(const DriveMap& drives);

  // The mapped drives in letter order.
  std::vector<char> Drives() const;
  // The drive's root folder (opened O_PATH, owned by the resolver); -1 when
  // the drive is not mapped.
  int Root(char drive) const;
  // Every mapped drive's root folder.
  const DriveRoots& Roots() const { return rootIds_; }
  // Opens the folder named by the first `depth` parts of the path with
  // O_DIRECTORY and `access` (O_PATH, or O_RDONLY to list it). Invalid when a
  // part is missing or is not a folder.
  UniqueFd OpenFolder(const WindowsPath& path, size_t depth, int access) const;
  // The entry the whole path names. The drive root itself is no entry: false
  // for it, as for a missing path.
  bool FindEntry(const WindowsPath& path, FoundEntry* entry) const;

 private:
  std::map<char, UniqueFd> roots_;
  DriveRoots rootIds_;
};

}  // namespace qm
