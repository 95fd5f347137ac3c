// Single-line input box whose maximum length limits typing only: a longer
// text the program assigns stays whole (QLineEdit's own limit would cut it).
#pragma once

#include <QLineEdit>
#include <QString>

namespace zelto::desktop {

class BoxEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit BoxEdit(QWidget* parent = nullptr);

  // Characters the operator may type; 0 = unlimited.
  void SetTypingLimit(int limit) { typingLimit_ = limit; }
  // Text assigned by the program: shown whole, cursor at the start.
  void SetProgramText(const QString& text);

 signals:
  // The operator changed the text (typing, pasting, deleting, undo).
  void Typed(const QString& text);

 private:
  void OnEdited(const QString& text);

  int typingLimit_ = 0;
  QString accepted_;  // the text before the operator's last change
};

}  // namespace zelto::desktop
