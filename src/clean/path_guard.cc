#include "clean/path_guard.h"

#include <vector>

#include "platform/text.h"
#include "scan/path_expander.h"

namespace qm {

namespace {

// Replaces `pair` by `single` until no pair is left, so that any run of the
// separator becomes one.
std::string CollapseRuns(std::string path, const std::string& pair, const std::string& single) {
  while (text::Find(path, pair) != -1) path = text::Replace(path, pair, single);
  return path;
}

// True when the path is a drive ("C:") followed only by separators of either
// kind, "." components and ".." components that climb back to the root: the
// drive root however it is spelt.
bool NamesDriveRoot(const std::string& path) {
  if (text::CharCode(path, 2) != ':') return false;
  int depth = 0;
  for (const std::string& level : text::Split(text::Replace(text::Mid(path, 3), "/", "\\"), "\\")) {
    if (level.empty() || level == ".") continue;
    if (level == "..") {
      if (depth > 0) --depth;
    } else {
      ++depth;
    }
  }
  return depth == 0;
}

}  // namespace

bool IsExistingDirectory(Platform& platform, const std::string& path) {
  int attributes = platform.Attributes(path);
  return attributes != -1 && (attributes & kAttrDirectory) != 0;
}

bool RemoveFile(Platform& platform, const std::string& path) { return platform.DeleteFile(path); }

bool EmptyDirectory(Platform& platform, const std::string& path, const StopCheck& stop) {
  const std::string folder = WithTrailingBackslash(path);
  if (!ValidatePath(folder)) return false;
  bool removed = platform.RemoveFolderTree(folder, stop);
  CreateDirectoryPath(platform, folder);
  return removed;
}

bool ValidatePath(const std::string& path) {
  std::string copy = CollapseRuns(CollapseRuns(path, "\\\\", "\\"), "//", "/");
  int first = text::CharCode(text::UpperAscii(copy), 1);
  if (first < 'A' || first > 'Z') return false;
  if (text::Find(copy, ":\\") == -1 && text::Find(copy, ":/") == -1) return false;
  if (text::Length(copy) == 3) return false;
  return !NamesDriveRoot(copy);
}

int CreateDirectoryPath(Platform& platform, const std::string& path) {
  std::string folder = path;
  if (text::Right(folder, 1) == "\\") folder = text::Left(folder, text::Length(folder) - 1);
  std::vector<std::string> levels = text::Split(folder, "\\");
  if (levels.empty()) return -1;
  // Most calls re-create a folder whose parent is there: one creation settles
  // them without first asking after the missing folder, a question that can
  // cost a listing of a large parent folder.
  if (levels.size() > 1 && platform.CreateFolder(folder)) return 1;
  if (IsExistingDirectory(platform, folder)) return 0;

  std::string built = levels[0];
  // A failure rolls back only below a level that was there before, and only
  // the folders this call made: `rollback` is the first of them.
  bool belowExisting = false;
  std::string rollback;
  for (size_t i = 1; i < levels.size(); ++i) {
    if (levels[i].empty()) continue;  // "\\" holds no level of its own
    built += "\\" + levels[i];
    bool existed = IsExistingDirectory(platform, built);
    if (!existed && platform.CreateFolder(built)) {
      if (belowExisting && rollback.empty()) rollback = built;
      continue;
    }
    // There already, or made by someone else after the test: not ours to remove.
    if (existed || IsExistingDirectory(platform, built)) {
      belowExisting = true;
      rollback.clear();
      continue;
    }
    if (!rollback.empty()) platform.RemoveFolderTree(rollback);
    return -1;
  }
  return 1;
}

}  // namespace qm
