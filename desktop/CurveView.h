// The page "浓度-时间" of the main window: a tab beside the results box that
// draws the concentration-time curve of a listed point, outdoors and inside
// a closed building, with the table of its figures; redrawn from the model
// (ui/CurveTab) after every computation and after every choice.
#pragma once

#include <QWidget>

#include "core/Messages.h"
#include "core/ModelState.h"
#include "ui/CurveTab.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QTableWidget;

namespace zelto::desktop {

class MainWindowWidget;

// Paints the chosen curve of the model, or its one line of explanation; a
// double click opens it enlarged in a window of its own.
class CurveCanvas : public QWidget {
 public:
  CurveCanvas(const CurveTab& tab, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  const CurveTab& tab_;
};

class CurveView : public QWidget {
 public:
  CurveView(MessageSink& sink, QWidget* parent = nullptr);

  // The curves of the listed points of a successful computation.
  void ShowResults(const ModelState& s);

  const CurveTab& Model() const { return tab_; }
  void SavePicture(const QString& path);
  void SaveCsv(const QString& path);

 private:
  void Redraw();
  void AskSave();

  MessageSink& sink_;
  CurveTab tab_;
  bool redrawing_ = false;
  QComboBox* point_ = nullptr;
  QComboBox* building_ = nullptr;
  QDoubleSpinBox* rate_ = nullptr;
  QCheckBox* log_ = nullptr;
  QPushButton* save_ = nullptr;
  CurveCanvas* canvas_ = nullptr;
  QTableWidget* table_ = nullptr;
  QString lastDirectory_;
};

// Adds the page "浓度-时间" to the window's results area and redraws it after
// every computation that shows a new report.
CurveView* AttachCurveView(MainWindowWidget& window);

}  // namespace zelto::desktop
