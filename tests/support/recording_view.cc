#include "support/recording_view.h"

namespace qm::testing {

void RecordingView::Record(std::string call) { calls_.push_back(std::move(call)); }

int RecordingView::AppendRow(const std::string& type) {
  std::lock_guard lock(mutex_);
  Record("append " + type);
  rows_.push_back({type, "", ""});
  return static_cast<int>(rows_.size()) - 1;
}

void RecordingView::SetCell(int row, int column, const std::string& text) {
  std::lock_guard lock(mutex_);
  Record("cell " + std::to_string(row) + " " + std::to_string(column) + " " + text);
  if (row >= 0 && row < static_cast<int>(rows_.size()) && column >= 0 && column < 3) {
    rows_[row][column] = text;
  }
}

void RecordingView::DeleteRow(int row) {
  std::lock_guard lock(mutex_);
  Record("delete " + std::to_string(row));
  if (row >= 0 && row < static_cast<int>(rows_.size())) rows_.erase(rows_.begin() + row);
}

void RecordingView::DeleteAllRows() {
  std::lock_guard lock(mutex_);
  Record("clear");
  rows_.clear();
}

void RecordingView::SetStatus(const std::string& text) {
  std::lock_guard lock(mutex_);
  Record("status " + text);
}

void RecordingView::EnableCleanButton(bool enabled) {
  std::lock_guard lock(mutex_);
  Record(enabled ? "button 1" : "button 0");
}

void RecordingView::ShowError(const std::string& text, const std::string& title) {
  std::lock_guard lock(mutex_);
  Record("error " + title + ": " + text);
}

bool RecordingView::StopRequested() {
  ++stopChecks_;
  if (hook_) hook_();
  return stop_;
}

std::vector<std::string> RecordingView::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::vector<std::array<std::string, 3>> RecordingView::Rows() const {
  std::lock_guard lock(mutex_);
  return rows_;
}

std::vector<std::string> RecordingView::Statuses() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& call : calls_) {
    if (call.rfind("status ", 0) == 0) out.push_back(call.substr(7));
  }
  return out;
}

}  // namespace qm::testing
