#include "scan/junk_scanner.h"

#include <algorithm>
#include <unordered_set>

#include "platform/text.h"
#include "scan/path_expander.h"
#include "scan/sizes.h"

namespace qm {

bool ScanContext::Stopped() {
  if (!stopped_) stopped_ = view.StopRequested();
  return stopped_;
}

StopCheck ScanContext::StopCheckForWalks() {
  return [this] { return Stopped(); };
}

namespace {

enum class MatchKind { kFolders, kFoldersOneLevelDown, kFiles, kFilesOneLevelDown, kPlain };

struct MatchRule {
  MatchKind kind;
  std::string pattern;  // the text before the token, or the whole plain rule
};

// The kind is decided by the first token found in this order; "<SDIR>" never
// occurs inside "<SDIRS>", nor "<SFIL>" inside "<SFILS>".
MatchRule ParseMatchRule(const std::string& rule) {
  static const struct {
    const char* token;
    MatchKind kind;
  } kTokens[] = {
      {"<SDIR>", MatchKind::kFolders},
      {"<SDIRS>", MatchKind::kFoldersOneLevelDown},
      {"<SFIL>", MatchKind::kFiles},
      {"<SFILS>", MatchKind::kFilesOneLevelDown},
  };
  for (const auto& token : kTokens) {
    int at = text::Find(rule, token.token);
    if (at != -1) return {token.kind, text::Left(rule, at - 1)};
  }
  return {MatchKind::kPlain, rule};
}

// The folder a search pattern looks in: its bytes up to and including the last
// separator. Found names belong there, also when the pattern itself names a
// subfolder ("Cache\*").
std::string SearchedFolder(const std::string& searchPattern) {
  int end = 0;
  for (const char* separator : {"\\", "/"}) {
    for (int at = text::Find(searchPattern, separator); at != -1;
         at = text::Find(searchPattern, separator, at + 1)) {
      end = std::max(end, at);
    }
  }
  return text::Left(searchPattern, end);
}

// The matches of `pattern` directly in `folder` (and, with `withSubfolders`,
// one level down), registered and measured; see MatchFolders and MatchFiles.
int64_t MatchEntries(ScanContext& scan, const std::string& folder, const std::string& pattern,
                     bool folders, bool withSubfolders) {
  const std::string base = WithTrailingBackslash(folder);
  int64_t total = 0;
  std::unordered_set<std::string> matchedFolders;
  // An empty pattern would search the bare folder path, which matches nothing.
  if (!pattern.empty()) {
    const std::string searchPattern = base + pattern;
    const std::string searched = SearchedFolder(searchPattern);
    FileSearch matches = scan.platform.FindFirst(
        searchPattern, folders ? FindFilter::kFolders : FindFilter::kNonFolders);
    FindEntry entry;
    while (matches.Next(&entry)) {
      if (entry.name == "." || entry.name == "..") continue;
      RegisterFoundItem(scan.state, searched, entry.name);
      if (folders) {
        const std::string path = searched + entry.name;
        total += FolderSize(scan.platform, path, scan.StopCheckForWalks());
        matchedFolders.insert(path);
      } else {
        total += entry.size;  // what FileSize would say, without a second look-up
      }
      if (scan.Stopped()) return total;
    }
  }
  if (!withSubfolders) return total;

  FileSearch subfolders = scan.platform.FindFirst(base + "*.*", FindFilter::kFolders);
  FindEntry subfolder;
  while (subfolders.Next(&subfolder)) {
    if (!subfolder.name.starts_with('.')) {
      const std::string path = base + subfolder.name;
      int64_t below = MatchEntries(scan, path, pattern, folders, false);
      // A matched folder was measured whole: what lies inside is counted already.
      if (!matchedFolders.contains(path)) total += below;
    }
    if (scan.Stopped()) break;
  }
  return total;
}

// A plain rule on a path without a trailing "\": the path itself is the junk
// item, and the row's total becomes the path's folder size. When a file
// matches the path followed by the rule's text, that file is the item, named
// where it lies: gluing its name to the path would name another entry. An
// empty path names nothing and registers nothing.
int64_t MatchWholePath(ScanContext& scan, const std::string& path, const std::string& rule) {
  if (path.empty()) return 0;
  const std::string searchPattern = path + rule;
  FileSearch search = scan.platform.FindFirst(searchPattern, FindFilter::kNonFolders);
  FindEntry entry;
  if (search.Next(&entry)) {
    RegisterFoundItem(scan.state, SearchedFolder(searchPattern), entry.name);
  } else {
    RegisterFoundItem(scan.state, path);
  }
  return FolderSize(scan.platform, path, scan.StopCheckForWalks());
}

}  // namespace

void EvaluateRule(ScanContext& scan, const JunkRule& rule) {
  const std::string path = rule.Path;
  ResultsView& view = scan.view;
  const int row = view.AppendRow(rule.Name);
  view.SetCell(row, kColumnSize, "正在搜索...");
  view.SetCell(row, kColumnPath, rule.Path);

  int64_t rowTotal = 0;
  for (const std::string& piece : text::Split(rule.Rule, "|")) {
    MatchRule match = ParseMatchRule(piece);
    switch (match.kind) {
      case MatchKind::kFolders:
        rowTotal += MatchFolders(scan, path, match.pattern, false);
        break;
      case MatchKind::kFoldersOneLevelDown:
        rowTotal += MatchFolders(scan, path, match.pattern, true);
        break;
      case MatchKind::kFiles:
        rowTotal += MatchFiles(scan, path, match.pattern, false);
        break;
      case MatchKind::kFilesOneLevelDown:
        rowTotal += MatchFiles(scan, path, match.pattern, true);
        break;
      case MatchKind::kPlain:
        // On a folder path ending in "\" the text names files in it, exactly
        // as the same text followed by "<SFIL>". Otherwise the earlier rules'
        // bytes give way to the folder's size (their items stay registered).
        if (text::Right(path, 1) == "\\") {
          rowTotal += MatchFiles(scan, path, match.pattern, false);
        } else {
          rowTotal = MatchWholePath(scan, path, match.pattern);
        }
        break;
    }
    if (scan.Stopped()) return;
    view.SetCell(row, kColumnSize, KilobytesText(rowTotal) + " KB");
  }

  if (rowTotal == 0) view.DeleteRow(row);
  scan.state.ScanTotalBytes += rowTotal;
  view.SetStatus("正在扫描垃圾中...  目前发现 " + MegabytesText(scan.state.ScanTotalBytes) +
                 " MB垃圾");
}

int64_t MatchFolders(ScanContext& scan, const std::string& folder, const std::string& pattern,
                     bool withSubfolders) {
  return MatchEntries(scan, folder, pattern, true, withSubfolders);
}

int64_t MatchFiles(ScanContext& scan, const std::string& folder, const std::string& pattern,
                   bool withSubfolders) {
  return MatchEntries(scan, folder, pattern, false, withSubfolders);
}

void RegisterFoundItem(AppState& state, const std::string& folder, const std::string& name) {
  state.FoundItems.push_back(folder + name);
}

}  // namespace qm
