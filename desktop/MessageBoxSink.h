// Messages of the models as modal message boxes with one OK button ("确定")
// and the application's title.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "core/Messages.h"

namespace zelto::desktop {

class MessageBoxSink : public MessageSink {
 public:
  explicit MessageBoxSink(QString title) : title_(std::move(title)) {}

  // Shows the message at once, or keeps it while collecting.
  void ShowMessage(const std::string& text) override;

  // While collecting, messages are kept instead of shown: a check that runs in
  // the middle of a mouse press or key press must not open a window there.
  void BeginCollecting();
  std::vector<std::string> EndCollecting();

  // One modal message box, centred on the window it belongs to: owner when
  // given, else the open modal window (the property editor), else the main
  // window. Returns when it is closed.
  void Show(const std::string& text, QWidget* owner = nullptr);

  const QString& Title() const { return title_; }
  // The main window: messages belong to it unless a modal window is open.
  void SetFallbackParent(QWidget* parent) { fallbackParent_ = parent; }

 private:
  QString title_;
  QPointer<QWidget> fallbackParent_;
  int collecting_ = 0;
  std::vector<std::string> collected_;
};

}  // namespace zelto::desktop
