#include "desktop/MainWindowWidget.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

#include "desktop/BoxEdit.h"
#include "desktop/EditorDialog.h"
#include "desktop/Fonts.h"
#include "desktop/HelpViewer.h"
#include "desktop/ModelText.h"
#include "ui/ControlLabels.h"
#include "ui/EditorModel.h"

namespace zelto::desktop {

namespace {

// The searches hand control to the window once per step; the window looks at
// its events at most this often (milliseconds), enough to keep it painted.
constexpr qint64 kEventInterval = 30;

void SetToolTip(QWidget* w, const QString& tip) {
  if (w->toolTip() != tip) w->setToolTip(tip);
}

void SetToolTip(QWidget* w, const std::string& tip) { SetToolTip(w, Q(tip)); }

void SetCaption(QPushButton* b, const std::string& caption) {
  const QString t = Q(caption);
  if (b->text() != t) b->setText(t);
}

QString ArrayName(const char* array, int index) { return QString("%1(%2)").arg(array).arg(index); }

// A multi-line box of the model: unwrapped lines, and both scroll bars shown
// when the model asks for them (else only as the text needs them).
void ApplyLines(QPlainTextEdit* e, const TextBox& m) {
  e->setLineWrapMode(QPlainTextEdit::NoWrap);
  const Qt::ScrollBarPolicy policy = m.BothScrollBars ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
  e->setHorizontalScrollBarPolicy(policy);
  e->setVerticalScrollBarPolicy(policy);
}

// The widest item as the list's own delegate draws it, over every row: the
// view's sizeHintForColumn measures only the rows inside its viewport, which
// for a list not yet opened is the first one or two.
int WidestItem(const QAbstractItemView& view) {
  const QAbstractItemModel* model = view.model();
  QStyleOptionViewItem option;
  option.initFrom(&view);
  option.font = view.font();
  option.fontMetrics = view.fontMetrics();
  int widest = 0;
  const int rows = model->rowCount(view.rootIndex());
  for (int r = 0; r < rows; ++r) {
    const QModelIndex index = model->index(r, 0, view.rootIndex());
    widest = std::max(widest, view.itemDelegateForIndex(index)->sizeHint(option, index).width());
  }
  return widest;
}

}  // namespace

MainWindowWidget::MainWindowWidget(MainWindow& model, MessageBoxSink& sink, QWidget* parent)
    : QWidget(parent), model_(model), sink_(sink), guard_(sink) {
  setObjectName("ZELTO");
  setWindowTitle(kMainWindowTitle);
  sink_.SetFallbackParent(this);
  BuildFrames();
  BuildControls();
  BuildLabels();
  SetTabOrder();
  BindEvents();
  ConnectServices();

  model_.Form_Load();
  Redraw();
  // Below this size the computation frame would run under the command bar.
  setMinimumSize(ToPixels(kMinClientWidth), ToPixels(kMinClientHeight));
  resize(ToPixels(kDesignClientWidth), ToPixels(kDesignClientHeight));
  ApplyModelFocus();
}

MainWindowWidget::~MainWindowWidget() {
  if (cursorPushed_) QApplication::restoreOverrideCursor();
  // The services point at this window.
  model_.OpenEditor = nullptr;
  model_.OpenHelp = nullptr;
  model_.ProcessEvents = nullptr;
  model_.ComputationStateChanged = nullptr;
}

QWidget* MainWindowWidget::ContainerWidget(Container c) const { return containers_[static_cast<int>(c)]; }

void MainWindowWidget::BuildFrames() {
  containers_[static_cast<int>(Container::Form)] = this;
  for (const FramePlace& f : MainFrames()) {
    QWidget* w = nullptr;
    if (f.Frame == Container::CommandBar) {
      w = new QWidget(this);
      w->setObjectName("FrmCmd");
    } else {
      w = new QGroupBox(QString::fromUtf8(f.Caption), this);
      w->setObjectName(ArrayName("Frame1", static_cast<int>(f.Frame)));
    }
    w->setGeometry(ToPixels(f.Rect));
    containers_[static_cast<int>(f.Frame)] = w;
  }
}

void MainWindowWidget::BuildControls() {
  for (const ControlPlace& p : MainControls()) {
    QWidget* parent = ContainerWidget(p.In);
    QWidget* w = nullptr;
    const int i = p.Control.Index;
    switch (p.Control.Kind) {
      case ControlKind::Text1:
        text1_[i] = new BoxEdit(parent);
        text1_[i]->setObjectName(ArrayName("Text1", i));
        w = text1_[i];
        break;
      case ControlKind::Combo1:
        combo1_[i] = new QComboBox(parent);
        combo1_[i]->setObjectName(ArrayName("Combo1", i));
        combo1_[i]->setEditable(model_.Combo1[i].Editable);
        combo1_[i]->setMaxVisibleItems(12);
        w = combo1_[i];
        break;
      case ControlKind::Check1:
        check1_ = new QCheckBox(parent);
        check1_->setObjectName("Check1");
        w = check1_;
        break;
      case ControlKind::Text2:
        text2_ = new QPlainTextEdit(parent);
        text2_->setObjectName("Text2");
        ApplyLines(text2_, model_.Text2);
        text2_->setTabChangesFocus(true);
        w = text2_;
        break;
      case ControlKind::Text3:
        // The results box is the first page of the results area.
        results_ = new QTabWidget(parent);
        results_->setObjectName("Results");
        results_->setDocumentMode(true);
        results_->setTabBarAutoHide(true);
        text3_ = new QPlainTextEdit;
        text3_->setObjectName("Text3");
        ApplyLines(text3_, model_.Text3);
        text3_->setReadOnly(true);
        // Read-only, but the keys move through it (Ctrl+Home, Ctrl+End, PgUp,
        // arrows) and select and copy (Shift+arrows, Ctrl+A, Ctrl+C).
        text3_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        text3_->setTabChangesFocus(true);
        text3_->setFont(FixedPitchFont());
        results_->addTab(text3_, "计算结果");
        w = results_;
        break;
      case ControlKind::Command1:
        command1_[i] = new QPushButton(parent);
        command1_[i]->setObjectName(ArrayName("Command1", i));
        command1_[i]->setAutoDefault(false);
        w = command1_[i];
        break;
      case ControlKind::Cmd:
        cmd_[i] = new QPushButton(parent);
        cmd_[i]->setObjectName(ArrayName("Cmd", i));
        cmd_[i]->setAutoDefault(false);
        w = cmd_[i];
        break;
      case ControlKind::None:
        break;
    }
    if (w != nullptr) w->setGeometry(ToPixels(p.Rect));
  }
  computeWidth_ = command1_[command::Compute]->width();
}

void MainWindowWidget::BuildLabels() {
  for (const LabelPlace& p : MainLabels()) {
    auto* label = new QLabel(ContainerWidget(p.In));
    label->setGeometry(ToPixels(p.Rect));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (p.Label1Index >= 0) label->setObjectName(ArrayName("Label1", p.Label1Index));
    labels_.push_back({label, p});
  }
  for (const StatusPlace& p : MainStatusLines()) {
    auto* label = new QLabel(ContainerWidget(p.In));
    label->setObjectName(ArrayName("Label2", p.Label2Index));
    label->setGeometry(ToPixels(p.Rect));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label2_[p.Label2Index] = label;
  }
}

void MainWindowWidget::SetTabOrder() {
  QWidget* previous = nullptr;
  for (FocusId id : MainTabOrder()) {
    QWidget* w = WidgetFor(id);
    if (w == nullptr) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

QWidget* MainWindowWidget::WidgetFor(FocusId id) const {
  const int i = id.Index;
  switch (id.Kind) {
    case ControlKind::Text1:
      return i >= 0 && i < box::Count ? text1_[i] : nullptr;
    case ControlKind::Combo1:
      return i >= 0 && i < combo::Count ? combo1_[i] : nullptr;
    case ControlKind::Check1:
      return check1_;
    case ControlKind::Text2:
      return text2_;
    case ControlKind::Text3:
      return text3_;
    case ControlKind::Command1:
      return i >= 0 && i < command::Count ? command1_[i] : nullptr;
    case ControlKind::Cmd:
      return i >= 0 && i < cmd::Count ? cmd_[i] : nullptr;
    case ControlKind::None:
      break;
  }
  return nullptr;
}

void MainWindowWidget::BindEvents() {
  for (int i = 0; i < box::Count; ++i) {
    connect(text1_[i], &BoxEdit::Typed, this, [this, i](const QString& text) {
      Forward([&] { model_.SetText1(i, text.toStdString()); });
    });
    // Leaving the box: the guard catches the move before it happens and the
    // model decides whether the target makes the box be checked.
    guard_.AddCheckedBox(
        text1_[i],
        [this, i](QWidget* target) {
          model_.Focus = FocusId{ControlKind::Text1, i};
          return model_.MoveFocus(FocusIdOf(target));
        },
        [this] {
          Redraw();
          ApplyModelFocus();
        });
  }
  for (int i = 0; i < combo::Count; ++i) {
    connect(combo1_[i], &QComboBox::activated, this, [this, i](int index) {
      Forward([&] { model_.SetListIndex(i, index); });
    });
  }
  // The roughness list also takes typed text, confined when it is left.
  connect(combo1_[combo::Roughness], &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (redrawing_) return;
    model_.SetListText(combo::Roughness, text.toStdString());
    SetToolTip(combo1_[combo::Roughness], ListToolTip(combo::Roughness));
  });
  connect(qApp, &QApplication::focusChanged, this, &MainWindowWidget::FocusMoved);
  connect(check1_, &QCheckBox::clicked, this, [this](bool ticked) {
    Forward([&] { model_.SetCheck(ticked ? 1 : 0); });
  });
  connect(text2_, &QPlainTextEdit::textChanged, this, [this] {
    if (redrawing_) return;
    model_.Text2.Text = ModelLines(text2_->toPlainText());
    shownText2_ = model_.Text2.Text;
  });
  connect(command1_[command::Properties], &QPushButton::clicked, this, &MainWindowWidget::Properties);
  connect(command1_[command::EstimatePoolArea], &QPushButton::clicked, this,
          [this] { Forward([&] { model_.Command1_Click(command::EstimatePoolArea); }); });
  connect(command1_[command::Compute], &QPushButton::clicked, this, &MainWindowWidget::Compute);
  for (int i = 0; i < cmd::Count; ++i) {
    connect(cmd_[i], &QPushButton::clicked, this, [this, i] { CommandBar(i); });
  }
}

FocusId MainWindowWidget::FocusIdOf(QWidget* widget) const {
  if (widget == nullptr) return FocusId{};
  // Every page of the results area counts as the results box.
  if (widget == results_ || results_->isAncestorOf(widget)) return FocusId{ControlKind::Text3, 0};
  for (FocusId id : MainTabOrder()) {
    QWidget* w = WidgetFor(id);
    if (w != nullptr && (widget == w || w->isAncestorOf(widget))) return id;
  }
  return FocusId{};
}

void MainWindowWidget::FocusMoved(QWidget* old, QWidget* now) {
  if (now == nullptr || now->window() != this) return;
  const FocusId target = FocusIdOf(now);
  if (target.Kind == ControlKind::None || target == model_.Focus) return;
  if (guard_.IsQuiet()) {  // the program moved the focus (redrawing too)
    model_.Focus = target;
    return;
  }
  if (FocusIdOf(old).Kind == ControlKind::Text1) return;  // the guard checks the box
  Forward([&] { model_.MoveFocus(target); });
}

void MainWindowWidget::ConnectServices() {
  model_.OpenEditor = [this] { OpenEditor(); };
  // The program's own viewer shows the help file (GBK); an unreadable file
  // is passed over like a missing one.
  model_.OpenHelp = [this](const std::string& path) {
    if (help_ == nullptr) help_ = new HelpViewer(this);
    help_->ShowFile(path);
  };
  model_.ProcessEvents = [this] { ComputationStep(); };
  model_.ComputationStateChanged = [this] {
    // Shown at once, even when the run is over before the first step.
    ApplyBusyState();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceEvents_.start();
  };
}

int MainWindowWidget::AddResultsPage(QWidget* page, const QString& title) {
  return results_->addTab(page, title);
}

void MainWindowWidget::Forward(const std::function<void()>& handler) {
  handler();
  Redraw();
  // The focus goes where the model has it: a refusal puts it into the box
  // at fault.
  ApplyModelFocus();
}

void MainWindowWidget::ApplyModelFocus() {
  if (model_.Focus.Kind == ControlKind::None) return;
  QWidget* w = WidgetFor(model_.Focus);
  if (w != nullptr && w->isEnabled() && w->isVisible() && !w->hasFocus()) guard_.MoveFocusQuietly(w);
}

void MainWindowWidget::Redraw() {
  FocusGuard::Quiet quiet(guard_);
  redrawing_ = true;
  for (int i = 0; i < box::Count; ++i) {
    const TextBox& m = model_.Text1[i];
    BoxEdit* e = text1_[i];
    const QString text = Q(m.Text);
    if (e->text() != text) e->SetProgramText(text);
    e->SetTypingLimit(m.MaxLength);
    e->setReadOnly(m.Locked);
    SetToolTip(e, m.ToolTip);
    SetShown(e, m.Enabled, m.Visible);
  }
  RedrawLists();

  {
    QSignalBlocker block(check1_);
    if (check1_->text() != Q(model_.Check1.Caption)) check1_->setText(Q(model_.Check1.Caption));
    check1_->setChecked(model_.Check1.Value == 1);
    SetShown(check1_, model_.Check1.Enabled, model_.Check1.Visible);
  }
  if (model_.Text2.Text != shownText2_) {
    text2_->setPlainText(ShownLines(model_.Text2.Text));
    shownText2_ = model_.Text2.Text;
  }
  SetToolTip(text2_, model_.Text2.ToolTip);
  SetShown(text2_, model_.Text2.Enabled, model_.Text2.Visible);
  if (model_.Text3.Text != shownText3_) {
    text3_->setPlainText(ShownLines(model_.Text3.Text));
    shownText3_ = model_.Text3.Text;
  }
  // The results box is a page of the results area: the page switcher hides
  // it while another page is shown, so its visibility is the area's, never
  // the page's own (showing the page would draw it over the current page).
  if (text3_->isEnabled() != model_.Text3.Enabled) text3_->setEnabled(model_.Text3.Enabled);
  if (results_->isHidden() == model_.Text3.Visible) results_->setHidden(!model_.Text3.Visible);

  for (PlacedLabel& l : labels_) {
    const QString caption = Q(ControlLabel(model_, l.place.For));
    if (l.label->text() != caption) l.label->setText(caption);
    const bool visible = l.place.Label1Index < 0 || model_.Label1[l.place.Label1Index].Visible;
    SetShown(l.label, true, visible);
  }
  for (int i = 0; i < label2::Count; ++i) {
    if (label2_[i] == nullptr) continue;
    const QString caption = Q(model_.Label2[i].Caption);
    if (label2_[i]->text() != caption) label2_[i]->setText(caption);
    SetShown(label2_[i], true, model_.Label2[i].Visible);
  }
  for (int i = 0; i < command::Count; ++i) {
    SetCaption(command1_[i], model_.Command1[i].Caption);
    SetToolTip(command1_[i], model_.Command1[i].ToolTip);
    SetShown(command1_[i], model_.Command1[i].Enabled, true);
  }
  for (int i = 0; i < cmd::Count; ++i) {
    SetCaption(cmd_[i], model_.Cmd[i].Caption);
    SetToolTip(cmd_[i], model_.Cmd[i].ToolTip);
    SetShown(cmd_[i], model_.Cmd[i].Enabled, true);
  }
  ApplyBusyState();
  redrawing_ = false;
  emit Redrawn();
}

void MainWindowWidget::RedrawLists() {
  for (int i = 0; i < combo::Count; ++i) {
    const ComboBox& m = model_.Combo1[i];
    QComboBox* c = combo1_[i];
    QSignalBlocker block(c);
    const QString before = c->currentText();
    if (m.Items != shownItems_[i]) {
      c->clear();
      for (const std::string& item : m.Items) c->addItem(Q(item));
      // The open list is as wide as its longest item (as the list draws it),
      // even where the closed list is narrow.
      QAbstractItemView* view = c->view();
      view->setMinimumWidth(WidestItem(*view) + 2 * view->frameWidth() +
                            view->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
      shownItems_[i] = m.Items;
    }
    if (c->currentIndex() != m.ListIndex) c->setCurrentIndex(m.ListIndex);
    if (c->isEditable() && c->currentText() != Q(m.Text)) c->setEditText(Q(m.Text));
    // A text the program put into the roughness list shows from its start.
    if (c->isEditable() && c->currentText() != before) c->lineEdit()->setCursorPosition(0);
    SetToolTip(c, ListToolTip(i));
    SetShown(c, m.Enabled, m.Visible);
  }
}

QString MainWindowWidget::ListToolTip(int i) const {
  // The list's own hint, and the whole text when the closed list cuts it.
  QComboBox* c = combo1_[i];
  QStyleOptionComboBox option;
  option.initFrom(c);
  option.editable = c->isEditable();
  const QRect field = c->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, c);
  const QString text = c->currentText().trimmed();
  QStringList lines;
  if (c->fontMetrics().horizontalAdvance(text) > field.width()) lines << text;
  if (!model_.Combo1[i].ToolTip.empty()) lines << Q(model_.Combo1[i].ToolTip);
  return lines.join('\n');
}

void MainWindowWidget::ApplyBusyState() {
  FocusGuard::Quiet quiet(guard_);
  if (model_.Hourglass && !cursorPushed_) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cursorPushed_ = true;
  } else if (!model_.Hourglass && cursorPushed_) {
    QApplication::restoreOverrideCursor();
    cursorPushed_ = false;
  }
  const Button& compute = model_.Command1[command::Compute];
  SetCaption(command1_[command::Compute], compute.Caption);
  // A caption longer than the button ("正在计算...（计算结束后关闭）") widens it
  // into the empty space on its right.
  QPushButton* button = command1_[command::Compute];
  const int width = std::max(computeWidth_, button->sizeHint().width());
  if (button->width() != width) button->resize(width, button->height());
  if (command1_[command::Compute]->isEnabled() != compute.Enabled) {
    command1_[command::Compute]->setEnabled(compute.Enabled);
  }
  if (isEnabled() != model_.WindowEnabled) {
    if (!model_.WindowEnabled) {
      // Disabling the window takes the focus away; it comes back afterwards.
      focusBeforeBusy_ = QApplication::focusWidget();
      setEnabled(false);
    } else {
      setEnabled(true);
      if (focusBeforeBusy_ != nullptr && focusBeforeBusy_->window() == this && focusBeforeBusy_->isEnabled()) {
        focusBeforeBusy_->setFocus(Qt::OtherFocusReason);
      }
      focusBeforeBusy_ = nullptr;
    }
  }
}

void MainWindowWidget::ComputationStep() {
  if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventInterval) return;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  sinceEvents_.restart();
}

void MainWindowWidget::Compute() {
  bool reported = false;
  Forward([&] { reported = model_.RefreshResults(); });
  if (reported) emit ResultsShown();
  // A close asked for during the run has been carried out by the model.
  if (model_.Closed) close();
}

void MainWindowWidget::Properties() {
  // Opens the editor; the model runs Form_Activate when it closes.
  Forward([&] { model_.Command1_Click(command::Properties); });
}

void MainWindowWidget::OpenEditor() {
  EditorWindow editor(model_.s, sink_);
  editor.Form_Load();
  EditorDialog dialog(editor, guard_, this);
  dialog.exec();
}

void MainWindowWidget::CommandBar(int index) {
  Forward([&] { model_.Cmd_Click(index); });
  if (model_.Closed) close();
}

void MainWindowWidget::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (activated_) return;
  activated_ = true;
  // The first activation reads the settings file and checks every input; it
  // runs once the window has been drawn on the screen, where the window
  // manager has placed it, so that its messages are centred on it.
  // Form_Activate runs here and on the return from the property editor
  // only: not on QEvent::WindowActivate, which also follows every message
  // box and every switch from another program, and would show a refused
  // box's message again each time it is closed.
  QTimer::singleShot(0, this, [this] { Forward([&] { model_.Form_Activate(); }); });
}

void MainWindowWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyResize();
}

void MainWindowWidget::ApplyResize() {
  model_.Form_Resize(width() * kTwipsPerPixel, height() * kTwipsPerPixel);
  const ResizableRects& r = model_.Layout;
  ContainerWidget(Container::CommandBar)->setGeometry(ToPixels(r.CommandBar));
  ContainerWidget(Container::ComputeFrame)->setGeometry(ToPixels(r.ComputeFrame));
  text2_->setGeometry(ToPixels(r.Text2));
  results_->setGeometry(ToPixels(r.Text3));
}

void MainWindowWidget::closeEvent(QCloseEvent* event) {
  if (model_.Closed) {  // Save or Discard has run Form_Unload already
    event->accept();
    return;
  }
  MainWindow::CloseAnswer answer = MainWindow::CloseAnswer::StaysOpen;
  Forward([&] { answer = model_.RequestClose(); });
  // Pending: the searches are running (they let the window see this
  // request); the model closes the window once they have ended (Compute).
  if (answer == MainWindow::CloseAnswer::Closed) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace zelto::desktop
