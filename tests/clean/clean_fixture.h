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
#include "support/forwarding_platform.h"
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
  std::string Canary() const {
    return Snapshot(Host("C:\\Users\\alice\\Documents")) + Snapshot(Host("C:\\Users\\alice\\Desktop")) +
           Snapshot(Host("C:\\windows")) + Snapshot(Outside());
  }

  TempPrefix prefix_;
  std::unique_ptr<Platform> platform_;
  std::string canary_;
};

// The platform of a prefix whose CreateFolder runs `createFolder` instead when
// it is set, so that a test can make a level fail or appear meanwhile.
class CreateFolderHook : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;

  std::function<bool(const std::string&)> createFolder;

  bool CreateFolder(const std::string& path) override {
    return createFolder ? createFolder(path) : ForwardingPlatform::CreateFolder(path);
  }
};

}  // namespace qm::testing
