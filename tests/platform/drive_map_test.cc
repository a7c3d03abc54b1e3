#include <pwd.h>
#include <unistd.h>

#include <filesystem>

#include "platform/platform.h"
#include "prefix_fixture.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;

using DriveMapTest = PrefixTest;

TEST_F(DriveMapTest, ReadsDriveLettersFromDosdevices) {
  const std::string devices = prefix.Root() + "/dosdevices";
  fs::create_directories(prefix.Root() + "/data");
  fs::create_directory_symlink(prefix.Root() + "/data", devices + "/D:");  // upper case, absolute
  fs::create_directory_symlink("../missing", devices + "/e:");             // broken
  fs::create_symlink("../outside/canary.txt", devices + "/f:");            // not a folder
  fs::create_symlink("/dev/null", devices + "/c::");                       // a raw device
  fs::create_directory_symlink("../drive_c", devices + "/com1");

  const DriveMap expected{{'C', fs::canonical(prefix.Root() + "/drive_c").string()},
                          {'D', fs::canonical(prefix.Root() + "/data").string()}};
  EXPECT_EQ(Platform::ReadDriveMap(prefix.Root()), expected);
}

TEST_F(DriveMapTest, MissingOrBrokenDosdevicesMapsNothing) {
  EXPECT_EQ(Platform::ReadDriveMap(prefix.Root() + "/nowhere"), DriveMap{});
  const std::string broken = prefix.Root() + "/broken";
  WriteHostFile(broken + "/dosdevices", "a file, not a folder");
  EXPECT_EQ(Platform::ReadDriveMap(broken), DriveMap{});

  ScopedEnv winePrefix("WINEPREFIX", broken.c_str());
  auto unmapped = Platform::FromEnvironment();
  std::string bytes;
  EXPECT_FALSE(unmapped->Exists("C:\\"));
  EXPECT_EQ(unmapped->Attributes("C:\\windows"), -1);
  EXPECT_EQ(unmapped->FolderSize("C:\\"), 0);
  EXPECT_FALSE(unmapped->ReadFile("C:\\a.txt", &bytes));
  EXPECT_FALSE(unmapped->CreateFolder("C:\\new"));
  EXPECT_TRUE(unmapped->EmptyRecycleBin());  // no drive, no bin
}

TEST_F(DriveMapTest, FromEnvironmentUsesWineprefixElseHomeWine) {
  prefix.File("C:\\windows\\win.ini", "[windows]");
  {
    ScopedEnv winePrefix("WINEPREFIX", prefix.Root().c_str());
    EXPECT_EQ(Platform::FromEnvironment()->FileSize("C:\\Windows\\WIN.INI"), 9);
  }
  const std::string home = MakeTempFolder();
  fs::create_directory_symlink(prefix.Root(), home + "/.wine");
  {
    ScopedEnv winePrefix("WINEPREFIX", nullptr);
    ScopedEnv homeEnv("HOME", home.c_str());
    EXPECT_EQ(Platform::FromEnvironment()->FileSize("C:\\windows\\win.ini"), 9);
  }
  RemoveHostTree(home);
}

TEST(SystemFactsTest, UserNameAndWindowsFolders) {
  TempPrefix prefix;
  auto platform = prefix.MakePlatform();
  {
    ScopedEnv wineUser("WINEUSERNAME", "alice");
    EXPECT_EQ(platform->UserName(), "alice");
  }
  const passwd* login = getpwuid(geteuid());
  ASSERT_NE(login, nullptr);
  const std::string loginName = login->pw_name;
  {
    ScopedEnv wineUser("WINEUSERNAME", nullptr);
    EXPECT_EQ(platform->UserName(), loginName);
  }
  // The name becomes one folder of "C:\Users\<name>\AppData\...". These would
  // turn a temp-folder rule into the whole profile and the documents, or
  // climb out of the profile: each gives way to the login name.
  for (const char* hostile : {"alice|C:\\Users\\alice\\Documents|", "..", ".", "...", " ",
                              "a\\..\\..", "a/../b", "bob:x", "tab\tname"}) {
    ScopedEnv wineUser("WINEUSERNAME", hostile);
    EXPECT_EQ(platform->UserName(), loginName) << hostile;
  }
  EXPECT_EQ(platform->WindowsDirectory(), "C:\\windows");
  EXPECT_EQ(platform->SystemDirectory(), "C:\\windows\\system32");
}

}  // namespace
}  // namespace qm::testing
