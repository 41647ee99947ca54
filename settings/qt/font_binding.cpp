#include "settings/qt/font_binding.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QVariant>
#include <cmath>

#include "util/qt/qsjis.h"

namespace tavrin {
namespace {

// The colour value a widget's text colour came from, so that a system
// colour is written back by its name.
constexpr char kColorProperty[] = "tavrinFontColor";

constexpr int kFormDpi = 96;

// Rounded a * b / c, as the platform's MulDiv for the values used here.
int MulDiv(double a, int b, int c) { return static_cast<int>(std::lround(a * b / c)); }

QPalette::ColorRole RoleOfSystemColor(TColor index) {
  switch (index) {
    case 1:
    case 5:
      return QPalette::Base;  // clBackground, clWindow
    case 2:
    case 13:
      return QPalette::Highlight;  // clActiveCaption, clHighlight
    case 9:
    case 14:
      return QPalette::HighlightedText;  // clCaptionText, clHighlightText
    case 4:
    case 12:
    case 15:
    case 0:
      return QPalette::Button;  // clMenu, clAppWorkSpace, clBtnFace, clScrollBar
    case 16:
      return QPalette::Mid;  // clBtnShadow
    case 17:
      return QPalette::PlaceholderText;  // clGrayText
    case 18:
      return QPalette::ButtonText;  // clBtnText
    case 20:
      return QPalette::Light;  // clBtnHighlight
    case 21:
      return QPalette::Shadow;  // cl3DDkShadow
    case 22:
      return QPalette::Midlight;  // cl3DLight
    case 23:
      return QPalette::ToolTipText;  // clInfoText
    case 24:
      return QPalette::ToolTipBase;  // clInfoBk
    default:
      return QPalette::Text;  // clWindowText and the rest
  }
}

}  // namespace

QColor ToQColor(TColor color) {
  if (color & kSystemColorBit)
    return QApplication::palette().color(RoleOfSystemColor(color & 0xFF));
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

std::uint8_t FontStyleBits(const QFont& font) {
  return static_cast<std::uint8_t>(
      (font.bold() ? kFontBold : 0) | (font.italic() ? kFontItalic : 0) |
      (font.underline() ? kFontUnderline : 0) | (font.strikeOut() ? kFontStrikeOut : 0));
}

void SetFontStyleBits(QFont& font, std::uint8_t style) {
  font.setBold(style & kFontBold);
  font.setItalic(style & kFontItalic);
  font.setUnderline(style & kFontUnderline);
  font.setStrikeOut(style & kFontStrikeOut);
}

FontValue WidgetFont(const QWidget& widget) {
  const QFont font = widget.font();
  FontValue v;
  v.name = ToSjis(font.family());
  v.size = font.pixelSize() > 0 ? MulDiv(font.pixelSize(), 72, kFormDpi)
                                : static_cast<std::int32_t>(std::lround(font.pointSizeF()));
  QVariant color = widget.property(kColorProperty);
  v.color = color.isValid() ? color.toUInt() : clWindowText;
  v.style = FontStyleBits(font);
  return v;
}

void SetWidgetFont(QWidget& widget, const FontValue& v) {
  QFont font;
  font.setFamily(FromSjis(v.name));
  font.setPixelSize(std::max(1, MulDiv(v.size, kFormDpi, 72)));
  SetFontStyleBits(font, v.style);
  widget.setFont(font);
  widget.setProperty(kColorProperty, QVariant::fromValue(static_cast<uint>(v.color)));
  QPalette palette = widget.palette();
  if (v.color != clNone) {
    const QColor shown = ToQColor(v.color);
    palette.setColor(QPalette::Text, shown);
    palette.setColor(QPalette::WindowText, shown);
  }
  widget.setPalette(palette);
}

void CopyWidgetFont(const QWidget& from, QWidget& to) {
  to.setFont(from.font());
  to.setProperty(kColorProperty, from.property(kColorProperty));
  QPalette palette = to.palette();
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
    palette.setColor(role, from.palette().color(role));
  to.setPalette(palette);
}

TWidgetFontMang::TWidgetFontMang(QWidget* target, std::string_view section, std::string_view prefix,
                                 QWidget* defaultFont)
    : TObjectMangFont(section, prefix), target_(target), default_(defaultFont) {}

FontValue TWidgetFontMang::Target() const { return target_ ? WidgetFont(*target_) : FontValue{}; }

void TWidgetFontMang::SetTarget(const FontValue& font) {
  if (target_) SetWidgetFont(*target_, font);
}

FontValue TWidgetFontMang::DefaultFont() const {
  return default_ ? WidgetFont(*default_) : FontValue{};
}

}  // namespace tavrin
