// The Qt binding of the two windows: focus-leave checks that keep the focus,
// the command bar, the compute button, the editor's refusal and the resize.
// The rules themselves are tested on the models (tests/ui).
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "core/ModelState.h"
#include "desktop/Fonts.h"
#include "desktop/MainWindowWidget.h"
#include "desktop/MessageBoxSink.h"
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
  bool allPlain = true;  // every box had the window's title and one OK button

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    texts << box->text();
    allPlain = allPlain && box->windowTitle() == QString::fromUtf8(kMainWindowTitle) &&
               box->standardButtons() == QMessageBox::Ok && box->isModal();
    box->button(QMessageBox::Ok)->click();
  }
  QTimer timer_;
};

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class DesktopTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { ApplyApplicationFont(); }
  void init();
  void cleanup();

  void TabWithRefusedEntryKeepsFocus();
  void ClickWithRefusedEntryKeepsFocusAndRunsNoButton();
  void SaveRefusedThenSavesAfterCorrection();
  void DiscardClosesWithoutMessageOrFile();
  void ComputeFillsResultsAndRestoresButton();
  void EditorRefusesMissingMolecularWeight();
  void ReturnFromEditorChecksOnceAndFocusesTheBox();
  void ResizeBelowUpperFramesStillPlacesCommandBar();
  void HelpShowsTheGbkFileInItsOwnWindow();

 private:
  QLineEdit* Box(int i) { return window_->findChild<QLineEdit*>(QString("Text1(%1)").arg(i)); }
  QPushButton* Button(const char* name) { return window_->findChild<QPushButton*>(name); }
  QPlainTextEdit* Results() { return window_->findChild<QPlainTextEdit*>("Text3"); }
  // The operator clicks the widget: through the window, as a real click comes.
  void Click(QWidget* w) {
    QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, {}, w->mapTo(window_.get(), w->rect().center()));
  }
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
  cleanup();  // a failed init leaves its window, which points at its model
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  // The first example as the settings file beside the program.
  settings_ = dir_->filePath("ZELTO.ini");
  QVERIFY(QFile::copy(ZELTO_SOURCE_DIR "/examples/01-chlorine-leak-day.ini", settings_));
  state_ = std::make_unique<ModelState>();
  sink_ = std::make_unique<MessageBoxSink>(QString::fromUtf8(kMainWindowTitle));
  model_ = std::make_unique<MainWindow>(*state_, *sink_);
  model_->SettingsPath = settings_.toStdString();
  model_->ContourPath = dir_->filePath("CONCXY.DAT").toStdString();
  model_->HelpPath = dir_->filePath("readme.txt").toStdString();
  watcher_ = std::make_unique<MessageWatcher>();
  window_ = std::make_unique<MainWindowWidget>(*model_, *sink_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  // The first activation read the example; its inputs pass every check.
  QTRY_COMPARE(Box(box::Longitude)->text(), QString("121.47E"));
  QCOMPARE(watcher_->texts, QStringList());
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
  bool closeRefused = false;
  QTimer sampler;
  connect(&sampler, &QTimer::timeout, [&] {
    if (compute->text() == "刷新结果") return;
    // A close request while the searches run is refused.
    if (captions.isEmpty()) closeRefused = !window_->close();
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
  QVERIFY(closeRefused);
  QVERIFY(window_->isVisible());
  QCOMPARE(compute->text(), QString("刷新结果"));
  QVERIFY(window_->isEnabled());
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QVERIFY(!model_->ResultSummary.empty());
  QString report = QString::fromStdString(model_->Text3.Text);
  report.replace("\r\n", "\n");
  QCOMPARE(Results()->toPlainText(), report);
  QVERIFY(report != before);
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

void DesktopTest::ResizeBelowUpperFramesStillPlacesCommandBar() {
  auto* frame = window_->findChild<QGroupBox*>("Frame1(3)");
  QWidget* bar = window_->findChild<QWidget*>("FrmCmd");
  const int frameHeight = frame->height();
  QVERIFY(frameHeight > 0);
  // 150 pixels = 2250 twips, above the frame's top at 3840.
  window_->resize(788, 150);
  // Bar: 2250 - 495 = 1755 twips = 117 pixels down; (11820 - 6000) / 2 = 2910
  // twips = 194 pixels across.
  QTRY_COMPARE(bar->geometry(), QRect(194, 117, 400, 33));
  QCOMPARE(frame->height(), frameHeight);
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
}

}  // namespace zelto::desktop

QTEST_MAIN(zelto::desktop::DesktopTest)
#include "DesktopTest.moc"
