// The process around its one AppState: start-up, the two windows in turn, and
// the release of the state at the end.
#pragma once

#include <string>

#include "platform/platform.h"

namespace qm {

// Runs the program on an existing QApplication: builds the state, copies the
// rules key into it, shows the main window modally, then runs the message
// loop while the results window lives. Every way out (the main window closed
// or left by its exit button, the results window closed during a scan, a
// clean or neither) returns here, and the state is released once, after the
// worker has returned. `rulesBlob` is normally EmbeddedRulesBlob(). Returns
// the exit code, 0.
int RunQuillmoder(Platform& platform, const std::string& rulesBlob);

}  // namespace qm
