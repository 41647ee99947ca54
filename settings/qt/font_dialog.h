#pragma once
// The font dialog with the effects a bound font keeps: underline and
// strike-out from the toolkit's own dialog, and a colour choice added to
// its effects so that the colour key stays meaningful. The dialog itself
// sets no size limits: its caller keeps the size (KeepChosenFontSize). Show it with ExecModal;
// sub-dialogs (the custom colour) go through ExecModal too.
#include <QFontDialog>
#include <string>

#include "settings/font_mang.h"

class QComboBox;

namespace tavrin {

class TFontDialog : public QFontDialog {
  Q_OBJECT
 public:
  explicit TFontDialog(QWidget* parent = nullptr);

  // The dialog's font and colour as a bound font holds them: size in points.
  void SetFontValue(const FontValue& font);
  // The font confirmed last (selectedFont) with the colour chosen.
  FontValue SelectedFontValue() const;

  TColor Color() const { return color_; }
  // Selects the colour's entry, adding one for a colour the list lacks
  // (a system colour other than the window text, or a custom colour).
  void SetColor(TColor color);

  QComboBox* ColorBox() const { return cbFontColor; }

 private:
  void ColorChosen(int index);
  void ShowColorInSample();
  void ShowSampleText();

  QComboBox* cbFontColor = nullptr;
  TColor color_ = clWindowText;
  std::string givenName_;  // the name SetFontValue was given (CP932)
  QString shownFamily_;    // the family the list shows for it
};

}  // namespace tavrin
