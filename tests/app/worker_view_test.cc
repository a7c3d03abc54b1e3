#include <QObject>
#include <QTest>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "app/worker_view.h"
#include "app_fixture.h"
#include "support/recording_view.h"

namespace qm::testing {
namespace {

// Waits for the worker without processing this thread's events; false when it
// does not finish within 10 seconds.
bool FinishesWhileTheWindowIsBusy(std::thread& worker, const std::atomic<bool>& done) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (!done) return false;
  worker.join();
  return true;
}

TEST(WorkerViewTest, CallsReachTheWindowInOrderWithoutTheWorkerWaiting) {
  QObject context;
  RecordingView window;
  WorkerView view(context, window);
  std::vector<int> indices;
  std::atomic<bool> done{false};

  std::thread worker([&] {
    indices.push_back(view.AppendRow("a"));  // 0
    indices.push_back(view.AppendRow("b"));  // 1
    view.SetCell(1, 2, "C:\\b\\");
    view.DeleteRow(0);
    indices.push_back(view.AppendRow("c"));  // 1 again: "b" moved up
    view.SetCell(1, 1, "正在搜索...");
    view.SetCell(1, 1, "1.5 KB");
    for (int i = 1; i <= 10000; ++i) view.SetStatus("进度 " + std::to_string(i));
    view.ShowError("载入配置失败！", "错误");
    view.EnableCleanButton(true);
    view.DeleteAllRows();
    indices.push_back(view.AppendRow("d"));  // 0 after the list was emptied
    done = true;
  });
  ASSERT_TRUE(FinishesWhileTheWindowIsBusy(worker, done));
  EXPECT_TRUE(window.Calls().empty());  // nothing reaches the window off its own thread

  ASSERT_TRUE(ProcessEventsUntil([&] { return window.Rows().size() == 1; }));
  EXPECT_EQ(indices, (std::vector<int>{0, 1, 1, 0}));
  // In order; texts overwritten before the window could show them are dropped.
  EXPECT_EQ(window.Calls(), (std::vector<std::string>{
                                "append a", "append b", "cell 1 2 C:\\b\\", "delete 0", "append c",
                                "cell 1 1 1.5 KB", "status 进度 10000", "error 错误: 载入配置失败！",
                                "button 1", "clear", "append d"}));
}

TEST(WorkerViewTest, UpdatesStillQueuedDieWithTheirWindow) {
  RecordingView window;
  auto context = std::make_unique<QObject>();
  WorkerView view(*context, window);
  std::thread([&] { view.SetStatus("迟到"); }).join();
  context.reset();
  QTest::qWait(10);
  EXPECT_TRUE(window.Calls().empty());
}

TEST(WorkerViewTest, AStopRequestReachesTheWorker) {
  QObject context;
  RecordingView window;
  WorkerView view(context, window);
  std::atomic<bool> sawRunning{false};
  std::atomic<bool> started{false};
  std::atomic<bool> done{false};

  std::thread worker([&] {
    sawRunning = !view.StopRequested();
    started = true;
    while (!view.StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    done = true;
  });
  while (!started) std::this_thread::yield();
  view.RequestStop();
  ASSERT_TRUE(FinishesWhileTheWindowIsBusy(worker, done));
  EXPECT_TRUE(sawRunning);
}

}  // namespace
}  // namespace qm::testing
