#include "app/results_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <utility>

#include "app/window_setup.h"
#include "clean/clean_pass.h"
#include "scan/scan_pass.h"

namespace qm {

namespace {

// Cuts a path that does not fit its column in the middle, so that the drive
// and the last folders stay in view. The other columns keep the usual cut at
// the end: a size such as "0.488281 KB" cut in the middle would read as
// another number.
class PathColumnDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->textElideMode = Qt::ElideMiddle;
  }
};

}  // namespace

ResultsWindow::ResultsWindow(AppState& state, Platform& platform, std::string rulesBlob)
    : state_(state),
      platform_(platform),
      rulesBlob_(std::move(rulesBlob)),
      status_(new QLabel(QStringLiteral("等待用户操作..."), this)),
      list_(new QTreeWidget(this)),
      exit_(new QPushButton(QStringLiteral("退出"), this)),
      clean_(new QPushButton(QStringLiteral("清理所有垃圾"), this)),
      workerView_(*this, *this) {
  SetUpWindow(*this, 50, 50, 620, 368);
  status_->setGeometry(16, 8, 576, 24);
  list_->setGeometry(16, 40, 584, 248);
  exit_->setGeometry(16, 304, 120, 24);
  clean_->setGeometry(480, 304, 120, 24);

  list_->setHeaderLabels({QStringLiteral("垃圾类型"), QStringLiteral("大小"), QStringLiteral("垃圾路径")});
  list_->setColumnWidth(kColumnType, 150);
  list_->setColumnWidth(kColumnSize, 80);
  list_->setColumnWidth(kColumnPath, 350);
  list_->header()->setStretchLastSection(false);
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setAllColumnsShowFocus(true);
  list_->setItemDelegateForColumn(kColumnPath, new PathColumnDelegate(list_));
  list_->viewport()->installEventFilter(this);

  clean_->setEnabled(false);
  connect(exit_, &QPushButton::clicked, this, &QWidget::close);
  connect(clean_, &QPushButton::clicked, this, &ResultsWindow::StartCleanPass);

  StartWorker([this] { ScanPass(state_, platform_, workerView_, rulesBlob_); });
}

ResultsWindow::~ResultsWindow() { StopWorker(); }

int ResultsWindow::AppendRow(const std::string& type) {
  new QTreeWidgetItem(list_, {QString::fromStdString(type)});
  return list_->topLevelItemCount() - 1;
}

void ResultsWindow::SetCell(int row, int column, const std::string& text) {
  QTreeWidgetItem* item = list_->topLevelItem(row);
  if (item && column >= kColumnType && column <= kColumnPath) {
    item->setText(column, QString::fromStdString(text));
  }
}

void ResultsWindow::DeleteRow(int row) { delete list_->takeTopLevelItem(row); }

void ResultsWindow::DeleteAllRows() { list_->clear(); }

void ResultsWindow::SetStatus(const std::string& text) {
  status_->setText(QString::fromStdString(text));
}

void ResultsWindow::EnableCleanButton(bool enabled) { clean_->setEnabled(enabled); }

void ResultsWindow::ShowError(const std::string& text, const std::string& title) {
  ShowErrorBox(this, text, title);
}

bool ResultsWindow::StopRequested() { return workerView_.StopRequested(); }

void ResultsWindow::closeEvent(QCloseEvent* event) {
  StopWorker();
  event->accept();
}

bool ResultsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    CopySelectedPath();
  }
  return QWidget::eventFilter(watched, event);
}

void ResultsWindow::StartCleanPass() {
  // Disabled here at once, not only by the pass: its own update reaches the
  // window later, and a second click meanwhile must not start a second clean.
  clean_->setEnabled(false);
  StartWorker([this] { CleanPass(state_, platform_, workerView_); });
}

void ResultsWindow::StartWorker(std::function<void()> pass) {
  if (state_.WorkerThread.joinable()) state_.WorkerThread.join();
  state_.WorkerThread = std::thread(std::move(pass));
}

void ResultsWindow::StopWorker() {
  workerView_.RequestStop();
  // The worker returns at its next check; it never waits on this thread.
  if (state_.WorkerThread.joinable()) state_.WorkerThread.join();
}

void ResultsWindow::CopySelectedPath() {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return;
  QGuiApplication::clipboard()->setText(selected.first()->text(kColumnPath));
}

}  // namespace qm
