// The help file readme.txt shown in a window of the program's own: the file
// is GBK, which a system text viewer may not read, and a machine without a
// desktop environment has no viewer to start at all.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace zelto::desktop {

class HelpViewer : public QDialog {
  Q_OBJECT
 public:
  explicit HelpViewer(QWidget* parent = nullptr);

  // Reads the file (GBK) afresh and brings the window to the front with the
  // focus; false (window not shown) when the file cannot be read.
  bool ShowFile(const std::string& path);

 private:
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace zelto::desktop
