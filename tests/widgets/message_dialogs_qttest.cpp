// The real message boxes, driven through the modal seam.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include "util/cp932.h"
#include "util/messages.h"
#include "util/qt/beep.h"
#include "util/qt/modal.h"
#include "util/qt/qsjis.h"
#include "widgets/qt/dialog_message.h"
#include "widgets/qt/message_dialogs.h"
#include "widgets/qt/modal_recorder.h"

using namespace tavrin;

namespace {
// What a message box showed, read while it is up.
struct Seen {
  QString title;
  int picture = -1;
  QStringList buttons;  // visible buttons' captions
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

Seen Look(QDialog& d) {
  Seen s;
  s.title = d.windowTitle();
  if (auto* m = qobject_cast<TDialogMessage*>(&d)) {
    s.picture = m->PictureKind();
    s.text = d.findChild<QTextEdit*>(QStringLiteral("mmInformation"))->toPlainText();
  }
  if (auto* box = qobject_cast<QMessageBox*>(&d)) {
    s.icon = box->icon();
    s.text = box->text();
    for (QAbstractButton* b : box->buttons()) s.buttons << b->text();
  } else {
    for (auto* b : d.findChildren<QPushButton*>())
      if (b->isVisible()) s.buttons << b->text();
  }
  return s;
}
}  // namespace

class MessageDialogsTest : public QObject {
  Q_OBJECT

  std::vector<BeepSound> beeps;
  BeepHandler previousBeep;

 private Q_SLOTS:
  void initTestCase() {
    QApplication::setApplicationDisplayName(QStringLiteral("Tavrin"));
    previousBeep = SetBeepHandler([this](BeepSound s) { beeps.push_back(s); });
  }
  void cleanupTestCase() { SetBeepHandler(previousBeep); }
  void init() { beeps.clear(); }

  void programDialogsShowKindPictureAndButtons_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("picture");
    QTest::addColumn<int>("buttons");
    QTest::newRow("information") << int(MessageKind::Information) << 0 << 1;
    QTest::newRow("warning") << int(MessageKind::Warning) << 2 << 1;
    QTest::newRow("error") << int(MessageKind::Error) << 3 << 1;
    QTest::newRow("confirm") << int(MessageKind::Confirm) << 2 << 2;
  }
  void programDialogsShowKindPictureAndButtons() {
    QFETCH(int, kind);
    QFETCH(int, picture);
    QFETCH(int, buttons);
    ModalRecorder modal;
    modal.ShowDialogs(true);
    Seen seen;
    modal.OnDialog([&](QDialog& d) { seen = Look(d); });
    const std::string text = cp932::Sjis("一行目\r二行目\r\n三行目");
    ShowMessage(MessageKind(kind), text);
    QCOMPARE(modal.Calls().size(), std::size_t(1));
    QCOMPARE(modal.Calls()[0].name, QStringLiteral("TDialogMessage"));
    QVERIFY(modal.Calls()[0].kind == MessageKind(kind));
    QCOMPARE(modal.Calls()[0].text, text);
    QCOMPARE(seen.title, QStringLiteral("Tavrin"));
    QCOMPARE(seen.picture, picture);
    QCOMPARE(seen.text, FromSjis(cp932::Sjis("一行目\n二行目\n三行目")));
    QCOMPARE(seen.buttons.size(), buttons);
    if (buttons == 1) QCOMPARE(seen.buttons[0], QStringLiteral("OK"));
    QVERIFY(beeps.empty());
  }

  void confirmIsTrueOnlyForYes_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("result");
    QTest::newRow("yes") << int(ModalAnswer::Yes) << true;
    QTest::newRow("cancel") << int(ModalAnswer::Cancel) << false;
    QTest::newRow("escape") << int(ModalAnswer::Escape) << false;
  }
  void confirmIsTrueOnlyForYes() {
    QFETCH(int, answer);
    QFETCH(bool, result);
    ModalRecorder modal;
    modal.Answer(ModalAnswer(answer));
    QCOMPARE(ConfirmDialog(cp932::Sjis("削除しますか？")), result);
  }

  void beepBoxesAreStandardBoxesAfterExclamation_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::newRow("warning") << int(MessageKind::BeepWarning) << int(QMessageBox::Warning)
                             << FromSjis(cp932::Sjis("警告"));
    QTest::newRow("error") << int(MessageKind::BeepError) << int(QMessageBox::Critical)
                           << FromSjis(cp932::Sjis("エラー"));
  }
  void beepBoxesAreStandardBoxesAfterExclamation() {
    QFETCH(int, kind);
    QFETCH(int, icon);
    QFETCH(QString, title);
    ModalRecorder modal(ModalAnswer::Escape);
    Seen seen;
    std::size_t beepsBefore = 99;
    modal.OnDialog([&](QDialog& d) {
      seen = Look(d);
      beepsBefore = beeps.size();
    });
    const std::string text = cp932::Sjis("カラー環境が 8ビット以下のため、処理できません（－”－；");
    ShowMessage(MessageKind(kind), text);
    QCOMPARE(beepsBefore, std::size_t(1));  // the beep comes first
    QVERIFY(beeps == std::vector<BeepSound>{BeepSound::Exclamation});
    QCOMPARE(modal.Calls().size(), std::size_t(1));
    QCOMPARE(modal.Calls()[0].text, text);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.text, FromSjis(text));
    QCOMPARE(seen.buttons, QStringList{QStringLiteral("OK")});
  }

  void recorderAnswersInOrderThenFallback() {
    ModalRecorder modal(ModalAnswer::Cancel);
    modal.Answer(ModalAnswer::Yes);
    QVERIFY(ConfirmDialog("1"));
    QVERIFY(!ConfirmDialog("2"));
    QCOMPARE(modal.Calls().size(), std::size_t(2));
    QCOMPARE(modal.Calls()[1].text, std::string("2"));
  }

  void recorderRestoresWhatWasBefore() {
    std::vector<std::string> seen;
    MessageHandler before = SetMessageHandler([&](MessageKind, const std::string& t) {
      seen.push_back(t);
      return true;
    });
    {
      ModalRecorder modal;
      InformationDialog("inside");
    }
    QVERIFY(ConfirmDialog("outside"));
    QCOMPARE(seen, std::vector<std::string>{"outside"});
    SetMessageHandler(before);
  }

  void execModalWithoutHookRunsTheRealLoop() {
    // Nobody drives the seam: the dialog runs modally as in the program,
    // and a press of its button ends it.
    MessageHandler before = InstallMessageDialogs();
    QTimer::singleShot(0, [] {
      QWidget* modal = QApplication::activeModalWidget();
      QVERIFY(modal);
      QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("btnYes")), Qt::LeftButton);
    });
    QVERIFY(ConfirmDialog("real"));
    SetMessageHandler(before);
  }

  void answersDriveOtherDialogs() {
    // A dialog of the program's own, as the settings dialog will be.
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("TfoSet"));
    ModalHook before = SetModalHook([](ModalCall& call) {
      QCOMPARE(call.name(), QStringLiteral("TfoSet"));
      QVERIFY(!call.kind.has_value());
      AnswerModal(call.dialog, ModalAnswer::Ok);
    });
    QCOMPARE(ExecModal(dialog), int(QDialog::Accepted));
    SetModalHook([](ModalCall& call) { AnswerModal(call.dialog, ModalAnswer::Escape); });
    QCOMPARE(ExecModal(dialog), int(QDialog::Rejected));
    SetModalHook(before);
  }
};

QTEST_MAIN(MessageDialogsTest)
#include "message_dialogs_qttest.moc"
