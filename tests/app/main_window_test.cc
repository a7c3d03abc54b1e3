#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <array>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app_fixture.h"

namespace qm::testing {
namespace {

using MainWindowTest = AppTest;

TEST_F(MainWindowTest, OpensWithItsControlsInPlaceAndFillsTheSystemFacts) {
  MainWindow window(state, platform, TestRulesBlob());

  EXPECT_EQ(window.windowTitle(), "Quillmoder");
  EXPECT_EQ(window.pos(), QPoint(50, 50));
  const struct {
    QWidget* control;
    QString text;
    QRect geometry;
  } controls[] = {
      {window.CategoryGroup(), "清理项", {8, 16, 136, 128}},
      {window.CategoryBox(kSystemJunk), "系统垃圾", {8, 24, 80, 16}},
      {window.CategoryBox(kRegistryJunk), "注册表垃圾", {8, 48, 80, 16}},
      {window.CategoryBox(kBrowserJunk), "浏览器垃圾", {8, 72, 80, 16}},
      {window.CategoryBox(kOtherJunk), "其他垃圾", {8, 96, 80, 16}},
      {window.StartButton(), "开始搜寻", {160, 24, 112, 32}},
      {window.ExitButton(), "退出", {160, 112, 112, 24}},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.text.toStdString());
    const QString text = c.control == window.CategoryGroup()
                             ? window.CategoryGroup()->title()
                             : static_cast<QAbstractButton*>(c.control)->text();
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(c.control->geometry(), c.geometry);
    EXPECT_TRUE(c.control->isEnabled());
  }
  EXPECT_TRUE(window.CategoryBox(kSystemJunk)->isChecked());
  EXPECT_FALSE(window.CategoryBox(kRegistryJunk)->isChecked());
  EXPECT_TRUE(window.CategoryBox(kBrowserJunk)->isChecked());
  EXPECT_FALSE(window.CategoryBox(kOtherJunk)->isChecked());
  // Every control lies inside the window.
  EXPECT_TRUE(window.rect().contains(window.CategoryGroup()->geometry()));
  EXPECT_TRUE(window.rect().contains(window.ExitButton()->geometry()));

  EXPECT_EQ(state.SystemInfo.UserName, platform.UserName());
  EXPECT_EQ(state.SystemInfo.WindowsDirectory, "C:\\windows");
  EXPECT_EQ(state.SystemInfo.SystemDirectory, "C:\\windows\\system32");
  EXPECT_EQ(state.CategoryFlags, (std::array<int32_t, 4>{0, 0, 0, 0}));
}

TEST_F(MainWindowTest, AFailedLoadShowsTheBoxAndRecordsNothing) {
  const std::string good = TestRulesBlob();
  const struct {
    const char* what;
    std::string blob;
  } cases[] = {
      {"no blob", ""},
      {"half a blob", good.substr(0, good.size() / 2)},
      {"a blob of a text that is not JSON", BlobOf("这不是配置")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MainWindow window(state, platform, c.blob);
    window.show();

    for (int press = 1; press <= 2; ++press) {  // the user may press again
      QTest::mouseClick(window.StartButton(), Qt::LeftButton);
      QMessageBox* box = VisibleErrorBox();
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text(), "载入配置信息失败！");
      EXPECT_EQ(box->windowTitle(), "错误");
      EXPECT_EQ(box->icon(), QMessageBox::Critical);
      EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      EXPECT_TRUE(ProcessEventsUntil([] { return VisibleErrorBox() == nullptr; }));
    }

    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.TakeResultsWindow(), nullptr);
    EXPECT_EQ(state.CategoryFlags, (std::array<int32_t, 4>{0, 0, 0, 0}));
  }
}

TEST_F(MainWindowTest, StartRecordsTheTickedBoxesAndScansThoseCategories) {
  const struct {
    const char* what;
    std::array<bool, 4> ticks;
    std::array<int32_t, 4> flags;
    std::vector<std::string> rows;
    const char* status;
  } cases[] = {
      {"as the window opens", {true, false, true, false}, {1, 0, 1, 0},
       {"C:\\junk\\sys\\", "C:\\junk\\web\\"}, "扫描完成！  共发现 0.00481415 MB垃圾"},
      {"browser junk only", {false, false, true, false}, {0, 0, 1, 0},
       {"C:\\junk\\web\\"}, "扫描完成！  共发现 0.00286102 MB垃圾"},
      // Registry and other junk have no scan work.
      {"every box", {true, true, true, true}, {1, 1, 1, 1},
       {"C:\\junk\\sys\\", "C:\\junk\\web\\"}, "扫描完成！  共发现 0.00481415 MB垃圾"},
      {"no box", {false, false, false, false}, {0, 0, 0, 0}, {}, "扫描完成！  共发现 0 MB垃圾"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AppState caseState;
    caseState.RulesKey = state.RulesKey;
    MainWindow window(caseState, platform, TestRulesBlob());
    window.show();
    for (int k = 0; k < 4; ++k) window.CategoryBox(k)->setChecked(c.ticks[k]);

    QTest::mouseClick(window.StartButton(), Qt::LeftButton);

    EXPECT_EQ(caseState.CategoryFlags, c.flags);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    std::unique_ptr<ResultsWindow> results = window.TakeResultsWindow();
    ASSERT_NE(results, nullptr);
    EXPECT_TRUE(results->isVisible());
    EXPECT_TRUE(ProcessEventsUntil([&] { return results->CleanButton()->isEnabled(); }));
    EXPECT_EQ(results->StatusLabel()->text().toStdString(), c.status);
    EXPECT_EQ(RowPaths(*results->ResultList()), c.rows);
  }
}

}  // namespace
}  // namespace qm::testing
