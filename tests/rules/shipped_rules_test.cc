// The rules the program carries: the embedded blob is data/rules.json, loads,
// reads back rule for rule, and its rules clean junk and nothing else.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "clean/clean_pass.h"
#include "rules/rules_decoder.h"
#include "rules/rules_document.h"
#include "scan/scan_pass.h"
#include "support/recording_view.h"
#include "support/temp_prefix.h"

namespace qm {
namespace {

std::string RulesJson() {
  std::ifstream in(QM_RULES_JSON, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Unescape(const std::string& json) {
  return std::regex_replace(json, std::regex(R"(\\(.))"), "$1");
}

// Every Info record of the file in text order, read without the script engine.
std::vector<JunkRule> RulesInFileOrder(const std::string& json) {
  const std::regex info(
      R"re("Name"\s*:\s*"((?:[^"\\]|\\.)*)"\s*,\s*"Path"\s*:\s*"((?:[^"\\]|\\.)*)"\s*,\s*)re"
      R"re("Rule"\s*:\s*"((?:[^"\\]|\\.)*)"\s*,\s*"Defaylt"\s*:\s*"?(-?\d+)"?)re");
  std::vector<JunkRule> rules;
  for (auto m = std::sregex_iterator(json.begin(), json.end(), info); m != std::sregex_iterator();
       ++m) {
    rules.push_back({Unescape((*m)[1]), Unescape((*m)[2]), Unescape((*m)[3]),
                     std::stoi((*m)[4])});
  }
  return rules;
}

TEST(ShippedRules, TheEmbeddedBlobIsTheRulesFile) {
  EXPECT_EQ(EmbeddedRulesKey().size(), 2048u);
  EXPECT_EQ(EmbeddedRulesSalt().size(), 512u);
  const std::string json = RulesJson();
  ASSERT_FALSE(json.empty()) << QM_RULES_JSON;
  EXPECT_EQ(RulesDecoder(EmbeddedRulesBlob(), EmbeddedRulesKey()), json);
}

TEST(ShippedRules, LoadAndReadBackRuleForRule) {
  RulesDocument document;
  ASSERT_TRUE(document.LoadBytes(RulesDecoder(EmbeddedRulesBlob(), EmbeddedRulesKey())));
  ASSERT_EQ(document.CategoryCount(), 4);
  const char* keys[] = {"系统垃圾", "注册表垃圾", "浏览器垃圾", "其他垃圾"};
  for (int category = 0; category < 4; ++category) {
    EXPECT_EQ(document.CategoryKey(category), keys[category]);
  }
  // Registry and other junk have no scan work.
  EXPECT_EQ(document.GroupCount(1), 0);
  EXPECT_EQ(document.GroupCount(3), 0);

  std::vector<JunkRule> read;
  for (int category : {0, 2}) {
    ASSERT_GT(document.GroupCount(category), 0) << category;
    for (int group = 0; group < document.GroupCount(category); ++group) {
      std::vector<JunkRule> rules;
      ASSERT_TRUE(document.ReadGroupRules(category, group, rules)) << category << " " << group;
      read.insert(read.end(), rules.begin(), rules.end());
    }
  }
  const std::vector<JunkRule> expected = RulesInFileOrder(RulesJson());
  ASSERT_EQ(read.size(), expected.size());
  ASSERT_GT(expected.size(), 10u);
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(read[i].Name, expected[i].Name) << i;
    EXPECT_EQ(read[i].Path, expected[i].Path) << i;
    EXPECT_EQ(read[i].Rule, expected[i].Rule) << i;
    EXPECT_EQ(read[i].Defaylt, expected[i].Defaylt) << i;
  }
  EXPECT_EQ(expected[0].Path, "<WIN>\\Temp\\");
}

// A profile with junk where every rule looks and keepsakes right next to it.
// A scan and a clean with every category ticked remove the junk, keep every
// keepsake, and leave the junk folders themselves in place.
TEST(ShippedRules, CleanJunkAndNothingElse) {
  testing::TempPrefix prefix;
  const std::string user = "C:\\users\\alice\\";
  const std::string local = user + "AppData\\Local\\";
  const std::string firefox = local + "Mozilla\\Firefox\\Profiles\\k3y.default\\";
  const std::string chrome = local + "Google\\Chrome\\User Data\\Default\\";
  const std::string edge = local + "Microsoft\\Edge\\User Data\\Default\\";
  const std::string brave = local + "BraveSoftware\\Brave-Browser\\User Data\\Default\\";
  const std::vector<std::string> junk = {
      "C:\\windows\\Temp\\a.tmp",
      "C:\\windows\\Temp\\setup\\b.tmp",
      local + "Temp\\c.tmp",
      local + "Temp\\unpacked\\d.dll",
      "C:\\windows\\Logs\\setup.log",
      "C:\\windows\\Logs\\CBS\\CBS.log",
      "C:\\windows\\Prefetch\\APP.EXE-1A2B3C4D.pf",
      "C:\\windows\\SoftwareDistribution\\Download\\0f1e\\update.cab",
      local + "Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x\\Report.wer",
      "C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportArchive\\Kernel_y\\Report.wer",
      local + "Microsoft\\Windows\\Explorer\\thumbcache_256.db",
      "C:\\$RECYCLE.BIN\\S-1-5-21-1001\\$RAB12CD.txt",
      firefox + "cache2\\entries\\0A1B2C",
      firefox + "thumbnails\\page.png",
      chrome + "Cache\\Cache_Data\\data_1",
      chrome + "Code Cache\\js\\index",
      edge + "Cache\\Cache_Data\\data_1",
      edge + "Code Cache\\wasm\\index",
      local + "Microsoft\\Windows\\INetCache\\IE\\page.htm",
      local + "Opera Software\\Opera Stable\\Cache\\data_0",
      brave + "Cache\\Cache_Data\\f_000001",
      brave + "Code Cache\\js\\index",
      local + "Vivaldi\\User Data\\Default\\Cache\\Cache_Data\\data_2",
  };
  const std::vector<std::string> keepsakes = {
      user + "Documents\\report.docx",
      user + "Desktop\\note.txt",
      user + "Downloads\\setup.exe",
      user + "NTUSER.DAT",
      local + "Temp.txt",
      firefox + "startupCache\\scriptCache.bin",
      user + "AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\k3y.default\\places.sqlite",
      chrome + "Bookmarks",
      chrome + "Login Data",
      edge + "History",
      local + "Microsoft\\Windows\\Explorer\\iconcache_32.db",
      "C:\\windows\\win.ini",
      "C:\\windows\\system32\\kernel32.dll",
      "C:\\windows\\Logs\\CBS\\CbsPersist.cab",
      "C:\\windows\\Prefetch\\Layout.ini",
      "C:\\windows\\SoftwareDistribution\\DataStore\\DataStore.edb",
      "C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportQueue\\Report.wer",
  };
  for (const std::string& path : junk) prefix.FileOfSize(path, 1000);
  for (const std::string& path : keepsakes) prefix.File(path, "keep: " + path);

  AppState state;
  state.RulesKey = EmbeddedRulesKey();
  state.SystemInfo = {"alice", "C:\\windows", "C:\\windows\\system32"};
  state.CategoryFlags = {1, 1, 1, 1};
  std::unique_ptr<Platform> platform = prefix.MakePlatform();
  testing::RecordingView view;
  ScanPass(state, *platform, view, EmbeddedRulesBlob());
  EXPECT_EQ(state.ScanTotalBytes, 1000 * static_cast<int64_t>(junk.size()));
  CleanPass(state, *platform, view);

  for (const std::string& path : junk) {
    EXPECT_FALSE(platform->Exists(path)) << path;
    // The folder that held it stays.
    EXPECT_TRUE(platform->Exists(path.substr(0, path.rfind('\\')))) << path;
  }
  for (const std::string& path : keepsakes) {
    std::string content;
    EXPECT_TRUE(platform->ReadFile(path, &content)) << path;
    EXPECT_EQ(content, "keep: " + path);
  }
}

}  // namespace
}  // namespace qm
