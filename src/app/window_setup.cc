#include "app/window_setup.h"

#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QWidget>

namespace qm {

namespace {
constexpr int kBorder = 3;
constexpr int kCaption = 19;
// The controls were laid out for 12-pixel text; larger text would not fit
// their fixed sizes.
constexpr int kFontPixels = 12;
// The CJK font the scripts install: Chinese never falls back to boxes, and its
// narrow digits let a size such as "0.488281 KB" fit the 80-pixel size column.
constexpr char kFontFamily[] = "WenQuanYi Micro Hei";
}  // namespace

void SetUpWindow(QWidget& window, int x, int y, int frameWidth, int frameHeight) {
  window.setWindowTitle(QStringLiteral("Quillmoder"));
  QFont font = window.font();
  font.setFamilies({QString::fromLatin1(kFontFamily), font.family()});
  font.setPixelSize(kFontPixels);
  window.setFont(font);
  window.setFixedSize(frameWidth - 2 * kBorder, frameHeight - kCaption - 2 * kBorder);
  window.move(x, y);
}

void ShowErrorBox(QWidget* parent, const std::string& text, const std::string& title) {
  auto* box = new QMessageBox(QMessageBox::Critical, QString::fromStdString(title),
                              QString::fromStdString(text), QMessageBox::Ok, parent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

}  // namespace qm
