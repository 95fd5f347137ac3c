// Pictures of the windows for the documentation and for checking them by eye
// (scripts/screenshots):
//   zelto-screenshots SETTINGS MODE PNG
// SETTINGS is read as the settings file at the first activation ("-": none,
// the built-in defaults); nothing is written beside it (the program's files
// go to a scratch directory). MODE is one of
//   main       the main window after "刷新结果"
//   editor     the property editor over it
//   small      the main window asked to be 600 x 400 (it keeps its minimum
//              size), after "刷新结果"
//   small-zone the same with the page "危害区图"
//   refusal    the whole screen with the first activation's message box
//   export     the whole screen with the map export's file dialog
//   list       the whole screen with the roughness list open
//   enlarged   the whole screen with the enlarged hazard-zone picture
//   curve      the main window with the page "浓度-时间", after "刷新结果"
// For the whole-screen pictures the main window stands in the middle of the
// screen.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <functional>

#include "core/ModelState.h"
#include "desktop/CurveView.h"
#include "desktop/Fonts.h"
#include "desktop/Language.h"
#include "desktop/LibraryControls.h"
#include "desktop/MainWindowWidget.h"
#include "desktop/MessageBoxSink.h"
#include "desktop/NotesView.h"
#include "desktop/ZoneView.h"
#include "ui/MainLayout.h"

namespace {

const QStringList kModes = {"main", "editor", "small", "small-zone", "refusal", "export", "list", "enlarged", "curve", "notes"};

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

bool SaveScreen(const QString& path) {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr && screen->grabWindow(0).save(path, "PNG");
}

// Calls found() once with the first widget that find() returns, polling.
void WhenFound(const std::function<QWidget*()>& find, const std::function<void(QWidget*)>& found) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll, find, found] {
    QWidget* w = find();
    if (w == nullptr || !w->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    // Let it be drawn first.
    QTimer::singleShot(300, [found, w] { found(w); });
  });
  poll->start(50);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() != 4 || !kModes.contains(args[2])) {
    std::fprintf(stderr, "usage: zelto-screenshots SETTINGS|- %s PNG\n", qPrintable(kModes.join('|')));
    return 1;
  }
  const QString mode = args[2];
  const QString png = args[3];
  zelto::desktop::ApplyApplicationFont();
  zelto::desktop::InstallChineseTranslations(app);
  QTemporaryDir scratch;
  if (!scratch.isValid()) return 1;

  zelto::ModelState state;
  zelto::desktop::MessageBoxSink messages(QString::fromUtf8(zelto::kMainWindowTitle));
  zelto::MainWindow model(state, messages);
  model.SettingsPath = args[1] == "-" ? scratch.filePath("ZELTO.ini").toStdString() : args[1].toStdString();
  model.ContourPath = scratch.filePath("CONCXY.DAT").toStdString();
  model.HelpPath.clear();
  model.Discard = true;  // closing writes no settings file
  zelto::desktop::MainWindowWidget window(model, messages);
  zelto::desktop::AttachZoneView(window);  // as the program shows it
  zelto::desktop::AttachCurveView(window);
  zelto::desktop::AttachNotesView(window);
  zelto::desktop::AttachLibraryControls(window);
  if (QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
  }
  if (mode.startsWith("small")) window.resize(600, 400);
  window.show();

  int status = 1;
  auto finish = [&](bool saved) {
    status = saved ? 0 : 1;
    QApplication::quit();
  };
  auto button = [&](const char* name) { return window.findChild<QPushButton*>(name); };
  auto modal = [] { return QApplication::activeModalWidget(); };

  if (mode == "refusal") {
    // The first activation refuses the built-in defaults; the box is left up.
    WhenFound([&]() -> QWidget* { return qobject_cast<QMessageBox*>(modal()); },
              [&](QWidget* box) {
                status = SaveScreen(png) ? 0 : 1;
                static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
                QTimer::singleShot(100, [] { QApplication::quit(); });
              });
    QApplication::exec();
    if (status != 0) std::fprintf(stderr, "zelto-screenshots: no picture written to %s\n", qPrintable(png));
    return status;
  }

  // Elsewhere a message box would mean the example did not pass; it is
  // answered and the run fails.
  bool unexpected = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(modal());
    if (box == nullptr) return;
    std::fprintf(stderr, "zelto-screenshots: unexpected message box\n");
    unexpected = true;
    box->close();
  });
  watch.start(50);

  // After the first activation: compute, let the window settle, take the picture.
  QTimer::singleShot(300, [&] {
    if (mode == "list") {
      auto* list = window.findChild<QComboBox*>("Combo1(0)");
      list->showPopup();
      QTimer::singleShot(300, [&, list] {
        const bool saved = SaveScreen(png);
        list->hidePopup();
        finish(saved);
      });
      return;
    }
    button("Command1(2)")->click();
    QTabWidget* pages = window.ResultsTabs();
    if (mode == "small-zone" || mode == "export" || mode == "enlarged") pages->setCurrentIndex(1);
    if (mode == "curve") {
      for (int i = 0; i < pages->count(); ++i) {
        if (pages->tabText(i) == "浓度-时间") pages->setCurrentIndex(i);
      }
    }
    if (mode == "notes") {
      for (int i = 0; i < pages->count(); ++i) {
        if (pages->tabText(i).startsWith("适用性提示")) pages->setCurrentIndex(i);
      }
    }
    if (mode == "main" || mode.startsWith("small") || mode == "curve" || mode == "notes") {
      QTimer::singleShot(300, [&] { finish(Save(&window, png)); });
      return;
    }
    if (mode == "export") {
      WhenFound([&]() -> QWidget* { return qobject_cast<QFileDialog*>(modal()); },
                [&](QWidget* dialog) {
                  status = SaveScreen(png) ? 0 : 1;
                  static_cast<QDialog*>(dialog)->reject();
                });
      for (QPushButton* b : pages->widget(1)->findChildren<QPushButton*>()) {
        if (b->text().startsWith("导出地图")) b->click();  // returns when the dialog has closed
      }
      QApplication::quit();
      return;
    }
    if (mode == "enlarged") {
      QTimer::singleShot(300, [&, pages] {
        QWidget* canvas = pages->widget(1)->findChildren<QWidget*>().value(0);
        const QPointF at(canvas->width() / 2.0, canvas->height() / 2.0);
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, canvas->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(canvas, &twice);
        WhenFound(
            [&]() -> QWidget* {
              for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w != &window && qobject_cast<QDialog*>(w) != nullptr && w->windowTitle() == "危害区图") return w;
              }
              return nullptr;
            },
            [&](QWidget* large) {
              const bool saved = SaveScreen(png);
              large->close();
              finish(saved);
            });
      });
      return;
    }
    // editor
    WhenFound([&]() -> QWidget* { return window.findChild<QDialog*>("ch"); },
              [&](QWidget* editor) {
                status = Save(editor, png) ? 0 : 1;
                static_cast<QDialog*>(editor)->reject();
              });
    button("Command1(0)")->click();  // returns when the editor has closed
    QApplication::quit();
  });
  QApplication::exec();
  if (unexpected) status = 1;
  if (status != 0) std::fprintf(stderr, "zelto-screenshots: no picture written to %s\n", qPrintable(png));
  return status;
}
