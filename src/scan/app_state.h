// The one process-wide state record, built before the first window and
// released by the exit routine. At most one worker thread uses it at a time.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "rules/rules_document.h"

namespace qm {

enum JunkCategory : int {
  kSystemJunk = 0,
  kRegistryJunk = 1,
  kBrowserJunk = 2,
  kOtherJunk = 3,
};

// Facts about the running system, filled when the main window is created.
struct SystemInfo {
  std::string UserName;
  std::string WindowsDirectory;  // no trailing backslash unless a drive root
  std::string SystemDirectory;
};

struct AppState {
  std::string RulesKey;  // 2048-byte key block of the rules decoder
  qm::SystemInfo SystemInfo;
  qm::RulesDocument RulesDocument;
  std::array<int32_t, 4> CategoryFlags{};  // 1 where a category's box was ticked
  std::thread WorkerThread;                // the worker started last
  std::vector<std::string> FoundItems;     // paths registered for cleaning
  int64_t ScanTotalBytes = 0;              // bytes found by the scan, never reset
};

}  // namespace qm
