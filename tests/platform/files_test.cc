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

TEST_F(FilesTest, FindFirstFiltersMatchesAndSortsIgnoringCase) {
  prefix.File("C:\\d\\b.log", "bb");
  prefix.File("C:\\d\\A.LOG", "a");
  prefix.File("C:\\d\\c.txt");
  prefix.File("C:\\d\\README");
  prefix.Folder("C:\\d\\Sub");
  prefix.Folder("C:\\d\\another");
  prefix.Link("C:\\d\\link", Outside());

  using NameList = std::vector<std::string>;
  struct Case {
    std::string pattern;
    FindFilter filter;
    NameList expected;
  };
  const Case cases[] = {
      {"C:\\d\\*", FindFilter::kAny,
       {".", "..", "A.LOG", "another", "b.log", "c.txt", "link", "README", "Sub"}},
      {"C:\\d\\*.*", FindFilter::kNonFolders, {"A.LOG", "b.log", "c.txt", "link", "README"}},
      {"C:\\d\\*.*", FindFilter::kFolders, {".", "..", "another", "Sub"}},
      {"c:/D/*.log", FindFilter::kNonFolders, {"A.LOG", "b.log"}},
      {"C:\\d\\?.*", FindFilter::kNonFolders, {"A.LOG", "b.log", "c.txt"}},
      {"C:\\d\\sub", FindFilter::kFolders, {"Sub"}},
      {"C:\\d\\sub", FindFilter::kNonFolders, {}},
      {"C:\\d\\*.", FindFilter::kNonFolders, {"link", "README"}},
      {"C:\\d\\*.zip", FindFilter::kAny, {}},
      {"C:\\missing\\*", FindFilter::kAny, {}},
      {"C:\\d\\", FindFilter::kAny, {}},
      {"C:\\d\\a|*", FindFilter::kAny, {}},
      {"C:\\d\\link\\*", FindFilter::kAny, {}},  // no search through a link
      {"C:\\*", FindFilter::kFolders, {".", "..", "d"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Names(platform->FindFirst(c.pattern, c.filter)), c.expected) << c.pattern;
  }

  FileSearch search = platform->FindFirst("C:\\d\\*.log", FindFilter::kNonFolders);
  FindEntry entry;
  ASSERT_TRUE(search.Next(&entry));
  EXPECT_EQ(entry.name, "A.LOG");
  EXPECT_EQ(entry.attributes, kAttrArchive);
  EXPECT_EQ(entry.size, 1);
  search.Close();
  EXPECT_FALSE(search.Next(&entry));
  EXPECT_TRUE(platform->Exists("C:\\d\\*.LOG"));
  EXPECT_FALSE(platform->Exists("C:\\d\\*.zip"));
}

// Names no Windows path can hold must never surface, match or be removed:
// "x|C:\windows" would otherwise become two paths.
TEST_F(FilesTest, NamesWindowsCannotHoldAreInvisible) {
  const std::string folder = prefix.Host("C:\\odd");
  const std::string oddNames[] = {"x|C:", "back\\slash", "colon:name", "bad\xFFutf8", "tab\tname",
                                  "what?"};
  for (const auto& name : oddNames) WriteHostFile(folder + "/" + name, "0123456789");
  WriteHostFile(folder + "/back\\slash.d/inner.txt", "0123456789");
  prefix.File("C:\\odd\\plain.txt", "12");

  EXPECT_EQ(Names(platform->FindFirst("C:\\odd\\*", FindFilter::kAny)),
            (std::vector<std::string>{".", "..", "plain.txt"}));
  EXPECT_FALSE(platform->Exists("C:\\odd\\x|C:"));
  EXPECT_FALSE(platform->DeleteFile("C:\\odd\\x|C:"));
  EXPECT_FALSE(platform->Exists("C:\\odd\\back\\slash"));  // two components, neither there
  EXPECT_EQ(platform->FolderSize("C:\\odd"), 2);

  EXPECT_FALSE(platform->RemoveFolderTree("C:\\odd"));  // the odd names stay, so the folder does
  EXPECT_FALSE(HostExists(folder + "/plain.txt"));
  for (const auto& name : oddNames) EXPECT_TRUE(HostExists(folder + "/" + name)) << name;
  EXPECT_TRUE(HostExists(folder + "/back\\slash.d/inner.txt"));
}

TEST_F(FilesTest, LinksAreEntriesNeverRoutes) {
  const std::string before = Snapshot(Outside());
  prefix.Link("C:\\d\\to-folder", Outside());
  prefix.Link("C:\\d\\to-file", Outside() + "/canary.txt");
  prefix.Link("C:\\d\\dangling", Outside() + "/nothing");

  EXPECT_EQ(platform->FolderSize("C:\\d\\to-folder"), 0);
  EXPECT_EQ(platform->FolderSize("C:\\d"), 0);
  std::string bytes;
  EXPECT_FALSE(platform->ReadFile("C:\\d\\to-file", &bytes));
  EXPECT_FALSE(platform->RemoveFolderTree("C:\\d\\to-folder"));
  EXPECT_FALSE(platform->CreateFolder("C:\\d\\to-folder\\new"));

  // Deleting a link removes the link only.
  EXPECT_TRUE(platform->DeleteFile("C:\\d\\to-folder"));
  EXPECT_TRUE(platform->DeleteFile("C:\\d\\TO-FILE"));
  EXPECT_TRUE(platform->DeleteFile("C:\\d\\dangling"));
  EXPECT_EQ(Names(platform->FindFirst("C:\\d\\*", FindFilter::kNonFolders)), std::vector<std::string>{});
  EXPECT_EQ(Snapshot(Outside()), before);
}

TEST_F(FilesTest, DeleteFileFollowsWindows) {
  prefix.File("C:\\d\\gone.tmp", "x");
  prefix.File("C:\\d\\locked.tmp", "x");
  prefix.Chmod("C:\\d\\locked.tmp", 0444);
  prefix.Folder("C:\\d\\folder");

  EXPECT_TRUE(platform->DeleteFile("C:\\D\\GONE.TMP"));
  EXPECT_FALSE(HostExists(prefix.Host("C:\\d\\gone.tmp")));
  EXPECT_FALSE(platform->DeleteFile("C:\\d\\gone.tmp"));
  EXPECT_FALSE(platform->DeleteFile("C:\\d\\locked.tmp"));  // read-only, even for root
  EXPECT_TRUE(HostExists(prefix.Host("C:\\d\\locked.tmp")));
  EXPECT_FALSE(platform->DeleteFile("C:\\d\\folder"));
  EXPECT_TRUE(HostExists(prefix.Host("C:\\d\\folder")));
  EXPECT_FALSE(platform->DeleteFile("C:\\"));
}

TEST_F(FilesTest, CreateFolderMakesOneLevel) {
  prefix.Folder("C:\\Existing");
  EXPECT_TRUE(platform->CreateFolder("C:\\existing\\New"));
  EXPECT_EQ(platform->Attributes("C:\\Existing\\new"), kAttrDirectory);
  EXPECT_FALSE(platform->CreateFolder("C:\\Existing\\NEW"));  // there already, in another case
  EXPECT_FALSE(platform->CreateFolder("C:\\Existing\\a\\b"));  // two levels
  EXPECT_FALSE(platform->CreateFolder("C:\\Existing\\bad|name"));
  EXPECT_FALSE(platform->CreateFolder("C:\\"));
  EXPECT_FALSE(HostExists(prefix.Host("C:\\Existing\\a")));
}

TEST_F(FilesTest, ReadFileOpensForWriting) {
  prefix.File("C:\\rules.bin", std::string("a\0b\xFF", 4));
  prefix.File("C:\\locked.bin", "x");
  prefix.Chmod("C:\\locked.bin", 0444);
  std::string bytes;
  ASSERT_TRUE(platform->ReadFile("C:\\RULES.bin", &bytes));
  EXPECT_EQ(bytes, std::string("a\0b\xFF", 4));
  EXPECT_FALSE(platform->ReadFile("C:\\locked.bin", &bytes));
  EXPECT_FALSE(platform->ReadFile("C:\\", &bytes));
  EXPECT_FALSE(platform->ReadFile("C:\\missing", &bytes));
}

// Every service fails cleanly on paths it cannot serve, and touches nothing.
TEST_F(FilesTest, BadPathsFailEveryServiceAndTouchNothing) {
  prefix.File("C:\\keep\\file.txt", "keep");
  prefix.Link("C:\\keep\\link", Outside());
  const std::string before = Snapshot(prefix.Root());
  const std::string badPaths[] = {
      "",
      "keep\\file.txt",               // no drive
      "\\\\server\\share\\file.txt",  // a network path
      "Q:\\keep\\file.txt",           // an unmapped drive
      "1:\\keep",
      "C:\\..\\outside\\canary.txt",  // climbing above the root stays inside
      "C:\\..\\..\\..\\outside",
      "C:\\keep\\file.txt|C:\\keep",  // a name no Windows path can hold
      "C:\\keep\\link\\canary.txt",   // through a link
      "C:\\keep\\link\\deep",
      "C:\\keep\\file.txt\\",         // a file named as a folder
  };
  for (const auto& path : badPaths) {
    std::string bytes;
    EXPECT_FALSE(platform->Exists(path)) << path;
    EXPECT_EQ(platform->Attributes(path), -1) << path;
    EXPECT_EQ(platform->FileSize(path), -1) << path;
    EXPECT_EQ(Names(platform->FindFirst(path + "\\*", FindFilter::kAny)), std::vector<std::string>{})
        << path;
    EXPECT_FALSE(platform->CreateFolder(path + "\\new")) << path;
    EXPECT_FALSE(platform->DeleteFile(path)) << path;
    EXPECT_FALSE(platform->RemoveFolderTree(path)) << path;
    EXPECT_FALSE(platform->ReadFile(path, &bytes)) << path;
    EXPECT_EQ(platform->FolderSize(path), 0) << path;
  }
  EXPECT_EQ(Snapshot(prefix.Root()), before);
}

}  // namespace
}  // namespace qm::testing
