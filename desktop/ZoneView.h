// The hazard-zone page of the main window: a tab beside the results box that
// shows the picture of the last computation, redrawn after every computation,
// with the map export and the picture saving.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "core/Messages.h"
#include "core/ModelState.h"

class QPushButton;

namespace zelto::desktop {

class MainWindowWidget;

// Paints the picture of a kept copy of the results, scaled to the widget.
class ZoneCanvas : public QWidget {
 public:
  explicit ZoneCanvas(QWidget* parent = nullptr);
  void SetResults(std::shared_ptr<const ModelState> results);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  std::shared_ptr<const ModelState> results_;
};

class ZoneView : public QWidget {
 public:
  ZoneView(MessageSink& sink, QWidget* parent = nullptr);

  // Keeps a copy of the record as the computation left it, so that the page
  // shows what the report shows even if a later computation is refused
  // half-way.
  void ShowResults(const ModelState& s);

  void ExportMap(const QString& path);
  void SavePicture(const QString& path);

 private:
  void AskExportMap();
  void AskSavePicture();

  MessageSink& sink_;
  std::shared_ptr<const ModelState> results_;
  ZoneCanvas* canvas_ = nullptr;
  QPushButton* exportMap_ = nullptr;
  QPushButton* savePicture_ = nullptr;
  QString lastDirectory_;
};

// Adds the page "危害区图" to the window's results area and redraws it after
// every computation that shows a new report.
ZoneView* AttachZoneView(MainWindowWidget& window);

}  // namespace zelto::desktop
