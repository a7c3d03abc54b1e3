#include "scan/path_expander.h"

#include "platform/text.h"

namespace qm {

namespace {

bool Contains(const std::string& text, const std::string& what) {
  return text::Find(text, what) != -1;
}

std::string FirefoxProfiles(const SystemInfo& info) {
  return "C:\\Users\\" + info.UserName + "\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\";
}

// Lists the profile folders below `profilesFolder` into `profiles` and adds
// each default profile's `suffix` folder to `found`; the result becomes the
// list of found folders joined by "|" (empty when none qualified).
std::string ExpandFirefox(Platform& platform, const std::string& profilesFolder,
                          const std::string& suffix, std::vector<std::string>& profiles,
                          std::vector<std::string>& found, const StopCheck& stop) {
  if (ListSubfolders(platform, profilesFolder, profiles, stop) != 0) {
    for (const std::string& profile : profiles) {
      if (text::Right(profile, 8) == ".default") found.push_back(profile + suffix);
    }
  }
  return JoinTexts(found, "|");
}

}  // namespace

std::string ExpandPath(const SystemInfo& info, Platform& platform, const std::string& pathTemplate,
                       const StopCheck& stop) {
  std::string result = pathTemplate;
  // Shared by the recycle bin and both Firefox steps, never cleared between them.
  std::vector<std::string> foundFolders;
  std::vector<std::string> profileFolders;

  // Each step asks whether its placeholder was in the template as given, so
  // a text inserted by an earlier step never triggers a later one.
  if (Contains(pathTemplate, "<USER>")) {
    result = text::Replace(result, "<USER>", "C:\\Users\\" + info.UserName);
  }
  if (Contains(pathTemplate, "<WIN>")) {
    result = text::Replace(result, "<WIN>", info.WindowsDirectory);
  }
  if (Contains(pathTemplate, "<SYSTEM>")) {
    result = text::Replace(result, "<SYSTEM>", info.SystemDirectory);
  }
  if (Contains(pathTemplate, "<RECYCLEBIN>")) {
    result = text::Replace(result, "<RECYCLEBIN>", "C:\\$RECYCLE.BIN\\");
    ListSubfolders(platform, result, foundFolders, stop);
    if (!foundFolders.empty()) result = JoinTexts(foundFolders, "|");
  }
  if (Contains(pathTemplate, "<FIREFOX^1>")) {
    result = text::Replace(result, "<FIREFOX^1>", FirefoxProfiles(info));
    result = ExpandFirefox(platform, result, "\\cache2\\entries\\", profileFolders, foundFolders,
                           stop);
  }
  if (Contains(pathTemplate, "<FIREFOX^2>")) {
    result = text::Replace(result, "<FIREFOX^2>", FirefoxProfiles(info));
    result = ExpandFirefox(platform, result, "\\thumbnails\\", profileFolders, foundFolders, stop);
  }
  return text::Replace(result, "\\\\", "\\");
}

int ListSubfolders(Platform& platform, const std::string& folder,
                   std::vector<std::string>& folders, const StopCheck& stop) {
  // An empty text names no folder (it would otherwise list the drive's root).
  if (folder.empty()) return 0;
  const std::string base = WithTrailingBackslash(folder);
  FileSearch search = platform.FindFirst(base + "*.*", FindFilter::kFolders);
  int count = 0;
  FindEntry entry;
  while (search.Next(&entry)) {
    // Drops "." and ".." along with every dot folder.
    if (!entry.name.starts_with('.')) {
      folders.push_back(base + entry.name);
      ++count;
    }
    if (stop && stop()) break;
  }
  search.Close();
  return count;
}

std::string WithTrailingBackslash(const std::string& folder) {
  return text::Right(folder, 1) == "\\" ? folder : folder + "\\";
}

std::string JoinTexts(const std::vector<std::string>& texts, const std::string& separator) {
  std::string joined;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += texts[i];
  }
  return joined;
}

}  // namespace qm
