#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

#include "app/results_window.h"
#include "app_fixture.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;

const char kScanDone[] = "扫描完成！";
const char kCleanDone[] = "清理完成！";

class ResultsWindowTest : public AppTest {
 protected:
  ResultsWindowTest() { state.CategoryFlags = {1, 0, 1, 0}; }

  static bool StatusStartsWith(const ResultsWindow& window, const char* prefix) {
    return window.StatusLabel()->text().startsWith(QString::fromUtf8(prefix));
  }
  static QPoint RowCenter(const ResultsWindow& window, int row) {
    QTreeWidget* list = window.ResultList();
    return list->visualItemRect(list->topLevelItem(row)).center();
  }
};

TEST_F(ResultsWindowTest, OpensWaitingWithAnEmptyListAndTheCleanButtonDisabled) {
  // The scan starts at once, but its updates wait for this thread's events.
  ResultsWindow window(state, platform, TestRulesBlob());

  EXPECT_EQ(window.windowTitle(), "Quillmoder");
  EXPECT_EQ(window.pos(), QPoint(50, 50));
  const struct {
    QWidget* control;
    QRect geometry;
  } controls[] = {
      {window.StatusLabel(), {16, 8, 576, 24}},
      {window.ResultList(), {16, 40, 584, 248}},
      {window.ExitButton(), {16, 304, 120, 24}},
      {window.CleanButton(), {480, 304, 120, 24}},
  };
  for (const auto& c : controls) {
    EXPECT_EQ(c.control->geometry(), c.geometry);
    EXPECT_TRUE(window.rect().contains(c.geometry));
  }
  EXPECT_EQ(window.StatusLabel()->text(), "等待用户操作...");
  EXPECT_EQ(window.ExitButton()->text(), "退出");
  EXPECT_TRUE(window.ExitButton()->isEnabled());
  EXPECT_EQ(window.CleanButton()->text(), "清理所有垃圾");
  EXPECT_FALSE(window.CleanButton()->isEnabled());

  QTreeWidget* list = window.ResultList();
  EXPECT_EQ(list->topLevelItemCount(), 0);
  ASSERT_EQ(list->columnCount(), 3);
  const struct {
    QString title;
    int width;
  } columns[] = {{"垃圾类型", 150}, {"大小", 80}, {"垃圾路径", 350}};
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(list->headerItem()->text(column), columns[column].title);
    EXPECT_EQ(list->columnWidth(column), columns[column].width);
  }
  EXPECT_FALSE(list->rootIsDecorated());
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(ResultsWindowTest, ScanFillsTheListThenACleanEmptiesItAndEnablesTheButtonAgain) {
  ResultsWindow window(state, platform, TestRulesBlob());
  window.show();
  ASSERT_TRUE(ProcessEventsUntil([&] { return window.CleanButton()->isEnabled(); }));
  QTreeWidget* list = window.ResultList();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  const char* expected[2][3] = {{"系统文件", "2 KB", "C:\\junk\\sys\\"},
                                {"网页缓存", "2.92969 KB", "C:\\junk\\web\\"}};
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) {
      EXPECT_EQ(list->topLevelItem(row)->text(column).toStdString(), expected[row][column]);
    }
  }

  QTest::mouseClick(window.CleanButton(), Qt::LeftButton);
  EXPECT_FALSE(window.CleanButton()->isEnabled());  // at once, before the worker says so
  ASSERT_TRUE(ProcessEventsUntil([&] { return StatusStartsWith(window, kCleanDone); }));
  ASSERT_TRUE(ProcessEventsUntil([&] { return window.CleanButton()->isEnabled(); }));
  EXPECT_EQ(window.StatusLabel()->text(), "清理完成！  成功清理 0.00481415 MB垃圾");
  EXPECT_EQ(list->topLevelItemCount(), 0);
  EXPECT_TRUE(state.FoundItems.empty());
  for (const char* gone : {"C:\\junk\\sys\\a.tmp", "C:\\junk\\sys\\b.tmp",
                           "C:\\junk\\sys\\logs\\x.log", "C:\\junk\\web\\cache.bin"}) {
    EXPECT_FALSE(fs::exists(prefix.Host(gone))) << gone;
  }
  EXPECT_TRUE(fs::is_directory(prefix.Host("C:\\junk\\sys\\logs")));  // emptied, not removed
  EXPECT_TRUE(fs::exists(prefix.Host("C:\\junk\\reg\\r.dat")));        // not ticked
  EXPECT_EQ(Snapshot(canary), canaryBefore);

  // A further click cleans the now empty list of found items.
  QTest::mouseClick(window.CleanButton(), Qt::LeftButton);
  ASSERT_TRUE(ProcessEventsUntil([&] { return window.CleanButton()->isEnabled(); }));
  EXPECT_EQ(window.StatusLabel()->text(), "清理完成！  成功清理 0 MB垃圾");
}

TEST_F(ResultsWindowTest, DoubleClickCopiesThePathOfTheSelectedRowAndNothingWithoutOne) {
  ResultsWindow window(state, platform, TestRulesBlob());
  window.show();
  ASSERT_TRUE(ProcessEventsUntil([&] { return window.CleanButton()->isEnabled(); }));
  QWidget* rows = window.ResultList()->viewport();
  QClipboard* clipboard = QGuiApplication::clipboard();

  // Below the last row: no row is selected.
  clipboard->setText("unchanged");
  const QPoint belowRows(20, rows->height() - 5);
  QTest::mouseClick(rows, Qt::LeftButton, {}, belowRows);
  QTest::mouseDClick(rows, Qt::LeftButton, {}, belowRows);
  ASSERT_TRUE(window.ResultList()->selectedItems().isEmpty());
  EXPECT_EQ(clipboard->text(), "unchanged");

  for (int row : {1, 0}) {
    SCOPED_TRACE(row);
    QTest::mouseClick(rows, Qt::LeftButton, {}, RowCenter(window, row));
    QTest::mouseDClick(rows, Qt::LeftButton, {}, RowCenter(window, row));
    EXPECT_EQ(clipboard->text().toStdString(), RowPaths(*window.ResultList())[row]);
  }
}

// Records how each column's cells are asked to be cut when they do not fit.
class ElideRecorder final : public QProxyStyle {
 public:
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (const auto* cell = qstyleoption_cast<const QStyleOptionViewItem*>(option)) {
      if (element == CE_ItemViewItem) modes[cell->index.column()] = cell->textElideMode;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }
  mutable std::map<int, Qt::TextElideMode> modes;
};

// The size column is narrow for sizes such as "0.488281 KB": they are cut at
// the end, never in the middle, where the cut would read as another number.
// Long paths are cut in the middle, keeping the drive and the last folders.
TEST_F(ResultsWindowTest, OnlyPathsAreCutInTheMiddle) {
  ElideRecorder recorder;  // outlives the window that draws with it
  ResultsWindow window(state, platform, TestRulesBlob());
  window.show();
  ASSERT_TRUE(ProcessEventsUntil([&] { return window.CleanButton()->isEnabled(); }));
  window.ResultList()->setStyle(&recorder);
  window.ResultList()->grab();

  EXPECT_EQ(recorder.modes, (std::map<int, Qt::TextElideMode>{{kColumnType, Qt::ElideRight},
                                                               {kColumnSize, Qt::ElideRight},
                                                               {kColumnPath, Qt::ElideMiddle}}));
}

TEST_F(ResultsWindowTest, RulesThatFailToLoadShowTheBoxAndLeaveTheWindowWaiting) {
  ResultsWindow window(state, platform, BlobOf("{"));
  window.show();
  ASSERT_TRUE(ProcessEventsUntil([] { return VisibleErrorBox() != nullptr; }));
  QMessageBox* box = VisibleErrorBox();
  EXPECT_EQ(box->text(), "载入配置失败！");
  EXPECT_EQ(box->windowTitle(), "错误");
  EXPECT_EQ(box->icon(), QMessageBox::Critical);
  EXPECT_EQ(box->parentWidget(), &window);

  QTest::qWait(20);  // anything the worker might still send
  EXPECT_EQ(window.StatusLabel()->text(), "等待用户操作...");
  EXPECT_EQ(window.ResultList()->topLevelItemCount(), 0);
  EXPECT_FALSE(window.CleanButton()->isEnabled());

  EXPECT_EQ(box->windowModality(), Qt::WindowModal);  // the window waits for OK

  QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  window.close();
  EXPECT_EQ(VisibleErrorBox(), nullptr);
  EXPECT_FALSE(state.WorkerThread.joinable());
}

TEST_F(ResultsWindowTest, ClosingDuringAScanStopsTheWorkerBeforeTheWindowGoes) {
  platform.holdFolderSize = true;  // the scan stops in its first folder measurement
  for (bool byExitButton : {false, true}) {
    SCOPED_TRACE(byExitButton ? "exit button" : "close box");
    platform.held = false;
    platform.releasedByStop = false;
    AppState scanState;
    scanState.RulesKey = state.RulesKey;
    scanState.CategoryFlags = state.CategoryFlags;
    ResultsWindow window(scanState, platform, TestRulesBlob());
    window.show();
    ASSERT_TRUE(ProcessEventsUntil([&] { return platform.held.load(); }));

    if (byExitButton) {
      QTest::mouseClick(window.ExitButton(), Qt::LeftButton);
    } else {
      window.close();
    }
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(platform.releasedByStop);
    EXPECT_FALSE(scanState.WorkerThread.joinable());  // returned and joined

    // Nothing after the stop: the browser folder was never searched.
    QTest::qWait(20);
    for (const std::string& item : scanState.FoundItems) {
      EXPECT_EQ(item.find("web"), std::string::npos) << item;
    }
    for (const std::string& path : RowPaths(*window.ResultList())) {
      EXPECT_NE(path, "C:\\junk\\web\\");
    }
    EXPECT_FALSE(StatusStartsWith(window, kScanDone));
  }
}

TEST_F(ResultsWindowTest, ClosingDuringACleanKeepsWhatWasDeleted) {
  ResultsWindow window(state, platform, TestRulesBlob());
  window.show();
  ASSERT_TRUE(ProcessEventsUntil([&] { return window.CleanButton()->isEnabled(); }));
  // Found in this order: the logs folder, a.tmp, b.tmp, cache.bin. The clean
  // is held in its second file deletion (b.tmp), which finishes after the stop.
  platform.stopRequested = [&window] { return window.StopRequested(); };
  platform.holdDeleteAt = 2;

  QTest::mouseClick(window.CleanButton(), Qt::LeftButton);
  ASSERT_TRUE(ProcessEventsUntil([&] { return platform.held.load(); }));
  window.close();

  EXPECT_TRUE(platform.releasedByStop);
  EXPECT_FALSE(state.WorkerThread.joinable());
  EXPECT_FALSE(fs::exists(prefix.Host("C:\\junk\\sys\\logs\\x.log")));
  EXPECT_FALSE(fs::exists(prefix.Host("C:\\junk\\sys\\a.tmp")));
  EXPECT_FALSE(fs::exists(prefix.Host("C:\\junk\\sys\\b.tmp")));
  EXPECT_TRUE(fs::exists(prefix.Host("C:\\junk\\web\\cache.bin")));  // never reached
  QTest::qWait(20);
  EXPECT_FALSE(StatusStartsWith(window, kCleanDone));
  EXPECT_EQ(Snapshot(canary), canaryBefore);
}

}  // namespace
}  // namespace qm::testing
