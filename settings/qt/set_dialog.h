#pragma once
// TfoSet: the settings dialog. A check box for each Boolean option of the
// option table in its group box, a sample list whose font is the result list's font
// (a click on it or on its headings opens the font dialog), [辞書を編集]
// with the line on the user's dictionary, and the buttons bbOK and
// bbCancel. It is created once and hidden; its owner fills
// it before each opening and reads it back after OK, so it keeps nothing
// between openings. Fixed size, laid out in pixels by the shared layout
// (settings/set_layout.h): one column, or two where the screen is too low
// for it, chosen at each opening.
#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>
#include <string>

#include "settings/set_layout.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace tavrin {

class TFontDialog;

class TfoSet : public QDialog {
  Q_OBJECT
 public:
  // fontDialog (not owned) is the font dialog the sample list uses; without
  // one the dialog makes its own.
  explicit TfoSet(TFontDialog* fontDialog = nullptr, QWidget* parent = nullptr);

  // Runs the font dialog on the sample list's font; a confirmed font (with
  // its colour) becomes the sample list's font at once.
  void lvSetClick();
  void lvSetColumnClick(int column);
  // Escape closes the dialog with Cancel. Returns true for a key it took.
  bool FormKeyDown(int key);
  // The line on the user's dictionary (CP932) and what [辞書を編集] does:
  // it returns the line to show afterwards.
  void SetDictionary(const std::string& sjis, std::function<std::string()> edit);

  void setVisible(bool visible) override;

  // Components. The group boxes in the order of SetGroupRows, the check
  // boxes in the order of SetOptionRows (named as the table names them).
  std::array<QGroupBox*, kSetGroupCount> Groups{};
  std::array<QCheckBox*, kSetOptionCount> Boxes{};
  QLabel* Label1 = nullptr;
  QTreeWidget* lvSet = nullptr;
  QPushButton* bbEditDictionary = nullptr;
  QLabel* lblDictionary = nullptr;
  QPushButton* bbOK = nullptr;
  QPushButton* bbCancel = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Places the group boxes and buttons and sizes the dialog.
  void Arrange(const TSetLayout& layout);
  // The font's label and the sample list, in their group (placed at in).
  void MakeSample(QGroupBox* group, const TRect& in, const TSetLayout& layout);

  QPointer<TFontDialog> dlgFont;
  std::function<std::string()> FEditDictionary;
};

}  // namespace tavrin
