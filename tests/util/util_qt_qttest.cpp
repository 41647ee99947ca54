// Wait cursor and the two window routines.
#include <QCheckBox>
#include <QLabel>
#include <QtTest>
#include <stdexcept>

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
};

QTEST_MAIN(UtilQtTest)
#include "util_qt_qttest.moc"
