#include "desktop/LibraryControls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTimer>
#include <QEvent>

#include "desktop/Fonts.h"
#include "desktop/MainWindowWidget.h"
#include "ui/ControlIds.h"
#include "ui/SubstanceChoice.h"

namespace zelto::desktop {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

constexpr char kSearchHint[] = "输入中文名、英文名、CAS号、分子式或UN号的任一部分查找物质";

// Places of the two buttons in their frames (twips): "从物质库复制" below
// "属性..." in the source frame, "采用PAC-1/2/3" above the threshold unit list
// in the computation frame. A caption wider than its place widens the button
// to the right.
constexpr TwipRect kCopyButton{4560, 1095, 1155, 285};
constexpr TwipRect kPacButton{3000, 825, 1245, 300};

QPushButton* MakeButton(QWidget* frame, const char* caption, const char* toolTip,
                        const TwipRect& place) {
  auto* button = new QPushButton(QString::fromUtf8(caption), frame);
  button->setToolTip(QString::fromUtf8(toolTip));
  // Not in the Tab order: the focus stays in the box being edited, and no
  // box check runs for these actions.
  button->setFocusPolicy(Qt::NoFocus);
  QRect r = ToPixels(place);
  r.setWidth(std::max(r.width(), button->sizeHint().width()));
  button->setGeometry(r);
  button->show();
  return button;
}

// Clicking into the substance list selects its text, so that what the
// operator types replaces the chosen item's name rather than extending it.
class SelectAllOnFocus : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
        QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
      }
    }
    return false;
  }
};

// The substance list takes typed text; the completer lists the items the
// model's search finds, best first, with the list's own item texts, so that
// picking one chooses that item of the list.
void MakeSearchable(MainWindowWidget& window, QComboBox* list) {
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->lineEdit()->setPlaceholderText(QString::fromUtf8("输入名称、CAS号或UN号查找"));
  // On the text field: the window redraws the list's own tooltip from the model.
  list->lineEdit()->setToolTip(QString::fromUtf8(kSearchHint));
  list->lineEdit()->installEventFilter(new SelectAllOnFocus(list->lineEdit()));
  auto* found = new QStandardItemModel(list);
  auto* completer = new QCompleter(found, list);
  completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer->setMaxVisibleItems(15);
  list->setCompleter(completer);
  QObject::connect(list->lineEdit(), &QLineEdit::textEdited, list,
                   [&window, list, found, completer](const QString& text) {
                     const MainWindow& m = window.Model();
                     const auto& items = m.Combo1[combo::Substance].Items;
                     found->clear();
                     for (int index : MatchingSubstances(m, text.toStdString())) {
                       found->appendRow(new QStandardItem(Q(items[static_cast<size_t>(index)])));
                     }
                     QAbstractItemView* popup = completer->popup();
                     popup->setMinimumWidth(list->view()->minimumWidth());
                     if (found->rowCount() > 0) completer->complete();
                   });
  // The picked item's name shows from its start (the completer leaves the
  // cursor at the end, which shows only the CAS number of a long item).
  QObject::connect(
      completer, qOverload<const QModelIndex&>(&QCompleter::activated), list,
      [list] { list->lineEdit()->setCursorPosition(0); }, Qt::QueuedConnection);
  // Typed text that chose nothing gives way to the chosen item again.
  QObject::connect(list->lineEdit(), &QLineEdit::editingFinished, list, [list] {
    if (list->currentIndex() >= 0 && list->currentText() != list->itemText(list->currentIndex())) {
      list->setEditText(list->itemText(list->currentIndex()));
    }
  });
}

}  // namespace

void AttachLibraryControls(MainWindowWidget& window) {
  MainWindow& model = window.Model();
  auto* list = qobject_cast<QComboBox*>(window.ControlWidget({ControlKind::Combo1, combo::Substance}));
  QWidget* thresholds = window.ControlWidget({ControlKind::Text1, box::Thresholds});
  if (list == nullptr || thresholds == nullptr) return;
  MakeSearchable(window, list);

  QPushButton* copy = MakeButton(list->parentWidget(), "从物质库复制",
                                 "把所选物质库物质的参数复制为自定义物质，以便修改", kCopyButton);
  QPushButton* pac = MakeButton(thresholds->parentWidget(), "采用PAC-1/2/3",
                                "以所选物质的PAC-1、PAC-2、PAC-3作为计算廓线的阈值", kPacButton);
  QObject::connect(copy, &QPushButton::clicked, &window,
                   [&window, &model] { window.RunHandler([&model] { model.CopyFromLibrary(); }); });
  QObject::connect(pac, &QPushButton::clicked, &window,
                   [&window, &model] { window.RunHandler([&model] { model.UsePacThresholds(); }); });
  auto follow = [&model, copy, pac] {
    copy->setEnabled(model.WindowEnabled && model.CanCopyFromLibrary());
    pac->setEnabled(model.WindowEnabled && model.CanUsePac());
  };
  QObject::connect(&window, &MainWindowWidget::Redrawn, copy, follow);
  follow();
}

}  // namespace zelto::desktop
