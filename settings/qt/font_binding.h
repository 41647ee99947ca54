#pragma once
// The font binding of a widget: its font and its text colour are the bound
// font. Sizes are points on the 96-dots-per-inch basis the forms are laid
// out on, whatever the screen: 19 pixels are 14 points and back.
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "settings/font_mang.h"

namespace tavrin {

// The colour a colour value shows as: its own RGB, or for a system colour
// the application palette's colour of the matching role.
QColor ToQColor(TColor color);

// The style bits (kFontBold ...) of a font, and a font given them.
std::uint8_t FontStyleBits(const QFont& font);
void SetFontStyleBits(QFont& font, std::uint8_t style);

// The widget's font and colour as the settings file holds them.
FontValue WidgetFont(const QWidget& widget);
// Gives the widget a new font with these four attributes (all others the
// defaults of a new font) and the colour as its text colour.
void SetWidgetFont(QWidget& widget, const FontValue& font);
// Gives `to` the font of `from` with all its attributes, its text colour
// included; other colours of `to` stay.
void CopyWidgetFont(const QWidget& from, QWidget& to);

class TWidgetFontMang : public TObjectMangFont {
 public:
  // Neither widget is owned; they may be the same.
  TWidgetFontMang(QWidget* target, std::string_view section, std::string_view prefix,
                  QWidget* defaultFont);

 protected:
  FontValue Target() const override;
  void SetTarget(const FontValue& font) override;
  FontValue DefaultFont() const override;

 private:
  QPointer<QWidget> target_;
  QPointer<QWidget> default_;
};

}  // namespace tavrin
