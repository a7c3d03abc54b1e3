// Expansion of the path templates of the rules: placeholders for the user's
// profile, the Windows and system folders, and the folder sets found on disk
// (per-user recycle-bin folders, Firefox profiles), joined by "|".
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "scan/app_state.h"

namespace qm {

// The template with its placeholders replaced: one path, several joined by
// "|", or the empty text. Never fails. `stop` is asked after every folder entry
// listed; once it is true the listing ends and the result is incomplete.
std::string ExpandPath(const SystemInfo& info, Platform& platform, const std::string& pathTemplate,
                       const StopCheck& stop = {});

// Appends to `folders` the full path of every subfolder of `folder` whose name
// does not begin with "." and returns how many it appended; 0 for a folder
// that is missing or cannot be listed.
int ListSubfolders(Platform& platform, const std::string& folder,
                   std::vector<std::string>& folders, const StopCheck& stop = {});

// The folder path ending in a backslash (appended when missing).
std::string WithTrailingBackslash(const std::string& folder);

// The texts in order with `separator` between each two.
std::string JoinTexts(const std::vector<std::string>& texts, const std::string& separator);

}  // namespace qm
