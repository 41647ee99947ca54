// The main window driven as a user drives it: clipboard in, keys and clicks,
// rows, status text, clipboard out, messages (through the modal seam) and
// beeps.
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "app/main_layout.h"
#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "engine/unique_manager.h"
#include "settings/qt/acc_ini.h"
#include "util/cp932.h"
#include "util/qt/beep.h"
#include "util/qt/qsjis.h"
#include "util/stopwatch.h"
#include "widgets/qt/gradation_exprs.h"
#include "widgets/qt/modal_recorder.h"

using namespace tavrin;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
std::string S(const char* utf8) { return cp932::Sjis(utf8); }

void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
QString Clipboard() { return QGuiApplication::clipboard()->text(); }

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir FFolder;
  QTemporaryDir FSettingsFolder;  // the settings file, apart from the pictures
  std::unique_ptr<ModalRecorder> FModal;
  std::unique_ptr<TfoMAIN> FWindow;
  int FBeeps = 0;

  TfoMAIN& W() { return *FWindow; }
  TResultModel& Model() { return *W().ResultModel(); }
  TResultView& View() { return *W().ResultView(); }
  template <typename T>
  T* Child(const char* name) {
    T* child = W().findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
  }

  // Keys go to the focused control, as the keyboard sends them.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target && target->window() == &W());
    QTest::keyClick(target, key, modifiers);
  }
  QString Caption(int row) { return Model().index(row, 0).data().toString(); }
  QString CountCell(int row) { return Model().index(row, 1).data().toString(); }
  QStringList Captions() {
    QStringList out;
    for (int i = 0; i < Model().Count(); ++i) out << Caption(i);
    return out;
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const auto& call : FModal->Calls()) out.push_back(call.text);
    return out;
  }
  void SelectRows(std::initializer_list<int> rows) {
    View().selectionModel()->clearSelection();
    for (int row : rows)
      View().selectionModel()->select(Model().index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  void ClickHeader(int column) {
    QHeaderView* header = View().horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
  }
  // Ten lines a0..a9 where line ai occurs i + 1 times.
  void ListTen() {
    QString text;
    for (int i = 0; i < 10; ++i)
      for (int n = 0; n <= i; ++n) text += QStringLiteral("a%1\r\n").arg(i);
    SetClipboard(text);
    Key(Qt::Key_F6);
    QCOMPARE(Model().Count(), 10);
  }

  // Every control where the core's layout puts it, in the window's client.
  void ComparePlaces(const TMainLayout& l) {
    const struct {
      const char* name;
      TRect want;
    } kPlaces[] = {
        {"pnToolBar", l.ToolBar},
        {"sbClose", l.Buttons[0]},
        {"sbExtractRuiji", l.Buttons[1]},
        {"sbGetAllData", l.Buttons[2]},
        {"sbCopyAll", l.Buttons[3]},
        {"sbSwFormStyle", l.Buttons[4]},
        {"sbSet", l.Buttons[5]},
        {"imgHelp", l.Help},
        {"imgVersion", l.Version},
        {"pnClient", l.Client},
        {"lvResult", l.List},
        {"GradationExprs4", l.StripTop},
        {"GradationExprs5", l.StripLeft},
        {"GradationExprs2", l.StripRight},
        {"GradationExprs3", l.StripBottom},
        {"Button1", l.Button1},
        {"Button2", l.Button2},
        {"Memo1", l.Memo1},
    };
    QWidget* client = W().centralWidget();
    for (const auto& p : kPlaces) {
      auto* widget = Child<QWidget>(p.name);
      const QRect at(widget->mapTo(client, QPoint(0, 0)), widget->size());
      QVERIFY2(at == QRect(p.want.Left, p.want.Top, p.want.Width, p.want.Height), p.name);
    }
  }

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(FFolder.isValid());
    TGradationExprs::SetPictureFileFolder(FFolder.path().toStdString() + "/");
    SetBeepHandler([this](BeepSound) { ++FBeeps; });
  }

  void init() {
    FBeeps = 0;
    // Each case starts from the defaults, in a settings file of its own.
    const QString ini = FSettingsFolder.path() + QStringLiteral("/tavrin.ini");
    QFile::remove(ini);
    TAccIni::SetDefaultFileName(ini.toStdString());
    FModal = std::make_unique<ModalRecorder>();
    FWindow = std::make_unique<TfoMAIN>();
    W().show();
    QVERIFY(QTest::qWaitForWindowExposed(&W()));
    QApplication::setActiveWindow(&W());
    View().setFocus();
    QTRY_VERIFY(View().hasFocus());
    QGuiApplication::clipboard()->clear();
  }

  void cleanup() {
    QVERIFY(!QGuiApplication::overrideCursor());  // every path restored the cursor
    FWindow.reset();
    FModal.reset();
  }

  // ---- layout and start-up

  // The white caption stays on a dark panel when the button is hovered or
  // pressed: few bright pixels behind the text, and the text still bright.
  void toolButtonCaptionIsReadableInEveryState() {
    auto* button = Child<QToolButton>("sbGetAllData");
    for (int state = 0; state < 3; ++state) {
      button->setAttribute(Qt::WA_UnderMouse, state >= 1);
      button->setDown(state == 2);
      const QImage shot = button->grab().toImage();
      int bright = 0, all = 0;
      for (int y = shot.height() - 24; y < shot.height() - 4; ++y)
        for (int x = 8; x < shot.width() - 8; ++x, ++all)
          if (qGray(shot.pixel(x, y)) > 200) ++bright;
      QVERIFY2(bright > 0 && bright * 3 < all, qPrintable(QString::number(state)));
    }
    button->setDown(false);
    button->setAttribute(Qt::WA_UnderMouse, false);
  }

  void statusTextIsItsOwnToolTip() {
    auto* panel = Child<QLabel>("sbPanel1");
    QCOMPARE(panel->toolTip(), panel->text());
    ListTen();
    QCOMPARE(panel->toolTip(), W().StatusText());
  }

  void layoutHasEveryComponentAtItsPlace() {
    const struct {
      const char* name;
      const char* caption;
    } buttons[] = {
        {"sbClose", "閉じる"},   {"sbExtractRuiji", "類字抽出"}, {"sbGetAllData", "全データ"},
        {"sbCopyAll", "コピー"}, {"sbSwFormStyle", "前面表示"},  {"sbSet", "設定"},
    };
    for (const auto& b : buttons) {
      auto* button = Child<QToolButton>(b.name);
      QCOMPARE(button->text(), U(b.caption));
      QVERIFY(!button->icon().isNull());
    }
    QCOMPARE(W().windowTitle(), QStringLiteral("Tavrin"));
    QCOMPARE(W().minimumSize(), QSize(200, 150));
    QCOMPARE(Child<QStatusBar>("sb")->height(), kDesignStatusHeight);
    QCOMPARE(W().centralWidget()->height() + kDesignStatusHeight, kDesignClientHeight);
    ComparePlaces(MainLayout(kDesignClientWidth, kDesignClientHeight, kDesignStatusHeight, 96));
    for (const char* name : {"GradationExprs1", "GradationExprs2", "GradationExprs3",
                             "GradationExprs4", "GradationExprs5"})
      QVERIFY(Child<TGradationExprs>(name)->Active());
    QCOMPARE(Child<TGradationExprs>("GradationExprs1")->Colors().Colors(),
             (std::vector<TColor>{clLime, clBlack, clBlack, clBlack, clLime}));
    QCOMPARE(View().horizontalHeader()->sectionSize(0), 480);
    QCOMPARE(View().horizontalHeader()->sectionSize(1), 65);
    QCOMPARE(Model().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), U("文字列"));
    QCOMPARE(Model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), U("個数"));
    QCOMPARE(Child<QLabel>("sbPanel0")->text(), U("情報"));
    QCOMPARE(Child<QLabel>("sbPanel0")->width(), 50);
    QCOMPARE(W().StatusText(),
             U("文字列をクリップボードにコピーした後、[類字抽出]ボタンをクリックしてください"));
    QCOMPARE(Child<QAction>("pmCopyAll")->text(), U("全てのデータをクリップボードにコピーする"));
    QCOMPARE(Child<QAction>("pmCopySelect")->text(),
             U("選択したデータをクリップボードにコピーする"));
    QVERIFY(Child<QAction>("N2")->isSeparator());
    QCOMPARE(Child<QAction>("pmDelete")->text(), U("選択したデータをリストから削除する"));
    QVERIFY(View().selectionMode() == QAbstractItemView::ExtendedSelection);
    QCOMPARE(W().FGuidePending, true);
    // No picture file of the gradients stays behind.
    QCOMPARE(QDir(FFolder.path()).entryList(QDir::Files), QStringList());
  }

  void hintsCarryTheirShortcutKeysAndFollowTheOption() {
    const struct {
      const char* name;
      const char* hint;
    } hints[] = {
        {"sbClose", "終了します"},
        {"sbSet", "動作環境を設定します"},
        {"imgVersion", "バージョン情報を表示します"},
        {"sbGetAllData", "全てのデータを表示します\rショートカットキー : [F6]"},
        {"sbExtractRuiji", "類字を抽出して表示します\rショートカットキー : [F5]"},
        {"sbCopyAll",
         "表示している全てのデータを\rクリップボードにコピーします\rショートカットキー : [F7]"},
        {"sbSwFormStyle", "ウィンドを最前面に固定します"},
        {"imgHelp", "ヘルプを表示します\rショートカットキー : [F1]"},
    };
    for (const auto& h : hints) {
      QWidget* control = Child<QWidget>(h.name);
      QCOMPARE(TfoMAIN::Hint(control), S(h.hint));
      QCOMPARE(control->toolTip(), U(h.hint).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    }
    W().ApplyHint(false);
    for (const auto& h : hints) QVERIFY(Child<QWidget>(h.name)->toolTip().isEmpty());
    W().ApplyHint(true);
    QVERIFY(!Child<QWidget>("sbClose")->toolTip().isEmpty());
  }

  void showHandlerRunsOnce() {
    W().SetHint(Child<QWidget>("sbSwFormStyle"), S("変更"));
    W().hide();
    W().show();
    QCOMPARE(TfoMAIN::Hint(Child<QWidget>("sbSwFormStyle")), S("変更"));
  }

  void listStretchesWithTheWindowOnceShown() {
    W().resize(837, 447);
    QTRY_COMPARE(Child<QWidget>("pnClient")->size(), QSize(837, 340));
    ComparePlaces(MainLayout(837, 447, kDesignStatusHeight, 96));
  }

  void applyEngineCopiesTheFoldingOptions() {
    W().FZenkaku = false;
    W().FUpper = false;
    W().FTrim = true;
    W().FHyphen = false;
    W().FHyphenTerminate = false;
    W().ApplyEngine();
    const TUniqueManager& m = *W().UniqueManager();
    QVERIFY(!m.FZenkaku && !m.FUpper && m.FTrim && !m.FHyphen && !m.FHyphenTerminate);
  }

  // ---- the two commands

  void extractionListsThePairWithItsCounts() {
    // Half-width against full-width katakana; the full-width line twice.
    SetClipboard(U("ｶﾀｶﾅ\r\nカタカナ\r\nカタカナ\r\n"));
    Key(Qt::Key_F5);
    QCOMPARE(Model().Count(), 2);
    QStringList counts;
    for (int i = 0; i < 2; ++i) counts << CountCell(i);
    counts.sort();
    QCOMPARE(counts, (QStringList{U("  1"), U("  2")}));
    QVERIFY(Captions().contains(U("ｶﾀｶﾅ")) && Captions().contains(U("カタカナ")));
    QCOMPARE(W().StatusText(), U("全3個のデータの中から、2 種類の類字データを抽出しました"));
    QCOMPARE(FBeeps, 1);  // the build inside does not beep
    QVERIFY(FModal->Calls().empty());
    QCOMPARE(W().FGuidePending, false);
  }

  void lineWithoutPartnerIsNotExtracted() {
    SetClipboard(U("abc\nabc\nabc\nxyz\n"));
    Key(Qt::Key_F5);
    QCOMPARE(Model().Count(), 0);
    QCOMPARE(W().StatusText(), U("表示するデータがありません"));
    SetClipboard(U("abc\nabc\nABC\nxyz\n"));
    Key(Qt::Key_F5);
    QCOMPARE(Captions(), (QStringList{U("ABC"), U("abc")}));
  }

  void f6IsAClickOnAllData() {
    SetClipboard(U("b\r\na\r\n\r\nb\r\n"));
    QTest::mouseClick(Child<QToolButton>("sbGetAllData"), Qt::LeftButton);
    const QStringList byClick = Captions();
    const QString statusByClick = W().StatusText();
    QCOMPARE(FBeeps, 1);
    Key(Qt::Key_F6);
    QCOMPARE(Captions(), byClick);
    QCOMPARE(W().StatusText(), statusByClick);
    QCOMPARE(FBeeps, 2);
    QCOMPARE(byClick, (QStringList{U("a"), U("b")}));
    QCOMPARE(statusByClick, U("全3個のデータの中から、2 種類のデータを取得しました"));
    // F5 is a click on the extraction button.
    SetClipboard(U("a\nA\n"));
    QTest::mouseClick(Child<QToolButton>("sbExtractRuiji"), Qt::LeftButton);
    QCOMPARE(Model().Count(), 2);
    QCOMPARE(FBeeps, 3);
  }

  void noTextIsToldApartFromBlankText() {
    // No text at all: the message, nothing else, not even the beep.
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    Key(Qt::Key_F6);
    QCOMPARE(Messages(),
             (std::vector<std::string>{
                 S("クリップボードに文字列をコピーした後、このボタンをクリックしてください")}));
    QCOMPARE(FBeeps, 0);
    QCOMPARE(W().StatusText(),
             U("文字列をクリップボードにコピーした後、[類字抽出]ボタンをクリックしてください"));
    FModal->Clear();
    // Only blanks on the very first command: the message, then the summary.
    SetClipboard(U("  \r\n\u3000\u3000\r\n\t\r\n"));
    Key(Qt::Key_F5);
    QCOMPARE(Messages(),
             (std::vector<std::string>{S("文字列がみつかりません\rクリップボードに"
                                         "文字列をコピーした後、この処理を行ってください")}));
    QCOMPARE(W().StatusText(), U("表示するデータがありません"));
    QCOMPARE(Model().Count(), 0);
    QCOMPARE(FBeeps, 1);
    // An empty text is a text, too.
    FModal->Clear();
    SetClipboard(QString());
    Key(Qt::Key_F6);
    QCOMPARE(FModal->Calls().size(), 1u);
    QCOMPARE(FModal->Calls()[0].text.substr(0, 10), S("文字列がみつかりません").substr(0, 10));
  }

  void blankTextKeepsThePreviousResult() {
    SetClipboard(U("x\ny\ny\n"));
    Key(Qt::Key_F6);
    SetClipboard(U(" \n"));
    Key(Qt::Key_F6);
    QCOMPARE(Captions(), (QStringList{U("x"), U("y")}));
    QCOMPARE(W().StatusText(), U("全3個のデータの中から、2 種類のデータを取得しました"));
    QCOMPARE(W().Lines().size(), 0u);
  }

  void waitCursorShowsDuringTheCommand() {
    bool waiting = false;
    FModal->OnDialog([&](QDialog&) {
      waiting = QGuiApplication::overrideCursor() &&
                QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    SetClipboard(U("\n"));
    Key(Qt::Key_F6);  // the error message comes while the hourglass shows
    QVERIFY(waiting);
  }

  void debugModeTimesBothCommands() {
    W().FDebug = true;
    SetClipboard(U("a\nA\n"));
    Key(Qt::Key_F5);
    QCOMPARE(FModal->Calls().size(), 2u);
    for (const auto& call : FModal->Calls())
      QVERIFY(
          QString::fromStdString(call.text).startsWith(QStringLiteral("Turn Around Time was ")));
    FModal->Clear();
    Key(Qt::Key_F6);
    QCOMPARE(FModal->Calls().size(), 1u);
  }

  void soundOffMeansNoBeep() {
    W().FSound = false;
    SetClipboard(U("a\nA\n"));
    Key(Qt::Key_F5);
    Key(Qt::Key_F6);
    Key(Qt::Key_F7);
    QCOMPARE(FBeeps, 0);
  }

  // With a clock that moves on the progress interval at each reading, each
  // changed percentage repaints the panel; with one that stands still, only
  // the first, the organising text and the summary do.
  void progressRepaintsOnlyOnChangedPercentages() {
    QString text;
    for (int i = 0; i < 5000; ++i) text += QStringLiteral("line%1\n").arg(i);
    struct Counter : QObject {
      int paints = 0;
      bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
      }
    };
    for (const std::uint32_t step : {TMainForm::kProgressMilliseconds, 0u}) {
      SetClipboard(text);
      std::uint32_t now = 0;
      const MillisecondClock previous = SetMillisecondClock([&] { return now += step; });
      Counter counter;
      Child<QLabel>("sbPanel1")->installEventFilter(&counter);
      Key(Qt::Key_F6);
      SetMillisecondClock(previous);
      QCOMPARE(Model().Count(), 5000);
      const bool expected = step == 0 ? counter.paints >= 3 && counter.paints <= 6
                                      : counter.paints >= 100 && counter.paints <= 110;
      QVERIFY2(expected, qPrintable(QString::number(counter.paints)));
    }
  }

  // ---- the list

  void sortDirectionsAlternateAndResetAfterACommand() {
    ListTen();
    QVERIFY(!View().horizontalHeader()->isSortIndicatorShown());
    ClickHeader(1);
    QCOMPARE(Caption(0), U("a9"));  // highest count first
    QVERIFY(View().horizontalHeader()->isSortIndicatorShown());
    QCOMPARE(View().horizontalHeader()->sortIndicatorSection(), 1);
    QCOMPARE(View().horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    ClickHeader(0);
    QCOMPARE(Caption(0), U("a9"));  // text descending
    ClickHeader(1);
    QCOMPARE(Caption(0), U("a0"));  // the count column goes on ascending
    ClickHeader(0);
    QCOMPARE(Caption(0), U("a0"));
    Key(Qt::Key_F6);  // a new command: both directions back to 1
    QVERIFY(!View().horizontalHeader()->isSortIndicatorShown());
    QCOMPARE(W().TextSortDirection, 1);
    QCOMPARE(W().CountSortDirection, 1);
    ClickHeader(1);
    QCOMPARE(Caption(0), U("a9"));
  }

  void aNewResultOpensAtItsFirstRow() {
    QString text;
    for (int i = 0; i < 300; ++i) text += QStringLiteral("r%1\r\nR%1\r\n").arg(i);
    for (const Qt::Key command : {Qt::Key_F6, Qt::Key_F5}) {
      SetClipboard(text);
      Key(Qt::Key_F6);
      QScrollBar* bar = View().verticalScrollBar();
      QTRY_VERIFY(bar->maximum() > 0);
      bar->setValue(bar->maximum() / 2);  // as the user drags it
      QTest::qWait(50);
      QVERIFY(bar->value() > 0);
      SetClipboard(text);
      Key(command);
      QTest::qWait(50);  // the view lays out the new rows
      QCOMPARE(bar->value(), 0);
    }
  }

  void textSortKeepsSimilarLinesTogether() {
    SetClipboard(U("b\nＡ\nc\na\nＢ\n"));
    Key(Qt::Key_F6);
    ClickHeader(0);
    ClickHeader(0);  // ascending: by key, then text
    const QStringList captions = Captions();
    QCOMPARE(captions.size(), 5);
    QVERIFY(qAbs(captions.indexOf(U("a")) - captions.indexOf(U("Ａ"))) == 1);
    QVERIFY(qAbs(captions.indexOf(U("b")) - captions.indexOf(U("Ｂ"))) == 1);
    QCOMPARE(captions.last(), U("c"));
  }

  void selectionFollowsItsRowsThroughASort() {
    ListTen();
    SelectRows({0, 1});  // a0, a1
    ClickHeader(1);      // descending counts: a1, a0 at the end
    QCOMPARE(Caption(9), U("a0"));
    Key(Qt::Key_Return);
    QCOMPARE(Clipboard(), U("a1\t2\r\na0\t1\r\n"));
  }

  void countCellsAreFormattedAndQuotingIsShownOnly() {
    W().FExprsQuote = true;
    QString text;
    for (int i = 0; i < 1234; ++i) text += QStringLiteral("many\n");
    for (int i = 0; i < 5; ++i) text += QStringLiteral("five\n");
    SetClipboard(text);
    Key(Qt::Key_F6);
    QCOMPARE(Captions(), (QStringList{U("\"five\""), U("\"many\"")}));
    QCOMPARE(CountCell(0), U("  5"));
    QCOMPARE(CountCell(1), U("1234"));
    QVERIFY(Model().index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
            Qt::AlignRight);
    QVERIFY(!Model().index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    Key(Qt::Key_F7);
    QCOMPARE(Clipboard(), U("five\t5\r\nmany\t1234\r\n"));
    W().FCopyCount = false;
    Key(Qt::Key_F7);
    QCOMPARE(Clipboard(), U("five\r\nmany\r\n"));
  }

  void guidanceFlashesTheEmptyListOnce() {
    QColor during;
    FModal->OnDialog([&](QDialog&) { during = View().Background(); });
    const QColor normal = View().Background();
    QTest::mouseClick(View().viewport(), Qt::LeftButton);
    QCOMPARE(
        Messages(),
        (std::vector<std::string>{S("文字列をクリップボードにコピーした後、\r[類字抽出] もしくは "
                                    "[全データ]ボタンをクリックしてください")}));
    QCOMPARE(during, QColor(0, 255, 0));
    QCOMPARE(View().Background(), normal);
    QCOMPARE(FBeeps, 1);
    QTest::mouseClick(View().viewport(), Qt::LeftButton);
    QCOMPARE(FModal->Calls().size(), 1u);
  }

  void noGuidanceAfterACommand() {
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    Key(Qt::Key_F5);  // fails at once, still ends the guidance
    FModal->Clear();
    QTest::mouseClick(View().viewport(), Qt::LeftButton);
    QVERIFY(FModal->Calls().empty());
  }

  // ---- copy, delete and keys

  void f7CopiesAllAndEnterTheSelected() {
    ListTen();
    SelectRows({2, 5, 7});
    Key(Qt::Key_F7);
    QCOMPARE(Clipboard().count(QStringLiteral("\r\n")), 10);
    QCOMPARE(Messages().back(), S("全てのデータをクリップボードにコピーしました"));
    Key(Qt::Key_Return);
    QCOMPARE(Clipboard(), U("a2\t3\r\na5\t6\r\na7\t8\r\n"));
    QCOMPARE(Messages().back(), S("選択されたデータをクリップボードにコピーしました"));
    QCOMPARE(FBeeps, 3);
    QGuiApplication::clipboard()->clear();
    Key(Qt::Key_Enter);  // the keypad's Enter too
    QCOMPARE(Clipboard(), U("a2\t3\r\na5\t6\r\na7\t8\r\n"));
  }

  void ctrlCCopiesTheSelectedAlsoWithShift() {
    ListTen();
    SelectRows({3});
    Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Clipboard(), U("a3\t4\r\n"));
    SelectRows({4});
    Key(Qt::Key_C, Qt::ControlModifier);  // not overwritten by the list's own copy
    QCOMPARE(Clipboard(), U("a4\t5\r\n"));
    FModal->Clear();
    SetClipboard(U("kept"));
    Key(Qt::Key_C);
    QCOMPARE(Clipboard(), U("kept"));
    QVERIFY(FModal->Calls().empty());
  }

  void selectedCopyWithoutSelectionLeavesTheClipboard() {
    ListTen();
    SetClipboard(U("what the user copied"));
    View().selectionModel()->clearSelection();
    FModal->Clear();
    const int beeps = FBeeps;
    Key(Qt::Key_Return);
    QCOMPARE(Clipboard(), U("what the user copied"));
    QCOMPARE(Messages(), (std::vector<std::string>{S("選択されたデータがありません")}));
    QCOMPARE(FBeeps, beeps);
  }

  void copyOfAnEmptyListSaysSo() {
    SetClipboard(U("kept"));
    QTest::mouseClick(Child<QToolButton>("sbCopyAll"), Qt::LeftButton);
    QCOMPARE(Messages(), (std::vector<std::string>{S(
                             "コピーする文字列を表示させた後、このボタンをクリックしてください")}));
    QCOMPARE(Clipboard(), U("kept"));
  }

  void deleteRemovesTheSelectedRows() {
    ListTen();
    const int beeps = FBeeps;
    const QString status = W().StatusText();
    SelectRows({0, 9, 4});
    TUniqueItem* deleted = Model().Row(4).Item;
    Key(Qt::Key_Delete);
    QCOMPARE(Captions(),
             (QStringList{U("a1"), U("a2"), U("a3"), U("a5"), U("a6"), U("a7"), U("a8")}));
    QVERIFY(!deleted->Shown());
    QCOMPARE(FBeeps, beeps);
    QCOMPARE(W().StatusText(), status);
    QVERIFY(FModal->Calls().empty());
    Key(Qt::Key_Delete);  // nothing selected: nothing changes
    QCOMPARE(Model().Count(), 7);
    Key(Qt::Key_F7);
    QCOMPARE(Clipboard().count(QStringLiteral("\r\n")), 7);
    ListTen();  // the next command brings them back
  }

  // The dictionary's items show their keys, and a change by its key lists
  // again with the same row at the top and the same rows selected.
  void dictionaryChangeKeepsTheTopRowAndSelection() {
    const QString dictionary = FSettingsFolder.path() + QStringLiteral("/tavrin-dict.txt");
    QFile::remove(dictionary);
    QCOMPARE(Child<QAction>("pmJoinSelected")->text(), U("選んだ行を一つの組にする\tCtrl+G"));
    QCOMPARE(Child<QAction>("pmCopyNormalized")->text(), U("正規化してコピー\tF8"));
    QString text;
    for (int i = 0; i < 40; ++i) text += QStringLiteral("a%1\r\nA%1\r\n").arg(i);
    SetClipboard(text);
    Key(Qt::Key_F5);
    QCOMPARE(Model().Count(), 80);
    W().SetTopRow(30);
    QCOMPARE(W().TopRow(), std::optional<std::size_t>(30));
    const QString top = Caption(30);
    SelectRows({33, 35});
    QStringList selected{Caption(33), Caption(35)};
    selected.sort();
    for (Qt::Key key : {Qt::Key_G, Qt::Key_Z}) {
      Key(key, Qt::ControlModifier);
      QCOMPARE(QFile::exists(dictionary), key == Qt::Key_G);
      QVERIFY(W().TopRow());
      QCOMPARE(Caption(static_cast<int>(*W().TopRow())), top);
      QStringList now;
      for (std::size_t row : W().SelectedRows()) now << Caption(static_cast<int>(row));
      now.sort();
      QCOMPARE(now, selected);
    }
  }

  // Shift+F10 opens the row's menu, as the menu key does.
  void shiftF10OpensTheMenu() {
    auto* menu = Child<QMenu>("PopupMenu1");
    Key(Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(menu->isVisible());
    menu->close();
  }

  void deleteIsAllowedInTheSimilarView() {
    SetClipboard(U("a\nA\nb\nB\n"));
    Key(Qt::Key_F5);
    QCOMPARE(Model().Count(), 4);
    SelectRows({0});
    W().PopupMenu1Popup();
    QVERIFY(Child<QAction>("pmDelete")->isEnabled());
    Child<QAction>("pmDelete")->trigger();
    QCOMPARE(Model().Count(), 3);
  }

  void popupMenuEnablesByRowsAndSelection() {
    auto* all = Child<QAction>("pmCopyAll");
    auto* selected = Child<QAction>("pmCopySelect");
    auto* remove = Child<QAction>("pmDelete");
    W().PopupMenu1Popup();
    QVERIFY(!all->isEnabled() && !selected->isEnabled() && !remove->isEnabled());
    ListTen();
    View().selectionModel()->clearSelection();
    W().PopupMenu1Popup();
    QVERIFY(all->isEnabled() && !selected->isEnabled() && !remove->isEnabled());
    SelectRows({1});
    W().PopupMenu1Popup();
    QVERIFY(all->isEnabled() && selected->isEnabled() && remove->isEnabled());
    selected->trigger();
    QCOMPARE(Clipboard(), U("a1\t2\r\n"));
    all->trigger();
    QCOMPARE(Clipboard().count(QStringLiteral("\r\n")), 10);
  }

  void doubleClickCopiesTheSelected() {
    ListTen();
    const QRect row2 = View().visualRect(Model().index(2, 0));
    QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, row2.center());
    QTest::mouseDClick(View().viewport(), Qt::LeftButton, {}, row2.center());
    QCOMPARE(Clipboard(), U("a2\t3\r\n"));
    FModal->Clear();
    View().selectionModel()->clearSelection();
    W().lvResultDblClick();
    QVERIFY(FModal->Calls().empty());
  }

  void keysAreNotConsumed() {
    struct Counter : QObject {
      int keys = 0;
      bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) ++keys;
        return false;
      }
    } counter;
    View().installEventFilter(&counter);
    ListTen();  // F6
    Key(Qt::Key_F7);
    QCOMPARE(counter.keys, 2);
    // Arrow keys still move the list's current row.
    View().setCurrentIndex(Model().index(0, 0));
    Key(Qt::Key_Down);
    QCOMPARE(View().currentIndex().row(), 1);
  }

  // The list moves by rows, as a list does: Home and End reach the first and
  // last row, and left and right keep the row.
  void listKeysMoveByRows() {
    ListTen();
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      int row;
    } cases[] = {{Qt::Key_Home, Qt::NoModifier, 0},      {Qt::Key_End, Qt::NoModifier, 9},
                 {Qt::Key_Home, Qt::ControlModifier, 0}, {Qt::Key_End, Qt::ControlModifier, 9},
                 {Qt::Key_Right, Qt::NoModifier, 4},     {Qt::Key_Left, Qt::NoModifier, 4}};
    for (const auto& c : cases) {
      View().setFocus();
      View().setCurrentIndex(Model().index(4, 0));
      Key(c.key, c.modifiers);
      QCOMPARE(View().currentIndex().row(), c.row);
      QCOMPARE(View().currentIndex().column(), 0);
    }
  }

  // A larger font lays the listed rows out again at the new height, the
  // scroll range too: the rows' own height signals are left out, the view's
  // layout is not.
  void rowsTakeANewFontsHeight() {
    ListTen();
    const int before = View().rowHeight(0), scrollBefore = View().verticalScrollBar()->maximum();
    QFont font = View().font();
    if (font.pixelSize() > 0)
      font.setPixelSize(font.pixelSize() * 2);
    else
      font.setPointSizeF(font.pointSizeF() * 2);
    View().setFont(font);
    QCoreApplication::processEvents();
    QVERIFY(View().rowHeight(0) > before);
    QCOMPARE(View().rowHeight(9), View().rowHeight(0));
    QCOMPARE(View().visualRect(Model().index(3, 0)).top(), 3 * View().rowHeight(0));
    QCOMPARE(View().rowAt(View().visualRect(Model().index(2, 0)).center().y()), 2);
    QVERIFY(View().verticalScrollBar()->maximum() > scrollBefore);
  }

  // A message box takes the focus while it is open; once it is closed the
  // key that showed it must not act again on its way up to the window.
  void oneKeyPressGivesOneMessage() {
    for (Qt::Key key : {Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_Return}) {
      ListTen();
      SelectRows({1});
      FModal->Clear();
      FModal->OnDialog([](QDialog&) {
        if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
      });
      if (key != Qt::Key_F7 && key != Qt::Key_Return) SetClipboard(QString());
      Key(key);
      QCOMPARE(FModal->Calls().size(), 1u);
      FModal->OnDialog({});
      View().setFocus();
    }
  }

  void closingReleasesTheCollection() {
    ListTen();
    W().close();
    QVERIFY(!W().UniqueManager());
    QCOMPARE(Model().Count(), 0);
    W().sbGetAllDataClick(TControl::foMAIN);  // nothing runs on the released objects
    W().sbExtractRuijiClick(TControl::foMAIN);
  }

  // Last: it spends the codec's spare codes for this run.
  void replacedCharactersAreReported() {
    // Lone surrogates are no characters: each becomes "?" and is reported
    // (one ends the text); a character outside CP932 (U+20BB7) is kept.
    QString text = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("\n") + QChar(0xDC00) +
                   QStringLiteral("b\n\U00020BB7\n") + QChar(0xD83D);
    SetClipboard(text);
    Key(Qt::Key_F6);
    QVERIFY(!FModal->Calls().empty());
    QCOMPARE(FModal->Calls()[0].kind, std::optional<MessageKind>(MessageKind::Warning));
    QVERIFY(FModal->Calls()[0].text.find(" 3 ") != std::string::npos);
    QCOMPARE(Model().Count(), 4);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_qttest.moc"
