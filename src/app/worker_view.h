// The ResultsView that a worker thread gets. Each call is queued in order and
// one posted event applies everything queued so far to the window's own view
// on the GUI thread, so the worker never waits on the window, and a window that
// is busy (or closing) receives the updates in batches instead of one event
// per call.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "scan/results_view.h"

class QObject;

namespace qm {

class WorkerView final : public ResultsView {
 public:
  // `window` receives the calls on the thread of `context`; updates still
  // queued when `context` is destroyed are dropped with it.
  WorkerView(QObject& context, ResultsView& window);
  WorkerView(const WorkerView&) = delete;
  WorkerView& operator=(const WorkerView&) = delete;

  // Rows are added and removed only by the workers, one at a time, so the
  // index of an appended row is known here without asking the window.
  int AppendRow(const std::string& type) override;
  void SetCell(int row, int column, const std::string& text) override;
  void DeleteRow(int row) override;
  void DeleteAllRows() override;
  void SetStatus(const std::string& text) override;
  void EnableCleanButton(bool enabled) override;
  // Queued like the rest: the window shows the box, the worker goes on.
  void ShowError(const std::string& text, const std::string& title) override;
  bool StopRequested() override;

  // Asks the running worker to return at its next check. Never undone: the
  // window only asks when it is closing.
  void RequestStop();

 private:
  struct Update {
    enum Kind { kAppend, kCell, kDelete, kClear, kStatus, kButton, kError } kind;
    int row = 0;
    int column = 0;
    bool enabled = false;
    std::string text{};
    std::string title{};
  };

  void Queue(Update update);
  // GUI thread: applies and empties the queue.
  void ApplyQueued();

  QObject& context_;
  ResultsView& window_;
  int rows_ = 0;  // worker side: rows the window holds once the queue is applied
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<Update> queued_;  // guarded by mutex_
};

}  // namespace qm
