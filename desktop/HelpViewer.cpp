#include "desktop/HelpViewer.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <string>

#include "core/Files.h"
#include "core/Gbk.h"
#include "desktop/Fonts.h"
#include "desktop/ModelText.h"
#include "ui/MainLayout.h"

namespace zelto::desktop {

namespace {

// A help file is a few pages; a larger file is shown up to this size.
constexpr size_t kHelpMaxBytes = 1 << 20;

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent) {
  setObjectName("Help");
  setWindowTitle(QString::fromUtf8("帮助 - ") + QString::fromUtf8(kMainWindowTitle));
  // A window of its own beside the main window, not a modal dialog.
  setWindowFlag(Qt::Window);
  setModal(false);
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  // Read with the keys as well (Ctrl+Home, Ctrl+End, PgUp, PgDn); Escape
  // closes the window.
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(FixedPitchFont());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
  // The help file's widest line (87 columns of the fixed-pitch font) by
  // about 40 lines.
  resize(90 * 6 + 40, 40 * 16);
}

bool HelpViewer::ShowFile(const std::string& path) {
  std::string bytes;
  bool cut = false;
  if (!ReadFilePrefix(path, kHelpMaxBytes, bytes, cut)) return false;
  text_->setPlainText(ShownLines(GbkToUtf8(bytes)));
  show();
  raise();
  activateWindow();
  text_->setFocus(Qt::OtherFocusReason);
  return true;
}

}  // namespace zelto::desktop
