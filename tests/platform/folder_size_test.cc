#include <dirent.h>

#include "platform/platform.h"
#include "prefix_fixture.h"

namespace qm::testing {
namespace {

using FolderSizeTest = PrefixTest;

TEST_F(FolderSizeTest, CountsRegularFilesBelowTheFolderOnly) {
  prefix.FileOfSize("C:\\Cache\\a.bin", 1000);
  prefix.FileOfSize("C:\\Cache\\sub\\b.bin", 200);
  prefix.FileOfSize("C:\\Cache\\sub\\deeper\\c.bin", 30);
  prefix.FileOfSize("C:\\Cache\\.hidden", 4);  // hidden files count, as on Windows
  prefix.Folder("C:\\Cache\\empty");
  prefix.Link("C:\\Cache\\outside", Outside());
  prefix.Link("C:\\Cache\\file-link", Outside() + "/canary.txt");
  WriteHostFile(prefix.Host("C:\\Cache") + "/in|visible", std::string(5000, 'x'));
  prefix.FileOfSize("C:\\elsewhere.bin", 7);

  struct Case {
    std::string path;
    int64_t expected;
  };
  const Case cases[] = {
      {"C:\\Cache", 1234},
      {"c:\\cache\\", 1234},
      {"C:\\Cache\\sub", 230},
      {"C:\\Cache\\empty", 0},
      {"C:\\Cache\\a.bin", 0},     // a file
      {"C:\\Cache\\missing", 0},
      {"C:\\Cache\\outside", 0},   // a link
      {"C:\\", 1241},
      {"Q:\\", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(platform->FolderSize(c.path), c.expected) << c.path;
}

// Root reads every folder whatever its permission bits; others cannot. Either
// way the walk goes on past the folder it cannot read.
TEST_F(FolderSizeTest, PassesOverUnreadableSubfolders) {
  prefix.FileOfSize("C:\\Cache\\a.bin", 100);
  prefix.FileOfSize("C:\\Cache\\locked\\b.bin", 20);
  prefix.FileOfSize("C:\\Cache\\zzz\\c.bin", 3);
  prefix.Chmod("C:\\Cache\\locked", 0);
  DIR* probe = opendir(prefix.Host("C:\\Cache\\locked").c_str());
  const bool readable = probe != nullptr;
  if (probe) closedir(probe);

  EXPECT_EQ(platform->FolderSize("C:\\Cache"), readable ? 123 : 103);
}

TEST_F(FolderSizeTest, FolderSwappedForALinkDuringTheWalkCountsNothing) {
  prefix.FileOfSize("C:\\Cache\\sub\\a.bin", 10);
  prefix.FileOfSize("C:\\Cache\\b.bin", 1);
  EXPECT_EQ(platform->FolderSize("C:\\Cache", SwapForLinkOnFirstCheck("C:\\Cache\\sub")), 1);
  EXPECT_TRUE(HostExists(prefix.Root() + "/moved"));  // the swap happened
}

TEST_F(FolderSizeTest, StoppedWalkGivesWhatItCounted) {
  for (int i = 0; i < 50; ++i) prefix.FileOfSize("C:\\Many\\f" + std::to_string(i), 10);
  int asked = 0;
  int64_t partial = platform->FolderSize("C:\\Many", [&] { return ++asked > 10; });
  EXPECT_EQ(partial, 100);
  EXPECT_EQ(platform->FolderSize("C:\\Many"), 500);
}

}  // namespace
}  // namespace qm::testing
