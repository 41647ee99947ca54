#include "util/beep.h"

#include <utility>

namespace tavrin {
namespace {
BeepHandler& Handler() {
  static BeepHandler handler;
  return handler;
}
}  // namespace

BeepHandler SetBeepHandler(BeepHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

bool RunBeepHandler(BeepSound sound) {
  if (!Handler()) return false;
  Handler()(sound);
  return true;
}

}  // namespace tavrin
