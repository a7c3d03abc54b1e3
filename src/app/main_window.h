// The first window: the user ticks junk categories and presses "开始搜寻".
// A successful start decodes and loads the rules carried in the program,
// records the ticked categories and opens the results window; the main window
// then closes for good. Run modally (exec()); it ends with the results window
// open, or with none when the user left.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "app/results_window.h"
#include "platform/platform.h"
#include "scan/app_state.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace qm {

class MainWindow final : public QDialog {
 public:
  // Fills state.SystemInfo from the platform: the window is made once per
  // process. `state` and `platform` must outlive the results window too.
  MainWindow(AppState& state, Platform& platform, std::string rulesBlob);
  ~MainWindow() override;

  // The results window opened by a successful start, handed over to the
  // caller (it outlives this window); null before that.
  std::unique_ptr<ResultsWindow> TakeResultsWindow();

  // Check box k belongs to JunkCategory k.
  QCheckBox* CategoryBox(int category) const { return boxes_[category]; }
  QGroupBox* CategoryGroup() const { return group_; }
  QPushButton* StartButton() const { return start_; }
  QPushButton* ExitButton() const { return exit_; }

 private:
  void StartSearch();

  AppState& state_;
  Platform& platform_;
  const std::string rulesBlob_;
  QGroupBox* group_;
  std::array<QCheckBox*, 4> boxes_;
  QPushButton* start_;
  QPushButton* exit_;
  std::unique_ptr<ResultsWindow> results_;
};

}  // namespace qm
