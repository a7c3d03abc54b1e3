#include "app/worker_view.h"

#include <QMetaObject>
#include <QObject>
#include <utility>

namespace qm {

WorkerView::WorkerView(QObject& context, ResultsView& window)
    : context_(context), window_(window) {}

int WorkerView::AppendRow(const std::string& type) {
  Queue({.kind = Update::kAppend, .text = type});
  return rows_++;
}

void WorkerView::SetCell(int row, int column, const std::string& text) {
  Queue({.kind = Update::kCell, .row = row, .column = column, .text = text});
}

void WorkerView::DeleteRow(int row) {
  if (row >= 0 && row < rows_) --rows_;
  Queue({.kind = Update::kDelete, .row = row});
}

void WorkerView::DeleteAllRows() {
  rows_ = 0;
  Queue({.kind = Update::kClear});
}

void WorkerView::SetStatus(const std::string& text) {
  Queue({.kind = Update::kStatus, .text = text});
}

void WorkerView::EnableCleanButton(bool enabled) {
  Queue({.kind = Update::kButton, .enabled = enabled});
}

void WorkerView::ShowError(const std::string& text, const std::string& title) {
  Queue({.kind = Update::kError, .text = text, .title = title});
}

bool WorkerView::StopRequested() { return stop_.load(std::memory_order_relaxed); }

void WorkerView::RequestStop() { stop_.store(true, std::memory_order_relaxed); }

void WorkerView::Queue(Update update) {
  bool post = false;
  {
    std::lock_guard lock(mutex_);
    Update* last = queued_.empty() ? nullptr : &queued_.back();
    // A text that the next one overwrites before the window could show it is
    // dropped: a clean of many items rewrites the label thousands of times.
    const bool overwritten =
        last && last->kind == update.kind &&
        (update.kind == Update::kStatus ||
         (update.kind == Update::kCell && last->row == update.row && last->column == update.column));
    if (overwritten) {
      *last = std::move(update);
    } else {
      post = queued_.empty();  // otherwise an event to apply the queue is on its way
      queued_.push_back(std::move(update));
    }
  }
  if (post) QMetaObject::invokeMethod(&context_, [this] { ApplyQueued(); }, Qt::QueuedConnection);
}

void WorkerView::ApplyQueued() {
  std::vector<Update> updates;
  {
    std::lock_guard lock(mutex_);
    updates.swap(queued_);
  }
  for (const Update& update : updates) {
    switch (update.kind) {
      case Update::kAppend: window_.AppendRow(update.text); break;
      case Update::kCell: window_.SetCell(update.row, update.column, update.text); break;
      case Update::kDelete: window_.DeleteRow(update.row); break;
      case Update::kClear: window_.DeleteAllRows(); break;
      case Update::kStatus: window_.SetStatus(update.text); break;
      case Update::kButton: window_.EnableCleanButton(update.enabled); break;
      case Update::kError: window_.ShowError(update.text, update.title); break;
    }
  }
}

}  // namespace qm
