#include "desktop/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zelto::desktop {

QStringList InstallChineseTranslations(QCoreApplication& app) {
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  QLocale::setDefault(chinese);
  const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                               QDir(QCoreApplication::applicationDirPath()).filePath("translations")};
  QStringList loaded;
  for (const QString& folder : folders) {
    auto* translator = new QTranslator(&app);
    if (translator->load(chinese, "qtbase", "_", folder) && QCoreApplication::installTranslator(translator)) {
      loaded << translator->filePath();
      break;
    }
    delete translator;
  }
  return loaded;
}

}  // namespace zelto::desktop
