#include "app/start_up.h"

#include <QApplication>
#include <memory>

#include "app/main_window.h"
#include "app/results_window.h"
#include "rules/rules_decoder.h"
#include "scan/app_state.h"

namespace qm {

int RunQuillmoder(Platform& platform, const std::string& rulesBlob) {
  // Declared before the windows, so it is released after them: by then the
  // results window has stopped its worker and waited for it. This is the one
  // place the state goes, on every path out of this function.
  AppState state;
  std::unique_ptr<ResultsWindow> results;

  state.RulesKey = EmbeddedRulesKey();
  {
    MainWindow mainWindow(state, platform, rulesBlob);
    mainWindow.exec();
    results = mainWindow.TakeResultsWindow();
  }
  // The loop ends when the results window closes, the last window to close.
  if (results) QApplication::exec();
  return 0;
}

}  // namespace qm
