#include "app/qt/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace tavrin {

QString RegisterFontSubstitutions() {
  const QStringList installed = QFontDatabase::families(QFontDatabase::Japanese);
  QString chosen;
  for (const char* family :
       {"Noto Sans CJK JP", "IPAGothic", "IPAPGothic", "VL Gothic", "TakaoGothic"}) {
    if (installed.contains(QString::fromLatin1(family), Qt::CaseInsensitive)) {
      chosen = QString::fromLatin1(family);
      break;
    }
  }
  if (chosen.isEmpty()) return {};
  for (const char* design : {"Meiryo UI", "ＭＳ Ｐゴシック"})
    QFont::insertSubstitution(QString::fromUtf8(design), chosen);
  return chosen;
}

}  // namespace tavrin
