#pragma once
// TfoSet: the settings dialog. Sixteen check boxes for the Boolean options
// in five group boxes (the option table's), a sample list whose font is the result list's font
// (a click on it or on its headings opens the font dialog), and the
// buttons bbOK and bbCancel. It is created once and hidden; its owner fills
// it before each opening and reads it back after OK, so it keeps nothing
// between openings. Fixed size 514 x 696, laid out in pixels.
#include <QDialog>
#include <QPointer>

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

  void setVisible(bool visible) override;

  // Components, in tab order.
  QGroupBox* GroupBox3 = nullptr;
  QCheckBox* chbExtractTrim = nullptr;
  QCheckBox* chbSound = nullptr;
  QCheckBox* chbShowHint = nullptr;
  QGroupBox* GroupBox4 = nullptr;
  QCheckBox* chbHyphen = nullptr;
  QCheckBox* chbHyphenTerminate = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QCheckBox* chbZenkaku = nullptr;
  QCheckBox* chbUpper = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QCheckBox* chbExtractSort = nullptr;
  QCheckBox* chbExprsQuote = nullptr;
  QCheckBox* chbCopyCount = nullptr;
  QLabel* Label1 = nullptr;
  QTreeWidget* lvSet = nullptr;
  QGroupBox* GroupBox5 = nullptr;
  QCheckBox* chbKanji = nullptr;
  QCheckBox* chbCompat = nullptr;
  QCheckBox* chbSpace = nullptr;
  QCheckBox* chbSymbol = nullptr;
  QCheckBox* chbKana = nullptr;
  QCheckBox* chbCompany = nullptr;
  QCheckBox* chbNumber = nullptr;
  QCheckBox* chbOkurigana = nullptr;
  QPushButton* bbOK = nullptr;
  QPushButton* bbCancel = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<TFontDialog> dlgFont;
};

}  // namespace tavrin
