// A fixture for the file-service tests: a fresh prefix in a temporary folder,
// the platform over its drive C, and a canary folder next to the drive (inside
// the prefix, outside every drive) that no service may ever change.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/temp_prefix.h"

namespace qm::testing {

// Sets an environment variable (or unsets it, for null) for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    if (old) old_ = old;
    hadOld_ = old != nullptr;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (hadOld_) {
      setenv(name_.c_str(), old_.c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_, old_;
  bool hadOld_ = false;
};

class PrefixTest : public ::testing::Test {
 protected:
  PrefixTest() {
    WriteHostFile(Outside() + "/canary.txt", "do not touch");
    WriteHostFile(Outside() + "/deep/canary2.txt", "nor this");
  }

  // A host folder outside the drive, holding canary files.
  std::string Outside() const { return prefix.Root() + "/outside"; }

  // A stop check that, the first time it is asked, moves the folder at
  // `windowsPath` away and puts a link to Outside() in its place; it never
  // asks to stop. Shows that a walk under way does not follow the swap.
  StopCheck SwapForLinkOnFirstCheck(const std::string& windowsPath) {
    return [this, windowsPath, swapped = false]() mutable {
      if (!swapped) {
        std::filesystem::rename(prefix.Host(windowsPath), prefix.Root() + "/moved");
        std::filesystem::create_directory_symlink(Outside(), prefix.Host(windowsPath));
        swapped = true;
      }
      return false;
    };
  }

  // Names in a search, in order.
  static std::vector<std::string> Names(FileSearch search) {
    std::vector<std::string> names;
    FindEntry entry;
    while (search.Next(&entry)) names.push_back(entry.name);
    return names;
  }

  TempPrefix prefix;
  std::unique_ptr<Platform> platform = prefix.MakePlatform();
};

}  // namespace qm::testing
