#include "desktop/BoxEdit.h"

#include <algorithm>

namespace zelto::desktop {

BoxEdit::BoxEdit(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textEdited, this, &BoxEdit::OnEdited);
}

void BoxEdit::SetProgramText(const QString& text) {
  accepted_ = text;
  setText(text);
  setCursorPosition(0);
}

void BoxEdit::OnEdited(const QString& text) {
  // An edit may not make the text longer than the limit; a text that was
  // already longer (assigned by the program) may shrink but not grow.
  const qsizetype allowed = std::max<qsizetype>(typingLimit_, accepted_.size());
  if (typingLimit_ > 0 && text.size() > allowed) {
    const int cursor = std::max(0, cursorPosition() - static_cast<int>(text.size() - accepted_.size()));
    setText(accepted_);
    setCursorPosition(std::min(cursor, static_cast<int>(accepted_.size())));
    return;
  }
  accepted_ = text;
  emit Typed(text);
}

}  // namespace zelto::desktop
