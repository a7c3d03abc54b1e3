#include "platform/platform.h"
#include "prefix_fixture.h"

namespace qm::testing {
namespace {

using RemovalTest = PrefixTest;

TEST_F(RemovalTest, RemovesTheTreeButNeverFollowsALink) {
  const std::string outsideBefore = Snapshot(Outside());
  prefix.File("C:\\Temp\\a.tmp", "aaaa");
  prefix.File("C:\\Temp\\sub\\deeper\\b.tmp", "bb");
  prefix.Folder("C:\\Temp\\empty");
  prefix.Link("C:\\Temp\\sub\\escape", Outside());
  prefix.Link("C:\\Temp\\file-link", Outside() + "/canary.txt");

  EXPECT_TRUE(platform->RemoveFolderTree("c:\\temp\\"));
  EXPECT_FALSE(HostExists(prefix.Host("C:\\Temp")));
  EXPECT_EQ(Snapshot(Outside()), outsideBefore);
}

// A folder swapped for a link while the walk runs (here from the stop check,
// after the folder was listed) is not followed; the link is left in place.
TEST_F(RemovalTest, FolderSwappedForALinkDuringTheWalkIsNotFollowed) {
  prefix.File("C:\\Temp\\sub\\a.tmp", "a");
  prefix.File("C:\\Temp\\b.tmp", "b");
  const std::string outsideBefore = Snapshot(Outside());
  EXPECT_FALSE(platform->RemoveFolderTree("C:\\Temp", SwapForLinkOnFirstCheck("C:\\Temp\\sub")));
  EXPECT_TRUE(HostExists(prefix.Root() + "/moved"));  // the swap happened
  EXPECT_EQ(Snapshot(Outside()), outsideBefore);
  EXPECT_FALSE(HostExists(prefix.Host("C:\\Temp\\b.tmp")));
}

TEST_F(RemovalTest, KeepsDotNamesAndReadOnlyFilesAndReportsFailure) {
  prefix.File("C:\\Cache\\.keep", "k");
  prefix.File("C:\\Cache\\locked.dat", "r");
  prefix.Chmod("C:\\Cache\\locked.dat", 0444);
  prefix.File("C:\\Cache\\repo\\.git\\HEAD", "h");
  prefix.File("C:\\Cache\\repo\\code.c", "c");
  prefix.File("C:\\Cache\\plain\\x.tmp", "x");
  prefix.File("C:\\Cache\\y.tmp", "y");

  EXPECT_FALSE(platform->RemoveFolderTree("C:\\Cache"));
  for (const char* kept : {"C:\\Cache\\.keep", "C:\\Cache\\locked.dat", "C:\\Cache\\repo\\.git\\HEAD"}) {
    EXPECT_TRUE(HostExists(prefix.Host(kept))) << kept;
  }
  for (const char* gone : {"C:\\Cache\\repo\\code.c", "C:\\Cache\\plain", "C:\\Cache\\y.tmp"}) {
    EXPECT_FALSE(HostExists(prefix.Host(gone))) << gone;
  }
}

TEST_F(RemovalTest, RefusesDriveRootsInEverySpelling) {
  prefix.File("C:\\Windows\\system.ini", "s");
  prefix.Folder("C:\\mnt\\d");
  prefix.File("C:\\mnt\\d\\data.txt", "d");
  DriveMap drives = prefix.Drives();
  drives['D'] = prefix.Host("C:\\mnt\\d");
  auto twoDrives = Platform::FromDriveMap(drives);
  const std::string before = Snapshot(prefix.Root());

  for (const char* root : {"", "C:", "C:\\", "c:/", "C:\\\\", "C:\\.", "C:\\Windows\\..", "C:\\..\\..",
                           "D:\\", "C:\\mnt\\d", "C:\\mnt\\D\\"}) {
    EXPECT_FALSE(twoDrives->RemoveFolderTree(root)) << root;
  }
  EXPECT_FALSE(twoDrives->RemoveFolderTree("C:\\Windows\\system.ini"));  // a file is no folder
  EXPECT_EQ(Snapshot(prefix.Root()), before);
}

// Drive D's folder lies deep inside a junk folder of drive C. Like a volume
// mounted in a folder on Windows, D is reached only through its own letter:
// removing or measuring C's folder passes over D's root and all it holds.
TEST_F(RemovalTest, AnotherDrivesRootDeepInsideIsNeitherEnteredNorCounted) {
  prefix.FileOfSize("C:\\Temp\\junk.tmp", 10);
  prefix.FileOfSize("C:\\Temp\\x\\more.tmp", 5);
  prefix.FileOfSize("C:\\Temp\\x\\d\\data.txt", 1000);
  prefix.FileOfSize("C:\\Temp\\x\\d\\docs\\letter.doc", 200);
  DriveMap drives = prefix.Drives();
  drives['D'] = prefix.Host("C:\\Temp\\x\\d");
  auto twoDrives = Platform::FromDriveMap(drives);
  const std::string driveD = Snapshot(prefix.Host("C:\\Temp\\x\\d"));

  EXPECT_EQ(twoDrives->FolderSize("C:\\Temp"), 15);
  EXPECT_EQ(twoDrives->FolderSize("C:\\Temp\\x\\d"), 0);
  EXPECT_EQ(twoDrives->FolderSize("D:\\"), 1200);
  EXPECT_FALSE(twoDrives->RemoveFolderTree("C:\\Temp\\x"));  // D's root stays, so x does
  EXPECT_FALSE(HostExists(prefix.Host("C:\\Temp\\x\\more.tmp")));
  EXPECT_EQ(Snapshot(prefix.Host("C:\\Temp\\x\\d")), driveD);
}

TEST_F(RemovalTest, EmptyRecycleBinNeverEmptiesAnotherDrive) {
  const std::string user = "C:\\$RECYCLE.BIN\\S-1-5-21-1000";
  prefix.File(user + "\\data.txt", "drive D");
  prefix.File("C:\\$RECYCLE.BIN\\S-1-5-21-1001\\$R1", "deleted");
  DriveMap drives = prefix.Drives();
  drives['D'] = prefix.Host(user);
  const std::string driveD = Snapshot(prefix.Host(user));

  EXPECT_FALSE(Platform::FromDriveMap(drives)->EmptyRecycleBin());  // D's root stays
  EXPECT_EQ(Snapshot(prefix.Host(user)), driveD);
  EXPECT_FALSE(HostExists(prefix.Host("C:\\$RECYCLE.BIN\\S-1-5-21-1001\\$R1")));
}

TEST_F(RemovalTest, StoppedRemovalReportsFailure) {
  for (int i = 0; i < 20; ++i) prefix.File("C:\\Big\\f" + std::to_string(i), "x");
  int asked = 0;
  EXPECT_FALSE(platform->RemoveFolderTree("C:\\Big", [&] { return ++asked > 5; }));
  EXPECT_TRUE(HostExists(prefix.Host("C:\\Big")));
  EXPECT_EQ(asked, 6);
}

TEST_F(RemovalTest, StoppedEmptyingOfTheRecycleBinReportsFailure) {
  const std::string user = "C:\\$RECYCLE.BIN\\S-1-5-21-1000";
  for (int i = 0; i < 20; ++i) prefix.File(user + "\\$R" + std::to_string(i), "x");
  int asked = 0;
  EXPECT_FALSE(platform->EmptyRecycleBin([&] { return ++asked > 5; }));
  // Five entries went before the stop was seen; nothing went after it.
  size_t left = 0;
  for (const auto& entry : std::filesystem::directory_iterator(prefix.Host(user))) {
    left += entry.is_regular_file();
  }
  EXPECT_EQ(left, 15u);
}

// The per-user folders of every drive's bin are emptied and stay; the
// desktop's own trash is another place altogether and is left alone.
TEST_F(RemovalTest, EmptyRecycleBinEmptiesEveryDrivesBin) {
  const std::string trash = prefix.Root() + "/home/.local/share/Trash";
  WriteHostFile(trash + "/files/kept.txt", "desktop trash");
  ScopedEnv home("HOME", (prefix.Root() + "/home").c_str());
  ScopedEnv dataHome("XDG_DATA_HOME", (prefix.Root() + "/home/.local/share").c_str());
  const std::string outsideBefore = Snapshot(Outside());
  const std::string trashBefore = Snapshot(trash);

  const std::string user = "C:\\$Recycle.Bin\\S-1-5-21-1000";
  prefix.File(user + "\\$RABC123.txt", "deleted");
  prefix.File(user + "\\$IABC123.txt", "info");
  prefix.File(user + "\\$RDEF456\\inner\\x.doc", "doc");
  prefix.File(user + "\\.hidden", "h");
  prefix.File(user + "\\locked", "l");
  prefix.Chmod(user + "\\locked", 0444);
  prefix.Link(user + "\\$RLINK", Outside());
  prefix.File("C:\\$Recycle.Bin\\S-1-5-21-1001\\$Rother", "o");
  prefix.File("C:\\$Recycle.Bin\\desktop.ini", "ini");
  prefix.Folder("C:\\mnt\\d\\$RECYCLE.BIN\\S-1-5-18");
  prefix.File("C:\\mnt\\d\\$RECYCLE.BIN\\S-1-5-18\\$R1", "d");
  DriveMap drives = prefix.Drives();
  drives['D'] = prefix.Host("C:\\mnt\\d");

  EXPECT_TRUE(Platform::FromDriveMap(drives)->EmptyRecycleBin());
  EXPECT_EQ(Snapshot(prefix.Host(user)), "");
  EXPECT_EQ(Snapshot(prefix.Host("C:\\$Recycle.Bin\\S-1-5-21-1001")), "");
  EXPECT_EQ(Snapshot(prefix.Host("C:\\mnt\\d\\$RECYCLE.BIN\\S-1-5-18")), "");
  EXPECT_TRUE(HostExists(prefix.Host("C:\\$Recycle.Bin\\desktop.ini")));
  EXPECT_EQ(Snapshot(Outside()), outsideBefore);
  EXPECT_EQ(Snapshot(trash), trashBefore);
}

TEST_F(RemovalTest, EmptyRecycleBinReportsWhatStays) {
  EXPECT_TRUE(platform->EmptyRecycleBin());  // no bin at all: nothing to stay
  WriteHostFile(prefix.Host("C:\\$RECYCLE.BIN\\S-1-5-21-1000") + "/odd|name", "x");
  prefix.File("C:\\$RECYCLE.BIN\\S-1-5-21-1000\\$R1", "x");
  EXPECT_FALSE(platform->EmptyRecycleBin());
  EXPECT_FALSE(HostExists(prefix.Host("C:\\$RECYCLE.BIN\\S-1-5-21-1000\\$R1")));
}

}  // namespace
}  // namespace qm::testing
