#include "desktop/EditorDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>
#include <vector>

#include "desktop/BoxEdit.h"
#include "desktop/Fonts.h"
#include "desktop/ModelText.h"

namespace zelto::desktop {

namespace {

QRect Px(const EditorRect& r) { return ToPixels(TwipRect{r.Left, r.Top, r.Width, r.Height}); }

// The fixed-pitch font, at most 12 pixels, in which all lines of a block
// (and the scroll bar, when the names are wider than the box) fit the box's
// height, so that names and values are seen whole without scrolling.
QFont BlockFont(const QPlainTextEdit* box, const QString& names, int lines) {
  const int margin = 2 * box->frameWidth() + 2 * static_cast<int>(box->document()->documentMargin());
  const int height = box->height() - margin;
  const int width = box->width() - margin;
  for (int px = 12; px > 9; --px) {
    const QFont font = FixedPitchFont(px);
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : names.split('\n')) widest = std::max(widest, metrics.horizontalAdvance(line));
    const int rows = lines + (widest > width ? 1 : 0);
    if (metrics.lineSpacing() * rows <= height) return font;
  }
  return FixedPitchFont(9);
}

QPlainTextEdit* BlockBox(QWidget* parent, const EditorTextBox& m, const QString& name, const QFont& font) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(name);
  box->setGeometry(Px(m.Rect));
  box->document()->setDocumentMargin(2);
  box->setFont(font);
  box->setLineWrapMode(m.HorizontalScrollBar ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
  box->setTabChangesFocus(true);
  box->setReadOnly(m.Locked);
  box->setToolTip(Q(m.ToolTip));
  if (m.Grey) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    box->setPalette(p);
  }
  return box;
}

}  // namespace

EditorDialog::EditorDialog(EditorWindow& model, FocusGuard& guard, QWidget* parent)
    : QDialog(parent), model_(model), guard_(guard) {
  setObjectName("ch");
  setWindowTitle(Q(model_.Caption));
  setModal(true);
  Build();
  SetTabOrder();
  Bind();
  Redraw();
  // Client area: the frames with the first frame's left margin around them.
  const EditorRect& f1 = model_.Frame1.Rect;
  const EditorRect& f2 = model_.Frame2.Rect;
  const int right = std::max(f1.Left + f1.Width, f2.Left + f2.Width) + f1.Left;
  const int bottom = std::max(f1.Top + f1.Height, f2.Top + f2.Height) + f1.Left;
  setFixedSize(ToPixels(right), ToPixels(bottom));
  ApplyModelFocus();
}

void EditorDialog::Build() {
  frame1_ = new QGroupBox(Q(model_.Frame1.Caption), this);
  frame1_->setObjectName("Frame1");
  frame1_->setGeometry(Px(model_.Frame1.Rect));
  frame2_ = new QWidget(this);
  frame2_->setObjectName("Frame2");
  frame2_->setGeometry(Px(model_.Frame2.Rect));

  for (int i = 0; i < static_cast<int>(label1_.size()); ++i) {
    const EditorLabel& m = model_.Label1[i];
    if (!m.Visible || m.Caption.empty()) continue;
    label1_[i] = new QLabel(Q(m.Caption), frame1_);
    label1_[i]->setObjectName(QString("Label1(%1)").arg(i));
    label1_[i]->move(Px(m.Rect).topLeft());
    label1_[i]->adjustSize();  // labels size themselves to their captions
  }
  text3_ = new BoxEdit(frame1_);
  text3_->setObjectName("Text3");
  text3_->setGeometry(Px(model_.Text3.Rect));
  text3_->setToolTip(Q(model_.Text3.ToolTip));
  for (int k = 0; k < 2; ++k) {
    // 13 lines of general parameters, 14 of Vossler parameters; names and
    // values in the same font, so that their lines stay side by side.
    text1_[k] = BlockBox(frame1_, model_.Text1[k], QString("Text1(%1)").arg(k), QFont());
    const QFont font = BlockFont(text1_[k], ShownLines(model_.Text1[k].Text), k == 0 ? 13 : 14);
    text1_[k]->setFont(font);
    text2_[k] = BlockBox(frame1_, model_.Text2[k], QString("Text2(%1)").arg(k), font);
    // Line n of the values stands beside line n of the names: the two boxes
    // scroll together.
    QScrollBar* names = text1_[k]->verticalScrollBar();
    QScrollBar* values = text2_[k]->verticalScrollBar();
    connect(values, &QScrollBar::valueChanged, names, &QScrollBar::setValue);
    connect(names, &QScrollBar::valueChanged, values, &QScrollBar::setValue);
  }
  // A caption sized to its font may be taller than its design row and reach
  // into the column below it: it moves up to sit on the column.
  for (QLabel* label : label1_) {
    if (label == nullptr) continue;
    for (QPlainTextEdit* column : {text1_[0], text2_[0], text1_[1], text2_[1]}) {
      const QRect g = label->geometry();
      if (g.intersects(column->geometry()) && g.top() < column->y()) label->move(g.left(), column->y() - g.height());
    }
  }
  check1_ = new QCheckBox(Q(model_.Check1.Caption), frame1_);
  check1_->setObjectName("Check1");
  check1_->setGeometry(Px(model_.Check1.Rect).adjusted(0, -2, 0, 2));
  for (int k = 0; k < 2; ++k) {
    command1_[k] = new QPushButton(Q(model_.Command1[k].Caption), frame2_);
    command1_[k]->setObjectName(QString("Command1(%1)").arg(k));
    command1_[k]->setGeometry(Px(model_.Command1[k].Rect));
    command1_[k]->setAutoDefault(false);
  }
}

void EditorDialog::SetTabOrder() {
  std::vector<std::pair<int, QWidget*>> order = {
      {model_.Command1[0].TabIndex, command1_[0]}, {model_.Command1[1].TabIndex, command1_[1]},
      {model_.Text1[0].TabIndex, text1_[0]},       {model_.Text2[0].TabIndex, text2_[0]},
      {model_.Text3.TabIndex, text3_},             {model_.Check1.TabIndex, check1_},
      {model_.Text1[1].TabIndex, text1_[1]},       {model_.Text2[1].TabIndex, text2_[1]},
  };
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

void EditorDialog::Bind() {
  connect(text3_, &BoxEdit::Typed, this, [this](const QString& text) { model_.Text3.Text = text.toStdString(); });
  for (int k = 0; k < 2; ++k) {
    connect(text2_[k], &QPlainTextEdit::textChanged, this, [this, k] {
      if (redrawing_) return;
      model_.Text2[k].Text = ModelLines(text2_[k]->toPlainText());
      shownText2_[k] = model_.Text2[k].Text;
    });
  }
  connect(check1_, &QCheckBox::clicked, this, [this](bool ticked) { Forward([&] { model_.SetCheck1(ticked); }); });
  for (int k = 0; k < 2; ++k) connect(command1_[k], &QPushButton::clicked, this, [this, k] { Click(k); });

  // Leaving the name box checks it; both buttons take part. A widget of no
  // control of the model's counts as a button.
  guard_.AddCheckedBox(
      text3_,
      [this](QWidget* target) {
        model_.Focus = EditorControl::Text3;
        return model_.MoveFocus(ControlOf(target).value_or(EditorControl::Cancel));
      },
      [this] { Redraw(); });
  // The model keeps track of the focus, so that a button pressed by its
  // accelerator (which moves no focus) still checks the name first.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (std::optional<EditorControl> c = ControlOf(now)) model_.Focus = *c;
  });
}

QWidget* EditorDialog::WidgetFor(EditorControl control) const {
  switch (control) {
    case EditorControl::Text3:
      return text3_;
    case EditorControl::Text1General:
      return text1_[0];
    case EditorControl::Text2General:
      return text2_[0];
    case EditorControl::Check1:
      return check1_;
    case EditorControl::Text1Vossler:
      return text1_[1];
    case EditorControl::Text2Vossler:
      return text2_[1];
    case EditorControl::Ok:
      return command1_[0];
    case EditorControl::Cancel:
      return command1_[1];
  }
  return nullptr;
}

std::optional<EditorControl> EditorDialog::ControlOf(QWidget* widget) const {
  for (EditorControl c : {EditorControl::Text3, EditorControl::Text1General, EditorControl::Text2General,
                          EditorControl::Check1, EditorControl::Text1Vossler, EditorControl::Text2Vossler,
                          EditorControl::Ok, EditorControl::Cancel}) {
    QWidget* w = WidgetFor(c);
    if (widget != nullptr && (widget == w || w->isAncestorOf(widget))) return c;
  }
  return std::nullopt;
}

void EditorDialog::Forward(const std::function<void()>& handler) {
  handler();
  Redraw();
  ApplyModelFocus();
}

void EditorDialog::ApplyModelFocus() {
  QWidget* w = WidgetFor(model_.Focus);
  if (w != nullptr && w->isEnabled() && !w->hasFocus()) guard_.MoveFocusQuietly(w);
}

void EditorDialog::Redraw() {
  FocusGuard::Quiet quiet(guard_);
  redrawing_ = true;
  if (text3_->text() != Q(model_.Text3.Text)) text3_->SetProgramText(Q(model_.Text3.Text));
  text3_->SetTypingLimit(model_.Text3.MaxLength);
  SetShown(text3_, model_.Text3.Enabled, model_.Text3.Visible);
  for (int k = 0; k < 2; ++k) {
    const QString names = ShownLines(model_.Text1[k].Text);
    if (text1_[k]->toPlainText() != names) text1_[k]->setPlainText(names);
    SetShown(text1_[k], model_.Text1[k].Enabled, model_.Text1[k].Visible);
    if (model_.Text2[k].Text != shownText2_[k]) {
      text2_[k]->setPlainText(ShownLines(model_.Text2[k].Text));
      shownText2_[k] = model_.Text2[k].Text;
    }
    SetShown(text2_[k], model_.Text2[k].Enabled, model_.Text2[k].Visible);
  }
  {
    QSignalBlocker block(check1_);
    check1_->setChecked(model_.Check1.Value);
    SetShown(check1_, model_.Check1.Enabled, model_.Check1.Visible);
  }
  for (int k = 0; k < 2; ++k) SetShown(command1_[k], model_.Command1[k].Enabled, model_.Command1[k].Visible);
  redrawing_ = false;
}

void EditorDialog::Click(int index) {
  // The model moves the focus to the button first: an empty name refuses it.
  Forward([&] { model_.ClickButton(index); });
  if (!model_.IsOpen()) done(model_.Saved() ? QDialog::Accepted : QDialog::Rejected);
}

void EditorDialog::reject() {
  model_.CloseBox();
  QDialog::reject();
}

}  // namespace zelto::desktop
