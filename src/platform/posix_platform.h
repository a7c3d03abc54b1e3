// The platform's file services and system facts on a POSIX system, over a
// drive map of Windows drive letters to host folders.
#pragma once

#include "platform/path_resolver.h"
#include "platform/platform.h"

namespace qm {

class PosixPlatform : public Platform {
 public:
  explicit PosixPlatform(const DriveMap& drives) : resolver_(drives) {}

  bool Exists(const std::string& path) override;
  int Attributes(const std::string& path) override;
  int64_t FileSize(const std::string& path) override;
  FileSearch FindFirst(const std::string& pattern, FindFilter filter) override;
  bool CreateFolder(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool RemoveFolderTree(const std::string& path, const StopCheck& stop) override;
  bool ReadFile(const std::string& path, std::string* bytes) override;
  int64_t FolderSize(const std::string& path, const StopCheck& stop) override;
  bool EmptyRecycleBin(const StopCheck& stop) override;
  std::string UserName() override;
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;

 private:
  // The status of the entry the path names, the drive root included.
  bool StatPath(const WindowsPath& parsed, struct stat* info);
  bool EmptyRecycleBinOf(char drive, const StopCheck& stop);

  PathResolver resolver_;
};

}  // namespace qm
