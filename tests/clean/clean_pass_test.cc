#include "clean/clean_pass.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "clean/clean_fixture.h"
#include "support/recording_view.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;

std::string Progress(const std::string& megabytes) {
  return "垃圾清理中...  目前成功清理 " + megabytes + " MB垃圾";
}
std::string Final(const std::string& megabytes) {
  return "清理完成！  成功清理 " + megabytes + " MB垃圾";
}

class CleanPassTest : public CleanFixture {
 protected:
  // Runs the pass over `items`; returns the calls the view recorded.
  std::vector<std::string> Clean(const std::vector<std::string>& items, Platform* platform = nullptr) {
    state_.FoundItems = items;
    CleanPass(state_, platform ? *platform : *platform_, view_);
    return view_.Calls();
  }
  // The calls of a pass that ran to its end with the total `megabytes`.
  static std::vector<std::string> Finished(const std::string& megabytes) {
    return {"button 0", "status " + Final(megabytes), "clear", "button 1"};
  }
  std::string Item(const std::string& name) const { return std::string(kTemp) + "\\" + name; }

  AppState state_;
  RecordingView view_;
};

TEST_F(CleanPassTest, EmptyListGivesTheFinalTextAtOnce) {
  EXPECT_EQ(Clean({}), Finished("0"));
}

TEST_F(CleanPassTest, ProgressAfterEveryFifthItemThenTheTotal) {
  std::vector<std::string> items;
  for (int i = 1; i <= 12; ++i) {
    items.push_back(Item("f" + std::to_string(i) + ".tmp"));
    prefix_.FileOfSize(items.back(), kMiB);
  }
  const std::vector<std::string> expected = {
      "button 0",
      "status 垃圾清理中...  目前成功清理 5 MB垃圾",
      "status 垃圾清理中...  目前成功清理 10 MB垃圾",
      "status 清理完成！  成功清理 12 MB垃圾",
      "clear",
      "button 1",
  };
  EXPECT_EQ(Clean(items), expected);
  EXPECT_TRUE(state_.FoundItems.empty());
  EXPECT_TRUE(prefix_.IsEmptyFolder(kTemp));
}

TEST_F(CleanPassTest, PathListedTwiceCountsOnce) {
  prefix_.FileOfSize(Item("a.tmp"), kMiB);
  prefix_.FileOfSize(Item("cache\\b.tmp"), kMiB);
  prefix_.FileOfSize(Item("cache\\sub\\c.tmp"), kMiB);
  // The folder's inner item is registered too, as a search one level down does.
  EXPECT_EQ(Clean({Item("a.tmp"), Item("cache"), Item("a.tmp"), Item("cache\\b.tmp"), Item("cache")}),
            (std::vector<std::string>{"button 0", "status " + Progress("3"), "status " + Final("3"),
                                      "clear", "button 1"}));
  EXPECT_TRUE(prefix_.IsEmptyFolder(Item("cache"))) << "a removed folder ends existing and empty";
  EXPECT_FALSE(prefix_.Exists(Item("a.tmp")));
}

TEST_F(CleanPassTest, FolderWithForwardSlashesIsRemovedAndCounted) {
  prefix_.FileOfSize(Item("fwd\\a.tmp"), kMiB);
  EXPECT_EQ(Clean({"C:/Users/alice/AppData/Local/Temp/fwd"}), Finished("1"));
  EXPECT_FALSE(prefix_.Exists(Item("fwd")));
}

TEST_F(CleanPassTest, DriveRootsAreRefusedAndNothingIsDeleted) {
  prefix_.FileOfSize(Item("a.tmp"), kMiB);
  prefix_.FileOfSize("C:\\pagefile.sys", kMiB);
  const std::string drive = Snapshot(Host("C:\\"));
  EXPECT_EQ(Clean({"C:", "C:\\", "c:\\", "C:/", "C:\\\\", "C://", "C:\\/"}),
            (std::vector<std::string>{"button 0", "status " + Progress("0"), "status " + Final("0"),
                                      "clear", "button 1"}));
  EXPECT_EQ(Snapshot(Host("C:\\")), drive);
}

TEST_F(CleanPassTest, LinkInsideAJunkFolderGoesAndItsTargetStays) {
  prefix_.FileOfSize(Item("cache\\a.tmp"), kMiB);
  prefix_.Link(Item("cache\\documents"), Host("C:\\Users\\alice\\Documents"));
  prefix_.Link(Item("cache\\outside"), Outside());
  EXPECT_EQ(Clean({Item("cache")}), Finished("1"));
  EXPECT_TRUE(prefix_.IsEmptyFolder(Item("cache")));
}

TEST_F(CleanPassTest, FolderSwappedForALinkAfterTheScanIsNotFollowed) {
  // What the scan registered: files inside two folders, then the folders;
  // since then both folders were swapped for links to the canary.
  const std::vector<std::string> items = {Item("cache\\photo.jpg"), Item("logs\\keep\\photo.jpg"),
                                          Item("cache"), Item("logs")};
  prefix_.Link(Item("cache"), Host("C:\\Users\\alice\\Desktop"));
  prefix_.Link(Item("logs"), Outside());
  EXPECT_EQ(Clean(items), Finished("0"));
  // The links themselves were the items: removed as links.
  EXPECT_FALSE(prefix_.Exists(Item("cache")));
  EXPECT_FALSE(prefix_.Exists(Item("logs")));
}

// Another program swaps the junk folder for a link after the pass measured it.
class SwapAfterMeasure : public ForwardingPlatform {
 public:
  SwapAfterMeasure(Platform& real, std::function<void()> swap)
      : ForwardingPlatform(real), swap_(std::move(swap)) {}
  int64_t FolderSize(const std::string& path, const StopCheck& stop) override {
    int64_t size = ForwardingPlatform::FolderSize(path, stop);
    if (swap_) std::exchange(swap_, nullptr)();
    return size;
  }

 private:
  std::function<void()> swap_;
};

TEST_F(CleanPassTest, FolderSwappedForALinkDuringTheCleanIsNotFollowed) {
  prefix_.FileOfSize(Item("cache\\a.tmp"), kMiB);
  SwapAfterMeasure swapping(*platform_, [this] {
    fs::rename(Host(Item("cache")), Host(Item("moved")));
    prefix_.Link(Item("cache"), Host("C:\\Users\\alice\\Documents"));
  });
  EXPECT_EQ(Clean({Item("cache")}, &swapping), Finished("0"));
  EXPECT_TRUE(prefix_.Exists(Item("moved\\a.tmp")));
}

TEST_F(CleanPassTest, FolderThatKeepsAnEntryIsNotCounted) {
  prefix_.FileOfSize(Item("ro\\a.tmp"), kMiB);
  prefix_.FileOfSize(Item("ro\\locked.dat"), kMiB);
  prefix_.Chmod(Item("ro\\locked.dat"), 0444);
  prefix_.FileOfSize(Item("dot\\a.tmp"), kMiB);
  prefix_.FileOfSize(Item("dot\\.lock"), kMiB);
  prefix_.FileOfSize(Item("locked.tmp"), kMiB);
  prefix_.Chmod(Item("locked.tmp"), 0444);

  EXPECT_EQ(Clean({Item("ro"), Item("dot"), Item("locked.tmp")}), Finished("0"));
  EXPECT_TRUE(prefix_.Exists(Item("ro\\locked.dat")));
  EXPECT_TRUE(prefix_.Exists(Item("dot\\.lock")));
  EXPECT_TRUE(prefix_.Exists(Item("locked.tmp")));
  EXPECT_FALSE(prefix_.Exists(Item("ro\\a.tmp")));
  EXPECT_FALSE(prefix_.Exists(Item("dot\\a.tmp")));
}

class RecycleBinTest : public CleanPassTest {
 protected:
  void SetUp() override {
    CleanPassTest::SetUp();
    prefix_.FileOfSize("C:\\$RECYCLE.BIN\\S-1-5-21-1001\\$RA1B2C3.tmp", kMiB);
    prefix_.FileOfSize("C:\\$RECYCLE.BIN\\S-1-5-21-1002\\$RD4E5F6.tmp", kMiB);
  }
};

TEST_F(RecycleBinTest, ItemInsideIsCleanedByEmptyingTheWholeBin) {
  // Each item measures what is left of its own folder; the bin is emptied once
  // for each, so the second finds nothing.
  EXPECT_EQ(Clean({"C:\\$RECYCLE.BIN\\S-1-5-21-1001", "C:\\$RECYCLE.BIN\\S-1-5-21-1002"}),
            Finished("1"));
  EXPECT_TRUE(prefix_.IsEmptyFolder("C:\\$RECYCLE.BIN\\S-1-5-21-1001"));
  EXPECT_TRUE(prefix_.IsEmptyFolder("C:\\$RECYCLE.BIN\\S-1-5-21-1002"));
}

TEST_F(RecycleBinTest, SizeIsNotCountedWhenTheBinCannotBeEmptied) {
  // A name no Windows path can hold: invisible to the platform, so it stays.
  prefix_.File("C:\\$RECYCLE.BIN\\S-1-5-21-1002\\notes|v2.txt", "stays");
  EXPECT_EQ(Clean({"C:\\$RECYCLE.BIN\\S-1-5-21-1001"}), Finished("0"));
  EXPECT_TRUE(prefix_.IsEmptyFolder("C:\\$RECYCLE.BIN\\S-1-5-21-1001"));
}

TEST_F(RecycleBinTest, MarkerInOtherLetterCaseIsAnOrdinaryFolder) {
  EXPECT_EQ(Clean({"c:\\$recycle.bin\\S-1-5-21-1001"}), Finished("1"));
  EXPECT_TRUE(prefix_.IsEmptyFolder("C:\\$RECYCLE.BIN\\S-1-5-21-1001"));
  EXPECT_TRUE(prefix_.Exists("C:\\$RECYCLE.BIN\\S-1-5-21-1002\\$RD4E5F6.tmp"));
}

// Files left in a host folder.
int CountFiles(const std::string& hostFolder) {
  int count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(hostFolder)) {
    count += entry.is_regular_file();
  }
  return count;
}

class StopTest : public CleanPassTest {
 protected:
  static constexpr int kFiles = 200;
  void SetUp() override {
    CleanPassTest::SetUp();
    prefix_.FileOfSize(Item("a.tmp"), kMiB);
    for (int i = 0; i < kFiles; ++i) prefix_.FileOfSize(Item("big\\f" + std::to_string(i)), 1000);
    prefix_.FileOfSize(Item("after.tmp"), kMiB);
  }
  // Requests the stop once the removal of "big" has deleted a quarter of it,
  // remembering how many files were left at that moment.
  void StopInsideTheRemoval(const std::function<void()>& requestStop) {
    view_.OnStopCheck([this, requestStop] {
      if (leftAtStop_ < 0 && CountFiles(Host(Item("big"))) <= kFiles * 3 / 4) {
        leftAtStop_ = CountFiles(Host(Item("big")));
        requestStop();
      }
    });
  }
  int leftAtStop_ = -1;
};

TEST_F(StopTest, StopInTheMiddleEndsThePassWithinOneFile) {
  StopInsideTheRemoval([this] { view_.RequestStop(); });
  EXPECT_EQ(Clean({Item("a.tmp"), Item("big"), Item("after.tmp")}), std::vector<std::string>{"button 0"});
  ASSERT_GT(leftAtStop_, 0) << "the stop came inside the removal";
  EXPECT_GE(CountFiles(Host(Item("big"))), leftAtStop_ - 1);
  EXPECT_TRUE(prefix_.Exists(Item("after.tmp"))) << "no item after the stop is touched";
  EXPECT_EQ(state_.FoundItems.size(), 3u);
}

TEST_F(StopTest, HalfRemovedFolderCountsNothing) {
  bool stop = false;
  StopInsideTheRemoval([&stop] { stop = true; });
  EXPECT_EQ(CleanItem(*platform_, Item("big"), [this, &stop] { return view_.StopRequested() || stop; }),
            0);
  EXPECT_LT(CountFiles(Host(Item("big"))), kFiles) << "what was deleted stays deleted";
  EXPECT_GT(CountFiles(Host(Item("big"))), 0);
}

}  // namespace
}  // namespace qm::testing
