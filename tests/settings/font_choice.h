#pragma once
// What a person does in the font dialog, for tests that drive it through
// the modal seam: picks a font the font database really has, and a colour.
#include <QComboBox>
#include <QFontDatabase>
#include <QtTest>

#include "settings/qt/font_dialog.h"

namespace tavrin {

// A family the font database has, so the font dialog keeps it as chosen.
inline QString InstalledFamily() {
  const QStringList families = QFontDatabase::families();
  for (const char* wanted : {"Noto Sans CJK JP", "DejaVu Sans"})
    if (families.contains(QString::fromLatin1(wanted))) return QString::fromLatin1(wanted);
  return families.value(0);
}

// Sets the font dialog's font and selects the colour's entry.
inline void ChooseFont(QDialog& dialog, const QFont& font, TColor color) {
  auto* fonts = qobject_cast<TFontDialog*>(&dialog);
  QVERIFY(fonts);
  fonts->setCurrentFont(font);
  QComboBox* box = fonts->ColorBox();
  int index = -1;
  for (int i = 0; i < box->count() && index < 0; ++i)
    if (box->itemData(i).isValid() && box->itemData(i).toUInt() == color) index = i;
  QVERIFY(index >= 0);
  box->setCurrentIndex(index);
}

}  // namespace tavrin
