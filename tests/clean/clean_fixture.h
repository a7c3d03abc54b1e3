// Shared fixture of the cleaner's tests: a temporary prefix holding junk below
// C:\Users\alice\AppData\Local\Temp and a canary tree outside it (documents,
// desktop, system files, and a folder outside the drive that links point at).
// Every test of the fixture ends by comparing the canary byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "support/temp_prefix.h"

namespace qm::testing {

inline constexpr char kTemp[] = "C:\\Users\\alice\\AppData\\Local\\Temp";
inline constexpr int64_t kMiB = 1024 * 1024;

class CleanFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_.File("C:\\Users\\alice\\Documents\\report.docx", "quarterly figures");
    prefix_.File("C:\\Users\\alice\\Documents\\.config\\settings.ini", "theme=dark");
    prefix_.FileOfSize("C:\\Users\\alice\\Desktop\\photo.jpg", 3000);
    prefix_.FileOfSize("C:\\windows\\system32\\kernel32.dll", 5000);
    prefix_.Folder(kTemp);
    std::filesystem::create_directories(Outside() + "/keep");
    std::filesystem::copy_file(prefix_.Host("C:\\Users\\alice\\Desktop\\photo.jpg"),
                               Outside() + "/keep/photo.jpg");
    platform_ = prefix_.MakePlatform();
    canary_ = Canary();
  }

  void TearDown() override { EXPECT_EQ(Canary(), canary_) << "the canary tree changed"; }

  // A host folder of the prefix outside every drive.
  std::string Outside() const { return prefix_.Root() + "/outside"; }
  std::string Host(const std::string& windowsPath) const { return prefix_.Host(windowsPath); }
  bool HostExists(const std::string& windowsPath) const {
    return std::filesystem::exists(std::filesystem::symlink_status(Host(windowsPath)));
  }
  bool HostIsEmptyFolder(const std::string& windowsPath) const {
    return std::filesystem::is_directory(std::filesystem::symlink_status(Host(windowsPath))) &&
           std::filesystem::is_empty(Host(windowsPath));
  }
  std::string Canary() const {
    return Snapshot(Host("C:\\Users\\alice\\Documents")) + Snapshot(Host("C:\\Users\\alice\\Desktop")) +
           Snapshot(Host("C:\\windows")) + Snapshot(Outside());
  }

  TempPrefix prefix_;
  std::unique_ptr<Platform> platform_;
  std::string canary_;
};

// Forwards every call to a real platform; CreateFolder runs `createFolder`
// instead when it is set, so a test can make a level fail or appear meanwhile.
class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& real) : real_(real) {}

  std::function<bool(const std::string&)> createFolder;

  bool Exists(const std::string& path) override { return real_.Exists(path); }
  int Attributes(const std::string& path) override { return real_.Attributes(path); }
  int64_t FileSize(const std::string& path) override { return real_.FileSize(path); }
  FileSearch FindFirst(const std::string& pattern, FindFilter filter) override {
    return real_.FindFirst(pattern, filter);
  }
  bool CreateFolder(const std::string& path) override {
    return createFolder ? createFolder(path) : real_.CreateFolder(path);
  }
  bool DeleteFile(const std::string& path) override { return real_.DeleteFile(path); }
  bool RemoveFolderTree(const std::string& path, const StopCheck& stop) override {
    return real_.RemoveFolderTree(path, stop);
  }
  bool ReadFile(const std::string& path, std::string* bytes) override {
    return real_.ReadFile(path, bytes);
  }
  int64_t FolderSize(const std::string& path, const StopCheck& stop) override {
    return real_.FolderSize(path, stop);
  }
  bool EmptyRecycleBin() override { return real_.EmptyRecycleBin(); }
  std::string UserName() override { return real_.UserName(); }
  std::string WindowsDirectory() override { return real_.WindowsDirectory(); }
  std::string SystemDirectory() override { return real_.SystemDirectory(); }

 private:
  Platform& real_;
};

}  // namespace qm::testing
