// The Qt gradient panel: the pixels it shows, the temporary file and the
// window drag. When it renders is the panel model's (gradation_panel_test).
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <ctime>

#include "util/messages.h"
#include "util/qt/window_routines.h"
#include "widgets/qt/gradation_exprs.h"

using namespace tavrin;

namespace {
const std::vector<TColor> kToolBar = {clLime, clBlack, clBlack, clBlack, clLime};

QColor At(const TGradationExprs& g, int x, int y) { return g.Picture().toImage().pixelColor(x, y); }

QStringList Leftovers(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral("$*.bmp")}, QDir::Files);
}
}  // namespace

class GradationExprsTest : public QObject {
  Q_OBJECT

  QTemporaryDir folder;
  MessageHandler previous;

  // A panel on its own form, with the stops and mode given.
  struct Panel {
    QWidget form;
    TGradationExprs* g;
    Panel(const std::vector<TColor>& colors, TFillGradationMode mode)
        : g(new TGradationExprs(&form)) {
      g->Colors().SetColors(colors);
      g->SetFillGradationMode(mode);
    }
  };

 private Q_SLOTS:
  void initTestCase() {
    TGradationExprs::SetPictureFileFolder(folder.path().toStdString());
    previous = SetMessageHandler([](MessageKind, const std::string&) { return true; });
  }
  void cleanupTestCase() {
    SetMessageHandler(previous);
    TGradationExprs::SetPictureFileFolder({});
  }

  void toolBarGradientRows() {
    Panel p(kToolBar, fgmVertical);
    QVERIFY(p.g->Picture().isNull());  // inactive: nothing rendered yet
    p.g->SetActive(true);
    QCOMPARE(p.g->Picture().size(), QSize(512, 1024));
    QCOMPARE(At(*p.g, 0, 0), QColor(0, 255, 0));
    QCOMPARE(At(*p.g, 511, 0), QColor(0, 255, 0));
    QCOMPARE(At(*p.g, 300, 128), QColor(0, 127, 0));
    QImage image = p.g->Picture().toImage();
    for (int y = 255; y <= 768; ++y)
      for (int x : {0, 255, 511}) QCOMPARE(image.pixelColor(x, y), QColor(0, 0, 0));
    QCOMPARE(At(*p.g, 0, 1023), QColor(0, 255, 0));
    QVERIFY(p.g->Stretch());
    p.g->SetActive(false);
    QVERIFY(p.g->Picture().isNull());
  }

  void twoStopsHorizontal() {
    Panel p({RGBColor(255, 0, 0), RGBColor(0, 0, 255)}, fgmHorizontal);
    p.g->SetActive(true);
    QCOMPARE(p.g->Picture().size(), QSize(256, 512));
    QCOMPARE(At(*p.g, 0, 0), QColor(255, 0, 0));
    QCOMPARE(At(*p.g, 0, 511), QColor(255, 0, 0));
    QCOMPARE(At(*p.g, 255, 300), QColor(0, 0, 255));
    QCOMPARE(At(*p.g, 1, 0), QColor(254, 0, 1));  // 255 - 255/255, 0 + 255/255
  }

  void noTemporaryFileRemains() {
    Panel p(kToolBar, fgmVertical);
    p.g->SetActive(true);
    p.g->SetColorSwap(true);
    QVERIFY(!p.g->Picture().isNull());
    QCOMPARE(Leftovers(folder.path()), QStringList{});
  }

  void programFolderKeepsNoFileEither() {
    TGradationExprs::SetPictureFileFolder({});
    Panel p(kToolBar, fgmHorizontal);
    p.g->SetActive(true);
    TGradationExprs::SetPictureFileFolder(folder.path().toStdString());
    QCOMPARE(p.g->Picture().size(), QSize(1024, 512));
    QCOMPARE(Leftovers(QCoreApplication::applicationDirPath()), QStringList{});
  }

  void unwritableFolderStillPaints() {
    TGradationExprs::SetPictureFileFolder(folder.path().toStdString() + "/missing/");
    Panel p(kToolBar, fgmVertical);
    p.g->SetActive(true);
    TGradationExprs::SetPictureFileFolder(folder.path().toStdString());
    QCOMPARE(p.g->Picture().size(), QSize(512, 1024));
    QCOMPARE(At(*p.g, 0, 128), QColor(0, 127, 0));
    QVERIFY(!QDir(folder.path() + QStringLiteral("/missing")).exists());
  }

  void fileOfTheSameNameIsLeftAlone() {
    // Files named for this second and the next few are the user's own.
    QTemporaryDir own;
    TGradationExprs::SetPictureFileFolder(own.path().toStdString());
    std::time_t now = std::time(nullptr);
    QStringList names;
    for (int s = 0; s < 4; ++s) {
      std::time_t t = now + s;
      std::tm local{};
      localtime_r(&t, &local);
      QString name =
          QString::fromStdString(GradationFileName(own.path().toStdString() + "/", local));
      QFile f(name);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("mine");
      names << name;
    }
    Panel p(kToolBar, fgmVertical);
    p.g->SetActive(true);
    TGradationExprs::SetPictureFileFolder(folder.path().toStdString());
    QCOMPARE(At(*p.g, 0, 0), QColor(0, 255, 0));
    for (const QString& name : names) {
      QFile f(name);
      QVERIFY(f.open(QIODevice::ReadOnly));
      QCOMPARE(f.readAll(), QByteArray("mine"));
    }
  }

  void stretchedOnScreen() {
    Panel p(kToolBar, fgmVertical);
    p.g->setGeometry(0, 0, 17, 512);
    p.g->SetActive(true);
    const qint64 key = p.g->Picture().cacheKey();
    QImage shown = p.g->grab().toImage();
    QCOMPARE(shown.size(), QSize(17, 512));
    QCOMPARE(shown.pixelColor(8, 0), QColor(0, 255, 0));
    QCOMPARE(shown.pixelColor(8, 256), QColor(0, 0, 0));
    QVERIFY(shown.pixelColor(16, 511).green() >= 250);  // a row near the last
    p.g->resize(40, 300);                               // a new size only stretches
    QCOMPARE(p.g->Picture().cacheKey(), key);
  }

  void pressDragsTheOwnerWindow() {
    int moves = 0;
    QWindow* moved = nullptr;
    SystemMove before = SetSystemMove([&](QWindow& w) {
      ++moves;
      moved = &w;
      return true;
    });
    Panel p(kToolBar, fgmVertical);
    p.form.resize(300, 200);
    p.g->setGeometry(0, 0, 300, 40);
    p.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.form));
    int handled = 0;
    connect(p.g, &TGradationExprs::mouseDown,
            [&](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint pos) {
              ++handled;
              QCOMPARE(pos, QPoint(10, 5));
              Q_UNUSED(b);
            });
    QTest::mousePress(p.g, Qt::LeftButton, {}, QPoint(10, 5));
    QCOMPARE(moves, 1);
    QCOMPARE(moved, p.form.windowHandle());
    QTest::mousePress(p.g, Qt::RightButton, {}, QPoint(10, 5));
    QCOMPARE(moves, 1);
    p.g->SetMouseDownDrag(false);
    QTest::mousePress(p.g, Qt::LeftButton, {}, QPoint(10, 5));
    QCOMPARE(moves, 1);
    QCOMPARE(handled, 3);  // the handler runs either way
    SetSystemMove(before);
  }
};

QTEST_MAIN(GradationExprsTest)
#include "gradation_exprs_qttest.moc"
