#include <fcntl.h>
#include <unistd.h>

#include "platform/platform.h"
#include "prefix_fixture.h"

namespace qm::testing {
namespace {

using FilesTest = PrefixTest;

TEST_F(FilesTest, AttributesAndSizesOfEntries) {
  prefix.File("C:\\Users\\alice\\note.txt", "hello");
  prefix.File("C:\\Users\\alice\\locked.txt", "ro");
  prefix.Chmod("C:\\Users\\alice\\locked.txt", 0444);
  prefix.File("C:\\Users\\alice\\.profile", "x");
  prefix.Folder("C:\\Users\\alice\\.cache");
  prefix.Link("C:\\Users\\alice\\to-outside", Outside());
  prefix.Link("C:\\Users\\alice\\to-file", Outside() + "/canary.txt");

  struct Case {
    std::string path;
    int attributes;
    int64_t size;
  };
  const Case cases[] = {
      {"C:\\Users\\alice", kAttrDirectory, 0},
      {"C:\\Users\\alice\\", kAttrDirectory, 0},
      {"C:\\Users\\alice\\note.txt", kAttrArchive, 5},
      {"c:/users/ALICE/Note.TXT", kAttrArchive, 5},
      {"C:\\Users\\alice\\locked.txt", kAttrArchive | kAttrReadOnly, 2},
      {"C:\\Users\\alice\\.profile", kAttrArchive | kAttrHidden, 1},
      {"C:\\Users\\alice\\.cache", kAttrDirectory | kAttrHidden, 0},
      {"C:\\Users\\alice\\to-outside", 0, 0},  // a link: no folder, no size
      {"C:\\Users\\alice\\to-file", 0, 0},
      {"C:\\", kAttrDirectory, 0},
      {"C:", kAttrDirectory, 0},
      {"C:\\Users\\.\\alice\\..\\alice\\\\note.txt", kAttrArchive, 5},
      {"C:\\Users\\alice\\note.txt\\", -1, -1},  // a file is no folder
      {"C:\\Users\\alice\\missing.txt", -1, -1},
      {"C:\\Users\\alice\\to-outside\\canary.txt", -1, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform->Attributes(c.path), c.attributes) << c.path;
    EXPECT_EQ(platform->FileSize(c.path), c.size) << c.path;
    EXPECT_EQ(platform->Exists(c.path), c.attributes != -1) << c.path;
  }
}

TEST_F(FilesTest, ExactNameWinsOverOtherLetterCase) {
  prefix.File("C:\\Temp\\Log.txt", "exact");
  prefix.File("C:\\Temp\\log.txt", "other case");
  EXPECT_EQ(platform->FileSize("C:\\temp\\Log.txt"), 5);
  EXPECT_EQ(platform->FileSize("C:\\TEMP\\log.txt"), 10);
  // Neither spelling exists: the first by bytes ("Log.txt") answers.
  EXPECT_EQ(platform->FileSize("C:\\Temp\\LOG.TXT"), 5);
}

TEST_F(FilesTest, ParentFolderIsClampedAtTheDriveRoot) {
  prefix.File("C:\\top.txt", "top");
  EXPECT_EQ(platform->FileSize("C:\\..\\top.txt"), 3);
  EXPECT_EQ(platform->FileSize("C:\\..\\..\\a\\..\\..\\top.txt"), 3);
  EXPECT_FALSE(platform->Exists("C:\\..\\outside\\canary.txt"));
  EXPECT_FALSE(platform->Exists("C:\\..\\drive_c\\top.txt"));
}

TEST_F(FilesTest, SparseFileOfFiveGibibytesMeasuresFiveGibibytes) {
  constexpr int64_t kFiveGiB = int64_t{5} << 30;
  prefix.Folder("C:\\big");
  int fd = open((prefix.Host("C:\\big") + "/disk.img").c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, kFiveGiB), 0);
  close(fd);

  EXPECT_EQ(platform->FileSize("C:\\big\\disk.img"), kFiveGiB);
  FindEntry entry;
  ASSERT_TRUE(platform->FindFirst("C:\\big\\*.img", FindFilter::kNonFolders).Next(&entry));
  EXPECT_EQ(entry.size, kFiveGiB);
  EXPECT_EQ(platform->FolderSize("C:\\big"), kFiveGiB);
}

}  // namespace
}  // namespace qm::testing
