// Shared by the window tests: a prefix with junk in the folders of all four
// categories and a canary folder, a rules blob that names those folders, a
// platform that a test can hold in the middle of a pass, and ways to wait for
// the GUI thread.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "scan/app_state.h"
#include "support/forwarding_platform.h"
#include "support/temp_prefix.h"

class QMessageBox;
class QPoint;
class QTreeWidget;

namespace qm::testing {

// Category 0 "系统文件" finds the folders and files in C:\junk\sys\ (2 KB in
// all), category 1 C:\junk\reg\, category 2 "网页缓存" the files in
// C:\junk\web\ (3000 bytes), category 3 C:\junk\other\. Enciphered with the
// key carried in the program.
std::string TestRulesBlob();
// The blob of any document under that key.
std::string BlobOf(const std::string& document);

// Processes GUI events until `done` holds; false when 10 seconds pass first.
bool ProcessEventsUntil(const std::function<bool()>& done);
// The error box on the screen; null when none is shown.
QMessageBox* VisibleErrorBox();
// The paths (column 2) of the list's rows, top to bottom.
std::vector<std::string> RowPaths(const QTreeWidget& list);

// Forwards every call to the prefix's platform. A test can hold the scan in
// FolderSize, or the clean in its `holdDeleteAt`-th DeleteFile, until the
// stop check (for DeleteFile: `stopRequested`) answers true.
class HoldingPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;

  bool holdFolderSize = false;
  int holdDeleteAt = 0;  // 1-based; 0 holds none
  std::function<bool()> stopRequested;

  std::atomic<bool> held{false};          // a call is being held
  std::atomic<bool> releasedByStop{false};  // the hold ended because of a stop
  std::atomic<int> searches{0};           // FindFirst and FolderSize calls

  FileSearch FindFirst(const std::string& pattern, FindFilter filter) override;
  bool DeleteFile(const std::string& path) override;
  int64_t FolderSize(const std::string& path, const StopCheck& stop) override;

 private:
  // Waits until `stop` answers true (at most 10 seconds, so that a missing
  // stop check fails the test instead of hanging it).
  void Hold(const std::function<bool()>& stop);

  std::atomic<int> deletes_{0};
};

class AppTest : public ::testing::Test {
 protected:
  AppTest();

  TempPrefix prefix;
  std::unique_ptr<Platform> prefixPlatform = prefix.MakePlatform();
  HoldingPlatform platform{*prefixPlatform};
  AppState state;
  const std::string canary = prefix.Host("C:\\keep");
  std::string canaryBefore;  // Snapshot of the canary folder before the test
};

}  // namespace qm::testing
