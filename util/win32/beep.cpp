#include "util/win32/beep.h"

#include <windows.h>

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
    ::MessageBeep(static_cast<UINT>(sound));
}

BeepHandler SetBeepHandler(BeepHandler handler) { return std::exchange(Handler(), std::move(handler)); }

}  // namespace tavrin
