#include <QBuffer>
#include <QPainter>
#include <QPicture>
#include <QtTest>

#include "widgets/qt/rotate_image.h"

using namespace tavrin;

namespace {

// A 5 × 5 picture: blue, with the bottom-left pixel and its column black.
QImage Picture() {
  QImage image(5, 5, QImage::Format_RGB32);
  image.fill(QColor(0, 0, 255));
  for (int y = 0; y < 5; ++y) image.setPixel(0, y, qRgb(0, 0, 0));
  return image;
}

// A red parent holding the image control, both 11 × 11.
struct Scene {
  QWidget parent;
  TRotateImage* image;
  Scene() {
    parent.resize(11, 11);
    parent.setAutoFillBackground(true);
    QPalette p = parent.palette();
    p.setColor(QPalette::Window, Qt::red);
    parent.setPalette(p);
    image = new TRotateImage(&parent);
    image->setGeometry(0, 0, 11, 11);
  }
  QImage Grab() {
    QImage out(11, 11, QImage::Format_RGB32);
    parent.render(&out);
    return out;
  }
};

}  // namespace

class RotateImageTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void drawsCentredThroughTheMask_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("mask") << int(TRotateImageDispMode::ridmMask);
    QTest::newRow("region") << int(TRotateImageDispMode::ridmRegion);
  }
  void drawsCentredThroughTheMask() {
    QFETCH(int, mode);
    Scene s;
    s.image->SetDispMode(TRotateImageDispMode(mode));
    s.image->SetBitmap(Picture());
    s.image->SetTransparent(true);
    const QImage shot = s.Grab();
    // The picture covers columns and rows 3 to 7; its top row is masked.
    QCOMPARE(shot.pixel(5, 5), qRgb(0, 0, 255));
    QCOMPARE(shot.pixel(4, 7), qRgb(0, 0, 255));
    QCOMPARE(shot.pixel(3, 5), qRgb(255, 0, 0));  // black column keyed out
    QCOMPARE(shot.pixel(5, 3), qRgb(255, 0, 0));  // the masked top row
    QCOMPARE(shot.pixel(9, 5), qRgb(255, 0, 0));
    s.image->SetTransparent(false);
    QCOMPARE(s.Grab().pixel(3, 5), qRgb(0, 0, 0));
  }

  void toneAndNegativeChangeTheDrawnColours() {
    Scene s;
    s.image->SetBitmap(Picture());
    s.image->SetMonochrome(true);
    QCOMPARE(s.Grab().pixel(5, 5), qRgb(85, 85, 85));
    s.image->SetNegative(true);
    QCOMPARE(s.Grab().pixel(5, 5), qRgb(170, 170, 170));
    s.image->SetSepia(true);
    QVERIFY(!s.image->Monochrome());
    s.image->SetSepia(false);
    QCOMPARE(s.image->ToneCode(), 0u);
    s.image->SetMonochrome(true);
    s.image->SetSepia(false);
    QVERIFY(s.image->Monochrome());
  }

  void angleAndZoomRules() {
    TRotateImage image;
    image.SetBitmap(QImage(7, 3, QImage::Format_RGB32));
    image.SetZoom(5);
    QCOMPARE(image.Zoom(), 10);
    image.SetZoom(20000);
    QCOMPARE(image.Zoom(), 9999);
    image.SetZoom(200);
    QCOMPARE(image.Output().Width(), 14);
    QCOMPARE(image.Output().Height(), 6);
    image.SetZoom(100);
    image.SetAngle(-90);
    QCOMPARE(image.AngleEx(), 2700);
    QCOMPARE(image.Angle(), 270);
    QCOMPARE(image.Output().Width(), 3);
    QCOMPARE(image.Output().Height(), 7);
    image.SetAngle(450);
    QCOMPARE(image.AngleEx(), 900);
    image.SetAngleEx(-1);
    QCOMPARE(image.AngleEx(), 3599);
  }

  void bitmapFormatsAreNormalised() {
    TRotateImage image;
    QImage mono(9, 2, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0)});
    mono.fill(1);
    image.SetBitmap(mono);
    QVERIFY(image.CanDraw());
    QCOMPARE(image.Source().BitCount(), 8);
    QCOMPARE(image.TransparentColor(), 0xFFFFFFu);  // white, not the green of the table
    QImage indexed(3, 3, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(4, 5, 6)});
    indexed.fill(1);
    image.SetBitmap(indexed);
    QCOMPARE(image.Source().BitCount(), 8);
    QCOMPARE(image.TransparentColor(), 0x060504u);
    image.SetBitmap(QImage(4, 4, QImage::Format_ARGB32));
    QCOMPARE(image.Source().BitCount(), 24);
    image.SetBitmap(QImage());
    QVERIFY(!image.CanDraw());
  }

  void streamPositionFollowsTheFile() {
    QByteArray bytes("xy");
    {
      QBuffer out(&bytes);
      out.open(QIODevice::Append);
      Picture().save(&out, "BMP");
    }
    const qsizetype end = bytes.size();
    bytes.append("tail");
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    in.seek(2);
    TRotateImage image;
    image.LoadFromStream(in);
    QVERIFY(image.CanDraw());
    QCOMPARE(in.pos(), qint64(end));
    image.LoadFromStream(in);  // "tail" is no bitmap
    QVERIFY(!image.CanDraw());
    QCOMPARE(in.pos(), qint64(end));
  }

  void translucencyMixesInEighths() {
    TRotateImage image;
    image.resize(5, 5);
    QImage white(5, 5, QImage::Format_RGB32);
    white.fill(Qt::white);
    image.SetBitmap(white);
    image.SetTrnsIndex(4);
    QImage canvas(5, 5, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
      QPainter p(&canvas);
      image.Paint(p);
    }
    QCOMPARE(canvas.pixel(2, 2), qRgb(128, 128, 128));
    QCOMPARE(canvas.pixel(2, 0), qRgb(0, 0, 0));  // masked top row: background only
    image.SetTrnsIndex(7);
    canvas.fill(Qt::black);
    {
      QPainter p(&canvas);
      image.Paint(p);
    }
    QCOMPARE(canvas.pixel(2, 2), qRgb(31, 31, 31));
  }

  void translucencyOnTheWidgetBlendsWithItsParent() {
    Scene s;
    QImage white(5, 5, QImage::Format_RGB32);
    white.fill(Qt::white);
    s.image->SetBitmap(white);
    s.image->SetTrnsIndex(4);
    const QImage shot = s.Grab();
    QCOMPARE(shot.pixel(5, 5), qRgb(255, 128, 128));
    QCOMPARE(shot.pixel(0, 0), qRgb(255, 0, 0));
  }

  void printingRendersFinerAndRestores() {
    TRotateImage image;
    image.resize(10, 10);
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::green);
    image.SetBitmap(picture);
    const int renders = image.RenderCount();
    QPicture recording;
    {
      QPainter p(&recording);
      p.scale(3, 3);
      image.Paint(p);
    }
    QCOMPARE(image.RenderCount(), renders + 2);  // once at 2 × 2 the pixels, once back
    QCOMPARE(image.Output().Width(), 4);
    QImage page(30, 30, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
      QPainter p(&page);
      recording.play(&p);
    }
    QCOMPARE(page.pixel(15, 16), qRgb(0, 255, 0));
    QCOMPARE(page.pixel(2, 2), qRgb(255, 255, 255));
    image.SetPrintQuality(1);
    {
      QPainter p(&recording);
      p.scale(3, 3);
      image.Paint(p);
    }
    QCOMPARE(image.RenderCount(), renders + 2);
  }

  void transparentMouseHitsOnlyDrawnPixels() {
    Scene s;
    s.image->SetBitmap(Picture());
    s.image->SetTransparent(true);
    QVERIFY(s.image->HitTest(QPoint(3, 5)));  // default: the whole control
    s.image->SetTransparentMouse(true);
    QVERIFY(!s.image->HitTest(QPoint(3, 5)));
    QVERIFY(s.image->HitTest(QPoint(5, 5)));
    QVERIFY(!s.image->HitTest(QPoint(0, 0)));
  }
};

QTEST_MAIN(RotateImageTest)
#include "rotate_image_qttest.moc"
