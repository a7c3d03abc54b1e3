#include "platform/posix_platform.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/folder_reader.h"
#include "platform/folder_walk.h"
#include "platform/names.h"

namespace qm {

namespace {

int AttributesOf(const std::string& name, const struct stat& info) {
  int attributes = 0;
  if (S_ISDIR(info.st_mode)) {
    attributes |= kAttrDirectory;
  } else if (S_ISREG(info.st_mode)) {
    attributes |= kAttrArchive;
    // Windows' read-only bit, kept even for root, whom the kernel lets write.
    if ((info.st_mode & S_IWUSR) == 0) attributes |= kAttrReadOnly;
  }
  if (!name.empty() && name[0] == '.' && name != "." && name != "..") attributes |= kAttrHidden;
  return attributes;
}

bool IsReadOnlyFile(const struct stat& info) {
  return S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
}

int64_t SizeOf(const struct stat& info) { return S_ISREG(info.st_mode) ? info.st_size : 0; }

bool Keeps(FindFilter filter, int attributes) {
  bool folder = (attributes & kAttrDirectory) != 0;
  return filter == FindFilter::kAny || (filter == FindFilter::kFolders) == folder;
}

// Splits a search pattern into its folder ("C:\a\") and its last component,
// the wildcard mask ("*.log"). False when the mask is empty or holds a
// character no Windows name can, wildcards aside.
bool SplitPattern(const std::string& pattern, std::string* folder, std::string* mask) {
  size_t cut = pattern.find_last_of("\\/");
  if (cut == std::string::npos) cut = pattern.size() >= 2 && pattern[1] == ':' ? 1 : std::string::npos;
  if (cut == std::string::npos) return false;
  *folder = pattern.substr(0, cut + 1);
  *mask = pattern.substr(cut + 1);
  std::string probe = *mask;
  std::replace_if(probe.begin(), probe.end(), [](char c) { return c == '*' || c == '?'; }, 'x');
  return names::IsWindowsName(probe);
}

// A real folder: a link to one is not.
bool IsFolder(int folder, const char* name) {
  struct stat info;
  return fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

bool HasWildcard(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return path.find_first_of("*?", cut == std::string::npos ? 0 : cut) != std::string::npos;
}

}  // namespace

bool PosixPlatform::StatPath(const WindowsPath& parsed, struct stat* info) {
  if (parsed.parts.empty()) {
    int root = resolver_.Root(parsed.drive);
    return root >= 0 && fstat(root, info) == 0;
  }
  FoundEntry entry;
  if (!resolver_.FindEntry(parsed, &entry)) return false;
  *info = entry.info;
  return true;
}

bool PosixPlatform::Exists(const std::string& path) {
  if (HasWildcard(path)) {
    FindEntry first;
    return FindFirst(path, FindFilter::kAny).Next(&first);
  }
  WindowsPath parsed;
  struct stat info;
  return ParseWindowsPath(path, &parsed) && StatPath(parsed, &info);
}

int PosixPlatform::Attributes(const std::string& path) {
  WindowsPath parsed;
  struct stat info;
  if (!ParseWindowsPath(path, &parsed) || !StatPath(parsed, &info)) return -1;
  return AttributesOf(parsed.parts.empty() ? std::string() : parsed.parts.back(), info);
}

int64_t PosixPlatform::FileSize(const std::string& path) {
  WindowsPath parsed;
  struct stat info;
  if (!ParseWindowsPath(path, &parsed) || !StatPath(parsed, &info)) return -1;
  return SizeOf(info);
}

FileSearch PosixPlatform::FindFirst(const std::string& pattern, FindFilter filter) {
  std::string folderPath, mask;
  WindowsPath folder;
  if (!SplitPattern(pattern, &folderPath, &mask) || !ParseWindowsPath(folderPath, &folder)) return {};
  FolderReader reader(resolver_.OpenFolder(folder, folder.parts.size(), O_RDONLY));
  if (!reader.valid()) return {};

  std::vector<FindEntry> found;
  while (const dirent* entry = reader.Next()) {
    std::string name = entry->d_name;
    struct stat info;
    if (!names::IsWindowsName(name) || !names::MatchesWildcard(mask, name) ||
        fstatat(reader.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      continue;
    }
    int attributes = AttributesOf(name, info);
    if (Keeps(filter, attributes)) found.push_back({std::move(name), attributes, SizeOf(info)});
  }
  std::sort(found.begin(), found.end(), [](const FindEntry& a, const FindEntry& b) {
    return names::LessIgnoringCase(a.name, b.name);
  });

  // The folder's own entries come first, as Windows lists them.
  std::vector<FindEntry> dots;
  for (const char* dot : {".", ".."}) {
    if (filter != FindFilter::kNonFolders && names::MatchesWildcard(mask, dot)) {
      dots.push_back({dot, kAttrDirectory, 0});
    }
  }
  found.insert(found.begin(), dots.begin(), dots.end());
  return FileSearch(std::move(found));
}

bool PosixPlatform::CreateFolder(const std::string& path) {
  WindowsPath parsed;
  if (!ParseWindowsPath(path, &parsed) || parsed.parts.empty()) return false;
  UniqueFd parent = resolver_.OpenFolder(parsed, parsed.parts.size() - 1, O_PATH);
  std::string existing;
  if (!parent.valid() || LookUpName(parent.get(), parsed.parts.back(), &existing, nullptr)) return false;
  return mkdirat(parent.get(), parsed.parts.back().c_str(), 0777) == 0;
}

bool PosixPlatform::DeleteFile(const std::string& path) {
  WindowsPath parsed;
  FoundEntry entry;
  if (!ParseWindowsPath(path, &parsed) || !resolver_.FindEntry(parsed, &entry)) return false;
  if (S_ISDIR(entry.info.st_mode) || IsReadOnlyFile(entry.info)) return false;
  // Flag 0 never removes a folder, even one swapped in since the look-up.
  return unlinkat(entry.folder.get(), entry.name.c_str(), 0) == 0;
}

bool PosixPlatform::RemoveFolderTree(const std::string& path, const StopCheck& stop) {
  WindowsPath parsed;
  FoundEntry entry;
  if (!ParseWindowsPath(path, &parsed) || parsed.parts.empty()) return false;
  if (!resolver_.FindEntry(parsed, &entry) || !S_ISDIR(entry.info.st_mode)) return false;
  // Refused, too, when it is another drive's root reached through this one.
  UniqueFd folder = OpenSubfolder(entry.folder.get(), entry.name.c_str(), resolver_.Roots());
  if (!folder.valid() ||
      RemoveContents(std::move(folder), RemovalRules{}, resolver_.Roots(), stop) !=
          RemovalResult::kAllGone) {
    return false;
  }
  return unlinkat(entry.folder.get(), entry.name.c_str(), AT_REMOVEDIR) == 0;
}

bool PosixPlatform::ReadFile(const std::string& path, std::string* bytes) {
  WindowsPath parsed;
  FoundEntry entry;
  if (!ParseWindowsPath(path, &parsed) || !resolver_.FindEntry(parsed, &entry)) return false;
  if (!S_ISREG(entry.info.st_mode) || IsReadOnlyFile(entry.info)) return false;
  UniqueFd file(openat(entry.folder.get(), entry.name.c_str(),
                       O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info;
  if (!file.valid() || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  std::string content;
  content.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t got = read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    content.append(buffer, static_cast<size_t>(got));
  }
  *bytes = std::move(content);
  return true;
}

int64_t PosixPlatform::FolderSize(const std::string& path, const StopCheck& stop) {
  WindowsPath parsed;
  if (!ParseWindowsPath(path, &parsed)) return 0;
  UniqueFd folder = resolver_.OpenFolder(parsed, parsed.parts.size(), O_RDONLY);
  struct stat info;
  if (!folder.valid() || fstat(folder.get(), &info) != 0) return 0;
  // Another drive's root reached through this one is that drive's, not this folder's.
  if (!parsed.parts.empty() && resolver_.Roots().Contains(info)) return 0;
  return SumFolder(std::move(folder), resolver_.Roots(), stop);
}

bool PosixPlatform::EmptyRecycleBinOf(char drive, const StopCheck& stop) {
  WindowsPath rootPath;
  rootPath.drive = drive;
  FolderReader root(resolver_.OpenFolder(rootPath, 0, O_RDONLY));
  if (!root.valid()) return false;
  bool allGone = true;
  while (const dirent* entry = root.Next()) {
    const char* name = entry->d_name;
    if (!names::EqualIgnoringCase(name, "$RECYCLE.BIN") || !IsFolder(root.fd(), name)) continue;
    FolderReader bin(OpenSubfolder(root.fd(), name, resolver_.Roots()));
    if (!bin.valid()) {
      allGone = false;  // a bin we cannot read, or another drive's root
      continue;
    }
    // Only the per-user folders are emptied; they stay, as does anything
    // else lying directly in the bin.
    while (const dirent* user = bin.Next()) {
      if (!names::IsWindowsName(user->d_name)) {
        allGone = false;
        continue;
      }
      if (!IsFolder(bin.fd(), user->d_name)) continue;
      RemovalRules everything{false, false};
      UniqueFd userFolder = OpenSubfolder(bin.fd(), user->d_name, resolver_.Roots());
      RemovalResult result =
          RemoveContents(std::move(userFolder), everything, resolver_.Roots(), stop);
      if (result == RemovalResult::kStopped) return false;
      if (result != RemovalResult::kAllGone) allGone = false;
    }
  }
  return allGone;
}

bool PosixPlatform::EmptyRecycleBin(const StopCheck& stop) {
  bool allGone = true;
  for (char drive : resolver_.Drives()) {
    if (!EmptyRecycleBinOf(drive, stop)) allGone = false;
    if (stop && stop()) return false;
  }
  return allGone;
}

std::string PosixPlatform::UserName() {
  // The name becomes one folder of "C:\Users\<name>\...": one holding "|"
  // would split a rule's path into other paths, one holding "..\" would
  // climb out of the profile, so such a name is not used.
  const char* wineUser = std::getenv("WINEUSERNAME");
  if (wineUser && names::IsProfileName(wineUser)) return wineUser;
  struct passwd record;
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(geteuid(), &record, buffer, sizeof buffer, &found) != 0 || !found) return {};
  return names::IsProfileName(found->pw_name) ? found->pw_name : std::string();
}

std::string PosixPlatform::WindowsDirectory() { return "C:\\windows"; }

std::string PosixPlatform::SystemDirectory() { return "C:\\windows\\system32"; }

}  // namespace qm
