// Pictures of the two windows for the documentation (scripts/screenshots):
//   zelto-screenshots SETTINGS main PNG     the main window after "刷新结果"
//   zelto-screenshots SETTINGS editor PNG   the property editor over it
// SETTINGS is read as the settings file at the first activation; nothing is
// written beside it (the program's files go to a scratch directory).
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "core/ModelState.h"
#include "desktop/Fonts.h"
#include "desktop/MainWindowWidget.h"
#include "desktop/MessageBoxSink.h"
#include "desktop/ZoneView.h"
#include "ui/MainLayout.h"

namespace {

// The window as the screen shows it; the widget's own rendering where the
// platform cannot read the screen back.
bool Save(QWidget* w, const QString& path) {
  QPixmap picture;
  if (QScreen* screen = w->screen(); screen != nullptr && w->windowHandle() != nullptr) {
    picture = screen->grabWindow(w->winId());
  }
  if (picture.isNull() || picture.size() != w->size() * picture.devicePixelRatio()) picture = w->grab();
  return picture.save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() != 4 || (args[2] != "main" && args[2] != "editor")) {
    std::fprintf(stderr, "usage: zelto-screenshots SETTINGS main|editor PNG\n");
    return 1;
  }
  zelto::desktop::ApplyApplicationFont();
  QTemporaryDir scratch;
  if (!scratch.isValid()) return 1;

  zelto::ModelState state;
  zelto::desktop::MessageBoxSink messages(QString::fromUtf8(zelto::kMainWindowTitle));
  zelto::MainWindow model(state, messages);
  model.SettingsPath = args[1].toStdString();
  model.ContourPath = scratch.filePath("CONCXY.DAT").toStdString();
  model.HelpPath.clear();
  model.Discard = true;  // closing writes no settings file
  zelto::desktop::MainWindowWidget window(model, messages);
  zelto::desktop::AttachZoneView(window);  // as the program shows it
  window.show();

  const QString png = args[3];
  int status = 1;
  auto button = [&](const char* name) { return window.findChild<QPushButton*>(name); };
  // A message box would mean the example did not pass; it is answered and
  // the run fails.
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->objectName() == "ch") return;
    std::fprintf(stderr, "zelto-screenshots: unexpected message box\n");
    modal->close();
  });
  watch.start(50);

  // After the first activation: compute, let the window settle, take the picture.
  QTimer::singleShot(300, [&] {
    button("Command1(2)")->click();
    if (args[2] == "main") {
      QTimer::singleShot(300, [&] {
        status = Save(&window, png) ? 0 : 1;
        QApplication::quit();
      });
      return;
    }
    QTimer editorShot;
    QObject::connect(&editorShot, &QTimer::timeout, [&] {
      auto* editor = window.findChild<QDialog*>("ch");
      if (editor == nullptr || !editor->isVisible()) return;
      editorShot.stop();
      QTimer::singleShot(300, [&, editor] {
        status = Save(editor, png) ? 0 : 1;
        editor->reject();
      });
    });
    editorShot.start(50);
    button("Command1(0)")->click();  // returns when the editor has closed
    QApplication::quit();
  });
  QApplication::exec();
  if (status != 0) std::fprintf(stderr, "zelto-screenshots: no picture written to %s\n", qPrintable(png));
  return status;
}
