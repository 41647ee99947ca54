#include "util/qt/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tavrin {

bool LoadJapaneseTranslations(QObject* application) {
  auto* translator = new QTranslator(application);
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace tavrin
