// The whole shipped rule set scanned over a prefix that holds, besides junk in
// every folder the rules name, what a user keeps: documents, a desktop,
// downloads, profile settings and system files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/text.h"
#include "rules/rules_decoder.h"
#include "scan/scan_pass.h"
#include "scan/sizes.h"
#include "scan_fixture.h"

namespace qm {
namespace {

const std::string kHome = "C:\\Users\\alice\\";
const std::string kLocal = kHome + "AppData\\Local\\";
const std::string kProfile = kLocal + "Mozilla\\Firefox\\Profiles\\abc.default\\";
const std::string kChrome = kLocal + "Google\\Chrome\\User Data\\";
const std::string kEdge = kLocal + "Microsoft\\Edge\\User Data\\";
const std::string kBrave = kLocal + "BraveSoftware\\Brave-Browser\\User Data\\";

// Folders the rules clean out; each must stay itself.
const std::vector<std::string> kJunkRoots = {
    "C:\\windows\\Temp",
    kLocal + "Temp",
    "C:\\windows\\Logs",
    "C:\\windows\\Logs\\CBS",
    "C:\\windows\\Prefetch",
    "C:\\windows\\SoftwareDistribution\\Download",
    kLocal + "Microsoft\\Windows\\WER\\ReportArchive",
    "C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportArchive",
    kLocal + "Microsoft\\Windows\\Explorer",
    kLocal + "Microsoft\\Windows\\INetCache",
    "C:\\$RECYCLE.BIN",
    kProfile + "cache2\\entries",
    kProfile + "thumbnails",
    kChrome + "Default\\Cache",
    kChrome + "Default\\Code Cache",
    kEdge + "Default\\Cache",
    kEdge + "Default\\Code Cache",
    kLocal + "Opera Software\\Opera Stable\\Cache",
    kBrave + "Default\\Cache",
    kLocal + "Vivaldi\\User Data\\Default\\Cache",
};

const std::vector<std::string> kJunk = {
    "C:\\windows\\Temp\\~DF1234.tmp",
    "C:\\windows\\Temp\\msi5\\setup.log",
    kLocal + "Temp\\old.tmp",
    kLocal + "Temp\\unzip\\readme.txt",
    "C:\\windows\\Logs\\setup.log",
    "C:\\windows\\Logs\\CBS\\CBS.log",
    "C:\\windows\\Logs\\DISM\\dism.log",
    "C:\\windows\\Prefetch\\NOTEPAD.EXE-1234.pf",
    "C:\\windows\\SoftwareDistribution\\Download\\a1b2\\update.cab",
    "C:\\windows\\SoftwareDistribution\\Download\\part.tmp",
    kLocal + "Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_1\\Report.wer",
    "C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportArchive\\Kernel_1\\Report.wer",
    kLocal + "Microsoft\\Windows\\Explorer\\thumbcache_256.db",
    kLocal + "Microsoft\\Windows\\INetCache\\IE\\ABC\\page.htm",
    "C:\\$RECYCLE.BIN\\S-1-5-21-1001\\$RA1B2C3.docx",
    kProfile + "cache2\\entries\\0A1B2C",
    kProfile + "thumbnails\\page.png",
    kChrome + "Default\\Cache\\Cache_Data\\f_000001",
    kChrome + "Default\\Code Cache\\js\\index",
    kEdge + "Default\\Cache\\Cache_Data\\f_000002",
    kEdge + "Default\\Code Cache\\wasm\\index",
    kLocal + "Opera Software\\Opera Stable\\Cache\\Cache_Data\\data_0",
    kBrave + "Default\\Cache\\Cache_Data\\data_1",
    kBrave + "Default\\Code Cache\\js\\index",
    kLocal + "Vivaldi\\User Data\\Default\\Cache\\Cache_Data\\data_2",
};

const std::vector<std::string> kKept = {
    kHome + "Documents\\report.docx",
    kHome + "Desktop\\note.txt",
    kHome + "Downloads\\setup.exe",
    kHome + "NTUSER.DAT",
    kHome + "AppData\\Roaming\\App\\settings.ini",
    kHome + "AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini",
    kLocal + "App\\data.db",
    kLocal + "Microsoft\\Windows\\Explorer\\iconcache_256.db",
    kProfile + "prefs.js",
    kProfile + "places.sqlite",
    kChrome + "Local State",
    kChrome + "Default\\Bookmarks",
    kChrome + "Default\\Login Data",
    kEdge + "Default\\History",
    "C:\\windows\\win.ini",
    "C:\\windows\\Logs\\keep.txt",
    "C:\\windows\\Prefetch\\Layout.ini",
    "C:\\windows\\system32\\kernel32.dll",
    "C:\\windows\\system32\\drivers\\etc\\hosts",
    "C:\\ProgramData\\App\\config.xml",
    "C:\\Program Files\\App\\app.exe",
};

// Upper case without a trailing backslash, for comparing paths.
std::string Key(const std::string& path) {
  std::string key = text::UpperAscii(path);
  while (text::Right(key, 1) == "\\") key = text::Left(key, text::Length(key) - 1);
  return key;
}

// True when removing `item` would reach `path`: the same entry or a folder above it.
bool Reaches(const std::string& item, const std::string& path) {
  return Key(path) == Key(item) || Key(path).starts_with(Key(item) + "\\");
}

class ShippedRulesTest : public testing::ScanTest {
 protected:
  ShippedRulesTest() {
    state.RulesKey = EmbeddedRulesKey();
    state.SystemInfo = {"alice", "C:\\windows", "C:\\windows\\system32"};
    for (const std::string& path : kJunk) prefix.FileOfSize(path, 1000);
    for (const std::string& path : kKept) prefix.FileOfSize(path, 777);
    // A link inside a temp folder is an entry there, never a way out of it.
    prefix.Link(kLocal + "Temp\\docs", prefix.Host(kHome + "Documents"));
    state.CategoryFlags = {1, 1, 1, 1};
  }
};

TEST_F(ShippedRulesTest, EveryRuleFindsItsJunkAndNothingElse) {
  ScanPass(state, *platform, view, EmbeddedRulesBlob());
  ASSERT_EQ(view.Calls().back(), "button 1");
  EXPECT_EQ(view.Statuses().back(), "扫描完成！  共发现 " + MegabytesText(state.ScanTotalBytes) +
                                        " MB垃圾");

  for (const std::string& item : state.FoundItems) {
    SCOPED_TRACE(item);
    EXPECT_TRUE(platform->Exists(item));
    for (const std::string& kept : kKept) EXPECT_FALSE(Reaches(item, kept)) << kept;
    for (const std::string& root : kJunkRoots) EXPECT_FALSE(Reaches(item, root)) << root;
    EXPECT_FALSE(Key(item).starts_with(Key(kLocal + "Temp\\docs") + "\\"));
  }
  for (const std::string& junk : kJunk) {
    bool found = std::any_of(state.FoundItems.begin(), state.FoundItems.end(),
                             [&](const std::string& item) { return Reaches(item, junk); });
    EXPECT_TRUE(found) << junk;
  }
  EXPECT_EQ(state.ScanTotalBytes, 1000 * static_cast<int64_t>(kJunk.size()));

  // Every record of the scanned categories found something and kept its row.
  std::set<std::string> names;
  for (int category : {kSystemJunk, kBrowserJunk}) {
    for (int group = 0; group < state.RulesDocument.GroupCount(category); ++group) {
      std::vector<JunkRule> records;
      state.RulesDocument.ReadGroupRules(category, group, records);
      for (const JunkRule& record : records) names.insert(record.Name);
    }
  }
  std::set<std::string> shown;
  for (const auto& row : view.Rows()) shown.insert(row[kColumnType]);
  EXPECT_EQ(shown, names);
}

TEST_F(ShippedRulesTest, RegistryAndOtherJunkScanNothing) {
  state.CategoryFlags = {0, 1, 0, 1};
  ScanPass(state, *platform, view, EmbeddedRulesBlob());
  EXPECT_THAT(state.FoundItems, ::testing::IsEmpty());
  EXPECT_THAT(view.Calls(), ::testing::ElementsAre("status 扫描完成！  共发现 0 MB垃圾", "button 1"));
}

}  // namespace
}  // namespace qm
