#include "scan/junk_scanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "scan_fixture.h"

namespace qm {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;
using Texts = std::vector<std::string>;

class JunkScannerTest : public testing::ScanTest {
 protected:
  // A junk folder with files, subfolders two levels deep, a dot file, a dot
  // folder and a link to a folder outside (6927 bytes below C:\T, link aside).
  void MakeJunkFolder() {
    prefix.FileOfSize("C:\\T\\a.log", 100);
    prefix.FileOfSize("C:\\T\\b.LOG", 200);
    prefix.FileOfSize("C:\\T\\c.txt", 50);
    prefix.FileOfSize("C:\\T\\.h.log", 7);
    prefix.FileOfSize("C:\\T\\Sub1\\x.log", 1000);
    prefix.FileOfSize("C:\\T\\Sub1\\Deep\\y.log", 5000);
    prefix.Folder("C:\\T\\Sub2");
    prefix.FileOfSize("C:\\T\\.dot\\z.log", 30);
    prefix.Folder("C:\\T\\.dot\\CacheZ");
    prefix.FileOfSize("C:\\T\\Cache\\data.bin", 400);
    prefix.FileOfSize("C:\\T\\Cache\\CacheX\\w.bin", 60);
    prefix.FileOfSize("C:\\T\\Other\\CacheY\\v.bin", 80);
    prefix.FileOfSize("C:\\Outside\\keep.log", 999);
    prefix.Link("C:\\T\\zlink", prefix.Host("C:\\Outside"));
  }

  std::string RowSizeAfterEvaluation() const { return view.Rows().back()[kColumnSize]; }
};

TEST_F(JunkScannerTest, MatchRulesRegisterAndMeasure) {
  MakeJunkFolder();
  const struct {
    const char* path;
    const char* rule;
    Texts items;  // below C:\T
    int64_t bytes;
  } cases[] = {
      {"C:\\T\\", "*.log<SFIL>", {".h.log", "a.log", "b.LOG"}, 307},
      {"C:\\T\\", "*.log<SFIL>text after the token", {".h.log", "a.log", "b.LOG"}, 307},
      {"C:\\T\\", "*<SFIL>", {".h.log", "a.log", "b.LOG", "c.txt", "zlink"}, 357},
      // One level down only, never into dot folders; the bytes found there count.
      {"C:\\T\\", "*.log<SFILS>", {".h.log", "a.log", "b.LOG", "Sub1\\x.log"}, 1307},
      {"C:\\T", "*.log<SFILS>", {".h.log", "a.log", "b.LOG", "Sub1\\x.log"}, 1307},
      // Folders measured whole; never ".", "..", a file or the link.
      {"C:\\T\\", "*<SDIR>", {".dot", "Cache", "Other", "Sub1", "Sub2"}, 6570},
      {"C:\\T\\", "Cache*<SDIR>", {"Cache"}, 460},
      // CacheX lies inside the matched Cache and is counted there already;
      // .dot\CacheZ is never searched.
      {"C:\\T\\", "Cache*<SDIRS>", {"Cache", "Cache\\CacheX", "Other\\CacheY"}, 540},
      {"C:\\T\\", "<SDIR>", {}, 0},
      {"C:\\T\\", "<SFILS>", {}, 0},
      {"C:\\T\\", "*.log<SFIL>|*.txt<SFIL>", {".h.log", "a.log", "b.LOG", "c.txt"}, 357},
      // A pattern naming a subfolder registers what it found there.
      {"C:\\T\\", "Sub1\\*.log<SFIL>", {"Sub1\\x.log"}, 1000},
      // A plain rule on a path ending in "\" names files in it.
      {"C:\\T\\", "*.txt", {"c.txt"}, 50},
      {"C:\\T\\", "", {}, 0},
      {"C:\\T\\missing\\", "*<SFIL>|*<SDIR>|*.log", {}, 0},
      {"", "|*<SFIL>|*<SDIRS>", {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " " + c.rule);
    state.FoundItems.clear();
    state.ScanTotalBytes = 0;
    Evaluate(c.path, c.rule);
    Texts expected;
    for (const std::string& item : c.items) expected.push_back("C:\\T\\" + item);
    EXPECT_THAT(state.FoundItems, UnorderedElementsAreArray(expected));
    EXPECT_EQ(state.ScanTotalBytes, c.bytes);
  }
}

TEST_F(JunkScannerTest, PlainRuleOnAPathWithoutBackslashTakesTheWholeFolder) {
  MakeJunkFolder();
  // The empty second rule registers the path itself; the folder's size then
  // replaces what the first rule added, and the first rule's items stay.
  Evaluate("C:\\T", "*.log<SFIL>||");
  EXPECT_THAT(state.FoundItems,
              UnorderedElementsAreArray(Texts{"C:\\T\\.h.log", "C:\\T\\a.log", "C:\\T\\b.LOG", "C:\\T"}));
  EXPECT_EQ(state.ScanTotalBytes, 6927);
  EXPECT_THAT(view.Calls(), ElementsAre("append 垃圾", "cell 0 1 正在搜索...", "cell 0 2 C:\\T",
                                        "cell 0 1 0.299805 KB", "cell 0 1 6.76465 KB",
                                        "status 正在扫描垃圾中...  目前发现 0.0066061 MB垃圾"));
}

TEST_F(JunkScannerTest, PlainRuleMatchingAFileRegistersThatFileWhereItLies) {
  MakeJunkFolder();
  prefix.FileOfSize("C:\\T\\aa.log", 10);  // what gluing the name to the path would name
  const struct {
    const char* path;
    const char* rule;
    const char* item;
  } cases[] = {
      {"C:\\T\\a.log", "|", "C:\\T\\a.log"},  // one empty match rule
      {"C:\\T\\a", ".log", "C:\\T\\a.log"},
      {"C:\\T\\Sub1", "\\x.log", "C:\\T\\Sub1\\x.log"},
      {"C:\\T\\Sub2", "|", "C:\\T\\Sub2"},  // no file matches: the path itself
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " " + c.rule);
    state.FoundItems.clear();
    Evaluate(c.path, c.rule);
    EXPECT_THAT(state.FoundItems, ElementsAre(c.item));
  }
}

TEST_F(JunkScannerTest, RowShowsTheRunningTotalAfterEachMatchRule) {
  MakeJunkFolder();
  Evaluate("C:\\T\\", "*.log<SFIL>|*.txt<SFIL>", "临时文件");
  EXPECT_THAT(view.Calls(),
              ElementsAre("append 临时文件", "cell 0 1 正在搜索...", "cell 0 2 C:\\T\\",
                          "cell 0 1 0.299805 KB", "cell 0 1 0.348633 KB",
                          "status 正在扫描垃圾中...  目前发现 0.000340462 MB垃圾"));
  // A second row adds to the status total.
  state.FoundItems.clear();
  prefix.FileOfSize("C:\\K\\k.bin", 1536);
  Evaluate("C:\\K\\", "*<SFIL>", "日志");
  EXPECT_EQ(RowSizeAfterEvaluation(), "1.5 KB");
  EXPECT_EQ(view.Statuses().back(), "正在扫描垃圾中...  目前发现 0.00180531 MB垃圾");
  EXPECT_EQ(view.Rows().size(), 2u);
}

TEST_F(JunkScannerTest, RowWithZeroBytesIsRemovedWhileItsItemsStay) {
  prefix.File("C:\\E\\one.tmp");
  prefix.File("C:\\E\\two.tmp");
  prefix.Folder("C:\\E\\empty");
  Evaluate("C:\\E\\", "*.tmp<SFIL>|*<SDIR>");
  EXPECT_THAT(state.FoundItems, ElementsAre("C:\\E\\one.tmp", "C:\\E\\two.tmp", "C:\\E\\empty"));
  EXPECT_THAT(view.Calls(), ElementsAre("append 垃圾", "cell 0 1 正在搜索...", "cell 0 2 C:\\E\\",
                                        "cell 0 1 0 KB", "cell 0 1 0 KB", "delete 0",
                                        "status 正在扫描垃圾中...  目前发现 0 MB垃圾"));
  EXPECT_THAT(view.Rows(), IsEmpty());

  // A record without match rules shows its row only while it is evaluated.
  Evaluate("C:\\E\\", "");
  EXPECT_THAT(view.Rows(), IsEmpty());
  EXPECT_EQ(view.Calls().back(), "status 正在扫描垃圾中...  目前发现 0 MB垃圾");
  EXPECT_EQ(state.FoundItems.size(), 3u);
}

TEST_F(JunkScannerTest, SizesBeyond32BitsAddUp) {
  prefix.File("C:\\Big\\three.bin");
  prefix.File("C:\\Big\\Inner\\two.bin");
  std::filesystem::resize_file(prefix.Host("C:\\Big\\three.bin"), 3LL << 30);
  std::filesystem::resize_file(prefix.Host("C:\\Big\\Inner\\two.bin"), 2LL << 30);
  Evaluate("C:\\Big\\", "*<SFILS>");
  EXPECT_EQ(state.ScanTotalBytes, 5LL << 30);
  EXPECT_EQ(RowSizeAfterEvaluation(), "5.24288e+006 KB");
  Evaluate("C:\\Big\\", "*<SDIR>");
  EXPECT_EQ(state.ScanTotalBytes, 7LL << 30);
  EXPECT_EQ(view.Statuses().back(), "正在扫描垃圾中...  目前发现 7168 MB垃圾");
}

// Stops the scan at the `stopAt`-th check and notes how far it had come.
struct StopPoint {
  int checks = 0;
  size_t items = 0;
  size_t calls = 0;
};

void StopAt(testing::RecordingView& view, const AppState& state, int stopAt, StopPoint& point) {
  view.OnStopCheck([&view, &state, &point, stopAt] {
    if (++point.checks != stopAt) return;
    view.RequestStop();
    point.items = state.FoundItems.size();
    point.calls = view.Calls().size();
  });
}

TEST_F(JunkScannerTest, StopEndsTheSearchAtTheEntryAtHand) {
  for (int d = 0; d < 40; ++d) {
    for (int f = 0; f < 25; ++f) {
      prefix.File("C:\\Big\\d" + std::to_string(100 + d) + "\\f" + std::to_string(f) + ".tmp", "x");
    }
  }
  StopPoint point;
  StopAt(view, state, 300, point);
  Evaluate("C:\\Big\\", "*.tmp<SFILS>|*<SDIR>");
  EXPECT_GT(point.items, 0u);
  EXPECT_EQ(state.FoundItems.size(), point.items);
  EXPECT_EQ(view.Calls().size(), point.calls);  // no further row or label updates
  EXPECT_EQ(view.StopChecks(), 300);            // and no further work to ask about
}

TEST_F(JunkScannerTest, StopEndsAFolderMeasurementEarly) {
  for (int f = 0; f < 2000; ++f) prefix.File("C:\\Big\\one\\f" + std::to_string(f), "x");
  StopPoint point;
  StopAt(view, state, 50, point);
  Evaluate("C:\\Big\\", "*<SDIR>");
  EXPECT_THAT(state.FoundItems, ElementsAre("C:\\Big\\one"));
  EXPECT_EQ(view.StopChecks(), 50);
  EXPECT_EQ(view.Calls().size(), point.calls);
}

}  // namespace
}  // namespace qm
