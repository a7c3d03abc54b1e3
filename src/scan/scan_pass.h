// The scan pass: the body of the scan thread. Loads the rules afresh on the
// calling thread, walks the rule records of the ticked categories that have
// scan work (system junk, then browser junk), expands each record's path and
// evaluates the record once per path, then shows the grand total and enables
// the clean button.
#pragma once

#include <string>

#include "platform/platform.h"
#include "scan/app_state.h"
#include "scan/results_view.h"

namespace qm {

// `rulesBlob` is the enciphered rules document, normally EmbeddedRulesBlob().
// A blob that does not decode and load shows "载入配置失败！" and changes
// nothing else. A stop request ends the pass at once, with no final texts.
void ScanPass(AppState& state, Platform& platform, ResultsView& view, const std::string& rulesBlob);

}  // namespace qm
