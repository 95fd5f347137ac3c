// Texts and states passed between the window models and the widgets.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

namespace zelto::desktop {

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

// Multi-line texts: CR LF in the model, LF in the widgets.
inline QString ShownLines(const std::string& text) {
  QString t = Q(text);
  t.replace("\r\n", "\n");
  return t;
}

inline std::string ModelLines(const QString& shown) {
  QString t = shown;
  t.replace("\r\n", "\n");
  t.replace("\n", "\r\n");
  return t.toStdString();
}

// Applies the model's enabled and visible states, touching the widget only
// when they change (each change repaints it).
inline void SetShown(QWidget* w, bool enabled, bool visible) {
  if (w->isEnabled() != enabled) w->setEnabled(enabled);
  if (w->isHidden() == visible) w->setHidden(!visible);
}

}  // namespace zelto::desktop
