#include "desktop/MessageBoxSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace zelto::desktop {

void MessageBoxSink::ShowMessage(const std::string& text) {
  if (collecting_ > 0) {
    collected_.push_back(text);
    return;
  }
  Show(text);
}

void MessageBoxSink::BeginCollecting() { ++collecting_; }

std::vector<std::string> MessageBoxSink::EndCollecting() {
  if (collecting_ > 0) --collecting_;
  if (collecting_ > 0) return {};
  std::vector<std::string> kept;
  kept.swap(collected_);
  return kept;
}

void MessageBoxSink::Show(const std::string& text, QWidget* owner) {
  // Not the active window: that may be the help or the enlarged picture,
  // which raise no messages.
  QWidget* parent = owner != nullptr ? owner->window() : QApplication::activeModalWidget();
  if (parent == nullptr) parent = fallbackParent_;
  if (parent == nullptr) parent = QApplication::activeWindow();
  QMessageBox box(QMessageBox::NoIcon, title_, QString::fromStdString(text), QMessageBox::Ok, parent);
  // Chinese even where Qt's translations are missing.
  box.button(QMessageBox::Ok)->setText("确定");
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace zelto::desktop
