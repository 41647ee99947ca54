#include "widgets/qt/dialog_message.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <utility>

#include "util/qt/qsjis.h"
#include "widgets/message_layout.h"

namespace tavrin {
namespace {

TDialogMessage::TextMeasure& Measure() {
  static TDialogMessage::TextMeasure measure;
  return measure;
}

void Place(QWidget* widget, const TRect& r) {
  widget->setGeometry(r.Left, r.Top, r.Width, r.Height);
}

// The pictures of the other kinds wait hidden below the shown one.
QLabel* MakePicture(QWidget* parent, const char* name, int kind, bool visible) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setPixmap(TDialogMessage::Picture(kind));
  label->setAttribute(Qt::WA_TranslucentBackground);
  const TRect& r = kMessagePicture;
  label->setGeometry(r.Left, r.Top + kind * r.Height, r.Width, r.Height);
  label->setVisible(visible);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const TRect& r,
                        bool yes) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  Place(b, r);
  b->setAutoDefault(true);
  // Glyph: a tick for yes, a cross for cancel.
  QPixmap glyph(20, 20);
  glyph.fill(Qt::transparent);
  QPainter p(&glyph);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(yes ? QColor(0, 140, 0) : QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
  if (yes) {
    p.drawPolyline(QPolygonF({QPointF(3, 10), QPointF(8, 15), QPointF(17, 4)}));
  } else {
    p.drawLine(QPointF(4, 4), QPointF(16, 16));
    p.drawLine(QPointF(16, 4), QPointF(4, 16));
  }
  p.end();
  b->setIcon(QIcon(glyph));
  return b;
}

}  // namespace

TDialogMessage::TDialogMessage(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TDialogMessage"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  QFont f(QStringLiteral("Meiryo UI"));
  f.setPixelSize(19);
  setFont(f);
  const TMessageLayout design = MessageDesign();
  setFixedSize(design.FormWidth, design.FormHeight);

  img = MakePicture(this, "img", pkInformation, true);
  imgQuestion = MakePicture(this, "imgQuestion", pkQuestion, false);
  imgDanger = MakePicture(this, "imgDanger", pkDanger, false);
  imgError = MakePicture(this, "imgError", pkError, false);

  lWidth = new QLabel(this);
  lWidth->setObjectName(QStringLiteral("lWidth"));
  lWidth->setTextFormat(Qt::PlainText);
  lWidth->hide();

  mmInformation = new QTextEdit(this);
  mmInformation->setObjectName(QStringLiteral("mmInformation"));
  Place(mmInformation, design.Text);
  mmInformation->setFrameShape(QFrame::NoFrame);
  mmInformation->setReadOnly(true);
  mmInformation->setLineWrapMode(QTextEdit::NoWrap);
  mmInformation->setFocusPolicy(Qt::NoFocus);
  mmInformation->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mmInformation->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mmInformation->document()->setDocumentMargin(0);
  QPalette pal = mmInformation->palette();
  pal.setColor(QPalette::Base, pal.color(QPalette::Button));
  mmInformation->setPalette(pal);

  btnYes = MakeButton(this, "btnYes", FromSjis(cp932::Sjis("はい")), design.Yes, true);
  btnCancel =
      MakeButton(this, "btnCancel", FromSjis(cp932::Sjis("キャンセル")), design.Cancel, false);
  connect(btnYes, &QPushButton::clicked, this, &TDialogMessage::btnYesClick);
  connect(btnCancel, &QPushButton::clicked, this, &TDialogMessage::btnCancelClick);
  btnYes->setFocus();
}

TDialogMessage::~TDialogMessage() = default;

TDialogMessage::TextMeasure TDialogMessage::SetTextMeasure(TextMeasure measure) {
  return std::exchange(Measure(), std::move(measure));
}

bool TDialogMessage::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QDialog::event(e);
}

void TDialogMessage::showEvent(QShowEvent* e) {
  // A window manager may refuse to activate a new window; the dialog must
  // not appear with an empty text then, so the first show lays it out too.
  FormActivate();
  QDialog::showEvent(e);
}

void TDialogMessage::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    reject();  // the result keeps its value
    return;
  }
  QDialog::keyPressEvent(e);
}

void TDialogMessage::btnYesClick() {
  FResult = true;
  accept();
}

void TDialogMessage::btnCancelClick() {
  FResult = false;
  reject();
}

int TDialogMessage::MeasureLine(const QString& line) {
  if (Measure()) return Measure()(line, font());
  lWidth->setText(line);
  lWidth->adjustSize();
  return lWidth->width();
}

void TDialogMessage::FillText() {
  mmInformation->clear();
  mmInformation->document()->setDocumentMargin(0);
  QTextCursor cursor(mmInformation->document());
  QTextBlockFormat block;
  block.setLineHeight(MessageDesign().LineHeight, QTextBlockFormat::FixedHeight);
  block.setAlignment(FTextCentered ? Qt::AlignHCenter : Qt::AlignLeft);
  for (std::size_t i = 0; i < FMessages.size(); ++i) {
    if (i == 0)
      cursor.setBlockFormat(block);
    else
      cursor.insertBlock(block);
    cursor.insertText(FromSjis(FMessages[i]));
  }
  if (FMessages.empty()) cursor.setBlockFormat(block);
  mmInformation->moveCursor(QTextCursor::Start);
}

void TDialogMessage::FormActivate() {
  if (!FFirstActivate) return;
  FFirstActivate = false;

  if (FPictureKind >= pkQuestion && FPictureKind <= pkError) {
    QLabel* source[] = {imgQuestion, imgDanger, imgError};
    img->setPixmap(source[FPictureKind - 1]->pixmap());
  }

  std::vector<int> widths;
  for (const std::string& line : FMessages) widths.push_back(MeasureLine(FromSjis(line)));
  const TMessageLayout layout = MessageLayout(widths, FSingleButton);
  Place(mmInformation, layout.Text);
  FillText();
  // Without wrapping the document is only as wide as its widest line, so
  // centring would move nothing: the lines are laid out in the area's width
  // instead, which every line fits (it is wider than the widest).
  mmInformation->setLineWrapMode(QTextEdit::FixedPixelWidth);
  mmInformation->setLineWrapColumnOrWidth(mmInformation->width());
  mmInformation->setWordWrapMode(QTextOption::NoWrap);
  Place(btnYes, layout.Yes);
  Place(btnCancel, layout.Cancel);
  if (FSingleButton) {
    btnYes->setText(QStringLiteral("OK"));
    btnCancel->hide();
  }
  const int formWidth = layout.FormWidth, formHeight = layout.FormHeight;
  setFixedSize(formWidth, formHeight);

  // The form is centred on its screen; keep it so at its new size.
  if (QScreen* s = screen()) {
    QRect area = s->availableGeometry();
    move(area.center().x() - formWidth / 2, area.center().y() - formHeight / 2);
  }
  raise();
  activateWindow();
  btnYes->setFocus();
}

QPixmap TDialogMessage::Picture(int kind) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(22);
  f.setBold(true);
  p.setFont(f);
  QRectF box(1, 1, 30, 30);
  QString mark;
  switch (kind) {
    case pkQuestion:
      p.setPen(QPen(QColor(20, 60, 140), 1.5));
      p.setBrush(QColor(70, 130, 220));
      p.drawEllipse(box);
      mark = QStringLiteral("?");
      break;
    case pkDanger: {
      QPainterPath triangle;
      triangle.moveTo(16, 1.5);
      triangle.lineTo(31, 29.5);
      triangle.lineTo(1, 29.5);
      triangle.closeSubpath();
      p.setPen(QPen(QColor(120, 90, 0), 1.5));
      p.setBrush(QColor(250, 200, 30));
      p.drawPath(triangle);
      box = QRectF(1, 6, 30, 24);
      mark = QStringLiteral("!");
      break;
    }
    case pkError:
      p.setPen(QPen(QColor(120, 0, 0), 1.5));
      p.setBrush(QColor(210, 30, 30));
      p.drawEllipse(box);
      mark = QStringLiteral("\u00D7");
      break;
    default:
      p.setPen(QPen(QColor(20, 60, 140), 1.5));
      p.setBrush(QColor(255, 255, 255));
      p.drawEllipse(box);
      mark = QStringLiteral("i");
      break;
  }
  p.setPen(kind == pkInformation || kind < 0 || kind > pkError ? QColor(20, 60, 140)
           : kind == pkDanger                                  ? QColor(0, 0, 0)
                                                               : QColor(255, 255, 255));
  p.drawText(box, Qt::AlignCenter, mark);
  return pm;
}

}  // namespace tavrin
