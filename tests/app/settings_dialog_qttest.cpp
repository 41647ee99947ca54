// The settings dialog run from the main window through the modal seam on
// the offscreen platform: the sample list, each option's way into its check
// box and back, the font with its colour, Cancel, the effect on the next
// command, and a full round trip through the settings file.
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "settings/qt/acc_ini.h"
#include "settings/qt/font_binding.h"
#include "settings/qt/set_dialog.h"
#include "tests/settings/font_choice.h"
#include "util/cp932.h"
#include "util/qt/beep.h"
#include "util/qt/qsjis.h"
#include "widgets/qt/gradation_exprs.h"
#include "widgets/qt/modal_recorder.h"

using namespace tavrin;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// The options: field, check box, default.
struct Option {
  bool TfoMAIN::*field;
  const char* box;
  bool def;
};
const Option kOptions[] = {
    {&TfoMAIN::FSound, "chbSound", true},
    {&TfoMAIN::FHint, "chbShowHint", true},
    {&TfoMAIN::FZenkaku, "chbZenkaku", true},
    {&TfoMAIN::FUpper, "chbUpper", true},
    {&TfoMAIN::FExtractSort, "chbExtractSort", true},
    {&TfoMAIN::FTrim, "chbExtractTrim", false},
    {&TfoMAIN::FExprsQuote, "chbExprsQuote", false},
    {&TfoMAIN::FCopyCount, "chbCopyCount", true},
    {&TfoMAIN::FHyphenTerminate, "chbHyphenTerminate", true},
    {&TfoMAIN::FHyphen, "chbHyphen", true},
    {&TfoMAIN::FKanji, "chbKanji", false},
    {&TfoMAIN::FCompat, "chbCompat", false},
    {&TfoMAIN::FSpace, "chbSpace", false},
    {&TfoMAIN::FSymbol, "chbSymbol", false},
    {&TfoMAIN::FKana, "chbKana", false},
    {&TfoMAIN::FCompany, "chbCompany", false},
    {&TfoMAIN::FNumber, "chbNumber", false},
    {&TfoMAIN::FOkurigana, "chbOkurigana", false},
};

const char* const kToolBar[] = {"sbClose",       "sbGetAllData", "sbExtractRuiji", "sbCopyAll",
                                "sbSwFormStyle", "sbSet",        "imgHelp",        "imgVersion"};

QStringList RowsOf(const QAbstractItemModel& model, int limit = -1) {
  QStringList rows;
  const int n = limit < 0 ? model.rowCount() : std::min(limit, model.rowCount());
  for (int r = 0; r < n; ++r)
    rows << model.index(r, 0).data().toString() + U("|") + model.index(r, 1).data().toString();
  return rows;
}

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

  QTemporaryDir pictures;
  QTemporaryDir settings;
  std::unique_ptr<ModalRecorder> modal;
  std::unique_ptr<TfoMAIN> window;

  TfoMAIN& W() { return *window; }
  TfoSet& Set() {
    auto* set = W().findChild<TfoSet*>(U("foSet"));
    if (!set) qFatal("no settings dialog");
    return *set;
  }
  QCheckBox* Box(const char* name) {
    return Set().findChild<QCheckBox*>(QString::fromLatin1(name));
  }
  QWidget* Control(const char* name) { return W().findChild<QWidget*>(QString::fromLatin1(name)); }

  void NewWindow() {
    window = std::make_unique<TfoMAIN>();
    W().show();
    QVERIFY(QTest::qWaitForWindowExposed(&W()));
  }
  void Command(const char* clip, Qt::Key key = Qt::Key_F6) {
    QGuiApplication::clipboard()->setText(U(clip));
    QTest::keyClick(W().ResultView(), key);
  }

  // Clicks sbSet; `inDialog` runs while the dialog is up, then the dialog is
  // answered. Nested dialogs (the font dialog) take their answers first.
  void RunSettings(const std::function<void(TfoSet&)>& inDialog, ModalAnswer answer,
                   std::function<void(QDialog&)> inFontDialog = {},
                   ModalAnswer fontAnswer = ModalAnswer::Ok) {
    modal->OnDialog([&](QDialog& dialog) {
      if (dialog.objectName() == U("foSet")) {
        if (inDialog) inDialog(static_cast<TfoSet&>(dialog));
      } else if (dialog.objectName() == U("dlgFont") && inFontDialog) {
        inFontDialog(dialog);
      }
    });
    if (inFontDialog) modal->Answer(fontAnswer);
    modal->Answer(answer);
    static_cast<QToolButton*>(Control("sbSet"))->click();
    modal->OnDialog({});
  }
  QStringList SampleRows(const TfoSet& set) const { return RowsOf(*set.lvSet->model()); }

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(pictures.isValid() && settings.isValid());
    TGradationExprs::SetPictureFileFolder(pictures.path().toStdString() + "/");
    SetBeepHandler([](BeepSound) {});
  }
  void init() {
    const QString ini = settings.path() + U("/tavrin.ini");
    QFile::remove(ini);
    TAccIni::SetDefaultFileName(ini.toStdString());
    modal = std::make_unique<ModalRecorder>();
    modal->ShowDialogs(true);  // clicks reach the dialogs' controls as shown
    NewWindow();
  }
  void cleanup() {
    window.reset();
    modal.reset();
  }

  // Created once with the window and hidden; every opening shows that one.
  void dialogIsCreatedOnceAndHidden() {
    TfoSet* set = &Set();
    QVERIFY(!set->isVisible());
    QCOMPARE(W().findChildren<TfoSet*>().size(), 1);
    RunSettings({}, ModalAnswer::Cancel);
    RunSettings({}, ModalAnswer::Cancel);
    QCOMPARE(modal->Calls().size(), size_t(2));
    QCOMPARE(modal->Calls()[1].name, U("foSet"));
    QCOMPARE(&Set(), set);
  }

  void emptyListShowsTheTwoSampleRows() {
    QStringList rows;
    bool pictured = false;
    RunSettings(
        [&](TfoSet& set) {
          rows = SampleRows(set);
          pictured =
              set.lvSet->topLevelItemCount() > 0 && !set.lvSet->topLevelItem(0)->icon(0).isNull();
        },
        ModalAnswer::Cancel);
    QCOMPARE(rows, (QStringList{U("サンプル-1|1"), U("サンプル-2|1")}));
    QVERIFY(pictured);
  }

  // The first 10 rows as the list shows them, quotes and count texts included;
  // the sample rows of an earlier opening are gone.
  void longListGivesItsFirstTenRows() {
    RunSettings({}, ModalAnswer::Cancel);
    W().FExprsQuote = true;
    QString clip;
    for (int i = 0; i < 25; ++i) clip += QStringLiteral("line%1\n").arg(i, 2, 10, QLatin1Char('0'));
    clip += U("line03\n");
    Command(clip.toUtf8().constData());
    QCOMPARE(W().ResultModel()->rowCount(), 25);
    QStringList rows;
    RunSettings([&](TfoSet& set) { rows = SampleRows(set); }, ModalAnswer::Cancel);
    QCOMPARE(rows.size(), 10);
    QCOMPARE(rows, RowsOf(*W().ResultModel(), 10));
    QCOMPARE(rows[3], U("\"line03\"|  2"));
  }

  // Each option reaches its own check box, and its own check box reaches
  // it back; a swapped pair of boxes fails here.
  void eachOptionHasItsOwnCheckBox() {
    for (const Option& o : kOptions) {
      for (const Option& other : kOptions) W().*other.field = other.def;
      W().*o.field = !o.def;
      QStringList wrong;
      RunSettings(
          [&](TfoSet&) {
            for (const Option& other : kOptions)
              if (Box(other.box)->isChecked() != (W().*other.field)) wrong << U(other.box);
            Box(o.box)->setChecked(o.def);  // and back through the dialog
          },
          ModalAnswer::Ok);
      QVERIFY2(wrong.isEmpty(), qPrintable(U(o.box) + U(": ") + wrong.join(U(","))));
      for (const Option& other : kOptions) QCOMPARE(W().*other.field, other.def);
    }
  }

  // Cancel and Escape keep every field, whatever the boxes show.
  void cancelAndEscapeChangeNothing() {
    for (ModalAnswer answer : {ModalAnswer::Cancel, ModalAnswer::Escape}) {
      RunSettings(
          [&](TfoSet&) {
            for (const Option& o : kOptions) Box(o.box)->setChecked(!o.def);
          },
          answer);
      for (const Option& o : kOptions) QCOMPARE(W().*o.field, o.def);
    }
  }

  // A font chosen in the dialog and then cancelled leaves the list's font,
  // and the next opening starts again from the list's font.
  void fontChosenThenCancelLeavesTheListsFont() {
    const FontValue before = WidgetFont(*W().ResultView());
    QFont chosen(InstalledFamily(), 20);
    chosen.setItalic(true);
    FontValue inSample;
    RunSettings(
        [&](TfoSet& set) {
          QTest::mouseClick(set.lvSet->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
          inSample = WidgetFont(*set.lvSet);
        },
        ModalAnswer::Cancel, [&](QDialog& d) { ChooseFont(d, chosen, RGBColor(0, 0, 255)); });
    QCOMPARE(inSample.size, 20);  // the sample list had it
    QCOMPARE(inSample.color, RGBColor(0, 0, 255));
    QCOMPARE(WidgetFont(*W().ResultView()), before);
    FontValue again;
    RunSettings([&](TfoSet& set) { again = WidgetFont(*set.lvSet); }, ModalAnswer::Cancel);
    QCOMPARE(again, before);
  }

  // Hints off hides exactly the eight tool-bar tips; other controls keep
  // theirs; on again brings them back with their texts.
  void hintsOffHidesTheEightToolBarTips() {
    W().ResultView()->setToolTip(U("list"));
    W().statusBar()->setToolTip(U("status"));
    QStringList tips;
    for (const char* name : kToolBar) {
      tips << Control(name)->toolTip();
      QVERIFY2(!tips.last().isEmpty(), name);
    }
    RunSettings([&](TfoSet&) { Box("chbShowHint")->setChecked(false); }, ModalAnswer::Ok);
    QCOMPARE(W().FHint, false);
    for (const char* name : kToolBar) QVERIFY2(Control(name)->toolTip().isEmpty(), name);
    QCOMPARE(W().ResultView()->toolTip(), U("list"));
    QCOMPARE(W().statusBar()->toolTip(), U("status"));
    RunSettings([&](TfoSet&) { Box("chbShowHint")->setChecked(true); }, ModalAnswer::Ok);
    QStringList back;
    for (const char* name : kToolBar) back << Control(name)->toolTip();
    QCOMPARE(back, tips);
  }

  // The listed rows stay as they are; the next all-data command merges.
  void zenkakuActsFromTheNextCommand() {
    Command("ａ\na\nａ\n");
    const QStringList listed = RowsOf(*W().ResultModel());
    QCOMPARE(listed.size(), 2);
    RunSettings([&](TfoSet&) { Box("chbZenkaku")->setChecked(false); }, ModalAnswer::Ok);
    QCOMPARE(RowsOf(*W().ResultModel()), listed);
    Command("ａ\na\nａ\n");
    const QStringList merged = RowsOf(*W().ResultModel());
    QCOMPARE(merged.size(), 1);
    QVERIFY(merged[0].endsWith(U("|  3")));
  }

  // A bad value counts as missing; a width under the header's minimum is
  // saved as read unless the user resized the column.
  void unreadableValuesAndNarrowColumnsSurviveAStart() {
    window.reset();
    const QString ini = settings.path() + U("/tavrin.ini");
    QFile::remove(ini);
    QFile file(ini);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[User]\r\nFSetLvColumn0=0x1F\r\nFSetLvColumn1=0x1F\r\nlvResultColor=garbage\r\n");
    file.close();
    NewWindow();
    QCOMPARE(W().FSetLvColumn0, 31);
    W().ResultView()->horizontalHeader()->resizeSection(1, 90);  // as a drag of the divider does
    W().close();
    window.reset();
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("FSetLvColumn0=31\r\n"));
    QVERIFY(text.contains("FSetLvColumn1=90\r\n"));
    QVERIFY(text.contains("lvResultColor=clWindowText\r\n"));
    NewWindow();
  }

  // Every option and the font changed through the dialog survive closing
  // the window and starting again on the same settings file; the chosen
  // colour paints the list's text.
  void everythingSurvivesARestart() {
    Command("ユニット\nﾕﾆｯﾄ\n", Qt::Key_F5);
    QFont chosen(InstalledFamily(), 16);
    chosen.setBold(true);
    chosen.setUnderline(true);
    chosen.setStrikeOut(true);
    RunSettings(
        [&](TfoSet& set) {
          for (const Option& o : kOptions) Box(o.box)->setChecked(!o.def);
          const QHeaderView* header = set.lvSet->header();
          QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                            QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
        },
        ModalAnswer::Ok, [&](QDialog& d) { ChooseFont(d, chosen, RGBColor(255, 0, 0)); });
    FontValue wanted;
    wanted.name = ToSjis(chosen.family());
    wanted.size = 16;
    wanted.color = RGBColor(255, 0, 0);
    wanted.style = kFontBold | kFontUnderline | kFontStrikeOut;
    QCOMPARE(WidgetFont(*W().ResultView()), wanted);
    QCOMPARE(W().ResultView()->font().pixelSize(), 21);  // 16 points at 96 dots per inch

    // Red text in the list's rows.
    const QImage shot = W().ResultView()->viewport()->grab().toImage();
    bool red = false;
    for (int y = 0; y < shot.height() && !red; ++y)
      for (int x = 0; x < shot.width() && !red; ++x) {
        const QColor c = shot.pixelColor(x, y);
        red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
      }
    QVERIFY(red);

    for (const Option& o : kOptions) QCOMPARE(W().*o.field, !o.def);
    W().close();
    window.reset();
    QFile file(settings.path() + U("/tavrin.ini"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("lvResultColor=clRed"));
    QVERIFY(text.contains("lvResultStyle=13"));
    QVERIFY(text.contains("lvResultSize=16"));
    QVERIFY(text.contains("[Variants]\r\nFKanji=1\r\n"));
    QVERIFY(text.indexOf("[Form]") > text.indexOf("[User]"));
    QVERIFY(text.indexOf("[Variants]") > text.indexOf("[Form]"));

    NewWindow();
    for (const Option& o : kOptions) QCOMPARE(W().*o.field, !o.def);
    QCOMPARE(WidgetFont(*W().ResultView()), wanted);
    QStringList wrong;
    FontValue inSample;
    RunSettings(
        [&](TfoSet& set) {
          for (const Option& o : kOptions)
            if (Box(o.box)->isChecked() == o.def) wrong << U(o.box);
          inSample = WidgetFont(*set.lvSet);
        },
        ModalAnswer::Cancel);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(U(","))));
    QCOMPARE(inSample, wanted);
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_qttest.moc"
