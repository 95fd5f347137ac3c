#include "desktop/NotesView.h"

#include <QPlainTextEdit>
#include <QTabWidget>

#include "desktop/Fonts.h"
#include "desktop/MainWindowWidget.h"
#include "desktop/ModelText.h"
#include "ui/NotesPage.h"

namespace zelto::desktop {

QPlainTextEdit* AttachNotesView(MainWindowWidget& window) {
  auto* page = new QPlainTextEdit;
  page->setObjectName("Notes");
  page->setReadOnly(true);
  page->setTabChangesFocus(true);
  page->setFont(FixedPitchFont());
  page->setPlainText(Q(NotesPageText(window.Model())));
  const int index = window.AddResultsPage(page, Q(NotesPageCaption(window.Model())));
  QObject::connect(&window, &MainWindowWidget::ResultsShown, page, [page, index, &window] {
    page->setPlainText(Q(NotesPageText(window.Model())));
    window.ResultsTabs()->setTabText(index, Q(NotesPageCaption(window.Model())));
  });
  return page;
}

}  // namespace zelto::desktop
