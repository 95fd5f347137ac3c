// The property editor ch drawn with Qt over the toolkit-free EditorWindow:
// a modal dialog, redrawn from the model after every handler.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "desktop/FocusGuard.h"
#include "ui/EditorModel.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zelto::desktop {

class BoxEdit;

class EditorDialog : public QDialog {
  Q_OBJECT
 public:
  // The model has run its Form_Load.
  EditorDialog(EditorWindow& model, FocusGuard& guard, QWidget* parent = nullptr);

 public slots:
  // Escape and the close box: the editor closes without saving.
  void reject() override;

 private:
  void Build();
  void Bind();
  void SetTabOrder();
  void Forward(const std::function<void()>& handler);
  void Redraw();
  void ApplyModelFocus();
  void Click(int index);
  QWidget* WidgetFor(EditorControl control) const;
  std::optional<EditorControl> ControlOf(QWidget* widget) const;

  EditorWindow& model_;
  FocusGuard& guard_;
  QGroupBox* frame1_ = nullptr;
  QWidget* frame2_ = nullptr;
  std::array<QLabel*, 7> label1_{};
  BoxEdit* text3_ = nullptr;
  std::array<QPlainTextEdit*, 2> text1_{};
  std::array<QPlainTextEdit*, 2> text2_{};
  QCheckBox* check1_ = nullptr;
  std::array<QPushButton*, 2> command1_{};
  std::array<std::string, 2> shownText2_;
  bool redrawing_ = false;
};

}  // namespace zelto::desktop
