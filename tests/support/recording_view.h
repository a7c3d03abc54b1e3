// A ResultsView that keeps every call in order and mirrors the list's rows, so
// a test can check both what the passes did and in which order.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "scan/results_view.h"

namespace qm::testing {

class RecordingView : public ResultsView {
 public:
  int AppendRow(const std::string& type) override;
  void SetCell(int row, int column, const std::string& text) override;
  void DeleteRow(int row) override;
  void DeleteAllRows() override;
  void SetStatus(const std::string& text) override;
  void EnableCleanButton(bool enabled) override;
  void ShowError(const std::string& text, const std::string& title) override;
  bool StopRequested() override;

  // Every call so far, one line each: "append <type>", "cell <row> <col> <text>",
  // "delete <row>", "clear", "status <text>", "button 1|0", "error <title>: <text>".
  std::vector<std::string> Calls() const;
  // The rows as the window would show them: type, size, path.
  std::vector<std::array<std::string, 3>> Rows() const;
  // Status texts in the order they were set.
  std::vector<std::string> Statuses() const;

  // Makes StopRequested() true from now on.
  void RequestStop() { stop_ = true; }
  // Runs `hook` at every StopRequested() check (for example to stop after N).
  void OnStopCheck(std::function<void()> hook) { hook_ = std::move(hook); }
  int StopChecks() const { return stopChecks_; }

 private:
  void Record(std::string call);

  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::vector<std::array<std::string, 3>> rows_;
  std::atomic<bool> stop_{false};
  std::atomic<int> stopChecks_{0};
  std::function<void()> hook_;
};

}  // namespace qm::testing
