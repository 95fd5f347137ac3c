// The main window ZELTO drawn with Qt Widgets over the toolkit-free model
// MainWindow: the widgets show the model's controls, the operator's actions
// go to the model's handlers, and after every handler the whole window is
// redrawn from the model, which stays the one source of truth.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "desktop/FocusGuard.h"
#include "desktop/MessageBoxSink.h"
#include "ui/ControlIds.h"
#include "ui/MainLayout.h"
#include "ui/MainWindow.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace zelto::desktop {

class BoxEdit;
class HelpViewer;

class MainWindowWidget : public QWidget {
  Q_OBJECT
 public:
  // Builds the window over the model, connects the model's services (property
  // editor, help viewer, event processing during the searches) and runs
  // Form_Load. The first activation (settings file, input check) follows
  // when the window is first shown.
  MainWindowWidget(MainWindow& model, MessageBoxSink& sink, QWidget* parent = nullptr);
  ~MainWindowWidget() override;

  MainWindow& Model() { return model_; }

  // The results area: a tab widget in the place of the results box Text3,
  // whose first page is Text3. Its tab bar shows only once a second page has
  // been added; the page then follows the window's size like Text3.
  QTabWidget* ResultsTabs() const { return results_; }
  int AddResultsPage(QWidget* page, const QString& title);

  // For controls added beside the model's own (substance library): the
  // widget of a control, and a handler of the model run as the window's own
  // handlers are (then the window is redrawn).
  QWidget* ControlWidget(FocusId id) const { return WidgetFor(id); }
  void RunHandler(const std::function<void()>& handler) { Forward(handler); }

 signals:
  // The compute button produced a new report; the model record holds the
  // results it was made from.
  void ResultsShown();
  // The window has been redrawn from the model.
  void Redrawn();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildFrames();
  void BuildControls();
  void BuildLabels();
  void BindEvents();
  void SetTabOrder();
  void ConnectServices();

  // Runs one handler of the model, then redraws and moves the focus where
  // the model asked for it.
  void Forward(const std::function<void()>& handler);
  void Redraw();
  void RedrawLists();
  QString ListToolTip(int i) const;
  void ApplyBusyState();
  void ApplyModelFocus();
  void ApplyResize();

  void Compute();
  void ComputationStep();
  void Properties();
  void CommandBar(int index);
  void OpenEditor();

  QWidget* WidgetFor(FocusId id) const;
  // The control the widget belongs to; none for a widget of no control.
  FocusId FocusIdOf(QWidget* widget) const;
  // Keeps the model's focus where the window's is; a move the operator made
  // goes through the model's MoveFocus (boxes are left through the guard).
  void FocusMoved(QWidget* old, QWidget* now);
  QWidget* ContainerWidget(Container c) const;

  MainWindow& model_;
  MessageBoxSink& sink_;
  FocusGuard guard_;

  std::array<QWidget*, 5> containers_{};  // indexed by Container
  std::array<BoxEdit*, box::Count> text1_{};
  std::array<QComboBox*, combo::Count> combo1_{};
  QCheckBox* check1_ = nullptr;
  QPlainTextEdit* text2_ = nullptr;
  QPlainTextEdit* text3_ = nullptr;
  QTabWidget* results_ = nullptr;
  HelpViewer* help_ = nullptr;  // made on the first "帮助(&H)"
  std::array<QPushButton*, command::Count> command1_{};
  std::array<QPushButton*, cmd::Count> cmd_{};
  struct PlacedLabel {
    QLabel* label;
    LabelPlace place;
  };
  std::vector<PlacedLabel> labels_;
  std::array<QLabel*, label2::Count> label2_{};

  // What the multi-line boxes and lists show, as last taken from the model.
  std::string shownText2_;
  std::string shownText3_;
  std::array<std::vector<std::string>, combo::Count> shownItems_;

  bool redrawing_ = false;
  bool activated_ = false;
  bool cursorPushed_ = false;
  int computeWidth_ = 0;  // design width of the compute button, pixels
  QElapsedTimer sinceEvents_;
  QPointer<QWidget> focusBeforeBusy_;
};

}  // namespace zelto::desktop
