#include "platform/path_resolver.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>

#include <cerrno>

#include "platform/folder_reader.h"
#include "platform/names.h"

namespace qm {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The whole relative path in one call, refusing every link on the way and any
// escape from the root. Fails (for the careful walk to decide) when a part is
// missing in this letter case, is a link, or the kernel lacks openat2.
UniqueFd OpenExactly(int root, const WindowsPath& path, size_t depth, int flags) {
  std::string relative;
  for (size_t i = 0; i < depth; ++i) {
    if (i) relative += '/';
    relative += path.parts[i];
  }
  open_how how{};
  how.flags = static_cast<uint64_t>(flags);
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
  return UniqueFd(static_cast<int>(syscall(SYS_openat2, root, relative.c_str(), &how, sizeof how)));
}

// One part after another with O_NOFOLLOW, matching each part ignoring letter
// case when its exact name is missing.
UniqueFd OpenStepByStep(int root, const WindowsPath& path, size_t depth, int access) {
  UniqueFd current;
  for (size_t i = 0; i < depth; ++i) {
    int here = i == 0 ? root : current.get();
    int flags = (i + 1 == depth ? access : O_PATH) | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    UniqueFd next(openat(here, path.parts[i].c_str(), flags));
    std::string stored;
    if (!next.valid() && errno == ENOENT && LookUpName(here, path.parts[i], &stored, nullptr)) {
      next = UniqueFd(openat(here, stored.c_str(), flags));
    }
    if (!next.valid()) return {};
    current = std::move(next);
  }
  return current;
}

}  // namespace

bool ParseWindowsPath(const std::string& path, WindowsPath* parsed) {
  if (path.size() < 2 || path[1] != ':') return false;
  char letter = path[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
  if (letter < 'A' || letter > 'Z') return false;
  WindowsPath result;
  result.drive = letter;
  size_t at = 2;
  while (at < path.size()) {
    size_t end = at;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::string part = path.substr(at, end - at);
    if (part == "..") {
      if (!result.parts.empty()) result.parts.pop_back();
    } else if (!part.empty() && part != ".") {
      if (!names::IsWindowsName(part)) return false;
      result.parts.push_back(std::move(part));
    }
    at = end + 1;
  }
  result.endsWithSeparator = path.size() > 2 && IsSeparator(path.back());
  *parsed = std::move(result);
  return true;
}

bool LookUpName(int folder, const std::string& name, std::string* stored, struct stat* info) {
  struct stat scratch;
  struct stat* status = info ? info : &scratch;
  if (fstatat(folder, name.c_str(), status, AT_SYMLINK_NOFOLLOW) == 0) {
    *stored = name;
    return true;
  }
  if (errno != ENOENT) return false;
  FolderReader reader(UniqueFd(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
  std::string best;
  while (const dirent* entry = reader.Next()) {
    std::string candidate = entry->d_name;
    if (!names::EqualIgnoringCase(candidate, name) || !names::IsWindowsName(candidate)) continue;
    if (best.empty() || candidate < best) best = std::move(candidate);
  }
  if (best.empty() || fstatat(folder, best.c_str(), status, AT_SYMLINK_NOFOLLOW) != 0) return false;
  *stored = std::move(best);
  return true;
}

bool DriveRoots::Contains(const struct stat& info) const {
  for (const auto& [device, inode] : ids_) {
    if (device == info.st_dev && inode == info.st_ino) return true;
  }
  return false;
}

PathResolver::PathResolver(const DriveMap& drives) {
  for (const auto& [drive, folder] : drives) {
    // Links up to and at the root are the map's own business and are followed.
    UniqueFd root(open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat info;
    if (!root.valid() || fstat(root.get(), &info) != 0) continue;
    rootIds_.Add(info);
    roots_[drive] = std::move(root);
  }
}

std::vector<char> PathResolver::Drives() const {
  std::vector<char> drives;
  for (const auto& [drive, root] : roots_) drives.push_back(drive);
  return drives;
}

int PathResolver::Root(char drive) const {
  auto found = roots_.find(drive);
  return found == roots_.end() ? -1 : found->second.get();
}

UniqueFd PathResolver::OpenFolder(const WindowsPath& path, size_t depth, int access) const {
  int root = Root(path.drive);
  if (root < 0 || depth > path.parts.size()) return {};
  if (depth == 0) return UniqueFd(openat(root, ".", access | O_DIRECTORY | O_CLOEXEC));
  UniqueFd folder = OpenExactly(root, path, depth, access | O_DIRECTORY | O_CLOEXEC);
  if (folder.valid()) return folder;
  return OpenStepByStep(root, path, depth, access);
}

bool PathResolver::FindEntry(const WindowsPath& path, FoundEntry* entry) const {
  if (path.parts.empty()) return false;
  UniqueFd folder = OpenFolder(path, path.parts.size() - 1, O_PATH);
  if (!folder.valid()) return false;
  if (!LookUpName(folder.get(), path.parts.back(), &entry->name, &entry->info)) return false;
  if (path.endsWithSeparator && !S_ISDIR(entry->info.st_mode)) return false;
  entry->folder = std::move(folder);
  return true;
}

}  // namespace qm
