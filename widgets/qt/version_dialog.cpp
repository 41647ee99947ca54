#include "widgets/qt/version_dialog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <memory>

#include "util/cp932.h"
#include "util/qt/modal.h"
#include "util/qt/qsjis.h"
#include "widgets/qt/rotate_image.h"
#include "widgets/version_animation.h"
#include "widgets/version_form.h"

// Resources of a static library must be registered by name, outside any
// namespace.
static void InitWidgetsResources() { Q_INIT_RESOURCE(widgets); }

namespace tavrin {
namespace {

uint32_t SystemMilliseconds() {
  static QElapsedTimer timer = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return uint32_t(timer.elapsed());
}

std::function<uint32_t()>& ClockFunction() {
  static std::function<uint32_t()> clock = SystemMilliseconds;
  return clock;
}

std::function<void(int)>& SleepFunction() {
  static std::function<void(int)> sleep = [](int ms) { QThread::msleep(ulong(ms)); };
  return sleep;
}

TVersionDialogRunner& Runner() {
  static TVersionDialogRunner runner = [](TfoVersion& dialog) { ExecModal(dialog); };
  return runner;
}

QFont PixelFont(const char* family, int pixels) {
  QFont font(QString::fromUtf8(family));
  font.setPixelSize(pixels);
  return font;
}

// A rectangle of the dialog's client, for a widget whose parent stands at
// `origin` in it.
void Place(QWidget* widget, const TRect& r, const TRect& origin = {}) {
  widget->setGeometry(r.Left - origin.Left, r.Top - origin.Top, r.Width, r.Height);
}

// The OK button's glyph: a green tick.
QIcon OkGlyph() {
  QPixmap pixmap(20, 20);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 150, 60), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygon({QPoint(3, 10), QPoint(8, 16), QPoint(17, 4)}));
  return QIcon(pixmap);
}

}  // namespace

TTopPanel::TTopPanel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
}

void TTopPanel::paintEvent(QPaintEvent* event) {
  const QRect r = event->rect();
  QImage buffer(r.size(), QImage::Format_RGB32);
  buffer.fill(Qt::black);
  {
    QPainter memory(&buffer);
    memory.translate(-r.topLeft());
    for (QObject* child : children()) {
      if (auto* image = qobject_cast<TCustomRotateImage*>(child)) {
        memory.translate(image->pos());
        image->Paint(memory);
        break;
      }
    }
  }
  QPainter window(this);
  window.drawImage(r.topLeft(), buffer);
}

TfoVersion::TfoVersion(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  InitWidgetsResources();
  setWindowTitle(FromSjis(cp932::Sjis("Tavrin バージョン情報")));
  const TVersionLayout& l = kVersionLayout;
  setFixedSize(l.FormWidth, l.FormHeight);
  setFont(PixelFont("ＭＳ Ｐゴシック", 15));

  Panel3 = new QFrame(this);
  Panel3->setObjectName(QStringLiteral("Panel3"));
  Place(Panel3, l.Panel3);
  Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel2 = new QWidget(Panel3);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Place(Panel2, l.Panel2, l.Panel3);
  QPalette black = Panel2->palette();
  black.setColor(QPalette::Window, Qt::black);
  black.setColor(QPalette::WindowText, Qt::white);
  Panel2->setPalette(black);
  Panel2->setAutoFillBackground(true);

  pnTop = new TTopPanel(Panel2);
  pnTop->setObjectName(QStringLiteral("pnTop"));
  Place(pnTop, l.Band, l.Panel2);
  RotateImage1 = new TRotateImage(pnTop);
  RotateImage1->setObjectName(QStringLiteral("RotateImage1"));
  Place(RotateImage1, l.Band, l.Band);
  RotateImage1->SetPaintedByParent(true);
  RotateImage1->SetTransparent(true);
  RotateImage1->SetBitmap(QImage(QStringLiteral(":/widgets/logo.bmp")));

  const QFont labelFont = PixelFont("Meiryo UI", 15);
  lVersion = new QLabel(Panel2);
  lVersion->setObjectName(QStringLiteral("lVersion"));
  Place(lVersion, l.VersionLine, l.Panel2);
  Label3 = new QLabel(QStringLiteral("Copyright (C) 2019 Tavrin developers"), Panel2);
  Label3->setObjectName(QStringLiteral("Label3"));
  Place(Label3, l.Rights, l.Panel2);
  for (QLabel* label : {lVersion, Label3}) {
    label->setAlignment(Qt::AlignCenter);
    label->setFont(labelFont);
    label->setPalette(black);
  }

  btnOK = new QPushButton(QStringLiteral("OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  Place(btnOK, l.OK);
  btnOK->setFont(PixelFont("Meiryo UI", 19));
  btnOK->setIcon(OkGlyph());
  btnOK->setDefault(true);
  btnOK->setMouseTracking(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

  FIdle.setInterval(0);
  connect(&FIdle, &QTimer::timeout, this, [this] {
    bool done = false;
    AnimateLogo(done);
  });

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  FormCreate();
}

TfoVersion::~TfoVersion() = default;

void TfoVersion::SetClock(std::function<uint32_t()> clock) { ClockFunction() = std::move(clock); }
void TfoVersion::SetSleep(std::function<void(int)> sleep) { SleepFunction() = std::move(sleep); }
uint32_t TfoVersion::LastAnimationTick() { return TVersionForm::LastAnimationTick(); }

void TfoVersion::FormCreate() {
  btnOK->installEventFilter(this);
  FForm.FormCreate();
}

bool TfoVersion::eventFilter(QObject* watched, QEvent* event) {
  if (watched == btnOK && event->type() == QEvent::MouseMove && FForm.MouseMoveHooked()) {
    btnOK->removeEventFilter(this);
    FForm.btnOKMouseMove();
  }
  return QDialog::eventFilter(watched, event);
}

void TfoVersion::AnimateLogo(bool& done) { FForm.AnimateLogo(done); }

std::uint32_t TfoVersion::Clock() { return ClockFunction()(); }

void TfoVersion::Sleep(int ms) { SleepFunction()(ms); }

void TfoVersion::SetMonochrome(bool on) { RotateImage1->SetMonochrome(on); }

void TfoVersion::SetLogoStep(bool negative, const TMatrix& m) {
  RotateImage1->BeginUpdate();
  RotateImage1->SetNegative(negative);
  RotateImage1->SetTransform(m.m11, m.m12, m.m21, m.m22);
  RotateImage1->EndUpdate();
}

void TfoVersion::Repaint() { repaint(); }

void TfoVersion::SetIdle(bool on) {
  if (on)
    FIdle.start();
  else
    FIdle.stop();
}

void TfoVersion::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void TfoVersion::done(int result) {
  FForm.FormClose();
  QDialog::done(result);
}

TVersionDialogRunner SetVersionDialogRunner(TVersionDialogRunner runner) {
  TVersionDialogRunner previous = std::move(Runner());
  Runner() = std::move(runner);
  return previous;
}

void ShowVersionDialog(const std::string& version, const std::string& build,
                       const std::string& since) {
  // Released however the modal loop ends, once pending events are through.
  std::unique_ptr<TfoVersion, void (*)(TfoVersion*)> dialog(
      new TfoVersion(), [](TfoVersion* d) { d->deleteLater(); });
  dialog->lVersion->setText(FromSjis(VersionLine(version, build, since)));
  dialog->RotateImage1->SetMonochrome(true);
  Runner()(*dialog);
}

}  // namespace tavrin
