#include "settings/qt/font_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <cmath>

#include "settings/qt/font_binding.h"
#include "util/cp932.h"
#include "util/qt/modal.h"
#include "util/qt/qsjis.h"

namespace tavrin {
namespace {

constexpr int kColorRole = Qt::UserRole;      // the entry's colour value
constexpr int kEntryRole = Qt::UserRole + 1;  // what kind of entry it is
enum Entry { kListed = 0, kExtra = 1, kOther = 2 };

struct NamedColor {
  TColor color;
  const char* caption;
};
// The window text colour, then the sixteen colours that have names.
constexpr NamedColor kColors[] = {
    {clWindowText, "ウィンドウの文字色"},
    {0x00000000, "黒"},
    {0x00000080, "栗色"},
    {0x00008000, "緑"},
    {0x00008080, "オリーブ"},
    {0x00800000, "紺"},
    {0x00800080, "紫"},
    {0x00808000, "青緑"},
    {0x00808080, "灰色"},
    {0x00C0C0C0, "銀色"},
    {0x000000FF, "赤"},
    {0x0000FF00, "ライム"},
    {0x0000FFFF, "黄"},
    {0x00FF0000, "青"},
    {0x00FF00FF, "赤紫"},
    {0x00FFFF00, "水色"},
    {0x00FFFFFF, "白"},
};

QString Text(const char* utf8) { return FromSjis(cp932::Sjis(utf8)); }

QIcon Swatch(TColor color) {
  QPixmap swatch(16, 16);
  swatch.fill(ToQColor(color));
  return QIcon(swatch);
}

// The effects group of the toolkit's dialog: the group box holding its
// check boxes (underline, strike-out).
QGroupBox* EffectsGroup(QDialog& dialog) {
  for (QGroupBox* group : dialog.findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
    if (group->findChild<QCheckBox*>() && group->layout()) return group;
  return nullptr;
}

}  // namespace

TFontDialog::TFontDialog(QWidget* parent) : QFontDialog(parent) {
  // The native dialog could not carry the colour choice.
  setOption(QFontDialog::DontUseNativeDialog);
  setObjectName(QStringLiteral("dlgFont"));

  cbFontColor = new QComboBox;
  cbFontColor->setObjectName(QStringLiteral("cbFontColor"));
  for (const NamedColor& c : kColors) {
    cbFontColor->addItem(Swatch(c.color), Text(c.caption), QVariant::fromValue(uint(c.color)));
    cbFontColor->setItemData(cbFontColor->count() - 1, kListed, kEntryRole);
  }
  cbFontColor->addItem(Text("その他の色..."));
  cbFontColor->setItemData(cbFontColor->count() - 1, kOther, kEntryRole);
  auto* label = new QLabel(Text("色"));
  label->setBuddy(cbFontColor);

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(cbFontColor, 1);
  if (QGroupBox* effects = EffectsGroup(*this))
    static_cast<QBoxLayout*>(effects->layout())->addLayout(row);
  else if (auto* grid = qobject_cast<QGridLayout*>(layout()))
    grid->addLayout(row, grid->rowCount(), 0, 1, grid->columnCount());
  else
    layout()->addItem(row);

  connect(cbFontColor, &QComboBox::currentIndexChanged, this,
          [this](int index) { ColorChosen(index); });
  SetColor(clWindowText);
  ShowSampleText();
}

void TFontDialog::SetFontValue(const FontValue& value) {
  QFont font(FromSjis(value.name));
  font.setPointSize(std::max(1, value.size));
  SetFontStyleBits(font, value.style);
  // A family this system lacks is shown as the one that stands in for it,
  // so the list preselects what the user sees; confirming it unchanged
  // keeps the stored name.
  givenName_ = value.name;
  shownFamily_ = font.family();
  if (!QFontDatabase::families().contains(shownFamily_)) {
    shownFamily_ = QFontInfo(font).family();
    font.setFamily(shownFamily_);
  }
  setCurrentFont(font);
  SetColor(value.color);
  ShowSampleText();
}

void TFontDialog::ShowSampleText() {
  if (auto* sample = findChild<QLineEdit*>(QStringLiteral("qt_fontDialog_sampleEdit")))
    sample->setText(Text("文字列 あア亜 ｱｲ Aa1"));
}

FontValue TFontDialog::SelectedFontValue() const {
  const QFont font = selectedFont();
  FontValue value;
  value.name = font.family() == shownFamily_ ? givenName_ : ToSjis(font.family());
  value.size = font.pointSizeF() > 0
                   ? static_cast<std::int32_t>(std::lround(font.pointSizeF()))
                   : static_cast<std::int32_t>(std::lround(font.pixelSize() * 0.75));
  value.color = color_;
  value.style = FontStyleBits(font);
  return value;
}

void TFontDialog::SetColor(TColor color) {
  color_ = color;
  QSignalBlocker quiet(cbFontColor);
  int extra = -1;
  for (int i = 0; i < cbFontColor->count(); ++i) {
    const int entry = cbFontColor->itemData(i, kEntryRole).toInt();
    if (entry == kExtra) extra = i;
    if (entry != kOther && cbFontColor->itemData(i, kColorRole).toUInt() == color) {
      cbFontColor->setCurrentIndex(i);
      ShowColorInSample();
      return;
    }
  }
  // One extra entry, just before "other", named as the settings file names it.
  const QString caption = QString::fromLatin1(ColorToText(color));
  if (extra < 0) {
    extra = cbFontColor->count() - 1;
    cbFontColor->insertItem(extra, Swatch(color), caption);
    cbFontColor->setItemData(extra, kExtra, kEntryRole);
  } else {
    cbFontColor->setItemIcon(extra, Swatch(color));
    cbFontColor->setItemText(extra, caption);
  }
  cbFontColor->setItemData(extra, QVariant::fromValue(uint(color)), kColorRole);
  cbFontColor->setCurrentIndex(extra);
  ShowColorInSample();
}

void TFontDialog::ColorChosen(int index) {
  if (cbFontColor->itemData(index, kEntryRole).toInt() != kOther) {
    color_ = cbFontColor->itemData(index, kColorRole).toUInt();
    ShowColorInSample();
    return;
  }
  QColorDialog dialog(ToQColor(color_), this);
  dialog.setObjectName(QStringLiteral("dlgColor"));
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (ExecModal(dialog) == QDialog::Accepted) {
    const QColor chosen = dialog.selectedColor();
    SetColor(RGBColor(static_cast<std::uint8_t>(chosen.red()),
                      static_cast<std::uint8_t>(chosen.green()),
                      static_cast<std::uint8_t>(chosen.blue())));
  } else {
    SetColor(color_);  // back to the colour before
  }
}

void TFontDialog::ShowColorInSample() {
  auto* sample = findChild<QLineEdit*>(QStringLiteral("qt_fontDialog_sampleEdit"));
  if (!sample) return;
  QPalette palette = sample->palette();
  palette.setColor(QPalette::Text, ToQColor(color_));
  sample->setPalette(palette);
}

}  // namespace tavrin
