#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "platform/folder_reader.h"
#include "platform/posix_platform.h"

namespace qm {

namespace {

char UpperLetter(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
  return c >= 'A' && c <= 'Z' ? c : 0;
}

// The host folder the entry resolves to, every link followed; empty when it
// is broken or not a folder.
std::string ResolvedFolder(const std::string& hostPath) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(hostPath.c_str(), nullptr), &std::free);
  struct stat info;
  if (!resolved || stat(resolved.get(), &info) != 0 || !S_ISDIR(info.st_mode)) return {};
  return resolved.get();
}

}  // namespace

DriveMap Platform::ReadDriveMap(const std::string& prefix) {
  DriveMap drives;
  const std::string devices = prefix + "/dosdevices";
  FolderReader reader(UniqueFd(open(devices.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
  while (const dirent* entry = reader.Next()) {
    const std::string name = entry->d_name;
    char letter = name.size() == 2 && name[1] == ':' ? UpperLetter(name[0]) : 0;
    if (!letter) continue;
    std::string root = ResolvedFolder(devices + "/" + name);
    if (!root.empty()) drives[letter] = std::move(root);
  }
  return drives;
}

std::unique_ptr<Platform> Platform::FromDriveMap(const DriveMap& drives) {
  DriveMap upper;
  for (const auto& [letter, root] : drives) {
    if (char drive = UpperLetter(letter)) upper[drive] = root;
  }
  return std::make_unique<PosixPlatform>(upper);
}

std::unique_ptr<Platform> Platform::FromEnvironment() {
  const char* prefix = std::getenv("WINEPREFIX");
  const char* home = std::getenv("HOME");
  if (prefix && *prefix) return FromDriveMap(ReadDriveMap(prefix));
  if (home && *home) return FromDriveMap(ReadDriveMap(std::string(home) + "/.wine"));
  return FromDriveMap({});
}

}  // namespace qm
