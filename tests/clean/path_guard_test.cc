#include "clean/path_guard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clean/clean_fixture.h"

namespace qm::testing {
namespace {

// Every spelling of the root of drive C that must never reach the removal.
const std::vector<std::string> kDriveRoots = {
    "C:",          "C:\\",     "c:\\",       "C:/",       "c:/",         "C:\\\\",
    "C:\\\\\\\\",  "C://",     "C:///",      "C:\\/",     "C:/\\",       "C:\\.\\",
    "C:\\Users\\..", "c:/users/../", "C:\\Users\\alice\\..\\..\\",
};

TEST(ValidatePathTest, AcceptsOnlyDrivePathsBelowTheRoot) {
  struct Case {
    std::string path;
    bool valid;
  };
  const Case cases[] = {
      {"C:\\Temp\\", true},
      {"c:\\temp", true},                  // lower-case drive letter
      {"C:/Temp/Sub/", true},              // forward slashes
      {"C:///Temp", true},                 // three slashes collapse to one
      {"C:\\\\\\Temp\\\\\\", true},        // runs of backslashes collapse
      {"C:\\..\\Temp", true},              // ".." stops at the root
      {"AB:\\", true},                     // only the first letter and ":\" are looked at
      {"Z:\\x", true},
      {"\\\\server\\share\\Temp", false},  // network path
      {"\\Temp\\", false},
      {"1:\\Temp", false},
      {"Temp\\Sub", false},                // relative
      {"C:Temp", false},                   // neither ":\" nor ":/"
      {"", false},
      {"中:\\Temp", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ValidatePath(c.path), c.valid) << c.path;
  }
  for (const std::string& root : kDriveRoots) {
    EXPECT_FALSE(ValidatePath(root)) << root;
  }
}

class PathGuardTest : public CleanFixture {};

TEST_F(PathGuardTest, DriveRootsAndForeignPathsAreRefusedAndNothingIsTouched) {
  prefix_.FileOfSize(std::string(kTemp) + "\\a.tmp", 100);
  prefix_.FileOfSize("C:\\pagefile.sys", 100);
  const std::string drive = Snapshot(Host("C:\\"));
  std::vector<std::string> refused = kDriveRoots;
  refused.insert(refused.end(), {"\\Users\\alice\\AppData\\Local\\Temp",
                                 "\\\\server\\Users\\alice\\AppData\\Local\\Temp",
                                 "1:\\Users\\alice\\AppData\\Local\\Temp",
                                 "Users\\alice\\AppData\\Local\\Temp", ""});
  for (const std::string& path : refused) {
    EXPECT_FALSE(EmptyDirectory(*platform_, path)) << path;
  }
  EXPECT_EQ(Snapshot(Host("C:\\")), drive);
}

TEST_F(PathGuardTest, EmptiedFolderExistsAgainEmpty) {
  const std::string cache = std::string(kTemp) + "\\cache";
  prefix_.FileOfSize(cache + "\\a.tmp", 100);
  prefix_.FileOfSize(cache + "\\deep\\deeper\\b.tmp", 200);
  prefix_.Folder(cache + "\\empty");

  EXPECT_TRUE(EmptyDirectory(*platform_, cache));
  EXPECT_TRUE(prefix_.IsEmptyFolder(cache));
  EXPECT_TRUE(EmptyDirectory(*platform_, cache + "\\")) << "an empty folder empties too";
  EXPECT_TRUE(prefix_.IsEmptyFolder(cache));
}

TEST_F(PathGuardTest, LinksInsideAreRemovedAsLinks) {
  const std::string cache = std::string(kTemp) + "\\cache";
  prefix_.File(cache + "\\a.tmp", "junk");
  prefix_.Link(cache + "\\documents", Host("C:\\Users\\alice\\Documents"));
  prefix_.Link(cache + "\\outside", Outside());
  prefix_.Link(cache + "\\deep\\photo", Host("C:\\Users\\alice\\Desktop\\photo.jpg"));
  prefix_.Link(cache + "\\up", "../../../../..");

  EXPECT_TRUE(EmptyDirectory(*platform_, cache));
  EXPECT_TRUE(prefix_.IsEmptyFolder(cache));
}

TEST_F(PathGuardTest, SurvivorKeepsItsFolderAndTheFolderIsNotReportedRemoved) {
  const std::string cache = std::string(kTemp) + "\\cache";
  struct Case {
    std::string survivor;
    bool readOnly;
  };
  for (const Case& c : {Case{"locked.dat", true}, Case{".keep", false}, Case{".git\\HEAD", false}}) {
    SCOPED_TRACE(c.survivor);
    prefix_.File(cache + "\\" + c.survivor, "stays");
    if (c.readOnly) prefix_.Chmod(cache + "\\" + c.survivor, 0444);
    prefix_.File(cache + "\\a.tmp", "goes");
    prefix_.File(cache + "\\sub\\b.tmp", "goes");

    EXPECT_FALSE(EmptyDirectory(*platform_, cache));
    EXPECT_TRUE(prefix_.Exists(cache + "\\" + c.survivor));
    EXPECT_FALSE(prefix_.Exists(cache + "\\a.tmp"));
    EXPECT_FALSE(prefix_.Exists(cache + "\\sub"));
    RemoveHostTree(Host(cache));
  }
}

TEST_F(PathGuardTest, FolderWrittenWithForwardSlashesIsRemovedAndNotRecreated) {
  prefix_.File(std::string(kTemp) + "\\fwd\\a.tmp", "junk");
  EXPECT_TRUE(EmptyDirectory(*platform_, "C:/Users/alice/AppData/Local/Temp/fwd"));
  EXPECT_FALSE(prefix_.Exists(std::string(kTemp) + "\\fwd"));
  EXPECT_TRUE(prefix_.IsEmptyFolder(kTemp));
}

TEST_F(PathGuardTest, DirectoryTestAndFileRemoval) {
  const std::string t = kTemp;
  prefix_.Folder(t + "\\folder");
  prefix_.File(t + "\\file.tmp", "x");
  prefix_.File(t + "\\locked.tmp", "x");
  prefix_.Chmod(t + "\\locked.tmp", 0444);
  prefix_.Link(t + "\\link", Host("C:\\Users\\alice\\Documents"));
  struct Case {
    std::string name;
    bool directory;
    bool removed;  // by RemoveFile
    bool remains;  // after RemoveFile
  };
  const Case cases[] = {
      {"folder", true, false, true},    {"file.tmp", false, true, false},
      {"locked.tmp", false, false, true}, {"link", false, true, false},
      {"missing", false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsExistingDirectory(*platform_, t + "\\" + c.name), c.directory) << c.name;
  }
  for (const Case& c : cases) {
    EXPECT_EQ(RemoveFile(*platform_, t + "\\" + c.name), c.removed) << c.name;
    EXPECT_EQ(prefix_.Exists(t + "\\" + c.name), c.remains) << c.name;
  }
}

class CreateDirectoryPathTest : public CleanFixture {
 protected:
  void SetUp() override {
    CleanFixture::SetUp();
    prefix_.File("C:\\base\\old\\kept.txt", "existing");
    faulty_ = std::make_unique<CreateFolderHook>(*platform_);
  }
  // Makes CreateFolder fail for exactly the path text `path`.
  void FailToCreate(const std::string& path) {
    faulty_->createFolder = [this, path](const std::string& p) {
      return p != path && platform_->CreateFolder(p);
    };
  }
  std::unique_ptr<CreateFolderHook> faulty_;
};

TEST_F(CreateDirectoryPathTest, CreatesWhatIsMissing) {
  const std::string base = Snapshot(Host("C:\\base"));
  EXPECT_EQ(CreateDirectoryPath(*platform_, "C:\\base\\old\\"), 0);
  EXPECT_EQ(CreateDirectoryPath(*platform_, "C:\\BASE\\old"), 0);
  EXPECT_EQ(Snapshot(Host("C:\\base")), base);

  EXPECT_EQ(CreateDirectoryPath(*platform_, "C:\\base\\new\\last\\"), 1);
  EXPECT_TRUE(prefix_.IsEmptyFolder("C:\\base\\new\\last"));
  EXPECT_EQ(CreateDirectoryPath(*platform_, "C:\\fresh\\a\\b"), 1);
  EXPECT_TRUE(prefix_.IsEmptyFolder("C:\\fresh\\a\\b"));
}

TEST_F(CreateDirectoryPathTest, EmptyLevelsAreSkipped) {
  EXPECT_EQ(CreateDirectoryPath(*platform_, "C:\\base\\\\new\\\\\\last\\\\"), 1);
  EXPECT_TRUE(prefix_.IsEmptyFolder("C:\\base\\new\\last"));
  EXPECT_EQ(CreateDirectoryPath(*platform_, "C:\\base\\old\\\\"), 0);

  FailToCreate("C:\\base\\old\\x\\y");
  EXPECT_EQ(CreateDirectoryPath(*faulty_, "C:\\base\\\\old\\\\x\\\\y\\"), -1);
  EXPECT_FALSE(prefix_.Exists("C:\\base\\old\\x")) << "the level it made is rolled back";
  EXPECT_TRUE(prefix_.Exists("C:\\base\\old\\kept.txt"));

  for (const char* bad : {"", "\\"}) {
    EXPECT_EQ(CreateDirectoryPath(*platform_, bad), -1) << bad;
  }
}

TEST_F(CreateDirectoryPathTest, FailureBelowAnExistingFolderRemovesOnlyWhatItMade) {
  FailToCreate("C:\\base\\old\\new\\last");
  EXPECT_EQ(CreateDirectoryPath(*faulty_, "C:\\base\\old\\new\\last\\"), -1);
  EXPECT_FALSE(prefix_.Exists("C:\\base\\old\\new"));
  EXPECT_TRUE(prefix_.Exists("C:\\base\\old\\kept.txt"));

  // The first missing level fails: nothing was made, so nothing is removed.
  FailToCreate("C:\\base\\old\\new");
  EXPECT_EQ(CreateDirectoryPath(*faulty_, "C:\\base\\old\\new\\last\\"), -1);
  EXPECT_TRUE(prefix_.Exists("C:\\base\\old\\kept.txt"));
}

TEST_F(CreateDirectoryPathTest, FileStandingWhereTheFolderGoesFails) {
  prefix_.File("C:\\base\\old\\blocker", "a file, not a folder");
  const std::string base = Snapshot(Host("C:\\base"));
  EXPECT_EQ(CreateDirectoryPath(*platform_, "C:\\base\\old\\blocker\\"), -1);
  EXPECT_EQ(CreateDirectoryPath(*platform_, "C:\\base\\old\\blocker\\below\\"), -1);
  EXPECT_EQ(Snapshot(Host("C:\\base")), base);
}

TEST_F(CreateDirectoryPathTest, FailureWithNothingBelowTheDriveKeepsWhatItMade) {
  FailToCreate("C:\\fresh\\a\\b");
  EXPECT_EQ(CreateDirectoryPath(*faulty_, "C:\\fresh\\a\\b\\"), -1);
  EXPECT_TRUE(prefix_.IsEmptyFolder("C:\\fresh\\a"));
}

TEST_F(CreateDirectoryPathTest, LevelMadeBySomeoneElseMeanwhileIsNeverRemoved) {
  // Another program creates "new" (and puts a file in it) between the test
  // for the level and its creation; then the last level fails.
  faulty_->createFolder = [this](const std::string& p) {
    if (p == "C:\\base\\old\\new") {
      prefix_.File("C:\\base\\old\\new\\theirs.txt", "someone else's");
      return false;
    }
    return p != "C:\\base\\old\\new\\mine\\last" && platform_->CreateFolder(p);
  };
  EXPECT_EQ(CreateDirectoryPath(*faulty_, "C:\\base\\old\\new\\mine\\last\\"), -1);
  EXPECT_TRUE(prefix_.Exists("C:\\base\\old\\new\\theirs.txt"));
  EXPECT_FALSE(prefix_.Exists("C:\\base\\old\\new\\mine"));

  // Every level appears meanwhile, the last one too: the folder is there.
  faulty_->createFolder = [this](const std::string& p) {
    platform_->CreateFolder(p);
    return false;
  };
  EXPECT_EQ(CreateDirectoryPath(*faulty_, "C:\\base\\old\\other\\deeper\\"), 1);
  EXPECT_TRUE(prefix_.IsEmptyFolder("C:\\base\\old\\other\\deeper"));
  EXPECT_EQ(CreateDirectoryPath(*faulty_, "C:\\base\\old\\more\\"), 0);
  EXPECT_TRUE(prefix_.IsEmptyFolder("C:\\base\\old\\more"));
}

}  // namespace
}  // namespace qm::testing
