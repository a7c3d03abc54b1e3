// A Platform that forwards every call to another one, so that a test can
// override the one service it needs to watch, hold or break and keep the rest.
#pragma once

#include <string>

#include "platform/platform.h"

namespace qm::testing {

class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& target) : target_(target) {}

  bool Exists(const std::string& path) override { return target_.Exists(path); }
  int Attributes(const std::string& path) override { return target_.Attributes(path); }
  int64_t FileSize(const std::string& path) override { return target_.FileSize(path); }
  FileSearch FindFirst(const std::string& pattern, FindFilter filter) override {
    return target_.FindFirst(pattern, filter);
  }
  bool CreateFolder(const std::string& path) override { return target_.CreateFolder(path); }
  bool DeleteFile(const std::string& path) override { return target_.DeleteFile(path); }
  bool RemoveFolderTree(const std::string& path, const StopCheck& stop) override {
    return target_.RemoveFolderTree(path, stop);
  }
  bool ReadFile(const std::string& path, std::string* bytes) override {
    return target_.ReadFile(path, bytes);
  }
  int64_t FolderSize(const std::string& path, const StopCheck& stop) override {
    return target_.FolderSize(path, stop);
  }
  bool EmptyRecycleBin(const StopCheck& stop) override { return target_.EmptyRecycleBin(stop); }
  std::string UserName() override { return target_.UserName(); }
  std::string WindowsDirectory() override { return target_.WindowsDirectory(); }
  std::string SystemDirectory() override { return target_.SystemDirectory(); }

 protected:
  Platform& target_;
};

}  // namespace qm::testing
