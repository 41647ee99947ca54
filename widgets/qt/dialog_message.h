#pragma once
// TDialogMessage: the program's own modal message box. A picture, a
// read-only text that grows with the message, and either one "OK" button or
// "はい" / "キャンセル". The creator fills it (lines, mode, picture kind) and
// runs it; the layout follows the text on the first activation only.
#include <QDialog>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTextEdit;

namespace tavrin {

class TDialogMessage : public QDialog {
  Q_OBJECT

 public:
  enum TPictureKind { pkInformation = 0, pkQuestion = 1, pkDanger = 2, pkError = 3 };

  explicit TDialogMessage(QWidget* parent = nullptr);
  ~TDialogMessage() override;

  // Message lines, CP932, one entry per shown line.
  std::vector<std::string>& Messages() { return FMessages; }
  bool SingleButton() const { return FSingleButton; }
  void SetSingleButton(bool on) { FSingleButton = on; }
  int PictureKind() const { return FPictureKind; }
  void SetPictureKind(int kind) { FPictureKind = kind; }
  // Centres each line of the text area.
  void SetTextCentered(bool on) { FTextCentered = on; }
  // True only after btnYes was pressed.
  bool Result() const { return FResult; }

  // Width of one line in the form's font, as the layout measures it. The
  // default puts the line into the hidden lWidth label and reads its width;
  // tests replace it where the installed fonts would decide. Returns the
  // previous measure; an empty one restores the default.
  using TextMeasure = std::function<int(const QString& line, const QFont& font)>;
  static TextMeasure SetTextMeasure(TextMeasure measure);

  // The 32 x 32 picture of a kind (information for an unknown kind).
  static QPixmap Picture(int kind);

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void FormActivate();
  void btnYesClick();
  void btnCancelClick();
  int MeasureLine(const QString& line);
  void FillText();

  QLabel* img;
  QLabel* imgQuestion;
  QLabel* imgDanger;
  QLabel* imgError;
  QLabel* lWidth;
  QTextEdit* mmInformation;
  QPushButton* btnYes;
  QPushButton* btnCancel;

  bool FFirstActivate = true;
  bool FSingleButton = true;
  int FPictureKind = pkInformation;
  bool FTextCentered = false;
  bool FResult = false;
  std::vector<std::string> FMessages;
};

}  // namespace tavrin
