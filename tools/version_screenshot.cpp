// Shows the version dialog, starts its animation as a mouse movement over
// OK does, and saves the dialog mid-animation as a PNG (argument 1). The
// clock is held at 20000 ms: the logo is turned by 120° and squeezed to about
// half its length, in normal colours. Built and run by version_screenshot.sh.
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "widgets/qt/version_dialog.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("version.png");
  tavrin::TfoVersion::SetClock([] { return 20000u; });
  tavrin::SetVersionDialogRunner([&](tavrin::TfoVersion& d) {
    d.show();
    QTimer::singleShot(300, &d, [&d] {
      const QPointF at(10, 10);
      QMouseEvent move(QEvent::MouseMove, at, d.btnOK->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
      QCoreApplication::sendEvent(d.btnOK, &move);
    });
    QTimer::singleShot(2500, &d, [&d, out] {
      std::printf("animating: %d\n", int(d.IsAnimating()));
      d.grab().save(out);
      std::fflush(stdout);
      if (qEnvironmentVariableIsSet("TAVRIN_SCREEN_GRAB"))
        std::system(qgetenv("TAVRIN_SCREEN_GRAB").constData());
      d.accept();
    });
    d.exec();
  });
  tavrin::ShowVersionDialog("v1.00A", "2019-0823", "2019-0426");
  return 0;
}
