#include "scan/scan_pass.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rules/rules_decoder.h"
#include "rules_encoder.h"
#include "scan_fixture.h"

namespace qm {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Texts = std::vector<std::string>;

// One record per interesting path shape in each category; the registry
// category names real junk too, which must never be scanned.
const char kDocument[] = R"({"Type": [
  {"系统垃圾": [{
    "说明": "系统产生的临时文件",
    "临时文件": [
      {"Info": {"Name": "用户临时文件", "Path": "<USER>\\AppData\\Local\\Temp\\", "Rule": "*<SDIR>|*<SFIL>", "Defaylt": "1"}},
      {"Info": {"Name": "空路径", "Path": "", "Rule": "*<SFIL>", "Defaylt": "1"}},
      {"Info": {"Name": "三段路径", "Path": "C:\\P1\\||C:\\P2\\", "Rule": "*.log<SFIL>", "Defaylt": "1"}}
    ],
    "回收站": [
      {"Info": {"Name": "回收站", "Path": "<RECYCLEBIN>", "Rule": "*<SDIR>|*<SFIL>", "Defaylt": "1"}}
    ]
  }]},
  {"注册表垃圾": [{"说明": "无扫描", "注册表": [
      {"Info": {"Name": "注册表", "Path": "C:\\Reg\\", "Rule": "*<SFIL>", "Defaylt": "1"}}
  ]}]},
  {"浏览器垃圾": [{"说明": "浏览器缓存", "火狐": [
      {"Info": {"Name": "火狐缓存", "Path": "<FIREFOX^1>", "Rule": "*<SFILS>", "Defaylt": "1"}}
  ]}]},
  {"其他垃圾": [{"说明": "无扫描", "其他": [
      {"Info": {"Name": "其他", "Path": "C:\\Reg\\", "Rule": "*<SFIL>", "Defaylt": "1"}}
  ]}]}
]})";

const std::string kTemp = "C:\\Users\\alice\\AppData\\Local\\Temp\\";
const std::string kCache =
    "C:\\Users\\alice\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\p.default\\cache2\\entries\\";

std::string Blob(const std::string& document) {
  return EncodeRules(document, EmbeddedRulesKey(), EmbeddedRulesSalt(), EmbeddedRulesMask());
}

class ScanPassTest : public testing::ScanTest {
 protected:
  ScanPassTest() {
    state.RulesKey = EmbeddedRulesKey();
    state.SystemInfo = {"alice", "C:\\windows", "C:\\windows\\system32"};
  }

  void MakeJunk() {
    prefix.FileOfSize(kTemp + "old.tmp", 1024);
    prefix.FileOfSize(kTemp + "setup\\part.bin", 2048);
    prefix.FileOfSize("C:\\P1\\a.log", 512);
    prefix.FileOfSize("C:\\P2\\b.log", 512);
    prefix.FileOfSize("C:\\$RECYCLE.BIN\\S-1\\$RABC.txt", 4096);
    prefix.Folder("C:\\$RECYCLE.BIN\\S-2");
    prefix.FileOfSize(kCache + "ABCDEF", 8192);
    prefix.FileOfSize("C:\\Reg\\keep.reg", 100);
  }

  void Scan(std::array<int32_t, 4> flags, const std::string& document = kDocument) {
    state.CategoryFlags = flags;
    ScanPass(state, *platform, view, Blob(document));
  }

  Texts RowsAsText() const {
    Texts rows;
    for (const auto& row : view.Rows()) rows.push_back(row[0] + " | " + row[1] + " | " + row[2]);
    return rows;
  }
};

TEST_F(ScanPassTest, ScansSystemThenBrowserJunkInDocumentOrder) {
  MakeJunk();
  Scan({1, 1, 1, 1});
  EXPECT_THAT(RowsAsText(), ElementsAre("用户临时文件 | 3 KB | " + kTemp,
                                        "三段路径 | 0.5 KB | C:\\P1\\",
                                        "三段路径 | 0.5 KB | C:\\P2\\",
                                        "回收站 | 4 KB | C:\\$RECYCLE.BIN\\S-1",
                                        "火狐缓存 | 8 KB | " + kCache));
  EXPECT_THAT(state.FoundItems,
              ElementsAre(kTemp + "setup", kTemp + "old.tmp", "C:\\P1\\a.log", "C:\\P2\\b.log",
                          "C:\\$RECYCLE.BIN\\S-1\\$RABC.txt", kCache + "ABCDEF"));
  EXPECT_EQ(state.ScanTotalBytes, 16384);

  // An empty expanded path gives no row at all; the empty piece between two
  // separators is evaluated once, as an empty path, and its row removed.
  Texts appended;
  for (const std::string& call : view.Calls()) {
    if (call.starts_with("append ")) appended.push_back(call.substr(7));
  }
  EXPECT_THAT(appended, ElementsAre("用户临时文件", "三段路径", "三段路径", "三段路径",
                                    "回收站", "回收站", "火狐缓存"));

  const Texts statuses = view.Statuses();
  ASSERT_EQ(statuses.size(), 8u);  // one per evaluated path, then the final text
  EXPECT_EQ(statuses[0], "正在扫描垃圾中...  目前发现 0.00292969 MB垃圾");
  EXPECT_EQ(statuses[7], "扫描完成！  共发现 0.015625 MB垃圾");
  EXPECT_EQ(view.Calls().back(), "button 1");
}

TEST_F(ScanPassTest, CategoriesWithoutScanWorkScanNothing) {
  MakeJunk();
  using Flags = std::array<int32_t, 4>;
  for (const Flags& flags : {Flags{0, 0, 0, 0}, Flags{0, 1, 0, 1}}) {
    testing::RecordingView fresh;
    state.CategoryFlags = flags;
    ScanPass(state, *platform, fresh, Blob(kDocument));
    EXPECT_THAT(fresh.Calls(), ElementsAre("status 扫描完成！  共发现 0 MB垃圾", "button 1"));
    EXPECT_THAT(state.FoundItems, IsEmpty());
  }
}

TEST_F(ScanPassTest, BrowserJunkAlone) {
  MakeJunk();
  Scan({0, 0, 1, 0});
  EXPECT_THAT(state.FoundItems, ElementsAre(kCache + "ABCDEF"));
  EXPECT_EQ(view.Statuses().back(), "扫描完成！  共发现 0.0078125 MB垃圾");
}

TEST_F(ScanPassTest, RulesThatDoNotLoadShowTheErrorAndChangeNothing) {
  MakeJunk();
  const std::string blobs[] = {"", "not a rules blob at all", Blob("{\"Type\": [ broken"),
                               Blob("null")};
  for (const std::string& blob : blobs) {
    testing::RecordingView fresh;
    state.CategoryFlags = {1, 1, 1, 1};
    ScanPass(state, *platform, fresh, blob);
    EXPECT_THAT(fresh.Calls(), ElementsAre("error 错误: 载入配置失败！"));
    EXPECT_THAT(state.FoundItems, IsEmpty());
    EXPECT_EQ(state.ScanTotalBytes, 0);
  }
}

TEST_F(ScanPassTest, StopRequestEndsThePassWithinOneEntry) {
  for (int d = 0; d < 30; ++d) {
    for (int f = 0; f < 30; ++f) {
      prefix.File(kTemp + "d" + std::to_string(100 + d) + "\\f" + std::to_string(f), "x");
    }
  }
  MakeJunk();
  size_t itemsAtStop = 0;
  size_t callsAtStop = 0;
  view.OnStopCheck([&] {
    if (view.StopChecks() != 20) return;
    view.RequestStop();
    itemsAtStop = state.FoundItems.size();
    callsAtStop = view.Calls().size();
  });
  Scan({1, 0, 1, 0});
  EXPECT_EQ(view.StopChecks(), 20);
  EXPECT_EQ(state.FoundItems.size(), itemsAtStop);
  EXPECT_EQ(view.Calls().size(), callsAtStop);  // no final text, no button
}

}  // namespace
}  // namespace qm
