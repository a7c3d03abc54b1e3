#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "app/main_window.h"
#include "app/results_window.h"
#include "app/start_up.h"
#include "app_fixture.h"

namespace qm::testing {
namespace {

// Plays the user from inside the event loops that RunQuillmoder enters: each
// step is retried every few milliseconds until it answers true, then the next
// one runs. After 10 seconds it closes every window, so that a program that
// does not react fails the test instead of hanging it.
class User {
 public:
  explicit User(std::vector<std::function<bool()>> steps)
      : steps_(std::move(steps)), deadline_(10000) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Act(); });
    timer_.start(5);
  }
  bool Finished() const { return next_ == steps_.size(); }

 private:
  void Act() {
    if (deadline_.hasExpired()) {
      QApplication::closeAllWindows();
    } else if (!Finished() && steps_[next_]()) {
      ++next_;
    }
  }

  std::vector<std::function<bool()>> steps_;
  size_t next_ = 0;
  QDeadlineTimer deadline_;
  QTimer timer_;
};

template <typename Window>
Window* ShownWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = dynamic_cast<Window*>(widget);
    if (window && window->isVisible()) return window;
  }
  return nullptr;
}

// Presses the window's exit button, or its close box.
template <typename Window>
std::function<bool()> Leave(bool byExitButton) {
  return [byExitButton] {
    Window* window = ShownWindow<Window>();
    if (!window) return false;
    if (byExitButton) {
      window->ExitButton()->click();
    } else {
      window->close();
    }
    return true;
  };
}

bool PressStart() {
  MainWindow* window = ShownWindow<MainWindow>();
  if (window) window->StartButton()->click();
  return window != nullptr;
}

using StartUpTest = AppTest;

TEST_F(StartUpTest, LeavingTheMainWindowEndsTheProcessWithoutAScan) {
  for (bool byExitButton : {false, true}) {
    SCOPED_TRACE(byExitButton ? "exit button" : "close box");
    User user({Leave<MainWindow>(byExitButton)});

    EXPECT_EQ(RunQuillmoder(platform, TestRulesBlob()), 0);
    EXPECT_TRUE(user.Finished());
    EXPECT_EQ(platform.searches, 0);
    EXPECT_EQ(ShownWindow<QWidget>(), nullptr);
  }
}

TEST_F(StartUpTest, LeavingTheResultsWindowDuringAScanStopsItAndEndsWithCodeZero) {
  platform.holdFolderSize = true;
  for (bool byExitButton : {false, true}) {
    SCOPED_TRACE(byExitButton ? "exit button" : "close box");
    platform.held = false;
    platform.releasedByStop = false;
    User user({
        PressStart,
        [this] { return platform.held.load(); },
        Leave<ResultsWindow>(byExitButton),
    });

    EXPECT_EQ(RunQuillmoder(platform, TestRulesBlob()), 0);
    EXPECT_TRUE(user.Finished());
    EXPECT_TRUE(platform.releasedByStop);
    EXPECT_EQ(ShownWindow<QWidget>(), nullptr);
  }
}

TEST_F(StartUpTest, LeavingAfterAFinishedScanEndsWithCodeZero) {
  User user({
      PressStart,
      [] {
        ResultsWindow* window = ShownWindow<ResultsWindow>();
        return window && window->CleanButton()->isEnabled();
      },
      Leave<ResultsWindow>(true),
  });

  EXPECT_EQ(RunQuillmoder(platform, TestRulesBlob()), 0);
  EXPECT_TRUE(user.Finished());
  EXPECT_EQ(Snapshot(canary), canaryBefore);
}

}  // namespace
}  // namespace qm::testing
