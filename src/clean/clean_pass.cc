#include "clean/clean_pass.h"

#include "clean/path_guard.h"
#include "platform/text.h"
#include "scan/sizes.h"

namespace qm {

int64_t CleanItem(Platform& platform, const std::string& path, const StopCheck& stop) {
  auto stopped = [&stop] { return stop && stop(); };

  if (text::Find(path, kRecycleBinMarker) != -1) {
    int64_t size = FolderSize(platform, path, stop);
    if (stopped()) return 0;
    // Counted only when the recycle bin reports that all of it went.
    return platform.EmptyRecycleBin(stop) ? size : 0;
  }

  // One look-up measures a file: -1 for a vanished item (a path listed twice,
  // or one inside a folder already emptied), 0 for anything but a file with
  // content. Only a 0 needs a second look, to tell a folder from an empty file
  // or a link.
  int64_t size = platform.FileSize(path);
  if (size < 0) return 0;
  if (size == 0 && IsExistingDirectory(platform, path)) {
    int64_t folderSize = FolderSize(platform, path, stop);
    if (stopped()) return 0;
    return EmptyDirectory(platform, path, stop) ? folderSize : 0;
  }
  return RemoveFile(platform, path) ? size : 0;
}

void CleanPass(AppState& state, Platform& platform, ResultsView& view) {
  view.EnableCleanButton(false);
  const StopCheck stop = [&view] { return view.StopRequested(); };
  const size_t count = state.FoundItems.size();
  int64_t cleanedBytes = 0;
  for (size_t i = 1; i <= count; ++i) {
    cleanedBytes += CleanItem(platform, state.FoundItems[i - 1], stop);
    if (view.StopRequested()) return;
    if (i % 5 == 0) {
      view.SetStatus("垃圾清理中...  目前成功清理 " + MegabytesText(cleanedBytes) + " MB垃圾");
    }
  }
  view.SetStatus("清理完成！  成功清理 " + MegabytesText(cleanedBytes) + " MB垃圾");
  state.FoundItems.clear();
  view.DeleteAllRows();
  view.EnableCleanButton(true);
}

}  // namespace qm
