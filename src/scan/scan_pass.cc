#include "scan/scan_pass.h"

#include <vector>

#include "platform/text.h"
#include "rules/rules_decoder.h"
#include "scan/junk_scanner.h"
#include "scan/path_expander.h"
#include "scan/sizes.h"

namespace qm {

namespace {

// Registry junk and other junk have no scan work: ticking them scans nothing.
bool HasScanWork(int category) { return category == kSystemJunk || category == kBrowserJunk; }

// Every group of the category, record by record and path by path, in document
// order. False when the scan was asked to stop.
bool ScanCategory(ScanContext& scan, int category) {
  RulesDocument& rules = scan.state.RulesDocument;
  const int groups = rules.GroupCount(category);  // 0 or -1 when there are none
  std::vector<JunkRule> records;
  for (int group = 0; group < groups; ++group) {
    rules.ReadGroupRules(category, group, records);
    for (JunkRule& record : records) {
      const std::string expanded =
          ExpandPath(scan.state.SystemInfo, scan.platform, record.Path, scan.StopCheckForWalks());
      // Inner empty pieces stay: each is evaluated as an empty path.
      for (const std::string& path : text::Split(expanded, "|")) {
        if (scan.Stopped()) return false;
        record.Path = path;
        EvaluateRule(scan, record);
      }
      if (scan.Stopped()) return false;
    }
  }
  return true;
}

}  // namespace

void ScanPass(AppState& state, Platform& platform, ResultsView& view, const std::string& rulesBlob) {
  // Loading replaces the document's engine with one made on this thread.
  if (!state.RulesDocument.LoadBytes(RulesDecoder(rulesBlob, state.RulesKey))) {
    view.ShowError("载入配置失败！", "错误");
    return;
  }
  ScanContext scan(state, platform, view);
  for (int category = kSystemJunk; category <= kOtherJunk; ++category) {
    if (state.CategoryFlags[category] != 1 || !HasScanWork(category)) continue;
    if (!ScanCategory(scan, category)) return;
  }
  view.SetStatus("扫描完成！  共发现 " + MegabytesText(state.ScanTotalBytes) + " MB垃圾");
  view.EnableCleanButton(true);
}

}  // namespace qm
