// Rule evaluation: one rule record applied to one expanded path. Each match
// rule of the record's Rule finds junk items, registers them in FoundItems for
// the clean pass, and adds their bytes to one result row and to the scan total.
//
// Match rules are "|"-separated. A token rule is a wildcard pattern followed by
// a token; text after the token is ignored:
//   "<SDIR>"  folders in the path matching the pattern, measured whole
//   "<SDIRS>" the same, and the same search one level down in each subfolder
//   "<SFIL>"  files in the path matching the pattern
//   "<SFILS>" the same, and the same search one level down in each subfolder
// A rule without a token is plain: on a path ending in "\" it names files in
// the path; on any other path the path itself is the junk item.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "rules/rules_document.h"
#include "scan/app_state.h"
#include "scan/results_view.h"

namespace qm {

// What one scan works on: the state it fills, the platform it searches and the
// window it reports to. Remembers a stop request once the view has made one.
struct ScanContext {
  ScanContext(AppState& state, Platform& platform, ResultsView& view)
      : state(state), platform(platform), view(view) {}

  AppState& state;
  Platform& platform;
  ResultsView& view;

  // True once the view asked the scan to stop; the scan then returns at once.
  bool Stopped();
  // The same question for the platform's long walks.
  StopCheck StopCheckForWalks();

 private:
  bool stopped_ = false;
};

// Applies every match rule of `rule.Rule` to the single path `rule.Path`: adds
// a row (removed again when it found exactly 0 bytes), registers the matches,
// adds the row's bytes to ScanTotalBytes and rewrites the status label.
void EvaluateRule(ScanContext& scan, const JunkRule& rule);

// Registers the folders directly in `folder` whose names match `pattern` and
// returns their bytes. With `withSubfolders` the same search runs in every
// immediate subfolder not named with a leading "."; its bytes are added unless
// that subfolder was matched itself (and so is counted already).
int64_t MatchFolders(ScanContext& scan, const std::string& folder, const std::string& pattern,
                     bool withSubfolders);
// The same for files; the bytes of the one-level-down searches are added.
int64_t MatchFiles(ScanContext& scan, const std::string& folder, const std::string& pattern,
                   bool withSubfolders);

// Appends `folder` + `name`, with no separator inserted, to FoundItems.
void RegisterFoundItem(AppState& state, const std::string& folder, const std::string& name = "");

}  // namespace qm
