// Qt's own texts in Chinese: the buttons of message boxes and file dialogs,
// the file dialogs themselves and the context menus of the text boxes.
#pragma once

#include <QStringList>

class QCoreApplication;

namespace zelto::desktop {

// Installs Qt's translations of its base module for zh_CN (qtbase_zh_CN.qm,
// looked up in Qt's translations folder, then in "translations" beside the
// executable) and makes zh_CN the default locale. Returns the files loaded;
// none when they are missing, and then the windows that label their buttons
// themselves still show Chinese there.
QStringList InstallChineseTranslations(QCoreApplication& app);

}  // namespace zelto::desktop
