// Checking a box when the operator leaves it, with the power to keep the
// focus in the box when its entry is refused.
//
// Qt moves the focus before any widget hears of the mouse press or key that
// caused it, and cannot take a move back. So the guard watches the events
// that would move the focus away from a checked box and runs the box's check
// before they are delivered:
//  - a mouse press or wheel turn, seen at the window (before Qt picks the
//    widget and gives it the focus): the widget that would take the focus is
//    worked out the way Qt does it;
//  - Tab and Shift+Tab pressed in the box: the next control in the Tab order.
// When the check refuses the entry the event is swallowed, so the press does
// not reach a button under the mouse either; the box keeps the focus.
// Every other way the focus can leave (a shortcut, focus set from code) is
// caught afterwards through QApplication::focusChanged: the check runs there
// and a refusal puts the focus back.
//
// The check's messages are collected while it runs and shown from a
// zero-delay timer, after the event has been dealt with; the focus returns to
// the box after the last message box closed. While a refusal is being shown,
// presses on the window are swallowed and focus changes are not checked (the
// message box's own focus changes included).
//
// A swallowed press has its release swallowed too, so that no widget sees a
// release without its press. Only that release: the same button at the same
// window, before any other press anywhere. When the message box opens while
// the button is still held, the window it blocks never receives that release;
// the next press (on the message box's OK) ends the wait, so its own release
// reaches the button.
//
// The check is given the widget that would take the focus and decides (with
// the window's model) whether moving there checks the box at all: the main
// window's command bar takes no part in validation. Moves to other windows
// are not checked.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "desktop/MessageBoxSink.h"

class QMouseEvent;
class QWindow;

namespace zelto::desktop {

class FocusGuard : public QObject {
  Q_OBJECT
 public:
  // Runs the box's check for a move to target; false when the entry is
  // refused (the focus stays in the box).
  using Check = std::function<bool(QWidget* target)>;
  // Brings the window up to date after a check (accepted or refused).
  using Redraw = std::function<void()>;

  explicit FocusGuard(MessageBoxSink& sink, QObject* parent = nullptr);
  ~FocusGuard() override;

  void AddCheckedBox(QWidget* box, Check check, Redraw redraw);

  // Focus changes made by the program itself run no check while a Quiet
  // object lives (redrawing, the busy state, returning the focus).
  class Quiet {
   public:
    explicit Quiet(FocusGuard& guard) : guard_(guard) { ++guard_.quiet_; }
    ~Quiet() { --guard_.quiet_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

   private:
    FocusGuard& guard_;
  };

  // Gives the focus to the control without checking the box it leaves.
  void MoveFocusQuietly(QWidget* target);

  // True while the program itself moves the focus.
  bool IsQuiet() const { return quiet_ > 0; }

  // True while a refused entry's message is waiting or being shown.
  bool RefusalPending() const { return pending_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Entry {
    QPointer<QWidget> box;
    Check check;
    Redraw redraw;
  };

  Entry* EntryFor(QWidget* widget);
  // The move from the entry's box to target leaves the box within its window.
  bool MoveLeavesBox(const Entry& entry, QWidget* target) const;
  // Runs the check; on refusal shows its messages later and returns false.
  bool RunCheck(Entry& entry, QWidget* target);
  // The press or key about to move the focus passed the box's check.
  void Passed(const Entry& entry);
  void ShowRefusal(QPointer<QWidget> box, std::vector<std::string> messages);
  bool OnWindowPress(QWindow* window, QEvent* event);
  // Swallows the press: returns true; a mouse press's release is swallowed too.
  bool Swallow(QWindow* window, QEvent* event);
  // True (and the wait ends) when this release belongs to the swallowed press.
  bool IsSwallowedRelease(QWindow* window, const QMouseEvent* release);
  bool OnTab(QWidget* receiver, bool forward);
  void OnFocusChanged(QWidget* old, QWidget* now);

  MessageBoxSink& sink_;
  std::vector<Entry> entries_;
  int quiet_ = 0;
  bool pending_ = false;
  // The press whose release is still to be swallowed: its window and button.
  QPointer<QWindow> swallowedWindow_;
  Qt::MouseButton swallowedButton_ = Qt::NoButton;
  // The box whose check the last press or Tab passed, with its text then:
  // the focus change that follows needs no second check.
  QPointer<QWidget> passedBox_;
  QString passedText_;
};

}  // namespace zelto::desktop
