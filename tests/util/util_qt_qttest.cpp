// Wait cursor, the two window routines and the clipboard text's conversion.
#include <QCheckBox>
#include <QLabel>
#include <QtTest>
#include <stdexcept>

#include "util/qt/qsjis.h"
#include "util/qt/wait_cursor.h"
#include "util/qt/window_routines.h"

using namespace tavrin;

class UtilQtTest : public QObject {
  Q_OBJECT

  static Qt::CursorShape Shape() {
    QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
  }

 private Q_SLOTS:
  void waitCursorPairs() {
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    BeginWaitCursor();
    QCOMPARE(Shape(), Qt::WaitCursor);
    BeginWaitCursor();  // sets, does not stack
    EndWaitCursor();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    EndWaitCursor();  // an extra end is harmless
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  }

  void waitCursorGuardRestoresOnFailure() {
    try {
      WaitCursorGuard wait;
      QCOMPARE(Shape(), Qt::WaitCursor);
      throw std::runtime_error("work failed");
    } catch (const std::runtime_error&) {
    }
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  }

  void transferCheckBoxBothWays() {
    QCheckBox box;
    bool value = true;
    TransferCheckBox(&box, value, TransferDirection::ToVariable);
    QCOMPARE(value, false);
    value = true;
    TransferCheckBox(&box, value, TransferDirection::ToControl);
    QVERIFY(box.isChecked());
    // Other controls are left alone both ways.
    QLabel label;
    bool untouched = true;
    TransferCheckBox(&label, untouched, TransferDirection::ToVariable);
    QCOMPARE(untouched, true);
    TransferCheckBox(nullptr, untouched, TransferDirection::ToControl);
    QCOMPARE(untouched, true);
  }

  void dragMovesOnlyNormalWindowByLeftButton() {
    int moves = 0;
    SystemMove before = SetSystemMove([&](QWindow&) {
      ++moves;
      return true;
    });
    QWidget form;
    QLabel* child = new QLabel(&form);
    form.resize(200, 100);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    DragFormByClient(&form, Qt::LeftButton);
    QCOMPARE(moves, 1);
    DragFormByClient(child, Qt::LeftButton);  // the child's window moves
    QCOMPARE(moves, 2);
    DragFormByClient(&form, Qt::RightButton);
    DragFormByClient(&form, Qt::MiddleButton);
    QCOMPARE(moves, 2);
    form.showMaximized();
    QTRY_VERIFY(form.isMaximized());
    DragFormByClient(&form, Qt::LeftButton);
    QCOMPARE(moves, 2);
    SetSystemMove(before);
  }

  void toSjisEncodesEveryLengthAndReplacesLoneSurrogates() {
    // Each UTF-8 length (1 to 4 bytes) as the codec would read it; a lone
    // surrogate anywhere becomes "?" and counts.
    const struct {
      QString text;
      const char* utf8;  // what the codec must be given
      std::size_t lone;
    } cases[] = {
        {QStringLiteral("a\u00A7\u00E9\u30A2\uFF71\U00020BB7\U0001F600z"),
         "a\u00A7\u00E9\u30A2\uFF71\U00020BB7\U0001F600z", 0},
        {QString(QChar(0xDC00)) + QStringLiteral("x") + QChar(0xD800), "?x?", 2},
        {QString(QChar(0xD800)) + QChar(0xD83D) + QChar(0xDE00), "?\U0001F600", 1},
    };
    for (const auto& c : cases) {
      const cp932::EncodeResult want = cp932::FromUtf8(c.utf8);
      std::size_t replaced = 99;
      QCOMPARE(ToSjis(c.text, &replaced), want.bytes);
      QCOMPARE(replaced, want.replaced + c.lone);
    }
  }
};

QTEST_MAIN(UtilQtTest)
#include "util_qt_qttest.moc"
