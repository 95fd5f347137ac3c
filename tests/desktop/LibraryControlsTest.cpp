// The substance library in the Qt window: typing in the substance list offers
// the items the model's search finds, picking one chooses it in the model, and
// the two buttons forward to the model's actions. The rules are tested on the
// model (tests/ui/SubstanceLibraryTest.cpp).
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/ModelState.h"
#include "desktop/LibraryControls.h"
#include "desktop/MainWindowWidget.h"
#include "desktop/MessageBoxSink.h"
#include "ui/ControlIds.h"
#include "ui/MainLayout.h"

namespace zelto::desktop {

class LibraryControlsTest : public QObject {
  Q_OBJECT
 private slots:
  void TypingOffersMatchesAndPickingChooses();
  void ButtonsForwardToTheModel();

 private:
  void Start();
  QComboBox* List() const {
    return qobject_cast<QComboBox*>(window_->ControlWidget({ControlKind::Combo1, combo::Substance}));
  }
  QPushButton* Button(const char* caption) const {
    for (QPushButton* b : window_->findChildren<QPushButton*>()) {
      if (b->text() == QString::fromUtf8(caption)) return b;
    }
    return nullptr;
  }

  QTemporaryDir dir_;
  std::unique_ptr<ModelState> state_;
  std::unique_ptr<MessageBoxSink> sink_;
  std::unique_ptr<MainWindow> model_;
  std::unique_ptr<MainWindowWidget> window_;
};

void LibraryControlsTest::Start() {
  window_.reset();
  model_.reset();
  state_ = std::make_unique<ModelState>();
  sink_ = std::make_unique<MessageBoxSink>(QString::fromUtf8(kMainWindowTitle));
  model_ = std::make_unique<MainWindow>(*state_, *sink_);
  // The first example as the settings file: its inputs pass every check.
  const QString settings = dir_.filePath("ZELTO.ini");
  QFile::remove(settings);
  QVERIFY(QFile::copy(ZELTO_SOURCE_DIR "/examples/01-chlorine-leak-day.ini", settings));
  model_->SettingsPath = settings.toStdString();
  model_->ContourPath = dir_.filePath("CONCXY.DAT").toStdString();
  model_->HelpPath.clear();
  model_->LibraryPath = ZELTO_SOURCE_DIR "/tests/data/CHEMLIB-fixture.DAT";
  window_ = std::make_unique<MainWindowWidget>(*model_, *sink_);
  AttachLibraryControls(*window_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  QTRY_VERIFY(!model_->FirstActivation);
}

void LibraryControlsTest::TypingOffersMatchesAndPickingChooses() {
  Start();
  QComboBox* list = List();
  QVERIFY(list != nullptr && list->isEditable());
  QCOMPARE(list->count(), 7);
  // The open list is wide enough for its longest item, here the last one.
  QAbstractItemView* view = list->view();
  QVERIFY(view->minimumWidth() > view->fontMetrics().horizontalAdvance(list->itemText(list->count() - 1)));
  // The operator's typing replaces the chosen item's name.
  list->lineEdit()->setFocus();
  list->lineEdit()->selectAll();
  // "7664" is inside ammonia's CAS number only.
  QTest::keyClicks(list->lineEdit(), "7664");
  QCompleter* completer = list->completer();
  QCOMPARE(completer->model()->rowCount(), 1);
  const QModelIndex found = completer->completionModel()->index(0, 0);
  QCOMPARE(found.data().toString(), QString::fromUtf8("氨  AMMONIA  7664-41-7"));
  emit completer->activated(found);
  QCOMPARE(model_->Combo1[combo::Substance].ListIndex, 3);
  QCOMPARE(state_->ChemicalName, std::string("AMMONIA"));
  QCOMPARE(list->currentIndex(), 3);
  // The picked name shows from its start, not its tail.
  QTRY_COMPARE(list->lineEdit()->cursorPosition(), 0);
}

void LibraryControlsTest::ButtonsForwardToTheModel() {
  Start();
  QPushButton* pac = Button("采用PAC-1/2/3");
  QPushButton* copy = Button("从物质库复制");
  QVERIFY(pac != nullptr && copy != nullptr);
  QVERIFY(!pac->isEnabled());  // the temporary substance has no PAC
  QVERIFY(!copy->isEnabled());
  emit List()->activated(2);  // chlorine
  QVERIFY(pac->isEnabled());
  pac->click();
  QCOMPARE(model_->Text1[box::Thresholds].Text, std::string("0.5,2,20"));
  QCOMPARE(model_->Combo1[combo::ThresholdUnit].ListIndex, 1);
  copy->click();
  QCOMPARE(model_->Combo1[combo::Substance].ListIndex, 1);
  QCOMPARE(state_->Chemicals[1].Name, std::string("CHLORINE"));
  QCOMPARE(List()->itemText(1), QString("CHLORINE"));
  QVERIFY(!copy->isEnabled());  // slot 1 is not a library substance
}

}  // namespace zelto::desktop

QTEST_MAIN(zelto::desktop::LibraryControlsTest)
#include "LibraryControlsTest.moc"
