#include "util/qt/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace tavrin {
namespace {
// Whether the wait cursor is ours on the override stack: setting the
// cursor twice, as the screen cursor is set, must not need two restores.
bool waiting = false;
}  // namespace

void BeginWaitCursor() {
  if (waiting) {
    QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
    return;
  }
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  waiting = true;
}

void EndWaitCursor() {
  if (!waiting) return;
  QGuiApplication::restoreOverrideCursor();
  waiting = false;
}

}  // namespace tavrin
