// The settings dialog on its own, on the offscreen platform: its layout and
// captions byte for byte, Escape and closing as Cancel, and the sample
// list's font chosen through the font dialog and its colour choice.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "settings/qt/font_binding.h"
#include "settings/qt/font_dialog.h"
#include "settings/qt/set_dialog.h"
#include "tests/settings/font_choice.h"
#include "util/cp932.h"
#include "util/qt/qsjis.h"
#include "widgets/qt/modal_recorder.h"

using namespace tavrin;

namespace {

std::string S(const char* utf8) { return cp932::Sjis(utf8); }

}  // namespace

class SetDialogTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TFontDialog> fonts;
  std::unique_ptr<TfoSet> set;

  template <typename T>
  T* Child(const char* name) {
    T* child = set->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
  }

 private Q_SLOTS:
  void init() {
    fonts = std::make_unique<TFontDialog>();
    set = std::make_unique<TfoSet>(fonts.get());
  }
  void cleanup() {
    set.reset();
    fonts.reset();
  }

  // A fixed form with its caption; every group box and control at its
  // place with its exact caption; the check boxes 16 from the group's left,
  // 28 from its top, 28 apart, each inside its group and showing the hand
  // cursor; the sample list's two columns.
  void layoutMatchesTheDesign() {
    QCOMPARE(ToSjis(set->windowTitle()), S("Tavrin 設定ダイアログ"));
    QCOMPARE(set->size(),
             QSize(514, 728));  // the first 608 rows as designed, then the kinds and the dictionary
    QCOMPARE(set->minimumSize(), set->maximumSize());  // not resizable
    QCOMPARE(set->font().family(), QStringLiteral("Meiryo UI"));
    QCOMPARE(set->font().pixelSize(), 19);
    QVERIFY(!set->isVisible());
    const struct {
      const char* name;
      const char* caption;
      QRect place;
      std::vector<std::pair<const char*, std::string>> checks;
    } groups[] = {
        {"GroupBox3",
         "全般",
         {8, 8, 497, 117},
         {{"chbExtractTrim", S("データ取得時、文字列の前後にある空白を取り除く")},
          {"chbSound", S("処理が完了した時、メッセージサウンドを鳴らす")},
          {"chbShowHint", S("各ツールボタンのヒントウィンドを表示する")}}},
        {"GroupBox4",
         "類字の判断オプション",
         {8, 128, 497, 85},
         {{"chbHyphen", S("ハイフン(-)とカタカナの長音符(ｰ)を類字とみなす")},
          {"chbHyphenTerminate", S("文字列末尾のハイフン、カタカナの長音符を無視する")}}},
        {"GroupBox1",
         "全データの表示オプション",
         {8, 216, 497, 85},
         {{"chbZenkaku", S("全角／半角、ひらがな／カタカナを区別する")},
          {"chbUpper", S("大文字／小文字を区別する")}}},
        {"GroupBox2",
         "結果リストの表示オプション 他",
         {8, 304, 497, 233},
         {{"chbExtractSort", S("文字列をソートする")},
          {"chbExprsQuote", S("表示する文字列の前後にダブルクォート(\")を付加する")},
          {"chbCopyCount", S("表示している文字列をコピーする際、[個数]もコピーする")}}},
    };
    QList<QWidget*> tabOrder;
    for (const auto& g : groups) {
      auto* group = Child<QGroupBox>(g.name);
      QCOMPARE(ToSjis(group->title()), S(g.caption));
      QCOMPARE(group->geometry(), g.place);
      int row = 0;
      for (const auto& [name, caption] : g.checks) {
        auto* box = Child<QCheckBox>(name);
        QCOMPARE(box->parentWidget(), group);
        QCOMPARE(ToSjis(box->text()), caption);
        QCOMPARE(box->pos(), QPoint(16, 28 + 28 * row++));
        QVERIFY(group->rect().contains(box->geometry()));
        QVERIFY2(box->sizeHint().width() <= box->width(), name);  // the caption is not cut off
        QCOMPARE(box->cursor().shape(), Qt::PointingHandCursor);
        tabOrder << box;
      }
    }
    // The kinds of variants below, four to a row, in the order of reading.
    auto* kinds = Child<QGroupBox>("GroupBox5");
    QCOMPARE(ToSjis(kinds->title()), S("その他の揺れ"));
    QCOMPARE(kinds->geometry(), QRect(8, 540, 497, 117));
    const std::pair<const char*, const char*> kindChecks[] = {
        {"chbKanji", "異体字"},    {"chbCompat", "互換文字"},   {"chbSpace", "空白・中点"},
        {"chbSymbol", "記号"},     {"chbKana", "カナ表記"},     {"chbCompany", "法人格"},
        {"chbNumber", "数字表記"}, {"chbOkurigana", "送り仮名"}};
    QList<QWidget*> kindOrder;
    for (int i = 0; i < 8; ++i) {
      auto* box = Child<QCheckBox>(kindChecks[i].first);
      QCOMPARE(box->parentWidget(), kinds);
      QCOMPARE(ToSjis(box->text()), S(kindChecks[i].second));
      QCOMPARE(box->pos(), QPoint(16 + 120 * (i % 4), 28 + 28 * (i / 4)));
      QVERIFY(kinds->rect().contains(box->geometry()));
      QVERIFY2(box->sizeHint().width() <= box->width(), kindChecks[i].first);
      QCOMPARE(box->cursor().shape(), Qt::PointingHandCursor);
      QVERIFY(!box->isChecked());
      kindOrder << box;
    }
    for (QWidget* box : kindOrder)
      for (QWidget* other : kindOrder)
        QVERIFY(box == other || !box->geometry().intersects(other->geometry()));
    QVERIFY(!kinds->geometry().intersects(Child<QGroupBox>("GroupBox2")->geometry()));

    auto* label = Child<QLabel>("Label1");
    QCOMPARE(ToSjis(label->text()), S("フォント(下のリストをクリックしてください)"));
    QCOMPARE(set->lvSet->parentWidget(), Child<QGroupBox>("GroupBox2"));
    QCOMPARE(set->lvSet->geometry(), QRect(16, 136, 465, 89));
    QVERIFY(!label->geometry().intersects(set->lvSet->geometry()));
    QVERIFY(!label->geometry().intersects(Child<QCheckBox>("chbCopyCount")->geometry()));
    // The dictionary's row below the kinds.
    QCOMPARE(set->bbEditDictionary->parentWidget(), kinds);
    QCOMPARE(ToSjis(set->bbEditDictionary->text()), S("辞書を編集"));
    QCOMPARE(set->bbEditDictionary->geometry(), QRect(16, 82, 118, 30));
    QCOMPARE(set->lblDictionary->geometry(), QRect(142, 82, 353, 30));
    QCOMPARE(set->bbOK->geometry(), QRect(104, 668, 145, 49));
    QCOMPARE(ToSjis(set->bbOK->text()), S("設定する"));
    QCOMPARE(set->bbCancel->geometry(), QRect(264, 668, 145, 49));
    QCOMPARE(ToSjis(set->bbCancel->text()), S("キャンセル"));

    // Tab goes down the rows, into the sample list, through the kinds, to
    // [辞書を編集] and on to the buttons.
    tabOrder << set->lvSet << kindOrder << set->bbEditDictionary << set->bbOK << set->bbCancel;
    QWidget* at = tabOrder.first();
    for (int i = 1; i < tabOrder.size(); ++i) {
      do at = at->nextInFocusChain();
      while (!(at->focusPolicy() & Qt::TabFocus));
      QCOMPARE(at, tabOrder[i]);
    }

    QTreeWidget* list = set->lvSet;
    QCOMPARE(list->columnCount(), 2);
    QCOMPARE(ToSjis(list->headerItem()->text(0)), S("文字列"));
    QCOMPARE(ToSjis(list->headerItem()->text(1)), S("個数"));
    QCOMPARE(list->header()->sectionSize(0), 360);
    QCOMPARE(list->header()->sectionSize(1), 75);
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
  }

  // OK accepts; Cancel, Escape (also with the focus on a check box, which
  // the form sees first) and the title-bar close all reject.
  void buttonsEscapeAndCloseGiveTheirResults() {
    // The recorder answers after each action; the spies see the button's
    // own result first.
    for (QPushButton* button : {set->bbOK, set->bbCancel}) {
      QSignalSpy finished(set.get(), &QDialog::finished);
      ModalRecorder modal(ModalAnswer::Escape);
      modal.OnDialog([&](QDialog&) { button->click(); });
      ExecModal(*set);
      QVERIFY(finished.count() >= 1);
      QCOMPARE(finished.first().first().toInt(),
               int(button == set->bbOK ? QDialog::Accepted : QDialog::Rejected));
    }
    {
      ModalRecorder modal(ModalAnswer::Escape);
      QCOMPARE(ExecModal(*set), int(QDialog::Rejected));
    }
    {
      // Seen by the form before the focused check box; the dialog is closed
      // before the recorder's own answer comes.
      QSignalSpy rejected(set.get(), &QDialog::rejected);
      ModalRecorder modal(ModalAnswer::Cancel);
      modal.ShowDialogs(true);
      modal.OnDialog([&](QDialog&) {
        Child<QCheckBox>("chbSound")->setFocus();
        QTest::keyClick(Child<QCheckBox>("chbSound"), Qt::Key_Escape);
        QVERIFY(!set->isVisible());
        QCOMPARE(rejected.count(), 1);
      });
      QCOMPARE(ExecModal(*set), int(QDialog::Rejected));
    }
    {
      QSignalSpy rejected(set.get(), &QDialog::rejected);
      ModalRecorder modal(ModalAnswer::Cancel);
      modal.ShowDialogs(true);
      modal.OnDialog([&](QDialog&) {
        set->close();
        QCOMPARE(rejected.count(), 1);
      });
      QCOMPARE(ExecModal(*set), int(QDialog::Rejected));
    }
  }

  // On a box of the kinds, as on the others: Space ticks it, Enter closes
  // with OK, Escape with Cancel.
  void keysOnTheKindsBoxes() {
    const struct {
      Qt::Key key;
      bool visible;
      int result;  // when closed
      bool checked;
    } cases[] = {
        {Qt::Key_Space, true, -1, true},
        {Qt::Key_Return, false, QDialog::Accepted, false},
        {Qt::Key_Escape, false, QDialog::Rejected, false},
    };
    for (const auto& c : cases) {
      Child<QCheckBox>("chbCompany")->setChecked(false);
      QSignalSpy finished(set.get(), &QDialog::finished);
      ModalRecorder modal(ModalAnswer::Cancel);
      modal.ShowDialogs(true);
      modal.OnDialog([&](QDialog&) {
        Child<QCheckBox>("chbCompany")->setFocus();
        QTest::keyClick(Child<QCheckBox>("chbCompany"), c.key);
        QCOMPARE(set->isVisible(), c.visible);
        QCOMPARE(Child<QCheckBox>("chbCompany")->isChecked(), c.checked);
        if (!c.visible) {
          QCOMPARE(finished.count(), 1);
          QCOMPARE(finished.first().first().toInt(), c.result);
        }
      });
      ExecModal(*set);
    }
  }

  // A click on the rows area or a heading opens the font dialog; a
  // confirmed font with its colour shows in the sample list at once.
  void clickOnTheListChoosesItsFont() {
    new QTreeWidgetItem(set->lvSet, {QStringLiteral("a"), QStringLiteral("1")});
    set->show();
    QVERIFY(QTest::qWaitForWindowExposed(set.get()));
    QFont wanted(InstalledFamily(), 16);
    wanted.setBold(true);
    wanted.setUnderline(true);
    wanted.setStrikeOut(true);
    ModalRecorder modal;
    modal.OnDialog([&](QDialog& dialog) { ChooseFont(dialog, wanted, RGBColor(255, 0, 0)); });
    QTest::mouseClick(set->lvSet->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QCOMPARE(modal.Calls().size(), size_t(1));
    QCOMPARE(modal.Calls()[0].name, QStringLiteral("dlgFont"));
    const FontValue chosen = WidgetFont(*set->lvSet);
    QCOMPARE(FromSjis(chosen.name), wanted.family());
    QCOMPARE(chosen.size, 16);
    QCOMPARE(int(chosen.style), kFontBold | kFontUnderline | kFontStrikeOut);
    QCOMPARE(chosen.color, RGBColor(255, 0, 0));
    QCOMPARE(set->lvSet->palette().color(QPalette::Text), QColor(255, 0, 0));

    // The heading: the dialog opens on the list's font and colour.
    modal.OnDialog([&](QDialog& dialog) {
      auto& fontsDialog = static_cast<TFontDialog&>(dialog);
      QCOMPARE(fontsDialog.currentFont().family(), wanted.family());
      QCOMPARE(fontsDialog.currentFont().pointSize(), 16);
      QCOMPARE(fontsDialog.Color(), RGBColor(255, 0, 0));
    });
    modal.Answer(ModalAnswer::Cancel);
    const QHeaderView* header = set->lvSet->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QCOMPARE(modal.Calls().size(), size_t(2));
    QCOMPARE(WidgetFont(*set->lvSet), chosen);  // cancelled: nothing changes
  }

  // The toolkit's font dialog takes any size: one beyond the range is kept
  // to it, and the user is told.
  void chosenSizeIsKeptToTheRange() {
    ModalRecorder modal;
    modal.OnDialog([](QDialog& dialog) {
      if (qobject_cast<TFontDialog*>(&dialog))
        ChooseFont(dialog, QFont(InstalledFamily(), 612), clWindowText);
    });
    set->lvSetClick();
    QCOMPARE(modal.Calls().size(), size_t(2));
    QCOMPARE(modal.Calls()[1].kind, std::optional<MessageKind>(MessageKind::Information));
    QVERIFY(modal.Calls()[1].text.find("612") != std::string::npos);
    QCOMPARE(WidgetFont(*set->lvSet).size, 72);
  }

  // A colour from "other colours" is kept as its own entry and written in
  // the hexadecimal form; cancelling that dialog returns to the colour before.
  void otherColourGoesThroughTheColourDialog() {
    ModalRecorder modal;
    modal.OnDialog([](QDialog& dialog) {
      if (auto* colors = qobject_cast<QColorDialog*>(&dialog))
        colors->setCurrentColor(QColor(1, 2, 3));
    });
    QComboBox* box = fonts->ColorBox();
    fonts->SetColor(clWindowText);
    box->setCurrentIndex(box->count() - 1);  // "その他の色..."
    QCOMPARE(modal.Calls().size(), size_t(1));
    QCOMPARE(modal.Calls()[0].name, QStringLiteral("dlgColor"));
    QCOMPARE(fonts->Color(), RGBColor(1, 2, 3));
    QCOMPARE(box->currentText(), QStringLiteral("$00030201"));

    modal.Answer(ModalAnswer::Cancel);
    box->setCurrentIndex(box->count() - 1);
    QCOMPARE(fonts->Color(), RGBColor(1, 2, 3));
    QCOMPARE(box->currentText(), QStringLiteral("$00030201"));

    // A system colour the list lacks gets the one extra entry, by name.
    fonts->SetColor(kSystemColorBit | 13);
    QCOMPARE(box->currentText(), QStringLiteral("clHighlight"));
    QCOMPARE(box->findText(QStringLiteral("$00030201")), -1);
  }

  // Without a font dialog of its owner the sample list uses one of its own.
  // Enter and Space on the list open it too, over the settings dialog, with
  // the list's font preselected even when it stands in for a missing family.
  void makesItsOwnFontDialogWhenGivenNone() {
    TfoSet alone;
    ModalRecorder modal(ModalAnswer::Cancel);
    alone.lvSetClick();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) QTest::keyClick(alone.lvSet, key);
    QCOMPARE(modal.Calls().size(), size_t(3));
    QCOMPARE(modal.Calls()[0].name, QStringLiteral("dlgFont"));
    auto* dialog = alone.findChild<TFontDialog*>(QStringLiteral("dlgFont"));
    QVERIFY(dialog);
    QCOMPARE(dialog->frameGeometry().center(), alone.frameGeometry().center());
    QCOMPARE(dialog->currentFont().family(), QFontInfo(alone.lvSet->font()).family());
  }
};

QTEST_MAIN(SetDialogTest)
#include "set_dialog_qttest.moc"
