#include "desktop/FocusGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

namespace zelto::desktop {

namespace {

// The top-level widget drawn in this window.
QWidget* TopLevelOf(QWindow* window) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->windowHandle() == window) return w;
  }
  return nullptr;
}

// The end of the widget's chain of focus proxies.
QWidget* FocusEnd(QWidget* w) {
  for (int i = 0; i < 16 && w->focusProxy() != nullptr; ++i) w = w->focusProxy();
  return w;
}

bool AcceptsFocus(QWidget* w, Qt::FocusPolicy policy) {
  QWidget* end = FocusEnd(w);
  return (w->focusPolicy() & policy) == policy && (end->focusPolicy() & policy) == policy;
}

// The widget a press at pos (window coordinates) gives the focus to, found as
// Qt finds it: from the widget under the mouse outwards, the first enabled
// one that takes focus by this policy; none when the search reaches the
// window or a widget that has the focus already.
QWidget* FocusTargetOfPress(QWidget* top, QPoint pos, Qt::FocusPolicy policy) {
  QWidget* w = top->childAt(pos);
  if (w == nullptr) w = top;
  QPoint local = w->mapFrom(top, pos);
  for (int depth = 0; w != nullptr && depth < 64; ++depth) {
    if (w->isEnabled() && w->rect().contains(local) && AcceptsFocus(w, policy)) return FocusEnd(w);
    if (w->isWindow()) return nullptr;
    if (FocusEnd(w)->hasFocus()) return nullptr;
    local += w->pos();
    w = w->parentWidget();
  }
  return nullptr;
}

// The control Tab (forward) or Shift+Tab moves to from w.
QWidget* TabTarget(QWidget* from, bool forward) {
  QWidget* w = from;
  for (int step = 0; step < 1000; ++step) {
    w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    if (w == nullptr || w == from) return nullptr;
    if (w->window() == from->window() && w->isEnabled() && w->isVisible() && w->focusProxy() == nullptr &&
        (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
      return w;
    }
  }
  return nullptr;
}

bool Within(QWidget* w, QWidget* container) {
  return w != nullptr && container != nullptr && (w == container || container->isAncestorOf(w));
}

QString TextOf(QWidget* box) {
  auto* edit = qobject_cast<QLineEdit*>(box);
  return edit != nullptr ? edit->text() : QString();
}

}  // namespace

FocusGuard::FocusGuard(MessageBoxSink& sink, QObject* parent) : QObject(parent), sink_(sink) {
  qApp->installEventFilter(this);
  connect(qApp, &QApplication::focusChanged, this, &FocusGuard::OnFocusChanged);
}

FocusGuard::~FocusGuard() { qApp->removeEventFilter(this); }

void FocusGuard::AddCheckedBox(QWidget* box, Check check, Redraw redraw) {
  // Boxes of windows that have gone (a closed editor) are dropped.
  std::erase_if(entries_, [](const Entry& e) { return e.box == nullptr; });
  entries_.push_back(Entry{box, std::move(check), std::move(redraw)});
}

void FocusGuard::MoveFocusQuietly(QWidget* target) {
  if (target == nullptr) return;
  Quiet quiet(*this);
  target->setFocus(Qt::OtherFocusReason);
}

FocusGuard::Entry* FocusGuard::EntryFor(QWidget* widget) {
  for (Entry& e : entries_) {
    if (e.box != nullptr && Within(widget, e.box)) return &e;
  }
  return nullptr;
}

bool FocusGuard::MoveLeavesBox(const Entry& entry, QWidget* target) const {
  return target != nullptr && !Within(target, entry.box) && target->window() == entry.box->window();
}

bool FocusGuard::RunCheck(Entry& entry, QWidget* target) {
  QPointer<QWidget> box = entry.box;
  sink_.BeginCollecting();
  const bool accepted = entry.check(target);
  std::vector<std::string> messages = sink_.EndCollecting();
  if (entry.redraw) {
    Quiet quiet(*this);
    entry.redraw();
  }
  if (accepted) {
    // An accepted entry has nothing to say; should a check speak anyway, its
    // words are shown after the event, like a refusal's.
    if (!messages.empty()) {
      QTimer::singleShot(0, this, [this, box, messages] {
        for (const std::string& m : messages) sink_.Show(m, box);
      });
    }
    return true;
  }
  ShowRefusal(box, std::move(messages));
  return false;
}

void FocusGuard::ShowRefusal(QPointer<QWidget> box, std::vector<std::string> messages) {
  pending_ = true;
  passedBox_ = nullptr;
  QTimer::singleShot(0, this, [this, box, messages] {
    for (const std::string& m : messages) sink_.Show(m, box);
    if (box != nullptr) {
      box->window()->activateWindow();
      MoveFocusQuietly(box);
    }
    pending_ = false;
  });
}

bool FocusGuard::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
      // At the window, before Qt hands the event (and the focus) to a widget.
      if (!watched->isWindowType()) return false;
      // Any press ends the wait for the release of a swallowed one.
      if (event->type() != QEvent::Wheel) swallowedWindow_ = nullptr;
      return OnWindowPress(static_cast<QWindow*>(watched), event);
    case QEvent::MouseButtonRelease:
      return watched->isWindowType() &&
             IsSwallowedRelease(static_cast<QWindow*>(watched), static_cast<QMouseEvent*>(event));
    case QEvent::KeyPress: {
      if (!watched->isWidgetType()) return false;
      auto* key = static_cast<QKeyEvent*>(event);
      const Qt::KeyboardModifiers other = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
      if ((key->modifiers() & other) != 0) return false;
      if (key->key() == Qt::Key_Tab) return OnTab(static_cast<QWidget*>(watched), true);
      if (key->key() == Qt::Key_Backtab) return OnTab(static_cast<QWidget*>(watched), false);
      return false;
    }
    default:
      return false;
  }
}

bool FocusGuard::OnWindowPress(QWindow* window, QEvent* event) {
  QWidget* top = TopLevelOf(window);
  if (top == nullptr) return false;
  Entry* entry = EntryFor(QApplication::focusWidget());
  if (pending_) {
    // A refused entry is about to be shown: nothing else happens meanwhile.
    if (entry != nullptr && entry->box->window() == top) return Swallow(window, event);
    return false;
  }
  if (entry == nullptr || entry->box->window() != top || quiet_ > 0) return false;

  QPoint pos;
  Qt::FocusPolicy policy = Qt::ClickFocus;
  if (event->type() == QEvent::Wheel) {
    pos = static_cast<QWheelEvent*>(event)->position().toPoint();
    policy = Qt::WheelFocus;
  } else {
    pos = static_cast<QMouseEvent*>(event)->position().toPoint();
  }
  QWidget* target = FocusTargetOfPress(top, pos, policy);
  if (!MoveLeavesBox(*entry, target)) return false;
  if (RunCheck(*entry, target)) {
    Passed(*entry);
    return false;
  }
  return Swallow(window, event);
}

bool FocusGuard::Swallow(QWindow* window, QEvent* event) {
  if (event->type() != QEvent::Wheel) {
    swallowedWindow_ = window;
    swallowedButton_ = static_cast<QMouseEvent*>(event)->button();
  }
  return true;
}

bool FocusGuard::IsSwallowedRelease(QWindow* window, const QMouseEvent* release) {
  if (swallowedWindow_ == nullptr || window != swallowedWindow_ || release->button() != swallowedButton_) {
    return false;
  }
  swallowedWindow_ = nullptr;
  return true;
}

bool FocusGuard::OnTab(QWidget* receiver, bool forward) {
  QWidget* focus = QApplication::focusWidget();
  if (receiver != focus) return false;  // the same key seen again on its way
  Entry* entry = EntryFor(focus);
  if (entry == nullptr || quiet_ > 0) return false;
  if (pending_) return true;
  QWidget* target = TabTarget(focus, forward);
  if (!MoveLeavesBox(*entry, target)) return false;
  if (RunCheck(*entry, target)) {
    Passed(*entry);
    return false;
  }
  return true;
}

void FocusGuard::Passed(const Entry& entry) {
  passedBox_ = entry.box;
  passedText_ = TextOf(entry.box);
}

void FocusGuard::OnFocusChanged(QWidget* old, QWidget* now) {
  if (quiet_ > 0 || pending_ || old == nullptr || now == nullptr) return;
  Entry* entry = EntryFor(old);
  if (entry == nullptr || !MoveLeavesBox(*entry, now)) return;
  if (passedBox_ == entry->box && passedText_ == TextOf(entry->box)) {
    passedBox_ = nullptr;  // checked on the press or key that caused this move
    return;
  }
  passedBox_ = nullptr;
  RunCheck(*entry, now);  // a refusal returns the focus to the box
}

}  // namespace zelto::desktop
