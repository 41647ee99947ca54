#include "util/qt/beep.h"

#include <QApplication>

namespace tavrin {

void MessageBeep(BeepSound sound) {
  if (!RunBeepHandler(sound)) QApplication::beep();
}

}  // namespace tavrin
