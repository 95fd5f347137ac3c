#include "desktop/ZoneView.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/MainWindowWidget.h"
#include "desktop/ZoneRenderer.h"
#include "zone/MapExport.h"

namespace zelto::desktop {

namespace {

// The picture is laid out for at least this many pixels and scaled down into
// smaller widgets, so that its parts keep their proportions.
constexpr double kLayoutWidth = 960, kLayoutHeight = 720;

bool HasSuffix(const QString& path, const char* suffix) {
  return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

}  // namespace

ZoneCanvas::ZoneCanvas(QWidget* parent) : QWidget(parent) {
  setToolTip("双击放大");
  setMinimumSize(120, 90);
}

void ZoneCanvas::SetResults(std::shared_ptr<const ModelState> results) {
  results_ = std::move(results);
  update();
}

void ZoneCanvas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (!results_) {
    p.drawText(rect(), Qt::AlignCenter, "按“刷新结果”计算后，这里显示危害区图");
    return;
  }
  const double f = std::max({1.0, kLayoutWidth / width(), kLayoutHeight / height()});
  p.scale(1 / f, 1 / f);
  PaintZonePicture(p, QRectF(0, 0, width() * f, height() * f), *results_);
}

void ZoneCanvas::mouseDoubleClickEvent(QMouseEvent*) {
  if (!results_) return;
  auto* dialog = new QDialog(window());
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle("危害区图");
  auto* large = new ZoneCanvas(dialog);
  large->SetResults(results_);
  large->setToolTip(QString());
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(large);
  // 1200 x 900 where the screen has room, else as much of its free area as
  // the window's frame leaves, in the same proportions; centred on it.
  QSize size(1200, 900);
  QRect area = screen()->availableGeometry();
  const QSize room = area.size() - QSize(40, 60);
  if (size.width() > room.width() || size.height() > room.height()) size.scale(room, Qt::KeepAspectRatio);
  dialog->resize(size);
  dialog->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
  dialog->show();
}

ZoneView::ZoneView(MessageSink& sink, QWidget* parent) : QWidget(parent), sink_(sink) {
  canvas_ = new ZoneCanvas(this);
  exportMap_ = new QPushButton("导出地图(GeoJSON/KML)…", this);
  savePicture_ = new QPushButton("保存图片(PNG/SVG)…", this);
  exportMap_->setEnabled(false);
  savePicture_->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(exportMap_);
  buttons->addWidget(savePicture_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addWidget(canvas_, 1);
  layout->addLayout(buttons);
  // The buttons whole and a picture beside them, however small the window.
  setMinimumSize(layout->minimumSize());
  connect(exportMap_, &QPushButton::clicked, this, [this] { AskExportMap(); });
  connect(savePicture_, &QPushButton::clicked, this, [this] { AskSavePicture(); });
  lastDirectory_ = QDir::homePath();
}

void ZoneView::ShowResults(const ModelState& s) {
  results_ = std::make_shared<const ModelState>(s);
  canvas_->SetResults(results_);
  exportMap_->setEnabled(true);
  savePicture_->setEnabled(true);
}

void ZoneView::ExportMap(const QString& path) {
  if (!results_) return;
  std::string message;
  const std::string file = path.toStdString();
  const bool ok = HasSuffix(path, "kml") ? ExportKml(*results_, file, message)
                                         : ExportGeoJson(*results_, file, message);
  if (!ok) sink_.ShowMessage(message);
}

void ZoneView::SavePicture(const QString& path) {
  if (!results_) return;
  std::string message;
  const bool ok = HasSuffix(path, "svg") ? SaveZoneSvg(*results_, path, kZonePictureSize, message)
                                         : SaveZonePng(*results_, path, kZonePictureSize, message);
  if (!ok) sink_.ShowMessage(message);
}

void ZoneView::AskExportMap() {
  QString filter;
  QString path = QFileDialog::getSaveFileName(this, "导出地图", QDir(lastDirectory_).filePath("危害区.geojson"),
                                              "GeoJSON (*.geojson);;KML (*.kml)", &filter);
  if (path.isEmpty()) return;
  if (!HasSuffix(path, "kml") && !HasSuffix(path, "geojson") && !HasSuffix(path, "json")) {
    path += filter.startsWith("KML") ? ".kml" : ".geojson";
  }
  lastDirectory_ = QFileInfo(path).absolutePath();
  ExportMap(path);
}

void ZoneView::AskSavePicture() {
  QString filter;
  QString path = QFileDialog::getSaveFileName(this, "保存图片", QDir(lastDirectory_).filePath("危害区.png"),
                                              "PNG (*.png);;SVG (*.svg)", &filter);
  if (path.isEmpty()) return;
  if (!HasSuffix(path, "png") && !HasSuffix(path, "svg")) path += filter.startsWith("SVG") ? ".svg" : ".png";
  lastDirectory_ = QFileInfo(path).absolutePath();
  SavePicture(path);
}

ZoneView* AttachZoneView(MainWindowWidget& window) {
  auto* view = new ZoneView(window.Model().sink);
  window.AddResultsPage(view, "危害区图");
  QObject::connect(&window, &MainWindowWidget::ResultsShown, view,
                   [view, &window] { view->ShowResults(window.Model().s); });
  return view;
}

}  // namespace zelto::desktop
