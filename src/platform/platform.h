// The one door between the program and the operating system: Windows-style
// paths over a drive map, attributes, wildcard searches, removal, folder sizes,
// the recycle bin and system facts. Nothing else in the program calls the
// operating system for files.
//
// Paths are Windows paths ("C:\Users\alice\AppData\Local\Temp\"); `\` and `/`
// both separate. A path resolves component by component against the drive map;
// each component matches exactly or else ignoring letter case; `..` never climbs
// above the drive root. Below a drive root no symbolic link is ever followed: a
// link is an entry that is not a directory, measures 0 bytes and is removed as a
// link. Names a Windows path cannot hold (`\ / : * ? " < > |`, control
// characters, invalid UTF-8) are invisible to every service. A folder that is
// another mapped drive's root is that drive's: the walks below a folder never
// enter it, as Windows does not enter a volume mounted in a folder.
//
// Every failure is a result (false, -1, 0, empty); nothing throws.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qm {

// Attribute bits as Windows reports them.
enum : int {
  kAttrReadOnly = 1,
  kAttrHidden = 2,
  kAttrSystem = 4,
  kAttrDirectory = 16,
  kAttrArchive = 32,
};

// Which entries a search keeps.
enum class FindFilter {
  kNonFolders,  // entries without the directory attribute (files, links)
  kFolders,     // entries with the directory attribute, "." and ".." included
  kAny,
};

struct FindEntry {
  std::string name;    // bare name, as stored on disk
  int attributes = 0;  // kAttr* bits
  int64_t size = 0;    // bytes of a regular file; 0 for anything else
};

// Drive letter (upper case) to the host folder that is that drive's root.
using DriveMap = std::map<char, std::string>;

// Asked between entries by the long walks; returning true ends the walk early
// (a removal stopped that way reports failure). Must be cheap.
using StopCheck = std::function<bool()>;

// The results of one wildcard search, walked with Next() and ended with Close().
class FileSearch {
 public:
  FileSearch() = default;
  explicit FileSearch(std::vector<FindEntry> entries) : entries_(std::move(entries)) {}

  // The next entry, in the search's stable order; false at the end.
  bool Next(FindEntry* entry);
  // Ends the search; Next() then gives nothing.
  void Close();

 private:
  std::vector<FindEntry> entries_;
  size_t next_ = 0;
};

class Platform {
 public:
  Platform() = default;
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;
  virtual ~Platform() = default;

  // The platform over the drive map of the Wine-style prefix: $WINEPREFIX when
  // set, else $HOME/.wine. A missing or broken dosdevices folder maps no drive.
  static std::unique_ptr<Platform> FromEnvironment();
  // The platform over the given drive map (tests use this). Each drive's
  // folder is opened when the platform is made; one that cannot be opened
  // then leaves its drive unmapped.
  static std::unique_ptr<Platform> FromDriveMap(const DriveMap& drives);
  // Reads <prefix>/dosdevices/x: entries; each maps drive X to its resolved target.
  static DriveMap ReadDriveMap(const std::string& prefix);

  // True when an entry exists at the path; when its last component holds
  // wildcards, when some entry matches it.
  virtual bool Exists(const std::string& path) = 0;
  // kAttr* bits of the entry at the path; -1 when missing. A path ending in a
  // separator names a folder only.
  virtual int Attributes(const std::string& path) = 0;
  // Size in bytes of the regular file at the path (0 for anything else that
  // exists); -1 when missing.
  virtual int64_t FileSize(const std::string& path) = 0;

  // Wildcard search: the pattern's last component holds `*` and `?` (letter
  // case ignored, "*.*" matches every name); the rest names the folder. "." and
  // ".." are reported first for kFolders and kAny. The other entries come
  // sorted by name ignoring case. A missing folder gives an empty search.
  virtual FileSearch FindFirst(const std::string& pattern, FindFilter filter) = 0;

  // Creates one folder level; false when it exists already or cannot be made.
  virtual bool CreateFolder(const std::string& path) = 0;
  // Deletes one file, or a link as a link. A read-only file and a folder are
  // refused.
  virtual bool DeleteFile(const std::string& path) = 0;
  // Removes the folder with everything below it, passing over what it cannot
  // delete and leaving entries whose names begin with "." and read-only files
  // in place. Refuses an empty path and a drive root (also another drive's
  // root reached through this one). True only when the folder itself is gone.
  virtual bool RemoveFolderTree(const std::string& path, const StopCheck& stop = {}) = 0;
  // Reads the whole file into `bytes`. Opens it for reading and writing, so a
  // read-only file fails. False when it cannot be read.
  virtual bool ReadFile(const std::string& path, std::string* bytes) = 0;

  // The folder-size service: bytes of all regular files below the folder, links
  // not followed, unreadable subfolders passed over; 0 for a missing path or a
  // file or another drive's root reached through this one; -1 when the service
  // is unavailable. A stopped walk gives the bytes counted so far.
  virtual int64_t FolderSize(const std::string& path, const StopCheck& stop = {}) = 0;
  // Empties every "$RECYCLE.BIN" at the root of each mapped drive (the whole
  // contents of its per-user subfolders; the subfolders stay, as does anything
  // lying directly in the bin). True when all of it went; a stopped emptying
  // reports false.
  virtual bool EmptyRecycleBin(const StopCheck& stop = {}) = 0;

  // System facts: $WINEUSERNAME when set, else the effective user's login name.
  // A name that cannot stand as one folder in "C:\Users\" (one holding a
  // separator or "|", or made of dots and blanks alone) is passed over; empty
  // when neither will do.
  virtual std::string UserName() = 0;
  // "C:\windows" and "C:\windows\system32", as Wine reports them.
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
};

}  // namespace qm
