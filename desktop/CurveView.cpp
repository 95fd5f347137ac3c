#include "desktop/CurveView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "curve/CurveCsv.h"
#include "desktop/CurveRenderer.h"
#include "desktop/MainWindowWidget.h"

namespace zelto::desktop {

namespace {

QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

bool HasSuffix(const QString& path, const char* suffix) {
  return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

}  // namespace

CurveCanvas::CurveCanvas(const CurveTab& tab, QWidget* parent) : QWidget(parent), tab_(tab) {
  setToolTip("双击放大");
  setMinimumSize(160, 100);
}

void CurveCanvas::mouseDoubleClickEvent(QMouseEvent*) {
  if (!CurveTabExplanation(tab_).empty()) return;
  auto* dialog = new QDialog(window());
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle("浓度-时间曲线");
  auto* large = new CurveCanvas(tab_, dialog);
  large->setToolTip(QString());
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(large);
  QSize size(1200, 750);
  if (QScreen* screen = window()->screen(); screen != nullptr) {
    size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
  }
  dialog->resize(size);
  // The enlarged picture follows the page: closed with the window that owns it.
  dialog->show();
}

void CurveCanvas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  const std::string explanation = CurveTabExplanation(tab_);
  if (!explanation.empty()) {
    p.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, Q(explanation));
    return;
  }
  PaintCurvePicture(p, QRectF(rect()), tab_.curves[static_cast<size_t>(tab_.selected)], tab_.thresholds,
                    tab_.logAxis);
}

CurveView::CurveView(MessageSink& sink, QWidget* parent) : QWidget(parent), sink_(sink) {
  point_ = new QComboBox(this);
  point_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  building_ = new QComboBox(this);
  for (const std::string& b : BuildingChoices()) building_->addItem(Q(b));
  rate_ = new QDoubleSpinBox(this);
  rate_->setRange(0.0, 100.0);
  rate_->setDecimals(2);
  rate_->setSingleStep(0.1);
  rate_->setToolTip("门窗关闭时建筑每小时的换气次数");
  log_ = new QCheckBox("对数坐标", this);
  save_ = new QPushButton("保存(PNG/SVG/CSV)…", this);
  save_->setToolTip("保存曲线图片（PNG 或 SVG）或各计算点的曲线数据（CSV）");
  canvas_ = new CurveCanvas(tab_, this);
  table_ = new QTableWidget(0, 3, this);
  table_->setHorizontalHeaderLabels({"项目", "室外", "室内"});
  table_->verticalHeader()->setVisible(false);
  // Columns as wide as their texts; a narrow page scrolls the table rather
  // than cutting the names of the rows (several differ only at their end).
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);

  auto* choices = new QHBoxLayout;
  choices->addWidget(new QLabel("计算点：", this));
  choices->addWidget(point_);
  choices->addWidget(log_);
  choices->addStretch();
  choices->addWidget(save_);
  auto* building = new QHBoxLayout;
  building->addWidget(new QLabel("室内：", this));
  building->addWidget(building_);
  building->addWidget(new QLabel("换气次数(次/小时)：", this));
  building->addWidget(rate_);
  building->addStretch();
  // The picture beside the table: the page is wider than it is high.
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(canvas_);
  split->addWidget(table_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addLayout(choices);
  layout->addLayout(building);
  layout->addWidget(split, 1);

  connect(point_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (redrawing_) return;
    SelectCurvePoint(tab_, i);
    Redraw();
  });
  connect(building_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (redrawing_) return;
    SelectBuilding(tab_, i);
    Redraw();
  });
  connect(rate_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
    if (redrawing_) return;
    std::string message;
    if (!SetAirExchange(tab_, v, message)) sink_.ShowMessage(message);
    Redraw();
  });
  connect(log_, &QCheckBox::toggled, this, [this](bool on) {
    if (redrawing_) return;
    tab_.logAxis = on;
    Redraw();
  });
  connect(save_, &QPushButton::clicked, this, [this] { AskSave(); });
  lastDirectory_ = QDir::homePath();
  Redraw();
}

void CurveView::ShowResults(const ModelState& s) {
  UpdateCurveTab(tab_, s);
  Redraw();
}

void CurveView::Redraw() {
  redrawing_ = true;
  point_->clear();
  for (const std::string& p : CurvePointChoices(tab_)) point_->addItem(Q(p));
  if (!tab_.curves.empty()) point_->setCurrentIndex(tab_.selected);
  const int custom = static_cast<int>(BuildingChoices().size()) - 1;
  building_->setCurrentIndex(tab_.building >= 0 ? tab_.building : custom);
  rate_->setValue(tab_.exchangePerHour);
  log_->setChecked(tab_.logAxis);
  const bool any = !tab_.curves.empty();
  for (QWidget* w : std::initializer_list<QWidget*>{point_, save_}) w->setEnabled(any);
  const std::vector<FigureRow> rows = CurveFigureRows(tab_);
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const FigureRow& row = rows[static_cast<size_t>(r)];
    // The whole row as the tool tip of each cell, for a table scrolled sideways.
    const QString whole = Q(row.what) + "：室外 " + Q(row.outdoor) + "，室内 " + Q(row.indoor);
    for (int c = 0; c < 3; ++c) {
      auto* item = new QTableWidgetItem(Q(c == 0 ? row.what : c == 1 ? row.outdoor : row.indoor));
      item->setToolTip(whole);
      table_->setItem(r, c, item);
    }
  }
  table_->resizeColumnsToContents();
  canvas_->update();
  redrawing_ = false;
}

void CurveView::SavePicture(const QString& path) {
  if (tab_.curves.empty()) return;
  const PointCurve& c = tab_.curves[static_cast<size_t>(tab_.selected)];
  std::string message;
  const bool ok = HasSuffix(path, "svg")
                      ? SaveCurveSvg(c, tab_.thresholds, tab_.logAxis, path, kCurvePictureSize, message)
                      : SaveCurvePng(c, tab_.thresholds, tab_.logAxis, path, kCurvePictureSize, message);
  if (!ok) sink_.ShowMessage(message);
}

void CurveView::SaveCsv(const QString& path) {
  std::string message;
  if (!WriteCurveCsv(tab_.curves, path.toStdString(), message)) sink_.ShowMessage(message);
}

void CurveView::AskSave() {
  QString filter;
  QString path = QFileDialog::getSaveFileName(this, "保存浓度-时间曲线", QDir(lastDirectory_).filePath("浓度-时间.png"),
                                              "PNG (*.png);;SVG (*.svg);;CSV (*.csv)", &filter);
  if (path.isEmpty()) return;
  if (!HasSuffix(path, "png") && !HasSuffix(path, "svg") && !HasSuffix(path, "csv")) {
    path += filter.startsWith("SVG") ? ".svg" : filter.startsWith("CSV") ? ".csv" : ".png";
  }
  lastDirectory_ = QFileInfo(path).absolutePath();
  if (HasSuffix(path, "csv")) {
    SaveCsv(path);
  } else {
    SavePicture(path);
  }
}

CurveView* AttachCurveView(MainWindowWidget& window) {
  auto* view = new CurveView(window.Model().sink);
  window.AddResultsPage(view, "浓度-时间");
  QObject::connect(&window, &MainWindowWidget::ResultsShown, view,
                   [view, &window] { view->ShowResults(window.Model().s); });
  return view;
}

}  // namespace zelto::desktop
