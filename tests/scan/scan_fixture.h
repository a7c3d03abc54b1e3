// A scan over a prefix in a temporary folder: the process state, a recording
// view and the scan context that ties them to the prefix's platform.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "scan/app_state.h"
#include "scan/junk_scanner.h"
#include "support/recording_view.h"
#include "support/temp_prefix.h"

namespace qm::testing {

class ScanTest : public ::testing::Test {
 protected:
  // The rule record `name` evaluated on the single path `path`.
  void Evaluate(const std::string& path, const std::string& rule, const std::string& name = "垃圾") {
    EvaluateRule(scan, JunkRule{name, path, rule, 0});
  }

  TempPrefix prefix;
  std::unique_ptr<Platform> platform = prefix.MakePlatform();
  AppState state;
  RecordingView view;
  ScanContext scan{state, *platform, view};
};

}  // namespace qm::testing
