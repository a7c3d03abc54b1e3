#include "app_fixture.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QTest>
#include <QTreeWidget>
#include <chrono>
#include <thread>

#include "rules/rules_decoder.h"
#include "rules_encoder.h"

namespace qm::testing {

namespace {

constexpr int kTimeoutMs = 10000;

// One category: its key, a first member that is no group, and one group with
// one rule entry.
std::string Category(const std::string& key, const std::string& name, const std::string& path,
                     const std::string& rule) {
  return R"({")" + key + R"(":[{"说明":"测试","组":[{"Info":{"Name":")" + name + R"(","Path":")" +
         path + R"(","Rule":")" + rule + R"(","Defaylt":"1"}}]}]})";
}

}  // namespace

std::string BlobOf(const std::string& document) {
  return EncodeRules(document, EmbeddedRulesKey(), EmbeddedRulesSalt(), EmbeddedRulesMask());
}

std::string TestRulesBlob() {
  return BlobOf(R"({"Type":[)" +
                Category("系统垃圾", "系统文件", R"(C:\\junk\\sys\\)", "*<SDIR>|*<SFIL>") + "," +
                Category("注册表垃圾", "注册表文件", R"(C:\\junk\\reg\\)", "*<SFIL>") + "," +
                Category("浏览器垃圾", "网页缓存", R"(C:\\junk\\web\\)", "*<SFIL>") + "," +
                Category("其他垃圾", "其他文件", R"(C:\\junk\\other\\)", "*<SFIL>") + "]}");
}

bool ProcessEventsUntil(const std::function<bool()>& done) {
  QDeadlineTimer deadline(kTimeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(2);
  }
  return true;
}

QMessageBox* VisibleErrorBox() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = dynamic_cast<QMessageBox*>(widget);
    if (box && box->isVisible()) return box;
  }
  return nullptr;
}

std::vector<std::string> RowPaths(const QTreeWidget& list) {
  std::vector<std::string> paths;
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    paths.push_back(list.topLevelItem(row)->text(2).toStdString());
  }
  return paths;
}

FileSearch HoldingPlatform::FindFirst(const std::string& pattern, FindFilter filter) {
  ++searches;
  return target_.FindFirst(pattern, filter);
}

int64_t HoldingPlatform::FolderSize(const std::string& path, const StopCheck& stop) {
  ++searches;
  if (holdFolderSize) Hold(stop);
  return target_.FolderSize(path, stop);
}

bool HoldingPlatform::DeleteFile(const std::string& path) {
  if (++deletes_ == holdDeleteAt) Hold(stopRequested);
  return target_.DeleteFile(path);
}

void HoldingPlatform::Hold(const std::function<bool()>& stop) {
  held = true;
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
  while (!(stop && stop())) {
    if (std::chrono::steady_clock::now() > giveUp) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  releasedByStop = true;
}

AppTest::AppTest() {
  state.RulesKey = EmbeddedRulesKey();
  prefix.FileOfSize("C:\\junk\\sys\\a.tmp", 1000);
  prefix.FileOfSize("C:\\junk\\sys\\b.tmp", 536);
  prefix.FileOfSize("C:\\junk\\sys\\logs\\x.log", 512);
  prefix.FileOfSize("C:\\junk\\reg\\r.dat", 100);
  prefix.FileOfSize("C:\\junk\\web\\cache.bin", 3000);
  prefix.FileOfSize("C:\\junk\\other\\o.dat", 100);
  prefix.File("C:\\keep\\doc.txt", "keep me");
  prefix.File("C:\\keep\\sub\\more.txt", "and me");
  canaryBefore = Snapshot(canary);
}

}  // namespace qm::testing
