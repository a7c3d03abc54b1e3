// What the scan and clean passes need of the results window: its list rows,
// status label, clean button and error box, and whether the user asked to stop.
// The Qt window implements it for the running program; tests record the calls.
// A worker calls these from its own thread; an implementation must hand the
// updates to its window in order and never block the worker on the window.
#pragma once

#include <string>

namespace qm {

enum ResultColumn : int { kColumnType = 0, kColumnSize = 1, kColumnPath = 2 };

class ResultsView {
 public:
  virtual ~ResultsView() = default;

  // Appends a row whose first column is `type`; returns its 0-based index.
  virtual int AppendRow(const std::string& type) = 0;
  virtual void SetCell(int row, int column, const std::string& text) = 0;
  virtual void DeleteRow(int row) = 0;
  virtual void DeleteAllRows() = 0;
  virtual void SetStatus(const std::string& text) = 0;
  virtual void EnableCleanButton(bool enabled) = 0;
  // A modal error box with an OK button and the error icon.
  virtual void ShowError(const std::string& text, const std::string& title) = 0;
  // True once the user asked the worker to stop (the window is closing). The
  // passes ask at their "process pending messages" points and return early.
  virtual bool StopRequested() = 0;
};

}  // namespace qm
