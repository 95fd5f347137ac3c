// The desktop program: the main window ZELTO. Its files (settings, contour
// data, help) live beside the executable.
#include <QApplication>

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
#include "ui/MainWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("ZELTO");
  zelto::desktop::ApplyApplicationFont();
  zelto::desktop::InstallChineseTranslations(app);

  zelto::ModelState state;
  zelto::desktop::MessageBoxSink messages(QString::fromUtf8(zelto::kMainWindowTitle));
  zelto::MainWindow model(state, messages);
  // Library substances the checks refused are named on standard error.
  zelto::StandardErrorSink diagnostics;
  model.Diagnostics = &diagnostics;
  zelto::desktop::MainWindowWidget window(model, messages);
  zelto::desktop::AttachZoneView(window);
  zelto::desktop::AttachLibraryControls(window);
  zelto::desktop::AttachCurveView(window);
  zelto::desktop::AttachNotesView(window);
  window.show();
  return QApplication::exec();
}
