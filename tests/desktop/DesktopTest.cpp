// The Qt binding of the two windows: focus-leave checks that keep the focus,
// the command bar, the compute button, the editor's refusal and the resize.
// The rules themselves are tested on the models (tests/ui).
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <limits>
#include <memory>

#include "core/ModelState.h"
#include "desktop/CurveView.h"
#include "desktop/Fonts.h"
#include "desktop/Language.h"
#include "desktop/MainWindowWidget.h"
#include "desktop/MessageBoxSink.h"
#include "desktop/ZoneView.h"
#include "ui/ControlIds.h"
#include "ui/MainLayout.h"

namespace zelto::desktop {

namespace {

// Answers every message box as the operator would (OK) and keeps its text.
class MessageWatcher : public QObject {
 public:
  MessageWatcher() {
    connect(&timer_, &QTimer::timeout, this, &MessageWatcher::Poll);
    timer_.start(10);
  }
  QStringList texts;
  QList<QWidget*> parents;
  QList<QPoint> centres;  // of each box on the screen
  bool allPlain = true;   // every box had the window's title and one OK button "确定"
  bool answer = true;     // false: the test answers the boxes itself

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    if (box != seen_) {
      seen_ = box;
      texts << box->text();
      parents << box->parentWidget();
      centres << box->frameGeometry().center();
      allPlain = allPlain && box->windowTitle() == QString::fromUtf8(kMainWindowTitle) &&
                 box->standardButtons() == QMessageBox::Ok && box->isModal() &&
                 box->button(QMessageBox::Ok)->text() == "确定";
    }
    if (answer) box->button(QMessageBox::Ok)->click();
  }
  QTimer timer_;
  QPointer<QMessageBox> seen_;
};

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class DesktopTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    ApplyApplicationFont();
    InstallChineseTranslations(*qApp);
  }
  void init();
  void cleanup();

  void TabWithRefusedEntryKeepsFocus();
  void ClickWithRefusedEntryKeepsFocusAndRunsNoButton();
  void SaveRefusedThenSavesAfterCorrection();
  void DiscardClosesWithoutMessageOrFile();
  void ComputeFillsResultsAndRestoresButton();
  void CloseDuringRefusedComputationClosesAfterwards();
  void ClickRefusalClosedWithOneClickOnOk();
  void StartRefusalCentredOnTheMainWindow();
  void EditorRefusesMissingMolecularWeight();
  void ReturnFromEditorChecksOnceAndFocusesTheBox();
  void MinimumSizeKeepsTheFramesApart();
  void HelpShowsTheGbkFileInItsOwnWindow();
  void CurvePageRedrawnAfterEveryComputation();

 private:
  QLineEdit* Box(int i) { return window_->findChild<QLineEdit*>(QString("Text1(%1)").arg(i)); }
  QPushButton* Button(const char* name) { return window_->findChild<QPushButton*>(name); }
  QPlainTextEdit* Results() { return window_->findChild<QPlainTextEdit*>("Text3"); }
  // The operator clicks the widget: through the window, as a real click comes.
  void Click(QWidget* w) {
    QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, {}, w->mapTo(window_.get(), w->rect().center()));
  }
  // A new window over a new model; settings: the example, or none.
  void OpenWindow(const char* example);
  // Types a refused wind height into its box, which keeps the focus.
  void TypeRefusedWindHeight();
  void ExpectFocusBackInWindHeight();

  std::unique_ptr<QTemporaryDir> dir_;
  QString settings_;
  std::unique_ptr<ModelState> state_;
  std::unique_ptr<MessageBoxSink> sink_;
  std::unique_ptr<MainWindow> model_;
  std::unique_ptr<MainWindowWidget> window_;
  std::unique_ptr<MessageWatcher> watcher_;
};

void DesktopTest::init() {
  OpenWindow(ZELTO_SOURCE_DIR "/examples/01-chlorine-leak-day.ini");
  // The first activation read the example; its inputs pass every check.
  QTRY_COMPARE(Box(box::Longitude)->text(), QString("121.47E"));
  QCOMPARE(watcher_->texts, QStringList());
}

void DesktopTest::OpenWindow(const char* example) {
  cleanup();  // a failed init leaves its window, which points at its model
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  // The settings file beside the program.
  settings_ = dir_->filePath("ZELTO.ini");
  if (example != nullptr) QVERIFY(QFile::copy(example, settings_));
  state_ = std::make_unique<ModelState>();
  sink_ = std::make_unique<MessageBoxSink>(QString::fromUtf8(kMainWindowTitle));
  model_ = std::make_unique<MainWindow>(*state_, *sink_);
  model_->SettingsPath = settings_.toStdString();
  model_->ContourPath = dir_->filePath("CONCXY.DAT").toStdString();
  model_->HelpPath = dir_->filePath("readme.txt").toStdString();
  model_->LibraryPath = ZELTO_SOURCE_DIR "/tests/data/CHEMLIB-fixture.DAT";
  watcher_ = std::make_unique<MessageWatcher>();
  window_ = std::make_unique<MainWindowWidget>(*model_, *sink_);
  window_->move(60, 40);
  window_->show();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void DesktopTest::cleanup() {
  window_.reset();
  watcher_.reset();
  model_.reset();
  sink_.reset();
  state_.reset();
  dir_.reset();
}

void DesktopTest::TypeRefusedWindHeight() {
  QLineEdit* box = Box(box::WindHeight);
  box->setFocus();
  QTRY_VERIFY(box->hasFocus());
  box->selectAll();
  QTest::keyClicks(box, "0.5");
  QCOMPARE(model_->Text1[box::WindHeight].Text, std::string("0.5"));
}

void DesktopTest::ExpectFocusBackInWindHeight() {
  QTRY_COMPARE(watcher_->texts, QStringList{"不能小于1m!"});
  QVERIFY(watcher_->allPlain);
  window_->activateWindow();
  QTRY_VERIFY(Box(box::WindHeight)->hasFocus());
  QCOMPARE(Box(box::WindHeight)->text(), QString("0.5"));  // left as typed
}

void DesktopTest::TabWithRefusedEntryKeepsFocus() {
  TypeRefusedWindHeight();
  QTest::keyClick(Box(box::WindHeight), Qt::Key_Tab);
  ExpectFocusBackInWindHeight();
}

void DesktopTest::ClickWithRefusedEntryKeepsFocusAndRunsNoButton() {
  TypeRefusedWindHeight();
  Click(Box(box::WindDirection));
  ExpectFocusBackInWindHeight();

  watcher_->texts.clear();
  const QString results = Results()->toPlainText();
  Click(Button("Command1(2)"));
  ExpectFocusBackInWindHeight();
  QCOMPARE(Results()->toPlainText(), results);  // no computation ran
  QCOMPARE(model_->ResultSummary, std::string());
}

void DesktopTest::SaveRefusedThenSavesAfterCorrection() {
  QVERIFY(QFile::remove(settings_));
  TypeRefusedWindHeight();
  Click(Button("Cmd(0)"));
  ExpectFocusBackInWindHeight();
  QVERIFY(window_->isVisible());
  QVERIFY(!QFile::exists(settings_));

  QLineEdit* box = Box(box::WindHeight);
  box->selectAll();
  QTest::keyClicks(box, "10");
  Click(Button("Cmd(0)"));
  QTRY_VERIFY(!window_->isVisible());
  QCOMPARE(watcher_->texts, QStringList{"不能小于1m!"});
  QVERIFY(QFile::exists(settings_));
}

void DesktopTest::DiscardClosesWithoutMessageOrFile() {
  const QByteArray before = FileBytes(settings_);
  TypeRefusedWindHeight();
  Click(Button("Cmd(1)"));
  QTRY_VERIFY(!window_->isVisible());
  QCOMPARE(watcher_->texts, QStringList());
  QCOMPARE(FileBytes(settings_), before);
}

void DesktopTest::ComputeFillsResultsAndRestoresButton() {
  QPushButton* compute = Button("Command1(2)");
  // What the window shows while the searches run.
  QStringList captions;
  bool disabledWhileRunning = true;
  QTimer sampler;
  connect(&sampler, &QTimer::timeout, [&] {
    if (compute->text() == "刷新结果") return;
    captions << compute->text();
    disabledWhileRunning = disabledWhileRunning && !window_->isEnabled() && QApplication::overrideCursor() != nullptr;
  });
  const QString before = Results()->toPlainText();
  sampler.start(0);
  Click(compute);
  sampler.stop();

  QCOMPARE(watcher_->texts, QStringList());
  QVERIFY(!captions.isEmpty());
  QCOMPARE(captions.first(), QString("正在计算..."));
  QVERIFY(disabledWhileRunning);
  QVERIFY(window_->isVisible());
  QCOMPARE(compute->text(), QString("刷新结果"));
  QVERIFY(window_->isEnabled());
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QVERIFY(!model_->ResultSummary.empty());
  QString report = QString::fromStdString(model_->Text3.Text);
  report.replace("\r\n", "\n");
  QCOMPARE(Results()->toPlainText(), report);
  QVERIFY(report != before);
  // The keys of a read-only text: Ctrl+End, Ctrl+Home, Ctrl+A, Ctrl+C.
  Results()->setFocus();
  QTest::keyClick(Results(), Qt::Key_End, Qt::ControlModifier);
  QCOMPARE(Results()->textCursor().position(), report.size());
  QTest::keyClick(Results(), Qt::Key_Home, Qt::ControlModifier);
  QCOMPARE(Results()->textCursor().position(), 0);
  QTest::keyClick(Results(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(Results(), Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), report);
}

void DesktopTest::CloseDuringRefusedComputationClosesAfterwards() {
  QPushButton* compute = Button("Command1(2)");
  QString pendingCaption;
  bool closeWaited = false;
  bool captionWhole = false;
  QTimer operatorHand;
  connect(&operatorHand, &QTimer::timeout, [&] {
    if (compute->text() == "刷新结果" || !pendingCaption.isEmpty()) return;
    closeWaited = !window_->close() && window_->isVisible();
    pendingCaption = compute->text();
    captionWhole = compute->width() >= compute->sizeHint().width();
    // A value of the report goes bad while the searches run: the run ends in
    // a refusal after them.
    state_->TimeDifference = std::numeric_limits<float>::quiet_NaN();
  });
  operatorHand.start(0);
  Click(compute);
  operatorHand.stop();
  QVERIFY(closeWaited);
  QCOMPARE(pendingCaption, QString("正在计算...（计算结束后关闭）"));
  QVERIFY(captionWhole);  // the button widened for it
  // The refusal was shown, then the window closed the ordinary way.
  QCOMPARE(watcher_->texts, QStringList{"计算结果中的当地时间与格林威治时间的时差不是有效数值，无法生成计算报告。"});
  QTRY_VERIFY(!window_->isVisible());
  QVERIFY(model_->Closed);
}

void DesktopTest::ClickRefusalClosedWithOneClickOnOk() {
  watcher_->answer = false;
  TypeRefusedWindHeight();
  QPushButton* compute = Button("Command1(2)");
  const QPoint at = compute->mapTo(window_.get(), compute->rect().center());
  // The press on "刷新结果" is refused; its message box opens while the button
  // is still held, so the window it blocks never hears of the release.
  bool clicked = false;
  bool closedByOneClick = false;
  QTimer operatorHand;
  connect(&operatorHand, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    if (clicked) {  // the click was eaten: the box is still up
      ok->click();
      return;
    }
    clicked = true;
    QTest::mouseRelease(window_->windowHandle(), Qt::LeftButton, {}, at);
    QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, ok->mapTo(box, ok->rect().center()));
    closedByOneClick = !box->isVisible();
  });
  operatorHand.start(10);
  QTest::mousePress(window_->windowHandle(), Qt::LeftButton, {}, at);
  QTRY_VERIFY(clicked);
  QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
  operatorHand.stop();
  QVERIFY(closedByOneClick);
  ExpectFocusBackInWindHeight();
  QCOMPARE(model_->ResultSummary, std::string());  // no computation ran
}

void DesktopTest::StartRefusalCentredOnTheMainWindow() {
  // Without a settings file the built-in defaults average 15 min over a
  // release of 15 s: the first activation refuses them.
  OpenWindow(nullptr);
  QTRY_COMPARE(watcher_->texts.size(), 1);
  QVERIFY(watcher_->texts[0].startsWith("泄漏(或液体蒸发）总时长为0.25(min)"));
  QVERIFY(watcher_->allPlain);
  QCOMPARE(watcher_->parents, QList<QWidget*>{window_.get()});
  const QPoint offset = watcher_->centres[0] - window_->frameGeometry().center();
  QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QString("%1,%2").arg(offset.x()).arg(offset.y())));
}

void DesktopTest::EditorRefusesMissingMolecularWeight() {
  // The example leaves the defined substance empty: its molecular weight is 0.
  bool handled = false;
  bool stayedOpen = false;
  QTimer editorWatch;
  connect(&editorWatch, &QTimer::timeout, [&] {
    auto* editor = window_->findChild<QDialog*>("ch");
    if (handled || editor == nullptr || !editor->isVisible()) return;
    handled = true;
    editor->findChild<QPushButton*>("Command1(0)")->click();  // OK
    stayedOpen = editor->isVisible();
    editor->findChild<QPushButton*>("Command1(1)")->click();  // Cancel
  });
  editorWatch.start(10);
  Click(Button("Command1(0)"));
  QTRY_VERIFY(handled);
  QVERIFY(stayedOpen);
  QCOMPARE(watcher_->texts, QStringList{"注意：当前物质分子量未输入！"});
  QVERIFY(window_->findChild<QDialog*>("ch") == nullptr);
}

void DesktopTest::ReturnFromEditorChecksOnceAndFocusesTheBox() {
  // Averaging 15 min over a 10 min release: each box passes its own check,
  // the pair fails the preparation that the return from the editor runs.
  const std::pair<int, const char*> entries[] = {{box::ReleaseDuration, "10"}, {box::AveragingTime, "15"}};
  for (const auto& [i, text] : entries) {
    QLineEdit* b = Box(i);
    b->setFocus();
    QTRY_VERIFY(b->hasFocus());
    b->selectAll();
    QTest::keyClicks(b, text);
  }
  bool handled = false;
  QTimer editorWatch;
  connect(&editorWatch, &QTimer::timeout, [&] {
    auto* editor = window_->findChild<QDialog*>("ch");
    if (handled || editor == nullptr || !editor->isVisible()) return;
    handled = true;
    editor->findChild<QPushButton*>("Command1(1)")->click();  // Cancel
  });
  editorWatch.start(10);
  Click(Button("Command1(0)"));
  QTRY_VERIFY(handled);
  const QStringList once{"泄漏(或液体蒸发）总时长为10(min),浓度平均时间不可超过10(min)"};
  QTRY_COMPARE(watcher_->texts, once);
  window_->activateWindow();
  QTRY_VERIFY(Box(box::AveragingTime)->hasFocus());
  // Closing the message box reactivated the window: that runs no check.
  QTest::qWait(200);
  QCOMPARE(watcher_->texts, once);
}

void DesktopTest::MinimumSizeKeepsTheFramesApart() {
  AttachZoneView(*window_);  // the results area with its picture page
  window_->resize(600, 400);
  // 11820 x 7800 twips at 15 twips to the pixel.
  QTRY_COMPARE(window_->size(), QSize(788, 520));
  auto* frame = window_->findChild<QGroupBox*>("Frame1(3)");
  QWidget* bar = window_->findChild<QWidget*>("FrmCmd");
  QWidget* check = window_->findChild<QCheckBox*>("Check1");
  QWidget* points = window_->findChild<QPlainTextEdit*>("Text2");
  QWidget* results = window_->findChild<QTabWidget*>("Results");
  QVERIFY(frame->geometry().bottom() < bar->geometry().top());
  QVERIFY(bar->geometry().bottom() < window_->height());
  QVERIFY(check->geometry().bottom() < points->geometry().top());
  QVERIFY(points->geometry().bottom() < frame->height());
  QVERIFY(results->geometry().bottom() < frame->height());
  // Every page of the results area (the picture with its buttons) has room.
  QVERIFY(results->height() >= results->minimumSizeHint().height());
  QVERIFY(results->width() >= results->minimumSizeHint().width());
}

void DesktopTest::HelpShowsTheGbkFileInItsOwnWindow() {
  Click(Button("Cmd(2)"));  // no help file yet: nothing opens
  QVERIFY(window_->findChild<QDialog*>("Help") == nullptr);
  QFile file(QString::fromStdString(model_->HelpPath));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("\xb0\xef\xd6\xfa\r\n");  // "帮助" in GBK, CR LF
  file.close();
  Click(Button("Cmd(2)"));
  auto* help = window_->findChild<QDialog*>("Help");
  QVERIFY(help != nullptr);
  QTRY_VERIFY(help->isVisible());
  QCOMPARE(help->findChild<QPlainTextEdit*>()->toPlainText(), QString::fromUtf8("帮助\n"));
  QVERIFY(window_->isVisible());
  QTest::keyClick(help->findChild<QPlainTextEdit*>(), Qt::Key_Escape);
  QVERIFY(!help->isVisible());
}

void DesktopTest::CurvePageRedrawnAfterEveryComputation() {
  CurveView* view = AttachCurveView(*window_);
  QComboBox* points = view->findChild<QComboBox*>();
  QVERIFY(points != nullptr);
  QCOMPARE(points->count(), 0);
  QVERIFY(!points->isEnabled());
  // Example 1 lists three points: a curve for each, the first one chosen.
  Click(Button("Command1(2)"));
  QCOMPARE(watcher_->texts, QStringList());
  QCOMPARE(view->Model().curves.size(), size_t{3});
  QCOMPARE(points->count(), 3);
  QCOMPARE(points->currentIndex(), 0);
  QVERIFY(points->isEnabled());
  // Without the point list the page is empty again after the next computation,
  // run while the curve page is shown: the results box stays behind it.
  QTabWidget* pages = window_->findChild<QTabWidget*>("Results");
  pages->setCurrentWidget(view);
  Click(window_->findChild<QCheckBox*>("Check1"));
  Click(Button("Command1(2)"));
  QCOMPARE(watcher_->texts, QStringList());
  QCOMPARE(points->count(), 0);
  QCOMPARE(pages->currentWidget(), view);
  QVERIFY(Results()->isHidden());
  QVERIFY(view->Model().curves.empty());
}

}  // namespace zelto::desktop

QTEST_MAIN(zelto::desktop::DesktopTest)
#include "DesktopTest.moc"
