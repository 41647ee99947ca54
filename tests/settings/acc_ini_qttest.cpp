// TAccIni with real windows on the offscreen platform: the first-run file,
// the geometry rules, the chained show and resize handling, the font
// binding of a widget and the start-up failure.
#include <sys/stat.h>
#include <unistd.h>

#include <QMessageBox>
#include <QTreeWidget>
#include <QtTest>

#include "settings/ini_file.h"
#include "settings/qt/acc_ini.h"
#include "settings/qt/font_binding.h"
#include "settings/qt/unhandled_error.h"
#include "tests/settings/temp_folder.h"
#include "util/cp932.h"
#include "util/error.h"
#include "util/qt/modal.h"

using namespace tavrin;

namespace {

// A form laid out like the main window: a client of 637 x 347 (a form of
// 653 x 385 with the design's frame, as the file counts it), resizable,
// a result list with the design font, the user options bound in order.
class Form : public QWidget {
 public:
  explicit Form(const std::string& ini, bool fixed = false) {
    resize(637, 347);
    setMinimumSize(200, 150);
    if (fixed) setFixedSize(637, 347);
    acc = new TAccIni(this, ini);
    acc->SetFormControled(true);
    list = new QTreeWidget(this);
    QFont font(QStringLiteral("Meiryo UI"));
    font.setPixelSize(19);
    list->setFont(font);
    acc->BindUserInteger(col0, "FSetLvColumn0", 480);
    acc->BindUserInteger(col1, "FSetLvColumn1", 65);
    for (auto [var, key, def] : {std::tuple{&sound, "FSound", true},
                                 {&hint, "FHint", true},
                                 {&trim, "FTrim", false},
                                 {&quote, "FExprsQuote", false},
                                 {&sort, "FExtractSort", true},
                                 {&copyCount, "FCopyCount", true},
                                 {&zenkaku, "FZenkaku", true},
                                 {&upper, "FUpper", true},
                                 {&hyphenTerminate, "FHyphenTerminate", true},
                                 {&hyphen, "FHyphen", true}})
      acc->BindUserBoolean(*var, key, def);
    acc->BindUserFont(list, "lvResult", list);
    acc->LoadAll();
  }
  TAccIni* acc;
  QTreeWidget* list;
  std::int32_t col0 = 480, col1 = 65;
  bool sound = true, hint = true, trim = false, quote = false, sort = true, copyCount = true,
       zenkaku = true, upper = true, hyphenTerminate = true, hyphen = true;
  QRect geometryAtOwnShow;
  int resizeEvents = 0;

 protected:
  void showEvent(QShowEvent*) override { geometryAtOwnShow = geometry(); }
  void resizeEvent(QResizeEvent*) override { ++resizeEvents; }
};

QRect Bounds(const QWidget& w) { return QRect(w.pos(), w.size()); }

std::string Value(const std::string& ini, const char* section, const char* key) {
  return IniFile(ini).ReadString(section, key, "(missing)");
}

}  // namespace

class AccIniTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void firstRunFileMatchesTheTable() {
    TempFolder dir;
    const std::string ini = dir.File("tavrin.ini");
    {
      Form form(ini);
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
      form.acc->SaveAll();
    }
    const std::string text = dir.Read("tavrin.ini");
    const std::size_t body = text.find("[User]");
    QVERIFY(body != std::string::npos);
    QVERIFY(text.rfind("[Tavrin Environment Data File. Created @ ", 0) == 0);
    QCOMPARE(
        QByteArray::fromStdString(text.substr(body)),
        QByteArray(
            "[User]\r\nFSetLvColumn0=480\r\nFSetLvColumn1=65\r\nFSound=1\r\nFHint=1\r\nFTrim=0\r\n"
            "FExprsQuote=0\r\nFExtractSort=1\r\nFCopyCount=1\r\nFZenkaku=1\r\nFUpper=1\r\n"
            "FHyphenTerminate=1\r\nFHyphen=1\r\nlvResultSize=14\r\nlvResultName=Meiryo UI\r\n"
            "lvResultColor=clWindowText\r\nlvResultStyle=0\r\n[Form]\r\nLeft=0\r\nTop=0\r\n"
            "Width=653\r\nHeight=385\r\nMaximized=0\r\n"));
  }

  void ownShowRunsFirstAndRestoreHappensOnce() {
    TempFolder dir;
    dir.Write("t.ini", "[Form]\r\nLeft=40\r\nTop=50\r\nWidth=500\r\nHeight=300\r\n");
    Form form(dir.File("t.ini"));
    form.move(7, 7);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.geometryAtOwnShow.size(), QSize(637, 347));
    QCOMPARE(Bounds(form), QRect(40, 50, 500 - 16, 300 - 38));  // the file's sizes are the frame's
    QVERIFY(form.resizeEvents > 0);
    const std::size_t count = form.acc->Bindings().Count();
    QCOMPARE(count, std::size_t(18));
    form.hide();
    form.move(60, 70);
    form.resize(400, 250);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.acc->Bindings().Count(), count);
    QTRY_COMPARE(Bounds(form), QRect(60, 70, 400, 250));
  }

  void resizedWindowSavesItsPositionAndNormalSize() {
    TempFolder dir;
    const std::string ini = dir.File("t.ini");
    Form form(ini);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.move(30, 40);
    form.resize(700, 420);
    QTRY_COMPARE(Bounds(form), QRect(30, 40, 700, 420));
    form.acc->SaveAll();
    QCOMPARE(Value(ini, "Form", "Left"), "30");
    QCOMPARE(Value(ini, "Form", "Top"), "40");
    QCOMPARE(Value(ini, "Form", "Width"), "716");
    QCOMPARE(Value(ini, "Form", "Height"), "458");
    QCOMPARE(Value(ini, "Form", "Maximized"), "0");
  }

  void maximisedWindowSavesTheRestoredRectangleAndComesBackMaximised() {
    TempFolder dir;
    const std::string ini = dir.File("t.ini");
    {
      Form form(ini);
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
      form.move(30, 40);
      form.resize(700, 420);
      QTRY_COMPARE(Bounds(form), QRect(30, 40, 700, 420));
      form.showMaximized();
      QTRY_VERIFY(form.isMaximized());
      QTRY_VERIFY(form.size() != QSize(700, 420));
      form.acc->SaveAll();
    }
    QCOMPARE(Value(ini, "Form", "Maximized"), "1");
    QCOMPARE(Value(ini, "Form", "Left"), "30");
    QCOMPARE(Value(ini, "Form", "Width"), "716");
    QCOMPARE(Value(ini, "Form", "Height"), "458");

    Form again(ini);
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QTRY_VERIFY(again.isMaximized());
    QCOMPARE(again.normalGeometry().size(), QSize(700, 420));
    again.acc->SaveAll();
    QCOMPARE(Value(ini, "Form", "Width"), "716");
    QCOMPARE(Value(ini, "Form", "Top"), "40");
  }

  void fixedBorderKeepsItsStateAndSavesItsCurrentSize() {
    TempFolder dir;
    const std::string ini = dir.File("t.ini");
    dir.Write("t.ini", "[Form]\r\nLeft=10\r\nTop=20\r\nMaximized=1\r\n");
    Form form(ini, /*fixed=*/true);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.isMaximized());
    QCOMPARE(Bounds(form), QRect(10, 20, 637, 347));
    form.acc->SaveAll();
    QCOMPARE(Value(ini, "Form", "Width"), "653");
    QCOMPARE(Value(ini, "Form", "Maximized"), "0");
  }

  void positionOutsideEveryScreenIsKept() {
    TempFolder dir;
    dir.Write("t.ini", "[Form]\r\nLeft=-5000\r\nTop=9000\r\n");
    Form form(dir.File("t.ini"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The offscreen platform keeps a client area's left edge 2 pixels in
    // from its frame; nothing pulls the window back onto a screen.
    QVERIFY(form.pos().x() <= -4998);
    QCOMPARE(form.pos().y(), 9000);
  }

  void withoutFormControledNoGeometryIsTouched() {
    TempFolder dir;
    const std::string ini = dir.File("t.ini");
    dir.Write("t.ini", "[Form]\r\nLeft=40\r\nTop=50\r\n");
    Form form(ini);
    form.acc->SetFormControled(false);
    form.move(5, 6);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(Bounds(form), QRect(5, 6, 637, 347));
    form.acc->SaveAll();
    QCOMPARE(Value(ini, "Form", "Left"), "40");
    QCOMPARE(Value(ini, "User", "FSound"), "1");
  }

  void widgetFontRoundTrip() {
    TempFolder dir;
    const std::string ini = dir.File("t.ini");
    {
      Form form(ini);
      SetWidgetFont(*form.list, FontValue{cp932::Sjis("Noto Sans CJK JP"), 12, RGBColor(255, 0, 0),
                                          kFontItalic | kFontUnderline});
      QCOMPARE(form.list->font().pixelSize(), 16);
      QCOMPARE(form.list->palette().color(QPalette::Text), QColor(255, 0, 0));
      form.sound = false;
      form.col0 = 300;
      form.acc->SaveAll();
    }
    QCOMPARE(Value(ini, "User", "lvResultColor"), "clRed");
    QCOMPARE(Value(ini, "User", "lvResultStyle"), "6");
    QCOMPARE(Value(ini, "User", "lvResultSize"), "12");
    Form again(ini);
    QCOMPARE(again.list->font().family(), QStringLiteral("Noto Sans CJK JP"));
    QCOMPARE(again.list->font().pixelSize(), 16);
    QVERIFY(again.list->font().italic() && again.list->font().underline() &&
            !again.list->font().bold());
    QCOMPARE(again.list->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(again.sound, false);
    QCOMPARE(again.col0, 300);
  }

  // The executable's folder cannot be written: a folder that cannot exist
  // stands for it (the tests run as root, who writes through permission bits).
  void startUpFailureShowsTheErrorBoxAndExitsWithOne() {
    TempFolder dir;
    dir.Write("plain", "");
    QString caption, text;
    std::string sjis;
    ModalHook previous = SetModalHook([&](ModalCall& call) {
      caption = call.dialog.windowTitle();
      text = qobject_cast<QMessageBox*>(&call.dialog)->text();
      sjis = call.text;
      call.dialog.accept();
    });
    int code = RunGuarded([&] {
      Form form(dir.File("plain") + "/tavrin.ini");
      return 0;
    });
    SetModalHook(previous);
    QCOMPARE(code, 1);
    QCOMPARE(caption, QStringLiteral("アプリケーション エラー"));
    // The message names the path tried.
    QCOMPARE(text,
             QStringLiteral("TAccIni.CreateIniFile データファイルの初期生成に失敗しました\n") +
                 QString::fromStdString(dir.File("plain") + "/tavrin.ini"));
    QCOMPARE(sjis, cp932::Sjis("TAccIni.CreateIniFile データファイルの初期生成に失敗しました\r") +
                       dir.File("plain") + "/tavrin.ini");
  }

  void failedSaveNamesTheFile() {
    TempFolder dir;
    const std::string ini = dir.File("t.ini");
    Form form(ini);
    ::unlink(ini.c_str());
    ::mkdir(ini.c_str(), 0755);
    ::mkdir((ini + "/x").c_str(), 0755);
    try {
      form.acc->SaveAll();
      QFAIL("no failure");
    } catch (const EError& e) {
      QCOMPARE(QByteArray(e.what()),
               QByteArray::fromStdString(ini + cp932::Sjis(" に書き込めません")));
    }
  }
};

QTEST_MAIN(AccIniTest)
#include "acc_ini_qttest.moc"
