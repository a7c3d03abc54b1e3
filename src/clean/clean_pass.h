// The clean pass: the body of a clean thread. It removes every item the scan
// registered in AppState::FoundItems, counts the bytes it actually freed,
// reports progress and the total on the status label, then empties the found
// items and the result list.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "scan/app_state.h"
#include "scan/results_view.h"

namespace qm {

// Any item whose path holds this text (exact bytes) is cleaned by emptying the
// recycle bin, whatever it names.
inline constexpr char kRecycleBinMarker[] = "C:\\$RECYCLE.BIN";

// Removes one found item: a path inside the recycle bin by emptying the
// recycle bin, a folder with EmptyDirectory, anything else as a file. Returns
// the bytes freed, measured before the removal and counted only when the
// removal went through completely; 0 when `stop` ended it part way.
int64_t CleanItem(Platform& platform, const std::string& path, const StopCheck& stop = {});

// Disables the clean button, cleans every found item in order (the status
// label shows the running total after every fifth), then shows the total,
// empties FoundItems and the list, and enables the button again. A stop
// request (the process is ending) ends the pass after the current file or
// folder entry, leaving the label, the list and FoundItems as they are.
void CleanPass(AppState& state, Platform& platform, ResultsView& view);

}  // namespace qm
