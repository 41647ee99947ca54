#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "widgets/qt/rotate_image.h"
#include "widgets/qt/version_dialog.h"

using namespace tavrin;

class VersionDialogTest : public QObject {
  Q_OBJECT

  uint32_t FNow = 0;
  QList<int> FSleeps;

 private Q_SLOTS:
  void init() {
    FSleeps.clear();
    TfoVersion::SetClock([this] { return FNow; });
    TfoVersion::SetSleep([this](int ms) { FSleeps.append(ms); });
  }

  void showsTheVersionLineInGrey() {
    QString line;
    bool grey = false, closeButton = true;
    QSize size;
    SetVersionDialogRunner([&](TfoVersion& d) {
      line = d.lVersion->text();
      grey = d.RotateImage1->Monochrome();
      closeButton = d.windowFlags().testFlag(Qt::WindowCloseButtonHint);
      size = d.size();
    });
    ShowVersionDialog("v1.00A", "2019-0823", "2019-0426");
    QCOMPARE(line, QStringLiteral("Version v1.00A  Build:2019-0823, Since:2019-0426"));
    QVERIFY(grey);
    QVERIFY(!closeButton);
    QCOMPARE(size, QSize(424, 204));
  }

  void logoIsDrawnOnTheBlackBand() {
    TfoVersion d;
    QVERIFY(d.RotateImage1->CanDraw());
    QCOMPARE(d.RotateImage1->Source().Width(), 264);
    QCOMPARE(d.RotateImage1->Source().Height(), 70);
    const QImage band = d.pnTop->grab().toImage();
    QCOMPARE(band.pixel(2, 2), qRgb(0, 0, 0));
    int coloured = 0;
    for (int y = 0; y < band.height(); ++y)
      for (int x = 0; x < band.width(); ++x) coloured += band.pixel(x, y) != qRgb(0, 0, 0);
    QVERIFY(coloured > 1000);
    QVERIFY(d.pnTop->testAttribute(Qt::WA_OpaquePaintEvent));  // no erase before painting
  }

  void enterAndEscapeClose_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
  }
  void enterAndEscapeClose() {
    QFETCH(int, key);
    TfoVersion d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::keyClick(&d, Qt::Key(key));
    QVERIFY(!d.isVisible());
  }

  void firstMouseMoveColoursAndStartsOnce() {
    TfoVersion d;
    d.RotateImage1->SetMonochrome(true);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::mouseMove(d.btnOK, QPoint(10, 10));
    QTRY_VERIFY(d.IsAnimating());
    QVERIFY(!d.RotateImage1->Monochrome());
    QCOMPARE(FSleeps.count(1000), 1);
    d.RotateImage1->SetMonochrome(true);
    QTest::mouseMove(d.btnOK, QPoint(30, 20));
    QCoreApplication::processEvents();
    QVERIFY(d.RotateImage1->Monochrome());  // the handler is gone
    QCOMPARE(FSleeps.count(1000), 1);
    d.close();
    QVERIFY(!d.IsAnimating());
  }

  void closingBeforeAnyMovementNeverAnimates() {
    TfoVersion d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.close();
    QVERIFY(!d.IsAnimating());
    QVERIFY(FSleeps.isEmpty());
  }

  void animationStepsAreGatedAndSkipped() {
    TfoVersion d;
    bool done = true;
    FNow = TfoVersion::LastAnimationTick() + 1'200'375;  // θ = π/2, inside an inverted half
    FNow -= FNow % 12000;
    FNow += 375;
    const int renders = d.RotateImage1->RenderCount();
    d.AnimateLogo(done);
    QVERIFY(!done);
    QCOMPARE(TfoVersion::LastAnimationTick(), FNow);
    QCOMPARE(d.RotateImage1->RenderCount(), renders + 1);  // one render for the whole step
    QVERIFY(d.RotateImage1->Negative());
    const TMatrix squeezed = d.RotateImage1->Transform();
    QVERIFY(squeezed.m22 > 10);  // near the start of a 6 s cycle: a thin sliver

    FNow += 99;
    d.AnimateLogo(done);
    QCOMPARE(FSleeps, QList<int>{10});
    QCOMPARE(d.RotateImage1->RenderCount(), renders + 1);

    const uint32_t base = FNow - 375 - 99;
    FNow = base + 750;  // a multiple of 750 ms: sin θ = 0
    d.AnimateLogo(done);
    QCOMPARE(TfoVersion::LastAnimationTick(), base + 375);
    QCOMPARE(d.RotateImage1->RenderCount(), renders + 1);

    FNow = base + 9000 + 375;  // the other half of the 12 s cycle, near full size
    d.AnimateLogo(done);
    QCOMPARE(TfoVersion::LastAnimationTick(), FNow);
    QVERIFY(!d.RotateImage1->Negative());
    QVERIFY(qAbs(d.RotateImage1->Transform().m11 - 1) < 0.05f);
  }
};

QTEST_MAIN(VersionDialogTest)
#include "version_dialog_qttest.moc"
