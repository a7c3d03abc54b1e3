// The second and last window: the status label, the list of junk found, and
// the exit and clean buttons. From its creation it runs the scan pass on a
// worker thread; each click of the clean button runs a clean pass on another.
// The passes reach the window only through a WorkerView; closing the window
// stops the running worker and waits for it to return.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "app/worker_view.h"
#include "platform/platform.h"
#include "scan/app_state.h"
#include "scan/results_view.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace qm {

class ResultsWindow final : public QWidget, public ResultsView {
 public:
  // Starts the scan pass of `rulesBlob` at once. `state` and `platform` must
  // outlive the window.
  ResultsWindow(AppState& state, Platform& platform, std::string rulesBlob);
  // Stops the running worker and waits for it, like closing.
  ~ResultsWindow() override;

  // ResultsView on the GUI thread: direct widget updates. Workers never call
  // these; their calls arrive here through the WorkerView.
  int AppendRow(const std::string& type) override;
  void SetCell(int row, int column, const std::string& text) override;
  void DeleteRow(int row) override;
  void DeleteAllRows() override;
  void SetStatus(const std::string& text) override;
  void EnableCleanButton(bool enabled) override;
  void ShowError(const std::string& text, const std::string& title) override;
  // True once the window is closing.
  bool StopRequested() override;

  QLabel* StatusLabel() const { return status_; }
  QTreeWidget* ResultList() const { return list_; }
  QPushButton* ExitButton() const { return exit_; }
  QPushButton* CleanButton() const { return clean_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Catches double-clicks anywhere on the list, rows or not.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StartCleanPass();
  // Runs `pass` on a new worker thread held in AppState::WorkerThread, after
  // the previous worker (which has finished its pass) has returned.
  void StartWorker(std::function<void()> pass);
  void StopWorker();
  void CopySelectedPath();

  AppState& state_;
  Platform& platform_;
  const std::string rulesBlob_;
  QLabel* status_;
  QTreeWidget* list_;
  QPushButton* exit_;
  QPushButton* clean_;
  WorkerView workerView_;
};

}  // namespace qm
