#pragma once
// Stand-ins for the utility layer's wait cursor, beep and stopwatch until
// that layer is merged.
#include <QApplication>
#include <QGuiApplication>

namespace tavrin {

class TWaitCursorGuard {
 public:
  TWaitCursorGuard() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursorGuard() { QGuiApplication::restoreOverrideCursor(); }
  TWaitCursorGuard(const TWaitCursorGuard&) = delete;
  TWaitCursorGuard& operator=(const TWaitCursorGuard&) = delete;
};

inline void MessageBeepDefault() { QApplication::beep(); }
inline int StopWatch(int) { return 0; }

}  // namespace tavrin
