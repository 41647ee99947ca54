// Layout rules of the message dialog, with line widths set by the test.
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include "util/cp932.h"
#include "util/qt/qsjis.h"
#include "widgets/qt/dialog_message.h"

using namespace tavrin;

class DialogMessageTest : public QObject {
  Q_OBJECT

  // Each line of these tests is its own width in pixels, written as digits.
  TDialogMessage::TextMeasure previous;

  static void Fill(TDialogMessage& d, std::vector<std::string> lines, bool single) {
    d.Messages() = std::move(lines);
    d.SetSingleButton(single);
  }
  static QWidget* Child(TDialogMessage& d, const char* name) {
    return d.findChild<QWidget*>(QString::fromLatin1(name));
  }
  static QPushButton* Button(TDialogMessage& d, const char* name) {
    return d.findChild<QPushButton*>(QString::fromLatin1(name));
  }
  static void Show(TDialogMessage& d) {
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
  }

 private Q_SLOTS:
  void initTestCase() {
    previous = TDialogMessage::SetTextMeasure(
        [](const QString& line, const QFont&) { return line.toInt(); });
  }
  void cleanupTestCase() { TDialogMessage::SetTextMeasure(previous); }

  void textHeightFollowsLineCount_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<int>("dialogHeight");
    QTest::newRow("none") << 0 << 25 << 159;
    QTest::newRow("one") << 1 << 25 << 159;
    QTest::newRow("two") << 2 << 73 << 207;
    QTest::newRow("three") << 3 << 97 << 231;
  }
  void textHeightFollowsLineCount() {
    QFETCH(int, lines);
    QFETCH(int, textHeight);
    QFETCH(int, dialogHeight);
    TDialogMessage d;
    Fill(d, std::vector<std::string>(lines, "100"), true);
    Show(d);
    QCOMPARE(Child(d, "mmInformation")->height(), textHeight);
    QCOMPARE(d.height(), dialogHeight);
    QCOMPARE(Button(d, "btnYes")->y(), textHeight + 48);
    QCOMPARE(Button(d, "btnCancel")->y(), textHeight + 48);
  }

  void widthAndButtonsFollowWidestLine_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("single");
    QTest::addColumn<int>("textWidth");
    QTest::addColumn<int>("dialogWidth");
    QTest::addColumn<int>("yesLeft");
    QTest::addColumn<int>("cancelLeft");
    // Up to 283 pixels the stored width of 313 holds and two buttons keep
    // their places.
    QTest::newRow("short, two buttons")
        << QStringList{QStringLiteral("283")} << false << 313 << 372 << 40 << 200;
    QTest::newRow("short, OK") << QStringList{QStringLiteral("283")} << true << 313 << 372 << 128
                               << 200;
    QTest::newRow("284 widens") << QStringList{QStringLiteral("284")} << true << 344 << 399 << 144
                                << 200;
    QTest::newRow("400, two buttons")
        << QStringList{QStringLiteral("400")} << false << 460 << 515 << 122 << 282;
    QTest::newRow("400, OK") << QStringList{QStringLiteral("400")} << true << 460 << 515 << 202
                             << 200;
    // M becomes 330 after 300 and stays, as 320 is not wider than 330.
    QTest::newRow("300 then 320") << QStringList{QStringLiteral("300"), QStringLiteral("320")}
                                  << true << 360 << 415 << 152 << 200;
    QTest::newRow("widest last") << QStringList{QStringLiteral("10"), QStringLiteral("400")}
                                 << false << 460 << 515 << 122 << 282;
  }
  void widthAndButtonsFollowWidestLine() {
    QFETCH(QStringList, lines);
    QFETCH(bool, single);
    QFETCH(int, textWidth);
    QFETCH(int, dialogWidth);
    QFETCH(int, yesLeft);
    QFETCH(int, cancelLeft);
    TDialogMessage d;
    std::vector<std::string> l;
    for (const QString& s : lines) l.push_back(s.toStdString());
    Fill(d, l, single);
    Show(d);
    QCOMPARE(Child(d, "mmInformation")->width(), textWidth);
    QCOMPARE(Child(d, "mmInformation")->x(), 48);
    QCOMPARE(d.width(), dialogWidth);
    QCOMPARE(Button(d, "btnYes")->x(), yesLeft);
    QCOMPARE(Button(d, "btnCancel")->x(), cancelLeft);
    QCOMPARE(Button(d, "btnCancel")->isVisible(), !single);
  }

  void captionsFollowMode() {
    TDialogMessage two;
    Fill(two, {"1"}, false);
    Show(two);
    QCOMPARE(Button(two, "btnYes")->text(), FromSjis(cp932::Sjis("はい")));
    QCOMPARE(Button(two, "btnCancel")->text(), FromSjis(cp932::Sjis("キャンセル")));
    TDialogMessage one;
    Fill(one, {"1"}, true);
    Show(one);
    QCOMPARE(Button(one, "btnYes")->text(), QStringLiteral("OK"));
    QVERIFY(!Button(one, "btnCancel")->isVisible());
  }

  void textShowsEveryLine() {
    TDialogMessage d;
    Fill(d, {cp932::Sjis("一行目"), "", "3"}, true);
    d.SetTextCentered(true);
    Show(d);
    auto* memo = d.findChild<QTextEdit*>(QStringLiteral("mmInformation"));
    QCOMPARE(memo->toPlainText(), FromSjis(cp932::Sjis("一行目")) + QStringLiteral("\n\n3"));
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->focusPolicy(), Qt::NoFocus);
    QCOMPARE(memo->alignment(), Qt::AlignHCenter);
    QCOMPARE(QApplication::focusWidget(), Button(d, "btnYes"));
  }

  // A short line is drawn in the middle of the text area, not at its left.
  void shortTextIsDrawnCentred() {
    const TDialogMessage::TextMeasure digits = TDialogMessage::SetTextMeasure({});
    TDialogMessage d;
    Fill(d, {cp932::Sjis("tavrin.pdf が見つかりません")}, true);
    d.SetTextCentered(true);
    Show(d);
    const QImage shot = Child(d, "mmInformation")->grab().toImage();
    const QRgb back = shot.pixel(0, 0);
    int left = shot.width(), right = -1;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (shot.pixel(x, y) != back) left = std::min(left, x), right = std::max(right, x);
    TDialogMessage::SetTextMeasure(digits);
    QVERIFY(right > left);
    QVERIFY2(qAbs(left - (shot.width() - 1 - right)) <= 4,
             qPrintable(
                 QStringLiteral("ink from %1 to %2 of %3").arg(left).arg(right).arg(shot.width())));
  }

  void layoutOnlyOnFirstActivation() {
    TDialogMessage d;
    Fill(d, {"400"}, false);
    Show(d);
    QCOMPARE(d.height(), 159);
    // A later activation with other lines leaves the layout alone.
    d.Messages() = {"1", "2", "3"};
    d.SetSingleButton(true);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&d, &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&d, &activate);
    d.hide();
    Show(d);
    QCOMPARE(d.height(), 159);
    QCOMPARE(d.width(), 515);
    QCOMPARE(Button(d, "btnYes")->x(), 122);
    QVERIFY(Button(d, "btnCancel")->isVisible());
  }

  void pictureFollowsKind_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("information") << 0;
    QTest::newRow("question") << 1;
    QTest::newRow("danger") << 2;
    QTest::newRow("error") << 3;
  }
  void pictureFollowsKind() {
    QFETCH(int, kind);
    TDialogMessage d;
    Fill(d, {"1"}, true);
    d.SetPictureKind(kind);
    Show(d);
    auto* img = d.findChild<QLabel*>(QStringLiteral("img"));
    QCOMPARE(img->pixmap().toImage(), TDialogMessage::Picture(kind).toImage());
    QCOMPARE(img->geometry(), QRect(8, 8, 32, 32));
    for (int other = 0; other < 4; ++other)
      if (other != kind)
        QVERIFY(TDialogMessage::Picture(other).toImage() != img->pixmap().toImage());
  }

  void buttonsAndEscapeGiveResult_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("code");
    QTest::newRow("yes") << QStringLiteral("btnYes") << true << int(QDialog::Accepted);
    QTest::newRow("cancel") << QStringLiteral("btnCancel") << false << int(QDialog::Rejected);
    QTest::newRow("escape") << QStringLiteral("escape") << false << int(QDialog::Rejected);
    QTest::newRow("enter on focused yes")
        << QStringLiteral("enter") << true << int(QDialog::Accepted);
    QTest::newRow("close") << QStringLiteral("close") << false << int(QDialog::Rejected);
  }
  void buttonsAndEscapeGiveResult() {
    QFETCH(QString, action);
    QFETCH(bool, result);
    QFETCH(int, code);
    TDialogMessage d;
    Fill(d, {"1"}, false);
    QTimer::singleShot(0, &d, [&] {
      if (action == QLatin1String("escape"))
        QTest::keyClick(&d, Qt::Key_Escape);
      else if (action == QLatin1String("enter"))
        QTest::keyClick(d.focusWidget(), Qt::Key_Return);
      else if (action == QLatin1String("close"))
        d.close();
      else
        QTest::mouseClick(d.findChild<QPushButton*>(action), Qt::LeftButton);
    });
    QCOMPARE(d.exec(), code);
    QCOMPARE(d.Result(), result);
  }
};

QTEST_MAIN(DialogMessageTest)
#include "dialog_message_qttest.moc"
