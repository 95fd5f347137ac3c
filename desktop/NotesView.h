// The page "适用性提示" of the main window: the applicability notes and the
// dense-gas estimate of the last computation, beside the results box; its
// tab caption carries the number of notes.
#pragma once

class QPlainTextEdit;

namespace zelto::desktop {

class MainWindowWidget;

// Adds the page to the window's results area and refills it, caption
// included, after every computation that shows a new report.
QPlainTextEdit* AttachNotesView(MainWindowWidget& window);

}  // namespace zelto::desktop
