#include "app/main_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <utility>

#include "app/window_setup.h"
#include "rules/rules_decoder.h"

namespace qm {

namespace {

struct CategoryChoice {
  const char* text;
  bool ticked;
};

// In JunkCategory order; system junk and browser junk are ticked at first.
constexpr std::array<CategoryChoice, 4> kCategoryBoxes = {{
    {"系统垃圾", true},
    {"注册表垃圾", false},
    {"浏览器垃圾", true},
    {"其他垃圾", false},
}};

}  // namespace

MainWindow::MainWindow(AppState& state, Platform& platform, std::string rulesBlob)
    : state_(state),
      platform_(platform),
      rulesBlob_(std::move(rulesBlob)),
      group_(new QGroupBox(QStringLiteral("清理项"), this)),
      start_(new QPushButton(QStringLiteral("开始搜寻"), this)),
      exit_(new QPushButton(QStringLiteral("退出"), this)) {
  SetUpWindow(*this, 50, 50, 298, 181);
  group_->setGeometry(8, 16, 136, 128);
  for (int k = 0; k < 4; ++k) {
    boxes_[k] = new QCheckBox(QString::fromUtf8(kCategoryBoxes[k].text), group_);
    boxes_[k]->setGeometry(8, 24 + 24 * k, 80, 16);
    boxes_[k]->setChecked(kCategoryBoxes[k].ticked);
  }
  start_->setGeometry(160, 24, 112, 32);
  exit_->setGeometry(160, 112, 112, 24);
  connect(start_, &QPushButton::clicked, this, &MainWindow::StartSearch);
  connect(exit_, &QPushButton::clicked, this, &QDialog::reject);

  state_.SystemInfo.UserName = platform_.UserName();
  state_.SystemInfo.WindowsDirectory = platform_.WindowsDirectory();
  state_.SystemInfo.SystemDirectory = platform_.SystemDirectory();
}

MainWindow::~MainWindow() = default;

std::unique_ptr<ResultsWindow> MainWindow::TakeResultsWindow() { return std::move(results_); }

void MainWindow::StartSearch() {
  if (!state_.RulesDocument.LoadBytes(RulesDecoder(rulesBlob_, state_.RulesKey))) {
    ShowErrorBox(this, "载入配置信息失败！", "错误");
    return;
  }
  for (int k = 0; k < 4; ++k) {
    if (boxes_[k]->isChecked()) state_.CategoryFlags[k] = 1;
  }
  results_ = std::make_unique<ResultsWindow>(state_, platform_, rulesBlob_);
  results_->show();
  accept();  // shown first, so that the process never has no window
}

}  // namespace qm
