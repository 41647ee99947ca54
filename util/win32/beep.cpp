#include "util/win32/beep.h"

#include <windows.h>

namespace tavrin {

void MessageBeep(BeepSound sound) {
  if (!RunBeepHandler(sound)) ::MessageBeep(static_cast<UINT>(sound));
}

}  // namespace tavrin
