#include "platform/folder_walk.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <string>

#include "platform/folder_reader.h"
#include "platform/names.h"

namespace qm {

namespace {

constexpr int kSubfolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool Stopped(const StopCheck& stop) { return stop && stop(); }

int64_t Sum(UniqueFd folder, const DriveRoots& roots, const StopCheck& stop, bool* stopped) {
  FolderReader reader(std::move(folder));
  int64_t total = 0;
  while (const dirent* entry = reader.Next()) {
    if (Stopped(stop)) {
      *stopped = true;
      return total;
    }
    unsigned char type = entry->d_type;
    if (type != DT_DIR && type != DT_REG && type != DT_UNKNOWN) continue;  // links and the like
    if (!names::IsWindowsName(entry->d_name)) continue;
    if (type != DT_DIR) {
      struct stat info;
      if (fstatat(reader.fd(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
      if (S_ISREG(info.st_mode)) total += info.st_size;
      if (!S_ISDIR(info.st_mode)) continue;
    }
    UniqueFd sub = OpenSubfolder(reader.fd(), entry->d_name, roots);
    if (sub.valid()) total += Sum(std::move(sub), roots, stop, stopped);
    if (*stopped) return total;
  }
  return total;
}

// The kind of an entry from the listing, asking the file system only when the
// listing does not say.
unsigned char KindOf(int folder, const dirent* entry) {
  if (entry->d_type != DT_UNKNOWN) return entry->d_type;
  struct stat info;
  if (fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return DT_UNKNOWN;
  return S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_LNK;
}

bool IsReadOnlyFile(int folder, const char* name) {
  struct stat info;
  return fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
         (info.st_mode & S_IWUSR) == 0;
}

}  // namespace

UniqueFd OpenSubfolder(int folder, const char* name, const DriveRoots& roots) {
  UniqueFd sub(openat(folder, name, kSubfolderFlags));
  struct stat info;
  if (!sub.valid() || fstat(sub.get(), &info) != 0 || roots.Contains(info)) return {};
  return sub;
}

int64_t SumFolder(UniqueFd folder, const DriveRoots& roots, const StopCheck& stop) {
  bool stopped = false;
  return Sum(std::move(folder), roots, stop, &stopped);
}

RemovalResult RemoveContents(UniqueFd folder, const RemovalRules& rules, const DriveRoots& roots,
                             const StopCheck& stop) {
  FolderReader reader(std::move(folder));
  if (!reader.valid()) return RemovalResult::kSomeLeft;
  bool someLeft = false;
  while (const dirent* entry = reader.Next()) {
    if (Stopped(stop)) return RemovalResult::kStopped;
    const char* name = entry->d_name;
    if (!names::IsWindowsName(name) || (rules.keepDotNames && name[0] == '.')) {
      someLeft = true;
      continue;
    }
    unsigned char kind = KindOf(reader.fd(), entry);
    if (kind == DT_DIR) {
      RemovalResult inner =
          RemoveContents(OpenSubfolder(reader.fd(), name, roots), rules, roots, stop);
      if (inner == RemovalResult::kStopped) return inner;
      if (inner == RemovalResult::kSomeLeft || unlinkat(reader.fd(), name, AT_REMOVEDIR) != 0) {
        someLeft = true;
      }
      continue;
    }
    if (kind == DT_REG && rules.keepReadOnly && IsReadOnlyFile(reader.fd(), name)) {
      someLeft = true;
      continue;
    }
    // Flag 0 never removes a folder, so a folder swapped in here stays.
    if (unlinkat(reader.fd(), name, 0) != 0) someLeft = true;
  }
  return someLeft ? RemovalResult::kSomeLeft : RemovalResult::kAllGone;
}

}  // namespace qm
