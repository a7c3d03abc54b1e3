#include "scan/path_expander.h"

#include <gtest/gtest.h>

#include "support/temp_prefix.h"

namespace qm {
namespace {

using testing::TempPrefix;

const SystemInfo kAlice{"alice", "C:\\windows", "C:\\windows\\system32"};
const std::string kProfiles = "C:\\Users\\alice\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\";

TEST(PathExpanderTest, ReplacesFixedPlaceholdersAndCollapsesBackslashPairs) {
  TempPrefix prefix;
  auto platform = prefix.MakePlatform();
  const struct {
    SystemInfo info;
    const char* pathTemplate;
    const char* expanded;
  } cases[] = {
      {kAlice, "C:\\Temp\\", "C:\\Temp\\"},
      {kAlice, "C:\\\\a\\\\\\b\\\\\\\\c", "C:\\a\\\\b\\\\c"},  // 2 -> 1, 3 -> 2, 4 -> 2
      {kAlice, "<USER>\\AppData\\Local\\Temp\\", "C:\\Users\\alice\\AppData\\Local\\Temp\\"},
      {kAlice, "<USER>\\\\AppData", "C:\\Users\\alice\\AppData"},
      {kAlice, "<WIN>\\Temp\\|<WIN>\\Logs\\", "C:\\windows\\Temp\\|C:\\windows\\Logs\\"},
      {kAlice, "<SYSTEM>\\LogFiles", "C:\\windows\\system32\\LogFiles"},
      {kAlice, "<user>\\<Win>\\<system>", "<user>\\<Win>\\<system>"},
      {{"", "", ""}, "<USER>\\x|<WIN>\\y", "C:\\Users\\x|\\y"},
      // Only placeholders of the template as given are replaced, never text
      // that an earlier step inserted.
      {{"<WIN>", "C:\\windows", ""}, "<USER>\\Temp", "C:\\Users\\<WIN>\\Temp"},
      {{"<WIN>", "C:\\windows", ""}, "<USER>\\<WIN>", "C:\\Users\\C:\\windows\\C:\\windows"},
      // Without per-user folders the recycle bin stays one path.
      {kAlice, "<RECYCLEBIN>", "C:\\$RECYCLE.BIN\\"},
      {kAlice, "<RECYCLEBIN>x", "C:\\$RECYCLE.BIN\\x"},
      {kAlice, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExpandPath(c.info, *platform, c.pathTemplate), c.expanded) << c.pathTemplate;
  }
}

TEST(PathExpanderTest, RecycleBinGivesEveryPerUserFolder) {
  TempPrefix prefix;
  prefix.Folder("C:\\$RECYCLE.BIN\\S-1-5-21-1001");
  prefix.Folder("C:\\$RECYCLE.BIN\\S-1-5-21-1002");
  prefix.Folder("C:\\$RECYCLE.BIN\\.trash");
  prefix.File("C:\\$RECYCLE.BIN\\desktop.ini");
  auto platform = prefix.MakePlatform();
  EXPECT_EQ(ExpandPath(kAlice, *platform, "<RECYCLEBIN>"),
            "C:\\$RECYCLE.BIN\\S-1-5-21-1001|C:\\$RECYCLE.BIN\\S-1-5-21-1002");
}

TEST(PathExpanderTest, FirefoxTakesOnlyDefaultProfiles) {
  TempPrefix prefix;
  prefix.Folder(kProfiles + "a1b2.default");
  prefix.Folder(kProfiles + "c3d4.default-release");
  prefix.Folder(kProfiles + ".e5.default");
  prefix.Folder(kProfiles + "f6.Default");
  prefix.File(kProfiles + "g7.default");
  prefix.Folder(kProfiles + "h8.default");
  auto platform = prefix.MakePlatform();
  EXPECT_EQ(ExpandPath(kAlice, *platform, "<FIREFOX^1>"),
            kProfiles + "a1b2.default\\cache2\\entries\\|" + kProfiles +
                "h8.default\\cache2\\entries\\");
  EXPECT_EQ(ExpandPath(kAlice, *platform, "<FIREFOX^2>"),
            kProfiles + "a1b2.default\\thumbnails\\|" + kProfiles + "h8.default\\thumbnails\\");
}

TEST(PathExpanderTest, FirefoxWithoutProfilesGivesTheEmptyText) {
  TempPrefix prefix;
  auto platform = prefix.MakePlatform();
  EXPECT_EQ(ExpandPath(kAlice, *platform, "<FIREFOX^1>"), "");
  EXPECT_EQ(ExpandPath(kAlice, *platform, "<FIREFOX^2>"), "");
  prefix.Folder(kProfiles + "x.default-release");
  EXPECT_EQ(ExpandPath(kAlice, *platform, "<FIREFOX^1>"), "");
}

TEST(PathExpanderTest, ListSubfoldersAppendsFoldersWithoutDotNames) {
  TempPrefix prefix;
  prefix.Folder("C:\\p\\Beta");
  prefix.Folder("C:\\p\\alpha");
  prefix.Folder("C:\\p\\.config");
  prefix.Folder("C:\\p\\..odd");
  prefix.File("C:\\p\\file.txt");
  prefix.Folder("C:\\elsewhere");
  prefix.Link("C:\\p\\link", prefix.Host("C:\\elsewhere"));
  auto platform = prefix.MakePlatform();

  std::vector<std::string> folders{"kept"};
  EXPECT_EQ(ListSubfolders(*platform, "C:\\p", folders), 2);
  EXPECT_EQ(ListSubfolders(*platform, "C:\\P\\", folders), 2);
  EXPECT_EQ(folders, (std::vector<std::string>{"kept", "C:\\p\\alpha", "C:\\p\\Beta",
                                               "C:\\P\\alpha", "C:\\P\\Beta"}));
  EXPECT_EQ(ListSubfolders(*platform, "C:\\missing", folders), 0);
  EXPECT_EQ(ListSubfolders(*platform, "C:\\p\\file.txt", folders), 0);
  EXPECT_EQ(ListSubfolders(*platform, "", folders), 0);
  EXPECT_EQ(folders.size(), 5u);
}

TEST(PathExpanderTest, StoppedListingEndsAfterTheEntryAtHand) {
  TempPrefix prefix;
  for (int i = 0; i < 20; ++i) prefix.Folder("C:\\p\\f" + std::to_string(100 + i));
  auto platform = prefix.MakePlatform();
  std::vector<std::string> folders;
  EXPECT_EQ(ListSubfolders(*platform, "C:\\p", folders, [&] { return folders.size() == 2; }), 2);
  EXPECT_EQ(folders, (std::vector<std::string>{"C:\\p\\f100", "C:\\p\\f101"}));
}

TEST(PathExpanderTest, JoinTexts) {
  using Texts = std::vector<std::string>;
  EXPECT_EQ(JoinTexts(Texts{}, "|"), "");
  EXPECT_EQ(JoinTexts(Texts{"a"}, "|"), "a");
  EXPECT_EQ(JoinTexts(Texts{"a", "", "c"}, "|"), "a||c");
  EXPECT_EQ(JoinTexts(Texts{"甲", "乙"}, ", "), "甲, 乙");
}

}  // namespace
}  // namespace qm
