#include "util/qt/beep.h"

#include <QApplication>
#include <utility>

namespace tavrin {
namespace {
BeepHandler& Handler() {
  static BeepHandler handler;
  return handler;
}
}  // namespace

void MessageBeep(BeepSound sound) {
  if (Handler())
    Handler()(sound);
  else
    QApplication::beep();
}

BeepHandler SetBeepHandler(BeepHandler handler) { return std::exchange(Handler(), std::move(handler)); }

}  // namespace tavrin
