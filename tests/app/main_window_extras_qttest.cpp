// The window's extras driven with the mouse: stay-on-top, the help and
// version images with their hidden mouse-down services, the caption total
// and the test controls of debug mode. Messages go through the modal seam,
// documents through a URL handler (no viewer is ever started), the version
// dialog through its runner.
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "settings/qt/acc_ini.h"
#include "util/cp932.h"
#include "util/message_lines.h"
#include "util/paths.h"
#include "util/qt/beep.h"
#include "util/qt/qsjis.h"
#include "util/qt/window_routines.h"
#include "widgets/qt/gradation_exprs.h"
#include "widgets/qt/modal_recorder.h"
#include "widgets/qt/version_dialog.h"

using namespace tavrin;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
std::string S(const char* utf8) { return cp932::Sjis(utf8); }
QString Clipboard() { return QGuiApplication::clipboard()->text(); }
void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

// A press, its release, the second press as the double-click and its
// release, as the window system delivers a double-click.
void DoubleClick(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = {}) {
  QTest::mousePress(widget, button, {}, at);
  QTest::mouseRelease(widget, button, {}, at);
  QTest::mouseDClick(widget, button, {}, at);
  QTest::mouseRelease(widget, button, {}, at);
}

QImage Pixels(const QIcon& icon) {
  return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class DocumentCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public Q_SLOTS:
  void open(const QUrl& url) { urls << url; }
};

class MainWindowExtrasTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir FFolder;
  QTemporaryDir FSettingsFolder;
  QString FIni;
  QString FCurrentFolder;
  DocumentCatcher FDocuments;
  int FVersionDialogs = 0;
  QString FVersionLine;
  int FMoves = 0;
  std::unique_ptr<ModalRecorder> FModal;
  std::unique_ptr<TfoMAIN> FWindow;

  TfoMAIN& W() { return *FWindow; }
  template <typename T>
  T* Child(const char* name) {
    T* child = W().findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
  }
  QLabel* Help() { return Child<QLabel>("imgHelp"); }
  QLabel* Version() { return Child<QLabel>("imgVersion"); }
  const std::vector<ModalRecorder::Call>& Calls() { return FModal->Calls(); }
  void ExpectMessage(std::size_t i, MessageKind kind, const std::string& text) {
    QVERIFY(i < Calls().size());
    QVERIFY(Calls()[i].kind == kind);
    QCOMPARE(Calls()[i].text, text);
  }
  static QString HelpFile() { return QString::fromStdString(ProgramFileWithExtension(".pdf")); }
  static QString TestFile() { return QString::fromStdString(ProgramFolder() + "../TST.txt"); }
  // Ctrl + right button on the version image, the confirmation answered.
  void SwitchDebug(ModalAnswer answer = ModalAnswer::Ok) {
    FModal->Answer(answer);
    QTest::mouseClick(Version(), Qt::RightButton, Qt::ControlModifier);
  }
  void ListWithCounts(std::initializer_list<int> counts) {
    QString text;
    char line = 'a';
    for (int count : counts) {
      for (int n = 0; n < count; ++n) text += QLatin1Char(line) + QStringLiteral("\r\n");
      ++line;
    }
    SetClipboard(text);
    QTest::mouseClick(Child<QToolButton>("sbGetAllData"), Qt::LeftButton);
    QCOMPARE(W().ResultModel()->Count(), int(counts.size()));
  }

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(FFolder.isValid() && FSettingsFolder.isValid());
    TGradationExprs::SetPictureFileFolder(FFolder.path().toStdString() + "/");
    SetBeepHandler([](BeepSound) {});
    SetSystemMove([this](QWindow&) { return ++FMoves, true; });
    // No document reaches a real viewer from this test.
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &FDocuments, "open");
    SetVersionDialogRunner([this](TfoVersion& dialog) {
      ++FVersionDialogs;
      FVersionLine = dialog.lVersion->text();
    });
    FIni = FSettingsFolder.path() + QStringLiteral("/tavrin.ini");
    FCurrentFolder = QDir::currentPath();
  }

  void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

  void init() {
    FDocuments.urls.clear();
    FVersionDialogs = 0;
    FMoves = 0;
    QFile::remove(FIni);
    TAccIni::SetDefaultFileName(FIni.toStdString());
    FModal = std::make_unique<ModalRecorder>();
    FWindow = std::make_unique<TfoMAIN>();
    W().show();
    QVERIFY(QTest::qWaitForWindowExposed(&W()));
    QGuiApplication::clipboard()->clear();
  }

  void cleanup() {
    QVERIFY(!QGuiApplication::overrideCursor());
    FWindow.reset();
    FModal.reset();
    QFile::remove(HelpFile());
    QFile::remove(TestFile());
    QDir::setCurrent(FCurrentFolder);
  }

  // ---- stay-on-top

  void stayOnTopTogglesAndTwoTogglesGiveBackTheNormalWindow() {
    auto* button = Child<QToolButton>("sbSwFormStyle");
    const QImage normal =
        Child<QLabel>("img2")->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage onTop =
        Child<QLabel>("img3")->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(normal != onTop);

    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(W().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(W().isVisible());  // shown again with the new style
    QCOMPARE(button->text(), U("通常表示"));
    QCOMPARE(Pixels(button->icon()), normal);
    // Set after the window came back: the first-show hints do not return.
    QCOMPARE(TfoMAIN::Hint(button), S("ウィンドを最前面の固定表示\r→通常表示に戻します"));
    QCOMPARE(button->toolTip(), U("ウィンドを最前面の固定表示\n→通常表示に戻します"));

    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!W().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(W().isVisible());
    QCOMPARE(button->text(), U("前面表示"));
    QCOMPARE(Pixels(button->icon()), onTop);
    QCOMPARE(TfoMAIN::Hint(button), S("ウィンドを最前面に固定します"));
    QVERIFY(Calls().empty());
  }

  // ---- help image

  void leftClickOpensTheHelpOnceAndNeverTheDiagnostics() {
    QFile(HelpFile()).open(QIODevice::WriteOnly);
    QTest::mouseClick(Help(), Qt::LeftButton);
    QCOMPARE(FDocuments.urls, QList<QUrl>{QUrl::fromLocalFile(HelpFile())});
    QVERIFY(Calls().empty());
    QCOMPARE(FMoves, 0);  // the press stays on the image, no window drag

    // A double-click opens it once more, not twice.
    DoubleClick(Help());
    QCOMPARE(FDocuments.urls.size(), 2);
    // Released outside the image: no click.
    QTest::mousePress(Help(), Qt::LeftButton);
    QTest::mouseRelease(Help(), Qt::LeftButton, {}, QPoint(40, 10));
    QCOMPARE(FDocuments.urls.size(), 2);
    QVERIFY(Calls().empty());
  }

  void rightClickNeverOpensTheHelp() {
    QFile(HelpFile()).open(QIODevice::WriteOnly);
    for (Qt::KeyboardModifiers shift :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
      FModal->Answer(ModalAnswer::Cancel);
      QTest::mouseClick(Help(), Qt::RightButton, shift);
    }
    QVERIFY(FDocuments.urls.isEmpty());
    // Declined: asked each time (modifiers are not tested), nothing copied.
    QCOMPARE(Calls().size(), 2u);
    ExpectMessage(1, MessageKind::Confirm,
                  S("Tavrinの動作情報をクリップボードにコピーします\rよろしいですか？"));
    QVERIFY(Clipboard().isEmpty());
  }

  void missingHelpDocumentIsReported() {
    QTest::mouseClick(Help(), Qt::LeftButton);
    QVERIFY(FDocuments.urls.isEmpty());
    QCOMPARE(Calls().size(), 1u);
    ExpectMessage(0, MessageKind::Information,
                  FileNameOf(HelpFile().toStdString()) + S(" が見つかりません"));
  }

  // The offscreen desktop, like one without a PDF viewer, opens nothing.
  void helpThatNothingCanOpenIsReported() {
    QFile(HelpFile()).open(QIODevice::WriteOnly);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    W().FormKeyDown(Qt::Key_F1, {});
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &FDocuments, "open");
    QCOMPARE(Calls().size(), 1u);
    ExpectMessage(0, MessageKind::Information,
                  FileNameOf(HelpFile().toStdString()) + S(" を開くプログラムが見つかりません") +
                      "\r" + cp932::Sjis(HelpFile().toStdString()));
  }

  // ---- diagnostics

  void diagnosticsCopyTheSettingsFileAsStored() {
    // The settings file in Shift-JIS, as the program stores it.
    {
      QFile ini(FIni);
      QVERIFY(ini.open(QIODevice::Append));
      ini.write(QByteArray::fromStdString(S("; 設定\r\n")));
    }
    QFile ini(FIni);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const std::vector<std::string> stored = SplitMessageLines(ini.readAll().toStdString());

    QTest::mouseClick(Help(), Qt::RightButton);
    QCOMPARE(Calls().size(), 2u);
    ExpectMessage(0, MessageKind::Confirm,
                  S("Tavrinの動作情報をクリップボードにコピーします\rよろしいですか？"));
    ExpectMessage(1, MessageKind::Information,
                  S("Tavrinの動作情報をクリップボードにコピーしました"));
    QVERIFY(FDocuments.urls.isEmpty());

    const QString text = Clipboard();
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    const QStringList lines = text.chopped(2).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 8 + int(stored.size()));
    QCOMPARE(lines[0], U("Install Environment -------------------------------------------------"));
    QCOMPARE(lines[1], QStringLiteral("Install folder : \"%1\"")
                           .arg(QString::fromStdString(FolderOf(ProgramFolder()))));
    QVERIFY(QRegularExpression(QStringLiteral("^Disk Free space : \\d+ MB$"))
                .match(lines[2])
                .hasMatch());
    QVERIFY(QRegularExpression(
                QStringLiteral("^Ini File updated : \\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                .match(lines[3])
                .hasMatch());
    QCOMPARE(lines[4], QString());
    QCOMPARE(lines[5], U("Ini File description ------------------------------------------------"));
    for (std::size_t i = 0; i < stored.size(); ++i)
      QCOMPARE(lines[6 + int(i)], FromSjis(stored[i]));
    QCOMPARE(lines[5 + int(stored.size())], U("; 設定"));  // decoded from Shift-JIS
    // The file in use is named last.
    QCOMPARE(lines[6 + int(stored.size())], QString());
    QCOMPARE(lines.last(), QStringLiteral("Ini File path : \"%1\"").arg(FIni));
  }

  void diagnosticsWithoutTheSettingsFile() {
    QVERIFY(QFile::remove(FIni));
    QTest::mouseClick(Help(), Qt::RightButton);
    const QStringList lines = Clipboard().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 10);  // nine lines and the final break
    QCOMPARE(lines[5], U("Ini File description ------------------------------------------------"));
    QCOMPARE(lines[6], U("Ini File is not Found"));
    QCOMPARE(lines[8], QStringLiteral("Ini File path : \"%1\"").arg(FIni));
    QCOMPARE(lines[9], QString());
  }

  // ---- version image

  void clicksOnTheVersionImage() {
    // Ctrl + left click: the version dialog only.
    QTest::mouseClick(Version(), Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(FVersionDialogs, 1);
    QCOMPARE(FVersionLine, U("Version v1.00A  Build:2019-0823, Since:2019-0426"));
    QVERIFY(Calls().empty());
    QCOMPARE(W().FDebug, false);
    // Right button without Ctrl: nothing at all.
    QTest::mouseClick(Version(), Qt::RightButton);
    QCOMPARE(FVersionDialogs, 1);
    QVERIFY(Calls().empty());
    QCOMPARE(FMoves, 0);
  }

  void debugSwitchTwiceAndDeclined() {
    SwitchDebug();
    QCOMPARE(W().FDebug, true);
    SwitchDebug(ModalAnswer::Cancel);  // declined: unchanged, no report
    QCOMPARE(W().FDebug, true);
    SwitchDebug();
    QCOMPARE(W().FDebug, false);
    QCOMPARE(FVersionDialogs, 0);  // the right button never clicks
    QCOMPARE(Calls().size(), 5u);
    ExpectMessage(0, MessageKind::Confirm, "Debug mode change\rOK?");
    ExpectMessage(1, MessageKind::Warning, "FDebug = 1");
    ExpectMessage(2, MessageKind::Confirm, "Debug mode change\rOK?");
    ExpectMessage(3, MessageKind::Confirm, "Debug mode change\rOK?");
    ExpectMessage(4, MessageKind::Warning, "FDebug = 0");
  }

  // ---- status bar and test controls

  void statusBarDoubleClickShowsTheTestControlsInDebugModeOnly() {
    auto* b1 = Child<QPushButton>("Button1");
    auto* b2 = Child<QPushButton>("Button2");
    auto* memo = Child<QPlainTextEdit>("Memo1");
    auto* sb = Child<QStatusBar>("sb");
    auto* panel = Child<QLabel>("sbPanel1");
    auto shown = [&] {
      return std::array<bool, 3>{!b1->isHidden(), !b2->isHidden(), !memo->isHidden()};
    };

    DoubleClick(sb);
    QCOMPARE(shown(), (std::array<bool, 3>{false, false, false}));
    SwitchDebug();
    DoubleClick(panel);  // on a panel's text as on the bar
    QCOMPARE(shown(), (std::array<bool, 3>{true, true, true}));
    // Debug mode off with the controls left visible: they stay as they are.
    SwitchDebug();
    DoubleClick(sb);
    QCOMPARE(shown(), (std::array<bool, 3>{true, true, true}));
    SwitchDebug();
    DoubleClick(sb);
    QCOMPARE(shown(), (std::array<bool, 3>{false, false, false}));
  }

  void captionShowsTheTotalOfTheListedCounts() {
    auto* gradient = Child<QWidget>("GradationExprs1");
    DoubleClick(gradient, Qt::LeftButton, QPoint(610, 10));
    QCOMPARE(W().windowTitle(), QStringLiteral("0"));
    ListWithCounts({2, 3, 10});
    DoubleClick(gradient, Qt::LeftButton, QPoint(610, 10));
    QCOMPARE(W().windowTitle(), QStringLiteral("15"));
    // A double-click on an image is the image's own.
    W().setWindowTitle(QStringLiteral("Tavrin"));
    DoubleClick(Version());
    QCOMPARE(W().windowTitle(), QStringLiteral("Tavrin"));
    QCOMPARE(FVersionDialogs, 1);
  }

  void loadFromTestFileFillsTheLinesAndTheClipboard() {
    SwitchDebug();
    DoubleClick(Child<QStatusBar>("sb"));
    auto* b1 = Child<QPushButton>("Button1");
    QVERIFY(b1->isVisible());
    FModal->Clear();

    // Missing: an error naming the file; lines and clipboard unchanged.
    SetClipboard(QStringLiteral("kept"));
    QTest::mouseClick(b1, Qt::LeftButton);
    QCOMPARE(Calls().size(), 1u);
    ExpectMessage(0, MessageKind::Error, TestFile().toStdString() + S(" を読み込めません"));
    QCOMPARE(Clipboard(), QStringLiteral("kept"));
    QVERIFY(W().Lines().empty());

    // A folder of that name cannot be read either.
    QVERIFY(QDir().mkpath(TestFile()));
    QTest::mouseClick(b1, Qt::LeftButton);
    QCOMPARE(Calls().size(), 2u);
    QVERIFY(QDir().rmdir(TestFile()));

    // Mixed line breaks, Shift-JIS text, no final break.
    {
      QFile file(TestFile());
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(QByteArray::fromStdString("x\ny\r\n" + S("全角") + "\r\"q"));
    }
    QTest::mouseClick(b1, Qt::LeftButton);
    QCOMPARE(Calls().size(), 2u);
    QCOMPARE(Clipboard(), U("x\r\ny\r\n全角\r\n\"q\r\n"));
    QCOMPARE(W().Lines().size(), 4u);
    QCOMPARE(std::string(W().Lines()[2]), S("全角"));
    // The next command works on that text.
    QTest::mouseClick(Child<QToolButton>("sbGetAllData"), Qt::LeftButton);
    QCOMPARE(W().ResultModel()->Count(), 4);
  }

  void sameListGoesToTheMemo() {
    SetClipboard(QStringLiteral("abc\r\nABC\r\nx\r\nabc\r\n"));
    QTest::mouseClick(Child<QToolButton>("sbGetAllData"), Qt::LeftButton);
    SwitchDebug();
    DoubleClick(Child<QStatusBar>("sb"));
    auto* memo = Child<QPlainTextEdit>("Memo1");
    memo->setPlainText(QStringLiteral("old"));
    QTest::mouseClick(Child<QPushButton>("Button2"), Qt::LeftButton);
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    // One line per entry of the group of abc and ABC; x has no partner.
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], lines[1]);
    QVERIFY(!lines[0].isEmpty() && !lines[0].contains(QLatin1Char('x')));
    QVERIFY(memo->updatesEnabled());
  }
};

QTEST_MAIN(MainWindowExtrasTest)
#include "main_window_extras_qttest.moc"
